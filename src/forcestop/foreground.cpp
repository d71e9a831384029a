#include "forcestop/foreground.h"

#include <cstring>

namespace vornik {

namespace {

// The class of the window the system puts in place of a hung program's window.
constexpr char kGhostClass[] = "Ghost";

bool IsGhostWindow(HWND window) {
  char className[sizeof kGhostClass + 1] = {};
  GetClassNameA(window, className, sizeof className);
  return std::strcmp(className, kGhostClass) == 0;
}

}  // namespace

HungWindowFromGhost SystemHungWindowFromGhost() {
  HMODULE user32 = GetModuleHandleA("user32.dll");
  if (!user32) return nullptr;
  // Through void*: a FARPROC does not convert to a typed pointer without a
  // function-type cast warning.
  void* address = reinterpret_cast<void*>(GetProcAddress(user32, "HungWindowFromGhostWindow"));
  return reinterpret_cast<HungWindowFromGhost>(address);
}

HWND ResolveGhostWindow(HWND window, HungWindowFromGhost hungWindowFromGhost) {
  if (!window || !hungWindowFromGhost || !IsGhostWindow(window)) return window;
  HWND hung = hungWindowFromGhost(window);
  return hung ? hung : window;
}

HWND ForceStopTargetWindow() {
  return ResolveGhostWindow(GetForegroundWindow(), SystemHungWindowFromGhost());
}

}  // namespace vornik
