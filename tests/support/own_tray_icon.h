// A tray icon of the program's own for as long as it lives: on an X server
// without a window manager, Wine stalls about two seconds whenever the last
// tray icon goes away, which would slow every exit the program waits for.
#pragma once

#include <windows.h>
#include <shellapi.h>

namespace test {

class OwnTrayIcon {
 public:
  // `tip` tells whose icon it is.
  explicit OwnTrayIcon(const char* tip);
  ~OwnTrayIcon();
  OwnTrayIcon(const OwnTrayIcon&) = delete;
  OwnTrayIcon& operator=(const OwnTrayIcon&) = delete;

 private:
  NOTIFYICONDATAA Data() const;
  HWND window_ = nullptr;
};

}  // namespace test
