// The start-with-Windows switch driven from outside: the shortcut it leaves in
// the Startup folder, what turning it off removes, and what it never touches.
#include <doctest.h>
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "common/ids.h"
#include "common/owners.h"
#include "common/texts.h"
#include "driver.h"
#include "settings_file.h"

using namespace test;
namespace ids = vornik::ids;
namespace texts = vornik::texts;
using vornik::ComPtr;
using vornik::UniqueRegKey;

namespace {

constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

struct ComScope {
  ComScope() { CoInitialize(nullptr); }
  ~ComScope() { CoUninitialize(); }
};

// The target path stored in a shortcut file, read back through the shell.
std::string ShortcutTarget(const std::string& shortcut) {
  ComScope com;
  ComPtr<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              link.put()))) {
    return "<no shell link>";
  }
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.put()))) return "<no persist file>";
  wchar_t widePath[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, shortcut.c_str(), -1, widePath, MAX_PATH);
  if (FAILED(file->Load(widePath, STGM_READ))) return "<not loaded>";
  char target[MAX_PATH] = {};
  link->GetPath(target, sizeof target, nullptr, SLGP_RAWPATH);
  return target;
}

// Removes the shortcut before and after a case.
struct CleanStartupFolder {
  CleanStartupFolder() { DeleteFileA(StartupShortcut().c_str()); }
  ~CleanStartupFolder() { DeleteFileA(StartupShortcut().c_str()); }
};

UniqueRegKey OpenRunKey() {
  HKEY key = nullptr;
  RegCreateKeyA(HKEY_LOCAL_MACHINE, kRunKey, &key);
  return UniqueRegKey(key);
}

void SetRunValue(const char* name, const std::string& data) {
  UniqueRegKey key = OpenRunKey();
  RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                 static_cast<DWORD>(data.size() + 1));
}

