#include "tray/settings.h"

#include <windows.h>

#include "app/main_window.h"
#include "common/process_paths.h"
#include "common/texts.h"
#include "tray/setting_values.h"

namespace vornik {

namespace {

constexpr DWORD kReadBufferSize = 10240;  // includes the terminating zero

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
  return WritePrivateProfileStringA(texts::kSettingsSection, key, value, SettingsPath().c_str())
             ? 1
             : 0;
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
