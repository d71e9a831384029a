// TrayIcon: MainWindow's icon in the notification area, made from the bytes of
// an ICO file, with the tip and the callback message through which the shell
// reports clicks.
#pragma once

#include <windows.h>

#include <cstddef>

#include "common/owners.h"

namespace vornik {

// An icon from the image ChooseIcoImage picks for `preferredWidth`; empty when
// the bytes hold none or the system cannot make one of them.
UniqueIcon MakeIconFromIcoBytes(const unsigned char* bytes, std::size_t size, int preferredWidth);

// Adds the window's tray icon (id 100), replaces its image, or, with no bytes,
// removes it. The window holds the current icon handle; a replaced or removed
// one is destroyed. Outcomes are not examined.
void SetTrayIcon(HWND window, const unsigned char* bytes, std::size_t size, const char* tip);

// After the shell has restarted it knows no icons: adds the window's icon
// again, with the image it holds, the tip and the callback message. Does
// nothing when the window holds no icon.
void AddTrayIconAgain(HWND window, const char* tip);

}  // namespace vornik
