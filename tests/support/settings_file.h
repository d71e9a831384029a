// The settings file and the start-up shortcut as a test sees them from outside.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <initializer_list>
#include <string>
#include <utility>

#include "common/ids.h"
#include "common/texts.h"
#include "driver.h"

namespace test {

inline std::string ConfigPath(const std::string& folder) {
  return folder + "\\" + vornik::texts::kSettingsFileName;
}

// The file as the platform writes it: the section line, then key=value lines.
inline std::string ConfigBytes(std::initializer_list<std::pair<const char*, const char*>> keys) {
  std::string bytes = std::string("[") + vornik::texts::kSettingsSection + "]\r\n";
  for (const auto& [key, value] : keys) bytes += std::string(key) + "=" + value + "\r\n";
  return bytes;
}

// A key's value in the file, or "<missing>".
inline std::string ConfigValue(const std::string& folder, const char* key) {
  char value[256] = {};
  GetPrivateProfileStringA(vornik::texts::kSettingsSection, key, "<missing>", value, sizeof value,
                           ConfigPath(folder).c_str());
  return value;
}

inline std::string StartupFolder() {
  char folder[MAX_PATH] = {};
  SHGetSpecialFolderPathA(nullptr, folder, CSIDL_STARTUP, FALSE);
  return folder;
}

inline std::string StartupShortcut() {
  return StartupFolder() + "\\" + vornik::ids::kStartupEntryName + ".lnk";
}

// Runs one menu command and then the exit item, and waits for the end: the
// commands run in the order posted, so whatever the first one writes is on
// disk once the process is gone.
inline bool CommandThenQuit(Vornik& vornik, std::initializer_list<std::uint32_t> commands) {
  for (std::uint32_t command : commands) vornik.PostCommand(command);
  vornik.PostCommand(vornik::ids::kExitCommand);
  return vornik.process().WaitExit() && vornik.process().ExitCode() == 0;
}

}  // namespace test
