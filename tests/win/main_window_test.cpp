// MainWindow's menu and the hotkey relay, checked inside the process: another
// process cannot read a window's menu items under Wine.
#include <doctest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "common/ids.h"
#include "common/texts.h"
#include "forcestop/hotkeys.h"

using namespace vornik;

namespace {

std::string MenuText(HMENU menu, UINT position) {
  char text[128] = {};
  GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
  return text;
}

HWND TheMainWindow() {
  static HWND window = CreateMainWindow(GetModuleHandleA(nullptr));
  return window;
}

// Records what reaches a window, in order.
struct Seen {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Seen> seen;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HOTKEY || message == ids::kHotkeyRelayMessage) {
    seen.push_back({message, wParam, lParam});
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND RecordingWindow() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = RecordingProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "VornikTestRecorder";
  RegisterClassA(&windowClass);
  return CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, nullptr, nullptr,
                         windowClass.hInstance, nullptr);
}

}  // namespace

TEST_CASE("the menu bar holds one drop-down with the four items, ids and check marks") {
  HMENU bar = GetMenu(TheMainWindow());
  REQUIRE(bar != nullptr);
  REQUIRE(GetMenuItemCount(bar) == 1);
  CHECK(MenuText(bar, 0) == texts::kTrayMenu);
  HMENU trayMenu = GetSubMenu(bar, 0);
  REQUIRE(trayMenu != nullptr);

  struct Item {
    const char* text;
    UINT command;
    bool checked;
  };
  const Item items[] = {
      {texts::kShowResultItem, 20001, true},
      {texts::kAutoStartItem, 20002, false},
      {texts::kHelpItem, 20003, false},
      {texts::kExitItem, 20004, false},
  };
  REQUIRE(GetMenuItemCount(trayMenu) == 4);
  for (UINT i = 0; i < 4; ++i) {
    CAPTURE(i);
    CHECK(MenuText(trayMenu, i) == items[i].text);
    CHECK(GetMenuItemID(trayMenu, static_cast<int>(i)) == items[i].command);
    const UINT state = GetMenuState(trayMenu, i, MF_BYPOSITION);
    CHECK(((state & MF_CHECKED) != 0) == items[i].checked);
    CHECK((state & (MF_GRAYED | MF_DISABLED)) == 0);
  }
}

TEST_CASE("IsItemChecked and SetItemChecked work on the live menu") {
  TheMainWindow();
  CHECK(IsItemChecked(MenuItem::ShowResultSwitch) == 1);
  CHECK(IsItemChecked(MenuItem::AutoStartSwitch) == 0);
  SetItemChecked(MenuItem::AutoStartSwitch, 7);
  CHECK(IsItemChecked(MenuItem::AutoStartSwitch) == 1);
  SetItemChecked(MenuItem::AutoStartSwitch, 1);  // already set: unchanged
  CHECK(IsItemChecked(MenuItem::AutoStartSwitch) == 1);
  SetItemChecked(MenuItem::AutoStartSwitch, 0);
  CHECK(IsItemChecked(MenuItem::AutoStartSwitch) == 0);
  CHECK(IsItemChecked(MenuItem::ShowResultSwitch) == 1);
}

TEST_CASE("hotkeys are numbered from 33001, failures use up a number, and the relay comes first") {
  HWND target = RecordingWindow();
  HWND relay = RecordingWindow();
  const UINT mods = MOD_CONTROL | MOD_ALT | MOD_SHIFT;

  CHECK(RegisterGlobalHotkey(target, relay, mods, VK_F9) == 33001);
  CHECK(RegisterGlobalHotkey(target, relay, mods, VK_F9) == 0);  // held by 33001
  CHECK(RegisterGlobalHotkey(target, relay, mods, VK_F10) == 33003);

  // An issued id is relayed to the relay window first, then the target's own
  // procedure still receives the WM_HOTKEY.
  seen.clear();
  SendMessageA(target, WM_HOTKEY, 33001, MAKELPARAM(mods, VK_F9));
  REQUIRE(seen.size() == 2);
  CHECK(seen[0].message == ids::kHotkeyRelayMessage);
  CHECK(seen[0].wParam == 33001);
  CHECK(seen[0].lParam == 0);
  CHECK(seen[1].message == WM_HOTKEY);
  CHECK(seen[1].wParam == 33001);

  // Ids outside 33001..highest only reach the target's procedure.
  for (WPARAM id : {WPARAM(0), WPARAM(33000), WPARAM(33004), WPARAM(1)}) {
    CAPTURE(id);
    seen.clear();
    SendMessageA(target, WM_HOTKEY, id, 0);
    REQUIRE(seen.size() == 1);
    CHECK(seen[0].message == WM_HOTKEY);
  }
}

TEST_CASE("the window's icons are the icon group's 32- and 16-pixel images") {
  // This test program carries the executable's resources too.
  const auto sizeOf = [](HICON icon) {
    ICONINFO info = {};
    BITMAP bitmap = {};
    if (GetIconInfo(icon, &info)) {
      GetObjectA(info.hbmMask, sizeof bitmap, &bitmap);
      DeleteObject(info.hbmColor);
      DeleteObject(info.hbmMask);
    }
    return bitmap.bmWidth;
  };
  HWND window = TheMainWindow();
  auto big = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0));
  auto small = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0));
  REQUIRE(big != nullptr);
  REQUIRE(small != nullptr);
  CHECK(sizeOf(big) == 32);
  CHECK(sizeOf(small) == 16);
}
