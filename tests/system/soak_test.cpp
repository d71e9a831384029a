// A long run of everything a user does, against one copy of Vornik: force
// stops (some with the result box), flips of both switches, help boxes and
// popups. What the process holds is read before and after and must stay flat;
// the settings file ends as the flips leave it.
//
// VORNIK_SOAK_DIVISOR divides the counts (default 100, for the test run);
// scripts/soak.sh runs the full counts with 1.
#include <doctest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "common/ids.h"
#include "common/texts.h"
#include "driver.h"
#include "process_figures.h"
#include "settings_file.h"

using namespace test;
namespace ids = vornik::ids;
namespace texts = vornik::texts;

namespace {

struct SoakCounts {
  int forceStops = 2000;
  int boxEvery = 10;  // every tenth force stop shows its result box
  int flips = 1000;   // of each switch
  int helpBoxes = 500;
  int popups = 200;
};

SoakCounts CountsFromEnvironment() {
  int divisor = 100;
  if (const char* text = std::getenv("VORNIK_SOAK_DIVISOR")) divisor = std::max(1, std::atoi(text));
  SoakCounts counts;
  auto divide = [&](int& count, int least) { count = std::max(least, count / divisor); };
  divide(counts.forceStops, counts.boxEvery);
  divide(counts.flips, 2);
  counts.flips += counts.flips % 2;  // an even number leaves each value as it was
  divide(counts.helpBoxes, 1);
  divide(counts.popups, 1);
  return counts;
}

class Soak {
 public:
  explicit Soak(Vornik& vornik)
      : vornik_(vornik), pid_(vornik.process().Id()), config_(ConfigPath(vornik.Folder())) {}

  // Flips a switch and waits until the file holds the value it wrote.
  void Flip(std::uint32_t command) {
    bool& on = command == ids::kShowResultCommand ? show_ : auto_;
    on = !on;
    vornik_.PostCommand(command);
    REQUIRE(WaitUntil([&] { return ReadFileBytes(config_) == ExpectedFile(); }));
  }

  void ForceStop() {
    Target target = Target::Launch(NewCaseFolder(), "soak_target.exe");
    REQUIRE(target.WaitForeground());
    vornik_.PostHotkey(kForceStopId);
    REQUIRE(target.process().WaitExit());
    if (show_) CloseBox();
  }

  void HelpBox() {
    vornik_.PostCommand(ids::kHelpCommand);
    CloseBox();
  }

  void Popup() {
    vornik_.PostTrayCallback(WM_RBUTTONUP);
    HWND popup = WaitPopupMenu(pid_);
    REQUIRE(popup != nullptr);
    PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageA(popup, WM_KEYUP, VK_ESCAPE, 0xC0000000);
    REQUIRE(WaitUntil([&] { return PopupMenuOf(pid_) == nullptr; }));
  }

  std::string ExpectedFile() const {
    return ConfigBytes({{texts::kShowResultKey, show_ ? "1" : "0"},
                        {texts::kAutoStartKey, auto_ ? "1" : "0"}});
  }
  bool ShowOn() const { return show_; }

 private:
  void CloseBox() {
    auto box = WaitMessageBox(pid_);
    REQUIRE(box.has_value());
    CloseMessageBox(box->window);
    REQUIRE(WaitUntil([&] { return !IsWindow(box->window); }));
  }

  Vornik& vornik_;
  DWORD pid_;
  std::string config_;
  bool show_ = true;
  bool auto_ = false;
};

// One round of everything, so that what the first use loads for good (fonts,
// DLLs, caches) is in place before the figures are read.
void WarmUp(Soak& soak) {
  soak.Flip(ids::kShowResultCommand);
  soak.Flip(ids::kAutoStartCommand);
  soak.Flip(ids::kShowResultCommand);
  soak.Flip(ids::kAutoStartCommand);
  soak.ForceStop();
  soak.HelpBox();
  soak.Popup();
}

ProcessFigures SettledFigures(DWORD pid) {
  PumpFor(1500);  // clip workers and closed boxes finish going
  return ReadProcessFigures(pid);
}

void Report(const char* when, const ProcessFigures& figures) {
  std::printf("soak %s: %s\n", when, figures.Describe().c_str());
  std::fflush(stdout);
}

// Flat: within a little of the figure before (the allocator and Wine's own
// caches move a little; a leak per operation moves it by the thousands).
void CheckFlat(long long before, long long after, long long slack, const char* what) {
  CAPTURE(what);
  if (before < 0 || after < 0) return;  // not measurable here
  CHECK(after <= before + slack);
}

}  // namespace

