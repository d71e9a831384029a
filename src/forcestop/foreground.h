// The window a force stop aims at: the foreground window, or, when that is the
// system's stand-in for a program that stopped responding, the hung window it
// stands for.
#pragma once

#include <windows.h>

namespace vornik {

// user32's HungWindowFromGhostWindow: the hung window behind a ghost window.
using HungWindowFromGhost = HWND(WINAPI*)(HWND ghost);

// Looked up at run time: it is not in the import libraries and not every
// system has it. Null when absent.
HungWindowFromGhost SystemHungWindowFromGhost();

// A window of class "Ghost" is resolved through `hungWindowFromGhost`; any
// other window, or a ghost that cannot be resolved, is returned unchanged.
HWND ResolveGhostWindow(HWND window, HungWindowFromGhost hungWindowFromGhost);

// GetForegroundWindow, with a ghost resolved. Null when there is none.
HWND ForceStopTargetWindow();

}  // namespace vornik
