#include "tray/tray_icon.h"

#include <shellapi.h>

#include <cstddef>

#include "common/ids.h"
#include "tray/ico_file.h"
#include "tray/tray_event.h"

namespace vornik {

namespace {

// The window property that holds the icon handle the shell shows.
constexpr char kHeldIconProperty[] = "VornikTrayIcon";

constexpr UINT kFormatVersion = 0x30000;
constexpr UINT kAllFields = NIF_MESSAGE | NIF_ICON | NIF_TIP;  // 7

// The later, longer record keeps the first 64 bytes of its tip where the
// first version has its whole tip field.
static_assert(sizeof(NOTIFYICONDATAA{}.szTip) >= kTipFieldSize);
static_assert(offsetof(NOTIFYICONDATAA, szTip) + kTipFieldSize == NOTIFYICONDATAA_V1_SIZE);

HICON HeldIcon(HWND window) { return static_cast<HICON>(GetPropA(window, kHeldIconProperty)); }

// The first-version layout (88 bytes on 32 bits) on either bitness: the shell
// then treats the icon the same way in both builds.
NOTIFYICONDATAA TrayRecord(HWND window, HICON icon, const char* tip) {
  NOTIFYICONDATAA data;
  ZeroMemory(&data, sizeof data);
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = window;
  data.uID = ids::kTrayIconId;
  if (icon) {
    data.uFlags = kAllFields;
    data.uCallbackMessage = ids::kTrayCallbackMessage;
    data.hIcon = icon;
  }
  CopyTrayTip(data.szTip, tip);
  return data;
}

}  // namespace

UniqueIcon MakeIconFromIcoBytes(const unsigned char* bytes, std::size_t size, int preferredWidth) {
  const std::optional<IcoImage> image = ChooseIcoImage(bytes, size, preferredWidth);
  if (!image) return UniqueIcon();
  // The calls only read the image; their parameter is not const.
  auto* bits = const_cast<PBYTE>(bytes + image->offset);
  const auto bitsSize = static_cast<DWORD>(image->size);
  UniqueIcon icon(
      CreateIconFromResourceEx(bits, bitsSize, TRUE, kFormatVersion, image->width, image->height, 0));
  if (!icon && image->bitCount != 16) {
    icon.reset(CreateIconFromResource(bits, bitsSize, TRUE, kFormatVersion));
  }
  return icon;
}

void SetTrayIcon(HWND window, const unsigned char* bytes, std::size_t size, const char* tip) {
  UniqueIcon icon;
  if (bytes) {
    icon = MakeIconFromIcoBytes(bytes, size, 16);
    if (!icon) icon = MakeIconFromIcoBytes(bytes, size, 32);
  }
  NOTIFYICONDATAA data = TrayRecord(window, icon.get(), tip);
  UniqueIcon previous(HeldIcon(window));
  if (!previous) {
    if (icon) Shell_NotifyIconA(NIM_ADD, &data);
  } else {
    Shell_NotifyIconA(icon ? NIM_MODIFY : NIM_DELETE, &data);
  }
  // The previous handle is destroyed on leaving, after the shell has let go.
  if (icon) {
    SetPropA(window, kHeldIconProperty, icon.release());
  } else {
    RemovePropA(window, kHeldIconProperty);
  }
}

void AddTrayIconAgain(HWND window, const char* tip) {
  HICON icon = HeldIcon(window);
  if (!icon) return;
  NOTIFYICONDATAA data = TrayRecord(window, icon, tip);
  Shell_NotifyIconA(NIM_ADD, &data);
}

}  // namespace vornik
