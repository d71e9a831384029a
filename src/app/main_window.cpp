#include "app/main_window.h"

#include "app/lifecycle.h"
#include "common/ids.h"
#include "common/owners.h"
#include "common/texts.h"
#include "forcestop/hotkeys.h"
#include "tray/help.h"
#include "tray/settings.h"
#include "tray/startup_entry.h"
#include "tray/tray_event.h"
#include "tray/tray_icon.h"
#include "tray/tray_menu.h"

namespace vornik {

namespace {

// The one window of the program; set once when it is created.
HWND mainWindow = nullptr;
HWND relayLabel = nullptr;
// The shell's broadcast after it restarts; registered at creation.
UINT taskbarCreatedMessage = 0;

HMENU TrayMenuHandle() {
  HMENU bar = mainWindow ? GetMenu(mainWindow) : nullptr;
  return bar ? GetSubMenu(bar, 0) : nullptr;
}

// Menu commands from the tray popup. Each runs its handler to its end.
void OnCommand(UINT command) {
  switch (command) {
    case ids::kShowResultCommand:
      ToggleShowResult();
      break;
    case ids::kAutoStartCommand:
      ToggleAutoStart();
      break;
    case ids::kHelpCommand:
      ShowHelp();
      break;
    case ids::kExitCommand:
      ExitSequence();
    default:
      break;
  }
}

void OnDestroy(HWND window) {
  // Take the menu bar off before destroying it, so the window never points at
  // a dead menu.
  HMENU bar = GetMenu(window);
  SetMenu(window, nullptr);
  if (bar) DestroyMenu(bar);
  SetTrayIcon(window, nullptr, 0, nullptr);
  PostQuitMessage(0);
}

// The shell reports a click on the tray icon.
void OnTrayCallback(LPARAM lParam) {
  const int kind = TrayEventKindOf(static_cast<std::uintptr_t>(lParam));
  if (kind != kNoTrayEvent) OnTrayEvent(kind);
}

// The shell has restarted and forgotten the tray icon.
void OnTaskbarCreated(HWND window) { AddTrayIconAgain(window, texts::kTrayTip); }

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (taskbarCreatedMessage != 0 && message == taskbarCreatedMessage) {
    OnTaskbarCreated(window);
    return 0;
  }
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam));
      return 0;
    case WM_DESTROY:
      OnDestroy(window);
      return 0;
    case ids::kTrayCallbackMessage:
      OnTrayCallback(lParam);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

// The relay label turns HotkeyRelayMessage into a call of OnHotkey, with the
// message's wParam and lParam as its two arguments.
LRESULT CALLBACK RelayLabelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == ids::kHotkeyRelayMessage) {
    return OnHotkey(static_cast<int>(wParam), static_cast<int>(lParam));
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterClasses(HINSTANCE instance) {
  WNDCLASSA mainClass = {};
  mainClass.lpfnWndProc = MainWindowProc;
  mainClass.hInstance = instance;
  mainClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  mainClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  mainClass.lpszClassName = ids::kMainWindowClass;

  WNDCLASSA labelClass = {};
  labelClass.lpfnWndProc = RelayLabelProc;
  labelClass.hInstance = instance;
  labelClass.lpszClassName = ids::kRelayLabelClass;

  return RegisterClassA(&mainClass) != 0 && RegisterClassA(&labelClass) != 0;
}

HMENU CreateMenuBar() {
  HMENU bar = CreateMenu();
  HMENU trayMenu = CreatePopupMenu();
  for (const MenuItemSpec& spec : kMenuItems) {
    if (spec.level != 1) continue;
    UINT flags = MF_STRING;
    if (spec.initialFlags & kItemChecked) flags |= MF_CHECKED;
    if (spec.initialFlags & kItemDisabled) flags |= MF_GRAYED;
    AppendMenuA(trayMenu, flags, spec.command, spec.text);
  }
  AppendMenuA(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(trayMenu),
              SpecOf(MenuItem::TrayMenu).text);
  return bar;
}

HICON LoadGroupIcon(HINSTANCE instance, int size) {
  return static_cast<HICON>(
      LoadImageA(instance, ids::kDefaultIconGroup, IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

// The window icons come from the executable's icon group. They are loaded once
// and the window does not own them: they last as long as the process.
void SetWindowIcons(HWND window, HINSTANCE instance) {
  static const UniqueIcon big(LoadGroupIcon(instance, 32));
  static const UniqueIcon small(LoadGroupIcon(instance, 16));
  SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
  SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
}

}  // namespace

HWND CreateMainWindow(HINSTANCE instance) {
  if (!RegisterClasses(instance)) return nullptr;

  const int x = (GetSystemMetrics(SM_CXSCREEN) - ids::kMainWindowWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - ids::kMainWindowHeight) / 2;
  HWND window = CreateWindowExA(0, ids::kMainWindowClass, "",
                                WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, x, y,
                                ids::kMainWindowWidth, ids::kMainWindowHeight, nullptr, nullptr,
                                instance, nullptr);
  if (!window) return nullptr;
  mainWindow = window;
  taskbarCreatedMessage = RegisterWindowMessageA(ids::kTaskbarCreatedMessage);
  SetWindowIcons(window, instance);

  relayLabel = CreateWindowExA(0, ids::kRelayLabelClass, texts::kRelayLabel, WS_CHILD | WS_VISIBLE,
                               ids::kLabelX, ids::kLabelY, ids::kLabelWidth, ids::kLabelHeight,
                               window, nullptr, instance, nullptr);
  SetMenu(window, CreateMenuBar());
  return window;
}

HWND MainWindow() { return mainWindow; }

HWND RelayLabel() { return relayLabel; }

int IsItemChecked(MenuItem item) {
  HMENU menu = TrayMenuHandle();
  if (!menu) return 0;
  return (GetMenuState(menu, SpecOf(item).command, MF_BYCOMMAND) & MF_CHECKED) ? 1 : 0;
}

void SetItemChecked(MenuItem item, int value) {
  HMENU menu = TrayMenuHandle();
  if (!menu) return;
  CheckMenuItem(menu, SpecOf(item).command, MF_BYCOMMAND | (value ? MF_CHECKED : MF_UNCHECKED));
}

}  // namespace vornik
