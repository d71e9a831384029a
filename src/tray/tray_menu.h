// What a click on the tray icon does: a hint on a double-click, the popup of
// MainWindow's menu items on a right click.
#pragma once

namespace vornik {

// TrayEventKind from TrayEventKindOf: 2 shows the no-window hint, 3 pops up
// the menu, 1 does nothing.
void OnTrayEvent(int kind);

// Shows MainWindow's menu items, with their current check marks, just left of
// and above the cursor, and returns when the menu closes. A chosen item comes
// back to MainWindow as WM_COMMAND.
void PopupTrayMenu();

}  // namespace vornik
