// The application shell driven from outside: start-up, the hidden window, the
// ways the program ends, and the refusal of a second copy.
#include <doctest.h>

#include "common/ids.h"
#include "common/texts.h"
#include "driver.h"

using namespace test;
namespace ids = vornik::ids;
namespace texts = vornik::texts;

namespace {

// Milliseconds until the process ends after `trigger`.
DWORD TimeToExit(Vornik& vornik, const std::function<void()>& trigger) {
  const DWORD start = GetTickCount();
  trigger();
  REQUIRE(vornik.process().WaitExit());
  return GetTickCount() - start;
}

// A hotkey held by the test itself, as another program would hold it.
class HeldHotkey {
 public:
  HeldHotkey(UINT modifiers, UINT key) {
    window_ = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    held_ = RegisterHotKey(window_, 1, modifiers, key) != 0;
  }
  ~HeldHotkey() {
    UnregisterHotKey(window_, 1);
    DestroyWindow(window_);
  }
  bool Held() const { return held_; }

 private:
  HWND window_ = nullptr;
  bool held_ = false;
};

}  // namespace

TEST_CASE("start-up leaves one hidden, centred window carrying the relay label") {
  Vornik vornik = Vornik::LaunchReady();
  HWND window = vornik.MainWindow();
  REQUIRE(window != nullptr);

  CHECK_FALSE(IsWindowVisible(window));
  CHECK(GetParent(window) == nullptr);
  CHECK(GetWindow(window, GW_OWNER) == nullptr);
  CHECK(GetWindowTextLengthA(window) == 0);
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  const LONG wanted = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  CHECK((style & wanted) == wanted);
  CHECK((style & (WS_VISIBLE | WS_THICKFRAME | WS_MAXIMIZEBOX)) == 0);
  // The system adds WS_EX_WINDOWEDGE to every captioned window; we ask for none.
  CHECK((GetWindowLongA(window, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE) == 0);

  RECT rect;
  GetWindowRect(window, &rect);
  CHECK(rect.right - rect.left == 380);
  CHECK(rect.bottom - rect.top == 250);
  CHECK(rect.left == (GetSystemMetrics(SM_CXSCREEN) - 380) / 2);
  CHECK(rect.top == (GetSystemMetrics(SM_CYSCREEN) - 250) / 2);

  HWND label = FindWindowExA(window, nullptr, ids::kRelayLabelClass, nullptr);
  REQUIRE(label != nullptr);
  char text[64] = {};
  GetWindowTextA(label, text, sizeof text);
  CHECK(std::string(text) == texts::kRelayLabel);
  CHECK((GetWindowLongA(label, GWL_STYLE) & WS_VISIBLE) != 0);
  RECT labelRect;
  GetWindowRect(label, &labelRect);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&labelRect), 2);
  CHECK(labelRect.left == 40);
  CHECK(labelRect.top == 24);
  CHECK(labelRect.right - labelRect.left == 80);
  CHECK(labelRect.bottom - labelRect.top == 24);

  // Nothing of the program is on screen.
  for (HWND own : WindowsOf(vornik.process().Id())) CHECK_FALSE(IsWindowVisible(own));
  CHECK(MessageBoxesOf(vornik.process().Id()).empty());
}

TEST_CASE("the exit hotkey and the exit item end the program with code 0 after the pause") {
  SUBCASE("exit hotkey") {
    Vornik vornik = Vornik::LaunchReady();
    DWORD elapsed = TimeToExit(vornik, [&] { vornik.PostHotkey(kExitId); });
    CHECK(vornik.process().ExitCode() == 0);
    CHECK(elapsed >= 290);
  }
  SUBCASE("exit item") {
    Vornik vornik = Vornik::LaunchReady();
    DWORD elapsed = TimeToExit(vornik, [&] { vornik.PostCommand(ids::kExitCommand); });
    CHECK(vornik.process().ExitCode() == 0);
    CHECK(elapsed >= 290);
  }
}

TEST_CASE("a close request from another program ends it with code 0") {
  Vornik vornik = Vornik::LaunchReady();
  TimeToExit(vornik, [&] { vornik.PostClose(); });
  CHECK(vornik.process().ExitCode() == 0);
  CHECK_FALSE(IsWindow(vornik.MainWindow()));
}

TEST_CASE("hotkeys that are not the exit hotkey, and unknown commands, do not end it") {
  Vornik vornik = Vornik::LaunchReady();
  vornik.PostHotkey(kExitId + 1);  // outside the issued ids: not relayed
  vornik.PostHotkey(0);
  vornik.PostCommand(ids::kTrayMenuCommand);
  vornik.PostCommand(ids::kExitCommand + 1);
  PumpFor(800);
  CHECK(vornik.process().Running());
  CHECK(MessageBoxesOf(vornik.process().Id()).empty());
  TimeToExit(vornik, [&] { vornik.PostHotkey(kExitId); });
  CHECK(vornik.process().ExitCode() == 0);
}

TEST_CASE("with Control+Windows+Delete held elsewhere, the exit hotkey is still 33002 and quits") {
  HeldHotkey held(MOD_CONTROL | MOD_WIN, VK_DELETE);
  REQUIRE(held.Held());
  Vornik vornik = Vornik::LaunchReady();
  TimeToExit(vornik, [&] { vornik.PostHotkey(kExitId); });
  CHECK(vornik.process().ExitCode() == 0);
}

