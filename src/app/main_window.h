// MainWindow: a hidden top-level window that only carries the tray icon, the
// hotkey registrations, the relay label and the menu. It is never shown.
#pragma once

#include <windows.h>

#include "app/menu_items.h"

namespace vornik {

// Creates MainWindow (hidden), its relay label and its menu bar. Null on failure.
HWND CreateMainWindow(HINSTANCE instance);

HWND MainWindow();
HWND RelayLabel();

// The checked bit of an item, read from the live menu.
int IsItemChecked(MenuItem item);
// Non-zero sets the checked bit, zero clears it.
void SetItemChecked(MenuItem item, int value);

}  // namespace vornik
