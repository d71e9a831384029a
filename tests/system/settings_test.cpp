// The settings file driven from outside: what start-up reads, what each flip
// writes, and that nothing else is touched.
#include <doctest.h>

#include "common/ids.h"
#include "common/texts.h"
#include "driver.h"
#include "settings_file.h"

using namespace test;
namespace ids = vornik::ids;
namespace texts = vornik::texts;

namespace {

const char* const kShow = texts::kShowResultKey;
const char* const kAuto = texts::kAutoStartKey;

// Removes the start-up shortcut a case may leave behind.
struct ShortcutCleanup {
  ShortcutCleanup() { DeleteFileA(StartupShortcut().c_str()); }
  ~ShortcutCleanup() { DeleteFileA(StartupShortcut().c_str()); }
};

}  // namespace

TEST_CASE("first run: no file until a switch flips, then exactly the written bytes") {
  ShortcutCleanup cleanup;
  Vornik vornik = Vornik::LaunchReady();
  const std::string config = ConfigPath(vornik.Folder());
  PumpFor(300);
  CHECK_FALSE(FileExists(config));

  // Result message starts on: the first flip writes "0", the second "1".
  vornik.PostCommand(ids::kShowResultCommand);
  CHECK(WaitUntil([&] { return ReadFileBytes(config) == ConfigBytes({{kShow, "0"}}); }));
  vornik.PostCommand(ids::kShowResultCommand);
  CHECK(WaitUntil([&] { return ReadFileBytes(config) == ConfigBytes({{kShow, "1"}}); }));

  // Start with Windows starts off: its flips write "1" then "0", after the
  // other key, which keeps its value.
  vornik.PostCommand(ids::kAutoStartCommand);
  CHECK(WaitUntil(
      [&] { return ReadFileBytes(config) == ConfigBytes({{kShow, "1"}, {kAuto, "1"}}); }));
  vornik.PostCommand(ids::kAutoStartCommand);
  CHECK(WaitUntil(
      [&] { return ReadFileBytes(config) == ConfigBytes({{kShow, "1"}, {kAuto, "0"}}); }));
  CHECK(vornik.process().Running());
  CHECK(MessageBoxesOf(vornik.process().Id()).empty());
}

TEST_CASE("the switches chosen from the tray popup with their mnemonics") {
  ShortcutCleanup cleanup;
  Vornik vornik = Vornik::LaunchReady();
  const std::string config = ConfigPath(vornik.Folder());
  const DWORD pid = vornik.process().Id();
  struct Step {
    UINT key;  // the item's mnemonic
    std::string bytes;
  };
  const Step steps[] = {
      {'S', ConfigBytes({{kShow, "0"}})},
      {'Z', ConfigBytes({{kShow, "0"}, {kAuto, "1"}})},
      {'S', ConfigBytes({{kShow, "1"}, {kAuto, "1"}})},
  };
  for (const Step& step : steps) {
    CAPTURE(step.key);
    vornik.PostTrayCallback(WM_RBUTTONUP);
    HWND popup = WaitPopupMenu(pid);
    REQUIRE(popup != nullptr);
    PostMessageA(popup, WM_KEYDOWN, step.key, 0);
    PostMessageA(popup, WM_KEYUP, step.key, 0xC0000000);
    CHECK(WaitUntil([&] { return ReadFileBytes(config) == step.bytes; }));
    REQUIRE(WaitUntil([&] { return PopupMenuOf(pid) == nullptr; }));
  }
  CHECK(FileExists(StartupShortcut()));
}

