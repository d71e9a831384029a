#include "own_tray_icon.h"

namespace test {

OwnTrayIcon::OwnTrayIcon(const char* tip) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "VornikOwnTrayIconOwner";
  RegisterClassA(&windowClass);
  window_ = CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, nullptr, nullptr,
                            windowClass.hInstance, nullptr);
  NOTIFYICONDATAA data = Data();
  data.uFlags = NIF_ICON | NIF_TIP;
  data.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
  lstrcpynA(data.szTip, tip, sizeof data.szTip);
  Shell_NotifyIconA(NIM_ADD, &data);
}

OwnTrayIcon::~OwnTrayIcon() {
  NOTIFYICONDATAA data = Data();
  Shell_NotifyIconA(NIM_DELETE, &data);
  DestroyWindow(window_);
}

NOTIFYICONDATAA OwnTrayIcon::Data() const {
  NOTIFYICONDATAA data = {};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = window_;
  data.uID = 1;
  return data;
}

}  // namespace test