bool RunValueExists(const char* name) {
  UniqueRegKey key = OpenRunKey();
  return RegQueryValueExA(key.get(), name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

void DeleteRunValue(const char* name) { RegDeleteValueA(OpenRunKey().get(), name); }

}  // namespace

TEST_CASE("on creates Vornik.exe.lnk to the running exe; off deletes it") {
  CleanStartupFolder clean;
  REQUIRE_FALSE(StartupFolder().empty());

  SUBCASE("under its own name") {
    Vornik vornik = Vornik::LaunchReady();
    vornik.PostCommand(ids::kAutoStartCommand);
    REQUIRE(WaitUntil([&] { return ConfigValue(vornik.Folder(), texts::kAutoStartKey) == "1"; }));
    REQUIRE(FileExists(StartupShortcut()));
    CHECK(ShortcutTarget(StartupShortcut()) == vornik.ExePath());

    vornik.PostCommand(ids::kAutoStartCommand);
    REQUIRE(WaitUntil([&] { return ConfigValue(vornik.Folder(), texts::kAutoStartKey) == "0"; }));
    CHECK_FALSE(FileExists(StartupShortcut()));
    CHECK(vornik.process().Running());
    CHECK(MessageBoxesOf(vornik.process().Id()).empty());
  }
  SUBCASE("renamed, in a folder with a Chinese name: the shortcut keeps its name") {
    const std::string folder = NewCaseFolder() + "\\启动 目录";
    REQUIRE(CreateDirectoryA(folder.c_str(), nullptr));
    Vornik vornik = Vornik::Launch(folder, "强停工具.exe");
    REQUIRE(vornik.WaitReady());
    REQUIRE(CommandThenQuit(vornik, {ids::kAutoStartCommand}));
    CHECK(ConfigValue(folder, texts::kAutoStartKey) == "1");
    REQUIRE(FileExists(StartupShortcut()));
    CHECK(ShortcutTarget(StartupShortcut()) == folder + "\\强停工具.exe");
    CHECK_FALSE(FileExists(StartupFolder() + "\\强停工具.exe.lnk"));
  }
}

TEST_CASE("turning on replaces a stale shortcut; only the Run value of the entry's name goes") {
  CleanStartupFolder clean;
  // A shortcut left by a copy that has moved since.
  {
    Vornik old = Vornik::LaunchReady();
    REQUIRE(CommandThenQuit(old, {ids::kAutoStartCommand}));
    DeleteFileA(old.ExePath().c_str());
  }
  SetRunValue(ids::kStartupEntryName, "C:\\somewhere\\Vornik.exe");
  SetRunValue("Vornik", "kept");

  Vornik vornik = Vornik::LaunchReady();
  vornik.PostCommand(ids::kAutoStartCommand);
  REQUIRE(WaitUntil([&] { return ConfigValue(vornik.Folder(), texts::kAutoStartKey) == "1"; }));
  CHECK(ShortcutTarget(StartupShortcut()) == vornik.ExePath());
  CHECK(RunValueExists(ids::kStartupEntryName));  // turning on never touches the registry

  REQUIRE(CommandThenQuit(vornik, {ids::kAutoStartCommand}));
  CHECK(ConfigValue(vornik.Folder(), texts::kAutoStartKey) == "0");
  CHECK_FALSE(FileExists(StartupShortcut()));
  CHECK_FALSE(RunValueExists(ids::kStartupEntryName));
  CHECK(RunValueExists("Vornik"));
  DeleteRunValue("Vornik");
}

TEST_CASE("off without a shortcut, and on with the exe gone: the switch and the file still flip") {
  CleanStartupFolder clean;
  SUBCASE("off with no shortcut present") {
    const std::string folder = NewCaseFolder();
    WriteFileBytes(ConfigPath(folder), ConfigBytes({{texts::kAutoStartKey, "1"}}));
    Vornik vornik = Vornik::Launch(folder);
    REQUIRE(vornik.WaitReady());
    CHECK_FALSE(FileExists(StartupShortcut()));  // start-up creates nothing
    // Off, then on again: the second flip proves the first unchecked it.
    vornik.PostCommand(ids::kAutoStartCommand);
    REQUIRE(WaitUntil([&] { return ConfigValue(folder, texts::kAutoStartKey) == "0"; }));
    CHECK_FALSE(FileExists(StartupShortcut()));
    REQUIRE(CommandThenQuit(vornik, {ids::kAutoStartCommand}));
    CHECK(ConfigValue(folder, texts::kAutoStartKey) == "1");
    CHECK(FileExists(StartupShortcut()));
  }
  SUBCASE("on when the running exe is no longer there") {
    Vornik vornik = Vornik::LaunchReady();
    const std::string moved = vornik.Folder() + "\\moved.exe";
    REQUIRE(MoveFileA(vornik.ExePath().c_str(), moved.c_str()));
    REQUIRE(CommandThenQuit(vornik, {ids::kAutoStartCommand}));
    CHECK(ConfigValue(vornik.Folder(), texts::kAutoStartKey) == "1");
    CHECK_FALSE(FileExists(StartupShortcut()));
  }
}

TEST_CASE("without a Startup folder nothing is created or deleted, and the switch still flips") {
  CleanStartupFolder clean;
  const std::string startup = StartupFolder();
  const std::string parked = startup + ".parked";
  // With the folder gone the shell has no Startup folder to give.
  struct Park {
    std::string from, to;
    Park(std::string f, std::string t) : from(std::move(f)), to(std::move(t)) {
      MoveFileA(from.c_str(), to.c_str());
    }
    ~Park() { MoveFileA(to.c_str(), from.c_str()); }
  } park(startup, parked);
  REQUIRE(StartupFolder().empty());

  // Where a shortcut path built without the folder would point.
  const std::string folder = NewCaseFolder();
  const std::string decoys[] = {"C:\\Vornik.exe.lnk", folder + "\\Vornik.exe.lnk"};
  for (const std::string& decoy : decoys) DeleteFileA(decoy.c_str());

  Vornik vornik = Vornik::Launch(folder);
  REQUIRE(vornik.WaitReady());
  vornik.PostCommand(ids::kAutoStartCommand);
  REQUIRE(WaitUntil([&] { return ConfigValue(folder, texts::kAutoStartKey) == "1"; }));
  for (const std::string& decoy : decoys) CHECK_FALSE(FileExists(decoy));

  for (const std::string& decoy : decoys) WriteFileBytes(decoy, "decoy");
  REQUIRE(CommandThenQuit(vornik, {ids::kAutoStartCommand}));
  CHECK(ConfigValue(folder, texts::kAutoStartKey) == "0");
  for (const std::string& decoy : decoys) {
    CHECK(ReadFileBytes(decoy) == "decoy");
    DeleteFileA(decoy.c_str());
  }
}