TEST_CASE("start-up values: each switch starts as its key says") {
  // The next flip writes the opposite of the check mark it finds, so the
  // value it writes shows how start-up set the switch.
  struct Case {
    const char* key;
    std::uint32_t command;
    std::optional<std::string> value;  // none: the key is missing
    bool startsOn;
  };
  const Case cases[] = {
      {kShow, ids::kShowResultCommand, "1", true},
      {kShow, ids::kShowResultCommand, "0", false},
      {kShow, ids::kShowResultCommand, "yes", false},
      {kShow, ids::kShowResultCommand, "01", false},
      {kShow, ids::kShowResultCommand, "", false},
      {kShow, ids::kShowResultCommand, std::nullopt, true},
      {kAuto, ids::kAutoStartCommand, "0", false},
      {kAuto, ids::kAutoStartCommand, "1", true},
      {kAuto, ids::kAutoStartCommand, "x", true},
      {kAuto, ids::kAutoStartCommand, "", true},
      {kAuto, ids::kAutoStartCommand, std::nullopt, false},
  };
  for (const Case& c : cases) {
    CAPTURE(c.key);
    CAPTURE(c.value.value_or("<missing>"));
    ShortcutCleanup cleanup;
    const std::string folder = NewCaseFolder();
    // The file always exists; a missing key sits beside an unrelated one.
    const std::string original =
        c.value ? ConfigBytes({{c.key, c.value->c_str()}}) : ConfigBytes({{"other", "1"}});
    WriteFileBytes(ConfigPath(folder), original);

    Vornik vornik = Vornik::Launch(folder);
    REQUIRE(vornik.WaitReady());
    // Start-up only reads the file, and touches no start-up shortcut.
    CHECK(ReadFileBytes(ConfigPath(folder)) == original);
    CHECK_FALSE(FileExists(StartupShortcut()));

    REQUIRE(CommandThenQuit(vornik, {c.command}));
    CHECK(ConfigValue(folder, c.key) == (c.startsOn ? "0" : "1"));
  }
}

TEST_CASE("flipping one switch rewrites only its own value") {
  ShortcutCleanup cleanup;
  const std::string folder = NewCaseFolder();
  const std::string original = "; kept\r\n[other]\r\na=b\r\n" +
                               ConfigBytes({{kAuto, "x"}, {kShow, "yes"}, {"extra", "1"}});
  WriteFileBytes(ConfigPath(folder), original);

  SUBCASE("result message") {
    Vornik vornik = Vornik::Launch(folder);
    REQUIRE(vornik.WaitReady());
    REQUIRE(CommandThenQuit(vornik, {ids::kShowResultCommand}));
    CHECK(ReadFileBytes(ConfigPath(folder)) ==
          "; kept\r\n[other]\r\na=b\r\n" + ConfigBytes({{kAuto, "x"}, {kShow, "1"}, {"extra", "1"}}));
  }
  SUBCASE("start with Windows") {
    Vornik vornik = Vornik::Launch(folder);
    REQUIRE(vornik.WaitReady());
    REQUIRE(CommandThenQuit(vornik, {ids::kAutoStartCommand}));
    CHECK(ReadFileBytes(ConfigPath(folder)) ==
          "; kept\r\n[other]\r\na=b\r\n" + ConfigBytes({{kAuto, "0"}, {kShow, "yes"}, {"extra", "1"}}));
  }
}

TEST_CASE("a flip survives a restart; two flips from on leave \"1\"") {
  const std::string folder = NewCaseFolder();
  {
    Vornik vornik = Vornik::Launch(folder);
    REQUIRE(vornik.WaitReady());
    REQUIRE(CommandThenQuit(vornik, {ids::kShowResultCommand, ids::kShowResultCommand}));
    CHECK(ReadFileBytes(ConfigPath(folder)) == ConfigBytes({{kShow, "1"}}));
  }
  {
    Vornik vornik = Vornik::Launch(folder);
    REQUIRE(vornik.WaitReady());
    REQUIRE(CommandThenQuit(vornik, {ids::kShowResultCommand}));  // on: writes "0"
    CHECK(ReadFileBytes(ConfigPath(folder)) == ConfigBytes({{kShow, "0"}}));
  }
  {
    Vornik vornik = Vornik::Launch(folder);
    REQUIRE(vornik.WaitReady());
    REQUIRE(CommandThenQuit(vornik, {ids::kShowResultCommand}));  // off: writes "1"
    CHECK(ReadFileBytes(ConfigPath(folder)) == ConfigBytes({{kShow, "1"}}));
  }
}

