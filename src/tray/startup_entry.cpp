#include "tray/startup_entry.h"

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <optional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "common/ids.h"
#include "common/module_path.h"
#include "common/owners.h"
#include "common/process_paths.h"
#include "common/texts.h"
#include "tray/setting_values.h"
#include "tray/settings.h"

namespace vornik {

namespace {

constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

struct FindTraits {
  using Value = HANDLE;
  static Value Invalid() { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Value v) { return v != INVALID_HANDLE_VALUE; }
  static void Close(Value v) { FindClose(v); }
};

bool FileFound(const char* path) {
  WIN32_FIND_DATAA data;
  Unique<FindTraits> find(FindFirstFileA(path, &data));
  return static_cast<bool>(find);
}

// "<Startup folder>\<name>.lnk"; none when the shell cannot give the folder,
// so that no path is ever built without it.
std::optional<std::string> StartupShortcutPath(const char* name) {
  char folder[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathA(nullptr, folder, CSIDL_STARTUP, FALSE) || folder[0] == '\0') {
    return std::nullopt;
  }
  return std::string(folder) + "\\" + name + ".lnk";
}

// The ANSI path as the zero-terminated UTF-16 text IPersistFile::Save takes;
// empty when it cannot be converted. (A vector, not a std::wstring: the
// static runtime's whole wide-string instantiation would come with it.)
std::vector<wchar_t> WidePath(const std::string& path) {
  const int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
  if (length <= 1) return {};
  std::vector<wchar_t> wide(static_cast<std::size_t>(length));
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), length);
  return wide;
}

// Writes the shell link; the caller has made sure the target exists. The
// outcome of the save itself is not looked at.
bool SaveShortcut(const std::string& shortcutPath, const char* target) {
  ComPtr<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              link.put()))) {
    return false;
  }
  link->SetPath(target);
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.put()))) return false;
  const std::vector<wchar_t> widePath = WidePath(shortcutPath);
  if (!widePath.empty()) file->Save(widePath.data(), TRUE);
  return true;
}

bool DeleteRunValue(const char* name) {
  HKEY raw = nullptr;
  if (RegOpenKeyA(HKEY_LOCAL_MACHINE, kRunKey, &raw) != ERROR_SUCCESS) return false;
  UniqueRegKey key(raw);
  return RegDeleteValueA(key.get(), name) == ERROR_SUCCESS;
}

}  // namespace

int AddStartupEntry(const char* name, const char* target) {
  if (!FileFound(target)) return 0;
  const std::optional<std::string> shortcut = StartupShortcutPath(name);
  if (!shortcut) return 0;
  if (!SaveShortcut(*shortcut, target)) return 0;
  NotifyShellOfChange(SHCNE_CREATE, shortcut->c_str());
  return 1;
}

int RemoveStartupEntry(const char* name) {
  const bool valueRemoved = DeleteRunValue(name);
  const std::optional<std::string> shortcut = StartupShortcutPath(name);
  if (!shortcut) return valueRemoved ? 1 : 0;
  const bool fileRemoved = DeleteFileA(shortcut->c_str()) != 0;
  NotifyShellOfChange(SHCNE_DELETE, shortcut->c_str());
  return (fileRemoved || valueRemoved) ? 1 : 0;
}

void NotifyShellOfChange(long event, const char* path) {
  SHChangeNotify(event | SHCNE_INTERRUPT, SHCNF_PATHA | SHCNF_FLUSH, path, nullptr);
  const std::string folder = SplitModulePath(path).directory;
  SHChangeNotify(SHCNE_UPDATEDIR | SHCNE_INTERRUPT, SHCNF_PATHA | SHCNF_FLUSH, folder.c_str(),
                 nullptr);
}

void ToggleAutoStart() {
  if (IsItemChecked(MenuItem::AutoStartSwitch)) {
    RemoveStartupEntry(ids::kStartupEntryName);
    WriteSetting(texts::kAutoStartKey, kSettingOff);
    SetItemChecked(MenuItem::AutoStartSwitch, 0);
  } else {
    const std::string target = RunDirectory() + "\\" + ExecutableFileName();
    AddStartupEntry(ids::kStartupEntryName, target.c_str());
    WriteSetting(texts::kAutoStartKey, kSettingOn);
    SetItemChecked(MenuItem::AutoStartSwitch, 1);
  }
}

}  // namespace vornik
