#include "tray/settings.h"

#include <windows.h>

#include <optional>

#include "app/main_window.h"
#include "common/owners.h"
#include "common/process_paths.h"
#include "common/texts.h"
#include "tray/ini_edit.h"
#include "tray/setting_values.h"

namespace vornik {

namespace {

constexpr DWORD kReadBufferSize = 10240;  // includes the terminating zero

// The whole file; empty when there is none yet; nothing when it exists but
// cannot be read (a folder of that name, a file another program holds).
std::optional<std::string> ReadWholeFile(const std::string& path) {
  UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return std::string();
    return std::nullopt;
  }
  LARGE_INTEGER size = {};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFFF) return std::nullopt;
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
      read != bytes.size()) {
    return std::nullopt;
  }
  return bytes;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  // OPEN_ALWAYS and then the new end: the file keeps its identity and rights.
  // Shared, so that someone merely reading it (an editor, a scanner) does not
  // make the flip fail.
  UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                   nullptr) &&
         written == bytes.size() && SetEndOfFile(file.get());
}

}  // namespace

std::string SettingsPath() { return RunDirectory() + "\\" + texts::kSettingsFileName; }

std::string ReadSetting(const char* key, const char* fallback) {
  std::string buffer(kReadBufferSize, '\0');
  const DWORD length = GetPrivateProfileStringA(texts::kSettingsSection, key, fallback,
                                                buffer.data(), kReadBufferSize,
                                                SettingsPath().c_str());
  buffer.resize(length);
  return buffer;
}

int WriteSetting(const char* key, const char* value) {
  const std::string path = SettingsPath();
  const std::optional<std::string> current = ReadWholeFile(path);
  if (!current) return 0;
  if (StartsWithByteOrderMark(*current)) {
    // Unicode text: the platform's writer keeps its encoding.
    return WritePrivateProfileStringA(texts::kSettingsSection, key, value, path.c_str()) ? 1 : 0;
  }
  // Only the key's own line changes; the rest of the user's bytes stay as they are.
  return WriteWholeFile(path, WithIniValue(*current, texts::kSettingsSection, key, value)) ? 1 : 0;
}

void ApplySettingsAtStartup() {
  // The menu starts with the result message on and start with Windows off;
  // only a departure from those defaults changes a check mark.
  if (!ShowResultStartsOn(ReadSetting(texts::kShowResultKey, kShowResultDefault))) {
    SetItemChecked(MenuItem::ShowResultSwitch, 0);
  }
  if (AutoStartStartsOn(ReadSetting(texts::kAutoStartKey, kAutoStartDefault))) {
    SetItemChecked(MenuItem::AutoStartSwitch, 1);
  }
}

void ToggleShowResult() {
  if (IsItemChecked(MenuItem::ShowResultSwitch)) {
    WriteSetting(texts::kShowResultKey, kSettingOff);
    SetItemChecked(MenuItem::ShowResultSwitch, 0);
  } else {
    WriteSetting(texts::kShowResultKey, kSettingOn);
    SetItemChecked(MenuItem::ShowResultSwitch, 1);
  }
}

}  // namespace vornik
