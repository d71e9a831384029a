// An idle process that only lengthens the system's process list. It has no
// window, so it holds no connection to the X server (which admits only a few
// hundred clients). It counts itself in on the semaphore named on its command
// line and then sleeps for good.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  if (commandLine && *commandLine) {
    if (HANDLE started = OpenSemaphoreA(SEMAPHORE_MODIFY_STATE, FALSE, commandLine)) {
      ReleaseSemaphore(started, 1, nullptr);
      CloseHandle(started);
    }
  }
  Sleep(INFINITE);
  return 0;
}
