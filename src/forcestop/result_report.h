// What a force stop tells the user: the box's title, icon flag and text for
// each outcome. No Win32 here, so the texts are checked natively.
#pragma once

#include <cstdint>
#include <string>

namespace vornik {

inline constexpr std::int32_t kIconInformation = 64;  // MB_ICONINFORMATION
inline constexpr std::int32_t kIconError = 16;        // MB_ICONERROR
inline constexpr std::uint32_t kSetForeground = 0x10000;  // MB_SETFOREGROUND

struct ForceStopReport {
  const char* title;
  std::int32_t icon;
  std::string text;
};

// `name` is the executable name in the ANSI code page; empty when none was found.
ForceStopReport SuccessReport(const std::string& name);
ForceStopReport FailureReport(const std::string& name);

// The result box comes to the front so that the user sees it over the desktop.
constexpr std::uint32_t ResultBoxStyle(std::int32_t icon) {
  return static_cast<std::uint32_t>(icon) + kSetForeground;
}

}  // namespace vornik