TEST_CASE("only the config.ini beside the executable counts") {
  ShortcutCleanup cleanup;
  // Where a bare file name or the current directory would lead.
  char windowsDir[MAX_PATH] = {};
  GetWindowsDirectoryA(windowsDir, sizeof windowsDir);
  const std::string elsewhere = ConfigBytes({{kShow, "0"}, {kAuto, "1"}});
  const std::string decoys[] = {ConfigPath(windowsDir), ConfigPath(NewCaseFolder())};
  for (const std::string& decoy : decoys) WriteFileBytes(decoy, elsewhere);

  const std::string folder = NewCaseFolder();
  Vornik vornik = Vornik::Launch(folder);
  REQUIRE(vornik.WaitReady());
  REQUIRE(CommandThenQuit(vornik, {ids::kShowResultCommand, ids::kAutoStartCommand}));
  // Started from the defaults, not from the decoys.
  CHECK(ReadFileBytes(ConfigPath(folder)) == ConfigBytes({{kShow, "0"}, {kAuto, "1"}}));
  CHECK(ConfigValue(folder, kShow) == "0");
  for (const std::string& decoy : decoys) {
    CHECK(ReadFileBytes(decoy) == elsewhere);
    DeleteFileA(decoy.c_str());
  }
}

TEST_CASE("a read-only config.ini: the switch still flips for the run, nothing breaks") {
  const std::string folder = NewCaseFolder();
  const std::string config = ConfigPath(folder);
  const std::string original = ConfigBytes({{kShow, "1"}});
  WriteFileBytes(config, original);
  SetFileAttributesA(config.c_str(), FILE_ATTRIBUTE_READONLY);
  // Wine run as root writes a read-only file all the same; a handle that
  // shares reading only makes every write fail, as the attribute does for a
  // normal user.
  UniqueHandle readOnly(CreateFileA(config.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
  REQUIRE(readOnly);

  Vornik vornik = Vornik::Launch(folder);
  REQUIRE(vornik.WaitReady());
  vornik.PostCommand(ids::kShowResultCommand);  // on -> off; the write fails
  PumpFor(500);
  CHECK(ReadFileBytes(config) == original);
  CHECK(vornik.process().Running());
  CHECK(MessageBoxesOf(vornik.process().Id()).empty());

  // Writable again: the next flip finds the switch off and writes "1".
  readOnly.reset();
  SetFileAttributesA(config.c_str(), FILE_ATTRIBUTE_NORMAL);
  REQUIRE(CommandThenQuit(vornik, {ids::kShowResultCommand}));
  CHECK(ConfigValue(folder, kShow) == "1");
}

TEST_CASE("the result-message switch decides whether a force stop shows its box") {
  // The switch as start-up leaves it, then flipped `flips` times in the run.
  struct Case {
    std::optional<std::string> startValue;  // none: no config.ini
    int flips;
    bool boxShown;
  };
  const Case cases[] = {
      {std::nullopt, 0, true}, {"1", 0, true},  {"0", 0, false},
      {"yes", 0, false},       {"1", 1, false}, {"0", 1, true},
  };
  for (const Case& c : cases) {
    CAPTURE(c.startValue.value_or("<no file>"));
    CAPTURE(c.flips);
    const std::string folder = NewCaseFolder();
    if (c.startValue) WriteFileBytes(ConfigPath(folder), ConfigBytes({{kShow, c.startValue->c_str()}}));
    Vornik vornik = Vornik::Launch(folder);
    REQUIRE(vornik.WaitReady());
    for (int i = 0; i < c.flips; ++i) vornik.PostCommand(ids::kShowResultCommand);

    Target target = Target::Launch(NewCaseFolder(), "victim.exe");
    REQUIRE(target.WaitForeground());
    vornik.PostHotkey(kForceStopId);
    // The force stop runs in full either way.
    REQUIRE(target.process().WaitExit());
    CHECK(target.process().ExitCode() == 0);
    if (c.boxShown) {
      auto box = WaitMessageBox(vornik.process().Id());
      REQUIRE(box.has_value());
      CHECK(box->title == texts::kSuccessTitle);
      CloseMessageBox(box->window);
    } else {
      PumpFor(1000);
      CHECK(MessageBoxesOf(vornik.process().Id()).empty());
    }
    REQUIRE(CommandThenQuit(vornik, {}));
  }
}
