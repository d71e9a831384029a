// An empty Win32 program: one hidden window and a message loop. Given an event
// name on its command line it creates that event once the window exists, which
// is how the start-up benchmark sees it ready.
//
// Built a second time with VORNIK_BENCH_WITH_DLLS, it also links the system
// DLLs that Vornik loads during its start-up, without calling into them: that
// copy shows how much of Vornik's start-up is the loading of those DLLs alone.
#include <windows.h>

#ifdef VORNIK_BENCH_WITH_DLLS
#include <mmsystem.h>
#include <ole2.h>
#include <shellapi.h>

namespace {

// Never true at run time; the calls only make the linker import their DLLs.
void ImportVornikDlls(LPSTR commandLine) {
  if (commandLine == nullptr) {
    OleUninitialize();
    Shell_NotifyIconA(NIM_DELETE, nullptr);
    waveOutGetNumDevs();
    RegCloseKey(nullptr);
  }
}

}  // namespace
#endif

namespace {

constexpr char kClassName[] = "VornikBenchEmpty";

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
#ifdef VORNIK_BENCH_WITH_DLLS
  ImportVornikDlls(commandLine);
#endif
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
