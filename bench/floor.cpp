// The least a hotkey tool can do: a hidden window that, on Control+Windows+
// Delete, terminates the foreground window's process by its id. Nothing else:
// no name lookup, no sound, no report. The latency benchmark measures Vornik
// against it.
#include <windows.h>

namespace {

constexpr char kClassName[] = "VornikBenchFloor";
constexpr char kReadyEvent[] = "VornikBenchFloorReady";
constexpr int kHotkeyId = 1;

void TerminateForegroundProcess() {
  DWORD pid = 0;
  GetWindowThreadProcessId(GetForegroundWindow(), &pid);
  HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, pid);
  if (process) {
    TerminateProcess(process, 0);
    CloseHandle(process);
  }
}

LRESULT CALLBACK FloorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HOTKEY && wParam == kHotkeyId) {
    TerminateForegroundProcess();
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = FloorWindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kClassName;
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, nullptr, nullptr, instance,
                                nullptr);
  // Fails while another program holds the combination; posted WM_HOTKEY still works.
  RegisterHotKey(window, kHotkeyId, MOD_CONTROL | MOD_WIN, VK_DELETE);
  CreateEventA(nullptr, TRUE, TRUE, kReadyEvent);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}
