// What the two settings' values mean at start-up. The comparison is on the
// exact bytes of the whole value: no trimming, no case folding.
#pragma once

#include <string_view>

namespace vornik {

// The only values the program writes.
inline constexpr char kSettingOn[] = "1";
inline constexpr char kSettingOff[] = "0";

// Defaults for a missing file, section or key.
inline constexpr char kShowResultDefault[] = "1";
inline constexpr char kAutoStartDefault[] = "0";

// The result message stays on only for exactly "1"; anything else turns it off.
constexpr bool ShowResultStartsOn(std::string_view value) { return value == kSettingOn; }

// Start with Windows stays off only for exactly "0"; anything else turns it on.
constexpr bool AutoStartStartsOn(std::string_view value) { return value != kSettingOff; }

}  // namespace vornik
