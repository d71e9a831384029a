// Entry of every Windows test program. The test keeps a tray icon of its own for
// its whole run: on an X server without a window manager, Wine stalls about two
// seconds whenever the last tray icon goes away, which would slow every exit.
#define DOCTEST_CONFIG_IMPLEMENT
#include <doctest.h>
#include <windows.h>
#include <shellapi.h>

namespace {

class OwnTrayIcon {
 public:
  OwnTrayIcon() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "VornikTestTrayOwner";
    RegisterClassA(&windowClass);
    window_ = CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, nullptr, nullptr,
                              windowClass.hInstance, nullptr);
    NOTIFYICONDATAA data = Data();
    data.uFlags = NIF_ICON | NIF_TIP;
    data.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    lstrcpynA(data.szTip, "vornik tests", sizeof data.szTip);
    Shell_NotifyIconA(NIM_ADD, &data);
  }
  ~OwnTrayIcon() {
    NOTIFYICONDATAA data = Data();
    Shell_NotifyIconA(NIM_DELETE, &data);
    DestroyWindow(window_);
  }

 private:
  NOTIFYICONDATAA Data() const {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window_;
    data.uID = 1;
    return data;
  }
  HWND window_ = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
  OwnTrayIcon trayIcon;
  doctest::Context context(argc, argv);
  return context.run();
}