TEST_CASE("the figures see objects come and go") {
  // Read on this very process: 40 brushes and a window more, then none.
  const DWORD self = GetCurrentProcessId();
  const ProcessFigures before = ReadProcessFigures(self);
  std::vector<HBRUSH> brushes;
  for (int i = 0; i < 40; ++i) brushes.push_back(CreateSolidBrush(RGB(i, 0, 0)));
  HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  const ProcessFigures during = ReadProcessFigures(self);
  for (HBRUSH brush : brushes) DeleteObject(brush);
  DestroyWindow(window);
  CloseHandle(event);
  const ProcessFigures after = ReadProcessFigures(self);
  std::printf("self: %s\n      %s\n", before.Describe().c_str(), during.Describe().c_str());

  REQUIRE(before.gdiObjects >= 0);
  CHECK(during.gdiObjects == before.gdiObjects + 40);
  CHECK(after.gdiObjects == before.gdiObjects);
  CHECK(during.windows == before.windows + 1);
  CHECK(after.windows == before.windows);
  // (Wine's process list gives a handle count that never moves; the system
  // handle table is the figure that does.)
  CHECK(during.handleTable == before.handleTable + 1);
  CHECK(after.handleTable == before.handleTable);
}

TEST_CASE("a long run of force stops, flips, help boxes and popups holds steady") {
  const SoakCounts counts = CountsFromEnvironment();
  std::printf("soak counts: %d force stops (box every %d), %d flips of each switch, %d help boxes, "
              "%d popups\n",
              counts.forceStops, counts.boxEvery, counts.flips, counts.helpBoxes, counts.popups);
  DeleteFileA(StartupShortcut().c_str());
  // The file starts with both keys at their defaults, as after a first day.
  const std::string folder = NewCaseFolder();
  WriteFileBytes(ConfigPath(folder),
                 ConfigBytes({{texts::kShowResultKey, "1"}, {texts::kAutoStartKey, "0"}}));
  Vornik vornik = Vornik::Launch(folder);
  REQUIRE(vornik.WaitReady());
  const DWORD pid = vornik.process().Id();
  Soak soak(vornik);
  // Twice: Wine fills some GDI caches only over the first few boxes.
  WarmUp(soak);
  WarmUp(soak);
  const DWORD started = GetTickCount();
  const ProcessFigures before = SettledFigures(pid);
  Report("before", before);

  for (int i = 0; i < counts.flips; ++i) {
    soak.Flip(ids::kShowResultCommand);
    soak.Flip(ids::kAutoStartCommand);
  }
  // Force stops with the result box off, and every so often with it on.
  soak.Flip(ids::kShowResultCommand);
  for (int i = 0; i < counts.forceStops; ++i) {
    const bool withBox = i % counts.boxEvery == 0;
    if (withBox) soak.Flip(ids::kShowResultCommand);
    soak.ForceStop();
    if (withBox) soak.Flip(ids::kShowResultCommand);
  }
  soak.Flip(ids::kShowResultCommand);
  for (int i = 0; i < counts.helpBoxes; ++i) soak.HelpBox();
  for (int i = 0; i < counts.popups; ++i) soak.Popup();

  REQUIRE(vornik.process().Running());
  const ProcessFigures after = SettledFigures(pid);
  Report("after", after);
  std::printf("soak took %lu s\n", static_cast<unsigned long>((GetTickCount() - started) / 1000));

  CheckFlat(before.handles, after.handles, 16, "handles");
  CheckFlat(before.handleTable, after.handleTable, 16, "handle-table entries");
  CheckFlat(before.gdiObjects, after.gdiObjects, 16, "GDI objects");
  CheckFlat(before.userObjects, after.userObjects, 16, "USER objects");
  CheckFlat(before.windows, after.windows, 0, "windows");
  CheckFlat(before.threads, after.threads, 2, "threads");
  CheckFlat(before.privateBytes, after.privateBytes, 4 << 20, "private bytes");
  CHECK(MessageBoxesOf(pid).empty());

  // The file holds exactly the two values, as the even number of flips left them.
  CHECK(soak.ShowOn());
  const std::string config = ConfigPath(vornik.Folder());
  CHECK(ReadFileBytes(config) == soak.ExpectedFile());
  vornik.PostHotkey(kExitId);
  REQUIRE(vornik.process().WaitExit());
  CHECK(vornik.process().ExitCode() == 0);
  CHECK(ReadFileBytes(config) == soak.ExpectedFile());
  CHECK_FALSE(FileExists(StartupShortcut()));
}
