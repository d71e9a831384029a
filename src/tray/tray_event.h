// What the shell reports about the tray icon, as the one number OnTrayEvent
// takes, and the tip text as the icon record holds it. No Win32 needed.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vornik {

// TrayEventKind: 1 left button up, 2 left double-click, 3 menu request.
inline constexpr int kNoTrayEvent = 0;
inline constexpr int kTrayLeftClick = 1;
inline constexpr int kTrayDoubleClick = 2;
inline constexpr int kTrayMenuRequest = 3;

// The mouse message that the shell puts in the callback's lParam.
constexpr int TrayEventKindOf(std::uintptr_t lParam) {
  switch (lParam) {
    case 0x0202: return kTrayLeftClick;     // WM_LBUTTONUP
    case 0x0203: return kTrayDoubleClick;   // WM_LBUTTONDBLCLK
    case 0x0205: return kTrayMenuRequest;   // WM_RBUTTONUP
    case 0x007B: return kTrayMenuRequest;   // WM_CONTEXTMENU
    default: return kNoTrayEvent;
  }
}

// The first-version record's tip field holds 64 bytes; at most 62 are copied
// and the rest stays zero, so the text is always terminated.
inline constexpr std::size_t kTipFieldSize = 64;
inline constexpr std::size_t kTipLimit = 62;

// Writes exactly kTipFieldSize bytes to `field`.
inline void CopyTrayTip(char* field, const char* tip) {
  for (std::size_t i = 0; i < kTipFieldSize; ++i) field[i] = 0;
  if (tip == nullptr) return;
  for (std::size_t i = 0; i < kTipLimit && tip[i] != 0; ++i) field[i] = tip[i];
}

}  // namespace vornik
