// SettingsFile: "config.ini" beside the executable, section "enforce stop".
// Read once at start-up, written each time a switch flips; in between, the
// menu's check marks are the only live copy.
#pragma once

#include <string>

namespace vornik {

// RunDirectory + "\config.ini", built anew for every access.
std::string SettingsPath();

// The key's value, or `fallback` when the file, section or key is missing.
std::string ReadSetting(const char* key, const char* fallback);

// 1 when the platform wrote the value, else 0. No caller looks at it.
int WriteSetting(const char* key, const char* value);

// Sets both check marks from the file. Only reads: the file is never created
// or rewritten here, and the start-up shortcut is left alone.
void ApplySettingsAtStartup();

// Handler of ShowResultSwitch: writes the new value, then flips the check mark
// whatever the write returned, so the switch works for the run even when the
// file cannot be written.
void ToggleShowResult();

}  // namespace vornik
