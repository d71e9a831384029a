// The tray icon of the real program, seen and clicked from outside: it appears
// at start-up and goes at the exit, answers clicks with the hint box or the
// popup, and comes back when the shell announces a restart.
#include <doctest.h>
#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "common/ids.h"
#include "common/texts.h"
#include "driver.h"

using namespace test;
namespace ids = vornik::ids;
namespace texts = vornik::texts;

namespace {

// A copy that has finished start-up, with the tray icon it added.
struct TrayCopy {
  Vornik vornik;
  HWND icon = nullptr;
};

TrayCopy LaunchWithIcon() {
  const std::vector<HWND> before = TrayIconWindows();
  TrayCopy copy{Vornik::LaunchReady(), nullptr};
  WaitUntil([&] { return (copy.icon = NewTrayIcon(before, TrayIconWindows())) != nullptr; });
  return copy;
}

bool IconShown(HWND icon) {
  const std::vector<HWND> icons = TrayIconWindows();
  return std::find(icons.begin(), icons.end(), icon) != icons.end();
}

void PressKey(HWND window, UINT key) {
  PostMessageA(window, WM_KEYDOWN, key, 0);
  PostMessageA(window, WM_KEYUP, key, 0xC0000000);
}

// Nothing shows up and the program runs on.
void CheckQuiet(Vornik& vornik, DWORD ms = 700) {
  PumpFor(ms);
  CHECK(vornik.process().Running());
  CHECK(MessageBoxesOf(vornik.process().Id()).empty());
  CHECK(PopupMenuOf(vornik.process().Id()) == nullptr);
}

void ExitThroughItem(Vornik& vornik) {
  vornik.PostCommand(ids::kExitCommand);
  REQUIRE(vornik.process().WaitExit());
  CHECK(vornik.process().ExitCode() == 0);
}

// The shell's announcement that it has started: every program adds its icons.
void BroadcastTaskbarCreated() {
  const UINT message = RegisterWindowMessageA("TaskbarCreated");
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(HWND_BROADCAST, message, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
}

}  // namespace

TEST_CASE("the icon is in the tray after start-up and gone after the exit") {
  const size_t before = TrayIconWindows().size();
  SUBCASE("exit item") {
    TrayCopy copy = LaunchWithIcon();
    REQUIRE(copy.icon != nullptr);
    CHECK(TrayIconWindows().size() == before + 1);
    ExitThroughItem(copy.vornik);
  }
  SUBCASE("close request from another program") {
    TrayCopy copy = LaunchWithIcon();
    REQUIRE(copy.icon != nullptr);
    copy.vornik.PostClose();
    REQUIRE(copy.vornik.process().WaitExit());
  }
  // (Wine also drops the icons of a destroyed window; that the program removes
  // its own is shown in-process.)
  CHECK(TrayIconWindows().size() == before);
}

TEST_CASE("the callback's mouse messages: double-click hints, right click pops up") {
  struct Case {
    UINT mouseMessage;
    const char* name;
    enum { kNothing, kHint, kPopup } answer;
  };
  const Case cases[] = {
      {WM_LBUTTONUP, "left button up", Case::kNothing},
      {WM_LBUTTONDOWN, "left button down", Case::kNothing},
      {WM_RBUTTONDOWN, "right button down", Case::kNothing},
      {WM_MOUSEMOVE, "mouse move", Case::kNothing},
      {WM_LBUTTONDBLCLK, "left double-click", Case::kHint},
      {WM_RBUTTONUP, "right button up", Case::kPopup},
      {WM_CONTEXTMENU, "context menu", Case::kPopup},
  };
  Vornik vornik = Vornik::LaunchReady();
  const DWORD pid = vornik.process().Id();
  for (const Case& c : cases) {
    CAPTURE(c.name);
    vornik.PostTrayCallback(c.mouseMessage);
    switch (c.answer) {
      case Case::kNothing:
        CheckQuiet(vornik);
        break;
      case Case::kHint: {
        auto box = WaitMessageBox(pid);
        REQUIRE(box.has_value());
        CHECK(box->title == texts::kNoWindowHintTitle);
        CHECK(box->text == texts::kNoWindowHint);
        PumpFor(300);
        CHECK(MessageBoxesOf(pid).size() == 1);
        CloseMessageBox(box->window);
        REQUIRE(WaitUntil([&] { return MessageBoxesOf(pid).empty(); }));
        break;
      }
      case Case::kPopup: {
        HWND popup = WaitPopupMenu(pid);
        REQUIRE(popup != nullptr);
        PressKey(popup, VK_ESCAPE);
        REQUIRE(WaitUntil([&] { return PopupMenuOf(pid) == nullptr; }));
        break;
      }
    }
  }
  CheckQuiet(vornik);
  ExitThroughItem(vornik);
}

TEST_CASE("the popup opens with its right edge and top 5 pixels from the cursor") {
  Vornik vornik = Vornik::LaunchReady();
  const POINT cursor = {GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2};
  SetCursorPos(cursor.x, cursor.y);
  PumpFor(100);
  vornik.PostTrayCallback(WM_RBUTTONUP);
  HWND popup = WaitPopupMenu(vornik.process().Id());
  REQUIRE(popup != nullptr);
  RECT rect;
  GetWindowRect(popup, &rect);
  CHECK(rect.right == cursor.x - 5);
  CHECK(rect.top == cursor.y - 5);
  PressKey(popup, VK_ESCAPE);
  ExitThroughItem(vornik);
}

TEST_CASE("real clicks on the tray icon") {
  TrayCopy copy = LaunchWithIcon();
  REQUIRE(copy.icon != nullptr);
  Vornik& vornik = copy.vornik;
  const DWORD pid = vornik.process().Id();

  SUBCASE("a single left click shows nothing") {
    ClickWindow(copy.icon, "click 1");
    CheckQuiet(vornik);
  }
  SUBCASE("a left double-click shows the hint box, once") {
    ClickWindow(copy.icon, "click --repeat 2 --delay 80 1");
    auto box = WaitMessageBox(pid);
    REQUIRE(box.has_value());
    CHECK(box->title == texts::kNoWindowHintTitle);
    CHECK(box->text == texts::kNoWindowHint);
    PumpFor(500);
    CHECK(MessageBoxesOf(pid).size() == 1);
    CloseMessageBox(box->window);
    REQUIRE(WaitUntil([&] { return MessageBoxesOf(pid).empty(); }));
  }
  SUBCASE("a right click opens the popup; a click elsewhere closes it and runs nothing") {
    ClickWindow(copy.icon, "click 3");
    HWND popup = WaitPopupMenu(pid);
    REQUIRE(popup != nullptr);
    ClickAt({700, 600}, "click 1");
    CHECK(WaitUntil([&] { return PopupMenuOf(pid) == nullptr; }));
    CheckQuiet(vornik);
  }
  SUBCASE("the exit item chosen with the keyboard ends the program with code 0") {
    ClickWindow(copy.icon, "click 3");
    HWND popup = WaitPopupMenu(pid);
    REQUIRE(popup != nullptr);
    RunUnix("/usr/bin/xdotool key x");  // a real keystroke: the item's mnemonic
    REQUIRE(vornik.process().WaitExit());
    CHECK(vornik.process().ExitCode() == 0);
    CHECK_FALSE(IconShown(copy.icon));
  }
  if (vornik.process().Running()) ExitThroughItem(vornik);
}

TEST_CASE("Escape closes the popup and runs nothing; the menu still works after") {
  Vornik vornik = Vornik::LaunchReady();
  const DWORD pid = vornik.process().Id();
  vornik.PostTrayCallback(WM_RBUTTONUP);
  HWND popup = WaitPopupMenu(pid);
  REQUIRE(popup != nullptr);
  PressKey(popup, VK_ESCAPE);
  REQUIRE(WaitUntil([&] { return PopupMenuOf(pid) == nullptr; }));
  CheckQuiet(vornik);

  // Up from the top wraps round to the last item, the exit.
  vornik.PostTrayCallback(WM_RBUTTONUP);
  popup = WaitPopupMenu(pid);
  REQUIRE(popup != nullptr);
  PressKey(popup, VK_UP);
  PressKey(popup, VK_RETURN);
  REQUIRE(vornik.process().WaitExit());
  CHECK(vornik.process().ExitCode() == 0);
}

TEST_CASE("after the shell announces a restart, the icon is there again") {
  const size_t before = TrayIconWindows().size();
  TrayCopy copy = LaunchWithIcon();
  REQUIRE(copy.icon != nullptr);
  Vornik& vornik = copy.vornik;

  // A restarted shell knows no icons: take Vornik's away, as the restart did.
  NOTIFYICONDATAA data = {};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = vornik.MainWindow();
  data.uID = ids::kTrayIconId;
  REQUIRE(Shell_NotifyIconA(NIM_DELETE, &data));
  REQUIRE(WaitUntil([&] { return TrayIconWindows().size() == before; }));

  BroadcastTaskbarCreated();
  REQUIRE(WaitUntil([&] { return TrayIconWindows().size() == before + 1; }));

  SUBCASE("it answers clicks as before") {
    std::vector<HWND> icons = TrayIconWindows();
    ClickWindow(icons.back(), "click --repeat 2 --delay 80 1");
    auto box = WaitMessageBox(vornik.process().Id());
    REQUIRE(box.has_value());
    CHECK(box->text == texts::kNoWindowHint);
    CloseMessageBox(box->window);
    REQUIRE(WaitUntil([&] { return MessageBoxesOf(vornik.process().Id()).empty(); }));
  }
  SUBCASE("an announcement while the icon is shown adds no second one") {
    BroadcastTaskbarCreated();
    PumpFor(500);
    CHECK(TrayIconWindows().size() == before + 1);
  }
  ExitThroughItem(vornik);
  CHECK(TrayIconWindows().size() == before);
}
