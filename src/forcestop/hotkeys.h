// System-wide hotkeys: registered on MainWindow, caught by a window procedure
// installed in front of MainWindow's own, relayed through the label to OnHotkey.
#pragma once

#include <windows.h>

#include <cstdint>

namespace vornik {

// 0 until start-up stores the registrations' results (0 also for a failure).
extern std::int32_t ForceStopHotkeyId;
extern std::int32_t ExitHotkeyId;

// Registers the hotkey on `target` and makes `relay` the window that receives
// HotkeyRelayMessage for every hotkey. Returns the new id (33001, 33002, ...)
// or 0 when the system refused; a refusal still uses up its number.
std::int32_t RegisterGlobalHotkey(HWND target, HWND relay, UINT modifiers, UINT key);

// One hotkey press, called through the relay label. The second argument is
// always 0.
LRESULT OnHotkey(std::int32_t id, std::int32_t unused);

}  // namespace vornik
