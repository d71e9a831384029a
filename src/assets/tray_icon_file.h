// The tray icon's ICO file, compiled into the program from tray_icon.ico.
#pragma once

#include <cstddef>

namespace vornik::assets {

extern const unsigned char TrayIconFile[];
extern const std::size_t TrayIconFileSize;

}  // namespace vornik::assets
