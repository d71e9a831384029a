// Every box is task-modal unless its style already asks for system-modal.
#pragma once

#include <cstdint>

namespace vornik {

inline constexpr std::uint32_t kSystemModal = 0x1000;  // MB_SYSTEMMODAL
inline constexpr std::uint32_t kTaskModal = 0x2000;    // MB_TASKMODAL

constexpr std::uint32_t MessageBoxStyle(std::uint32_t style) {
  return (style & kSystemModal) ? style : (style | kTaskModal);
}

}  // namespace vornik
