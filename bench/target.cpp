// What the force-stop benchmark terminates: a small visible window that makes
// itself the foreground window, then waits.
#include <windows.h>

namespace {

constexpr char kClassName[] = "VornikBenchTarget";

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = kClassName;
  RegisterClassA(&windowClass);
  // The title must not equal the executable's name, or a lookup by window
  // title would find it by another road than the one measured.
  HWND window = CreateWindowExA(0, kClassName, "Vornik bench target",
                                WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 200, 120, nullptr,
                                nullptr, instance, nullptr);
  SetForegroundWindow(window);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}
