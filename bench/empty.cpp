// An empty Win32 program: one hidden window and a message loop. Given an event
// name on its command line it creates that event once the window exists, which
// is how the start-up benchmark sees it ready.
#include <windows.h>

namespace {

constexpr char kClassName[] = "VornikBenchEmpty";

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kClassName;
  RegisterClassA(&windowClass);
  CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
  if (commandLine && *commandLine) CreateEventA(nullptr, TRUE, TRUE, commandLine);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}
