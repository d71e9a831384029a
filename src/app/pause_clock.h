// The exit pause's clock test, apart from the tick source so that the
// wrap-around of the 32-bit millisecond counter can be checked.
#pragma once

#include <cstdint>

namespace vornik {

// True once more than `milliseconds` have passed since `start`. Unsigned
// subtraction keeps it right when the tick count wraps after 49.7 days.
constexpr bool PauseOver(std::uint32_t start, std::uint32_t now, std::uint32_t milliseconds) {
  return now - start > milliseconds;
}

}  // namespace vornik
