// Handlers run nested inside whatever loop is dispatching: a result box's
// modal loop, the popup's loop, the exit pause. Each way out ends the process
// with code 0 and takes any open box with it.
#include <doctest.h>

#include "common/ids.h"
#include "common/texts.h"
#include "driver.h"

using namespace test;
namespace ids = vornik::ids;
namespace texts = vornik::texts;

namespace {

// A copy showing the result box of a force stop, left open.
MessageBoxInfo OpenResultBox(Vornik& vornik) {
  Target target = Target::Launch(NewCaseFolder(), "victim.exe");
  REQUIRE(target.WaitForeground());
  vornik.PostHotkey(kForceStopId);
  REQUIRE(target.process().WaitExit());
  auto box = WaitMessageBox(vornik.process().Id());
  REQUIRE(box.has_value());
  CHECK(box->title == texts::kSuccessTitle);
  return *box;
}

void EndsWithCodeZero(Vornik& vornik) {
  REQUIRE(vornik.process().WaitExit());
  CHECK(vornik.process().ExitCode() == 0);
}

}  // namespace

TEST_CASE("the exit hotkey while a result box is open ends the process; the box goes with it") {
  Vornik vornik = Vornik::LaunchReady();
  MessageBoxInfo box = OpenResultBox(vornik);
  vornik.PostHotkey(kExitId);
  EndsWithCodeZero(vornik);
  CHECK_FALSE(IsWindow(box.window));
}

TEST_CASE("the exit hotkey during the exit pause: the nested exit ends the process") {
  Vornik vornik = Vornik::LaunchReady();
  // Both are queued at once: the second is dispatched inside the first one's pause.
  vornik.PostHotkey(kExitId);
  vornik.PostHotkey(kExitId);
  EndsWithCodeZero(vornik);
}

TEST_CASE("the exit item and a force stop during the exit pause") {
  Vornik vornik = Vornik::LaunchReady();
  Target target = Target::Launch(NewCaseFolder(), "paused.exe");
  REQUIRE(target.WaitForeground());
  // The force stop runs in full inside the pause; its box holds the pause
  // until it is closed, and the exit then goes on.
  vornik.PostCommand(ids::kExitCommand);
  vornik.PostHotkey(kForceStopId);
  REQUIRE(target.process().WaitExit());
  auto box = WaitMessageBox(vornik.process().Id());
  REQUIRE(box.has_value());
  PumpFor(500);
  CHECK(vornik.process().Running());
  CloseMessageBox(box->window);
  EndsWithCodeZero(vornik);
}

TEST_CASE("the exit hotkey while the tray popup is open ends the process") {
  Vornik vornik = Vornik::LaunchReady();
  vornik.PostTrayCallback(WM_RBUTTONUP);
  HWND popup = WaitPopupMenu(vornik.process().Id());
  REQUIRE(popup != nullptr);
  vornik.PostHotkey(kExitId);
  EndsWithCodeZero(vornik);
  CHECK_FALSE(IsWindow(popup));
}

TEST_CASE("a close request while a box is open: window and icon go, the process ends with 0") {
  const size_t iconsBefore = TrayIconWindows().size();
  Vornik vornik = Vornik::LaunchReady();
  REQUIRE(WaitUntil([&] { return TrayIconWindows().size() == iconsBefore + 1; }));
  SUBCASE("a result box") {
    MessageBoxInfo box = OpenResultBox(vornik);
    vornik.PostClose();
    EndsWithCodeZero(vornik);
    CHECK_FALSE(IsWindow(box.window));
  }
  SUBCASE("the help box") {
    vornik.PostCommand(ids::kHelpCommand);
    auto box = WaitMessageBox(vornik.process().Id());
    REQUIRE(box.has_value());
    vornik.PostClose();
    EndsWithCodeZero(vornik);
    CHECK_FALSE(IsWindow(box->window));
  }
  CHECK_FALSE(IsWindow(vornik.MainWindow()));
  CHECK(TrayIconWindows().size() == iconsBefore);
}
