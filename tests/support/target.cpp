// A stand-in for the program a user wants to stop: one visible top-level window
// that makes itself the foreground window. Its title is the command line, if
// any. Tests copy it under other names and into other folders.
#include <windows.h>

#include "target_protocol.h"

using namespace test;

namespace {

LRESULT CALLBACK TargetWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kTargetComeForward:
      SetForegroundWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(kTargetOwnExitCode);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = TargetWindowProc;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = kTargetWindowClass;
  RegisterClassA(&windowClass);

  const char* title = commandLine && *commandLine ? commandLine : kTargetDefaultTitle;
  HWND window = CreateWindowExA(0, kTargetWindowClass, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                200, 150, 320, 200, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  SetForegroundWindow(window);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