TEST_CASE("a real Control+Windows+Escape keystroke quits") {
  Vornik vornik = Vornik::LaunchReady();
  FocusWindow focus("vornik-keystroke-target");
  focus.TypeKeys("ctrl+super+Escape");
  REQUIRE(vornik.process().WaitExit());
  CHECK(vornik.process().ExitCode() == 0);
}

TEST_CASE("a second copy is refused with a box and code 0; the first runs on") {
  Vornik first = Vornik::LaunchReady();
  Vornik second = Vornik::Launch(NewCaseFolder());

  auto box = WaitMessageBox(second.process().Id());
  REQUIRE(box.has_value());
  CHECK(box->title == texts::kAlreadyRunningTitle);
  CHECK(box->text == texts::kAlreadyRunning);
  CHECK(second.process().Running());  // waits for the user
  CloseMessageBox(box->window);
  REQUIRE(second.process().WaitExit());
  CHECK(second.process().ExitCode() == 0);

  // The first copy noticed nothing: its exit hotkey still works.
  CHECK(first.process().Running());
  CHECK(MessageBoxesOf(first.process().Id()).empty());
  TimeToExit(first, [&] { first.PostHotkey(kExitId); });
  CHECK(first.process().ExitCode() == 0);

  SUBCASE("a copy started after the first has ended starts normally") {
    Vornik next = Vornik::Launch(NewCaseFolder());
    CHECK(next.WaitReady());
    PumpFor(500);
    CHECK(MessageBoxesOf(next.process().Id()).empty());
    TimeToExit(next, [&] { next.PostHotkey(kExitId); });
    CHECK(next.process().ExitCode() == 0);
  }
}

TEST_CASE("a refused copy's open box keeps the marker alive after the first copy ends") {
  Vornik first = Vornik::LaunchReady();
  Vornik second = Vornik::Launch(NewCaseFolder());
  auto secondBox = WaitMessageBox(second.process().Id());
  REQUIRE(secondBox.has_value());
  TimeToExit(first, [&] { first.PostHotkey(kExitId); });

  Vornik third = Vornik::Launch(NewCaseFolder());
  auto thirdBox = WaitMessageBox(third.process().Id());
  REQUIRE(thirdBox.has_value());
  CHECK(thirdBox->text == texts::kAlreadyRunning);
  CloseMessageBox(thirdBox->window);
  CloseMessageBox(secondBox->window);
  REQUIRE(third.process().WaitExit());
  REQUIRE(second.process().WaitExit());
  CHECK(third.process().ExitCode() == 0);
  CHECK(second.process().ExitCode() == 0);
}

TEST_CASE("of copies started at the same instant, exactly one runs") {
  constexpr int kCopies = 4;
  std::vector<std::string> folders;
  for (int i = 0; i < kCopies; ++i) folders.push_back(NewCaseFolder());
  std::vector<Vornik> copies;
  for (const std::string& folder : folders) copies.push_back(Vornik::Launch(folder));

  // Each copy either refuses (box) or finishes start-up; wait for all to decide.
  auto refused = [&](Vornik& v) { return !MessageBoxesOf(v.process().Id()).empty(); };
  REQUIRE(WaitUntil([&] {
    int decided = 0;
    for (Vornik& v : copies) decided += refused(v) ? 1 : 0;
    return decided == kCopies - 1;
  }));
  PumpFor(500);
  int running = 0;
  for (Vornik& v : copies) {
    if (refused(v)) {
      CloseMessageBox(MessageBoxesOf(v.process().Id()).front().window);
      REQUIRE(v.process().WaitExit());
      CHECK(v.process().ExitCode() == 0);
    } else {
      ++running;
      CHECK(v.WaitReady());
      TimeToExit(v, [&] { v.PostHotkey(kExitId); });
    }
  }
  CHECK(running == 1);
}

TEST_CASE("when the main window cannot be created, an error box shows and the exit code is -1") {
  // The hook refuses that one window class in every process, this one included.
  vornik::UniqueModule hookModule(LoadLibraryA((TestBinDir() + "\\block_main_window_hook.dll").c_str()));
  REQUIRE(hookModule);
  auto proc = reinterpret_cast<HOOKPROC>(
      reinterpret_cast<void*>(GetProcAddress(hookModule.get(), "BlockMainWindowProc")));
  REQUIRE(static_cast<bool>(proc));
  HHOOK hook = SetWindowsHookExA(WH_CBT, proc, hookModule.get(), 0);
  REQUIRE(hook != nullptr);

  Vornik vornik = Vornik::Launch(NewCaseFolder());
  auto box = WaitMessageBox(vornik.process().Id());
  UnhookWindowsHookEx(hook);
  REQUIRE(box.has_value());
  CHECK(box->title == texts::kNoWindowErrorTitle);
  CHECK(box->text == texts::kNoWindowError);
  CHECK(WindowsOf(vornik.process().Id(), ids::kMainWindowClass).empty());
  CHECK_FALSE(SingleInstanceMarkerExists());  // start-up stopped before the guard
  CloseMessageBox(box->window);
  REQUIRE(vornik.process().WaitExit());
  CHECK(vornik.process().ExitCode() == static_cast<DWORD>(-1));
}
