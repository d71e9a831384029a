#include "forcestop/hotkeys.h"

#include "app/lifecycle.h"
#include "common/ids.h"
#include "forcestop/force_stop.h"

namespace vornik {

std::int32_t ForceStopHotkeyId = 0;
std::int32_t ExitHotkeyId = 0;

namespace {

struct HotkeyRegistry {
  HWND relayWindow = nullptr;
  WNDPROC savedWindowProc = nullptr;
  std::uint32_t idCounter = 0;
  std::uint32_t highestId = 0;
};

HotkeyRegistry registry;

LRESULT CALLBACK HotkeyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HOTKEY && wParam >= static_cast<WPARAM>(ids::kFirstHotkeyId) &&
      wParam <= registry.highestId) {
    // Synchronous: OnHotkey runs to its end before the send returns.
    SendMessageA(registry.relayWindow, ids::kHotkeyRelayMessage, wParam, 0);
  }
  return CallWindowProcA(registry.savedWindowProc, window, message, wParam, lParam);
}

}  // namespace

std::int32_t RegisterGlobalHotkey(HWND target, HWND relay, UINT modifiers, UINT key) {
  registry.relayWindow = relay;
  if (registry.savedWindowProc == nullptr) {
    registry.savedWindowProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(target, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HotkeyWindowProc)));
  }
  registry.idCounter += 1;
  registry.highestId = static_cast<std::uint32_t>(ids::kFirstHotkeyId) - 1 + registry.idCounter;
  const auto id = static_cast<std::int32_t>(registry.highestId);
  return RegisterHotKey(target, id, modifiers, key) ? id : 0;
}

LRESULT OnHotkey(std::int32_t id, std::int32_t) {
  // Two separate tests: the force-stop branch runs to its end first.
  if (id == ForceStopHotkeyId) ForceStopResponse();
  if (id == ExitHotkeyId) ExitSequence();
  return 0;
}

}  // namespace vornik
