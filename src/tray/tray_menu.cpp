#include "tray/tray_menu.h"

#include <windows.h>

#include <cstring>

#include "app/main_window.h"
#include "app/menu_items.h"
#include "common/message_box.h"
#include "common/owners.h"
#include "common/texts.h"
#include "tray/tray_event.h"

namespace vornik {

namespace {

constexpr std::uint32_t kNoWindowHintStyle = 0x10030;  // MB_SETFOREGROUND | MB_ICONEXCLAMATION

// The popup is placed with its right edge and its top this far from the cursor.
constexpr int kCursorGap = 5;

// The sub-items of TrayMenu. Only check marks change at run time, so hidden and
// disabled come from the table and the check marks from the live menu.
UniqueMenu BuildTrayPopup() {
  UniqueMenu menu(CreatePopupMenu());
  for (const MenuItemSpec& spec : kMenuItems) {
    if (spec.level != 1 || (spec.initialFlags & kItemHidden)) continue;
    if (std::strcmp(spec.text, "-") == 0) {
      AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING;
    if (IsItemChecked(spec.item)) flags |= MF_CHECKED;
    if (spec.initialFlags & kItemDisabled) flags |= MF_GRAYED;
    AppendMenuA(menu.get(), flags, spec.command, spec.text);
  }
  return menu;
}

}  // namespace

void OnTrayEvent(int kind) {
  switch (kind) {
    case kTrayDoubleClick:
      ShowMessage(texts::kNoWindowHint, texts::kNoWindowHintTitle, kNoWindowHintStyle);
      break;
    case kTrayMenuRequest:
      PopupTrayMenu();
      break;
    default:
      break;
  }
}

void PopupTrayMenu() {
  UniqueMenu menu = BuildTrayPopup();
  POINT cursor = {};
  GetCursorPos(&cursor);
  HWND window = MainWindow();
  // Without the foreground a click elsewhere would not close the menu; the null
  // message afterwards completes the switch, or the next popup could vanish.
  SetForegroundWindow(window);
  TrackPopupMenu(menu.get(), TPM_RIGHTALIGN, cursor.x - kCursorGap, cursor.y - kCursorGap, 0,
                 window, nullptr);
  PostMessageA(window, WM_NULL, 0, 0);
}

}  // namespace vornik
