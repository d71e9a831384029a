// The tray icon's making and bookkeeping and the popup's contents, checked
// inside the process: another process cannot read a popup's items under Wine.
#include <doctest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "assets/tray_icon_file.h"
#include "common/ids.h"
#include "common/texts.h"
#include "driver.h"
#include "tray/tray_icon.h"
#include "tray/tray_menu.h"

using namespace vornik;

namespace {

HWND TheMainWindow() {
  static HWND window = CreateMainWindow(GetModuleHandleA(nullptr));
  return window;
}

HWND PlainWindow() {
  return CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
}

// The icon's colour bits as 32-bit pixels, top row first, and its mask.
struct IconPixels {
  LONG width = 0, height = 0;
  std::vector<DWORD> colour;
  std::vector<bool> transparent;
};

IconPixels PixelsOf(HICON icon) {
  IconPixels pixels;
  ICONINFO info = {};
  if (!GetIconInfo(icon, &info)) return pixels;
  BITMAP bitmap = {};
  GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
  pixels.width = bitmap.bmWidth;
  pixels.height = bitmap.bmHeight;
  BITMAPINFO request = {};
  request.bmiHeader.biSize = sizeof request.bmiHeader;
  request.bmiHeader.biWidth = bitmap.bmWidth;
  request.bmiHeader.biHeight = -bitmap.bmHeight;
  request.bmiHeader.biPlanes = 1;
  request.bmiHeader.biBitCount = 32;
  pixels.colour.resize(static_cast<size_t>(bitmap.bmWidth * bitmap.bmHeight));
  std::vector<DWORD> mask(pixels.colour.size());
  HDC dc = GetDC(nullptr);
  GetDIBits(dc, info.hbmColor, 0, bitmap.bmHeight, pixels.colour.data(), &request, DIB_RGB_COLORS);
  GetDIBits(dc, info.hbmMask, 0, bitmap.bmHeight, mask.data(), &request, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  for (DWORD m : mask) pixels.transparent.push_back((m & 0xFFFFFF) != 0);
  for (DWORD& c : pixels.colour) c &= 0xFFFFFF;
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return pixels;
}

// Pixel (x, y) of a 32 x 32 image of the tray icon file, as 0xRRGGBB.
DWORD TrayFilePixel(int image, int x, int y) {
  const unsigned char* file = assets::TrayIconFile;
  const int row = 31 - y;  // bottom-up
  if (image == 0) {
    const unsigned char* bits = file + 38 + 40;
    const unsigned char index = bits[1024 + row * 32 + x];
    const unsigned char* entry = bits + index * 4;
    return static_cast<DWORD>(entry[2] << 16 | entry[1] << 8 | entry[0]);
  }
  const unsigned char* pixel = file + 2254 + 40 + row * 96 + x * 3;
  return static_cast<DWORD>(pixel[2] << 16 | pixel[1] << 8 | pixel[0]);
}

int Mismatches(const IconPixels& pixels, int image) {
  int count = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const size_t at = static_cast<size_t>(y * 32 + x);
      if (!pixels.transparent[at] && pixels.colour[at] != TrayFilePixel(image, x, y)) ++count;
    }
  }
  return count;
}

// A popup's items as a user sees them.
struct ShownItem {
  std::string text;
  UINT command;
  UINT state;
};

struct PopupReading {
  std::vector<ShownItem> items;
  bool found = false;
};

// Waits for this process's popup, reads it and closes it with Escape. Runs on
// its own thread while the GUI thread sits in the popup's modal loop.
DWORD WINAPI ReadPopupThenEscape(LPVOID param) {
  auto* reading = static_cast<PopupReading*>(param);
  HWND popup = test::WaitPopupMenu(GetCurrentProcessId(), 5000);
  if (!popup) return 0;
  reading->found = true;
  auto menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    char text[128] = {};
    GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    reading->items.push_back(
        {text, GetMenuItemID(menu, i), GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION)});
  }
  PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
  return 0;
}

PopupReading OpenAndReadPopup() {
  PopupReading reading;
  UniqueHandle reader(CreateThread(nullptr, 0, ReadPopupThenEscape, &reading, 0, nullptr));
  PopupTrayMenu();
  WaitForSingleObject(reader.get(), 10000);
  return reading;
}

}  // namespace

TEST_CASE("the tray icon is made from the 24-bit image of the tray icon file") {
  UniqueIcon icon =
      MakeIconFromIcoBytes(assets::TrayIconFile, assets::TrayIconFileSize, 16);
  REQUIRE(icon);
  const IconPixels pixels = PixelsOf(icon.get());
  REQUIRE(pixels.width == 32);
  REQUIRE(pixels.height == 32);
  CHECK(Mismatches(pixels, 1) == 0);
  // The two images differ (the 24-bit one is smoothed), so this tells them apart.
  CHECK(Mismatches(pixels, 0) > 0);
}

TEST_CASE("bytes with no usable image make no icon and no tray icon") {
  // A well-formed directory whose image is not a picture.
  std::vector<unsigned char> file = {0, 0, 1, 0, 1, 0,  //
                                     32, 32, 0, 0, 0, 0, 0, 0, 40, 0, 0, 0, 22, 0, 0, 0};
  file.resize(file.size() + 40, 0);
  CHECK_FALSE(MakeIconFromIcoBytes(file.data(), file.size(), 16));
  CHECK_FALSE(MakeIconFromIcoBytes(nullptr, 0, 16));

  const size_t before = test::TrayIconWindows().size();
  HWND window = PlainWindow();
  SetTrayIcon(window, file.data(), file.size(), "nothing");
  test::PumpFor(300);
  CHECK(test::TrayIconWindows().size() == before);
  DestroyWindow(window);
}

TEST_CASE("SetTrayIcon adds the icon, replaces its image in place, and removes it") {
  const size_t before = test::TrayIconWindows().size();
  HWND window = PlainWindow();
  const auto shown = [&](size_t n) {
    return test::WaitUntil([&] { return test::TrayIconWindows().size() == n; }, 5000);
  };

  SetTrayIcon(window, assets::TrayIconFile, assets::TrayIconFileSize, texts::kTrayTip);
  CHECK(shown(before + 1));
  SetTrayIcon(window, assets::TrayIconFile, assets::TrayIconFileSize, texts::kTrayTip);
  test::PumpFor(300);
  CHECK(test::TrayIconWindows().size() == before + 1);
  SetTrayIcon(window, nullptr, 0, nullptr);
  CHECK(shown(before));
  // Removing what is not there does nothing.
  SetTrayIcon(window, nullptr, 0, nullptr);
  test::PumpFor(200);
  CHECK(test::TrayIconWindows().size() == before);
  DestroyWindow(window);
}

TEST_CASE("the popup shows the four items with the live check marks") {
  REQUIRE(TheMainWindow() != nullptr);
  const auto check = [](const PopupReading& reading, bool showResult, bool autoStart) {
    REQUIRE(reading.found);
    REQUIRE(reading.items.size() == 4);
    const ShownItem expected[] = {
        {texts::kShowResultItem, ids::kShowResultCommand, showResult ? MF_CHECKED : 0u},
        {texts::kAutoStartItem, ids::kAutoStartCommand, autoStart ? MF_CHECKED : 0u},
        {texts::kHelpItem, ids::kHelpCommand, 0},
        {texts::kExitItem, ids::kExitCommand, 0},
    };
    for (size_t i = 0; i < 4; ++i) {
      CAPTURE(i);
      CHECK(reading.items[i].text == expected[i].text);
      CHECK(reading.items[i].command == expected[i].command);
      CHECK((reading.items[i].state & (MF_CHECKED | MF_GRAYED | MF_DISABLED | MF_SEPARATOR)) ==
            expected[i].state);
    }
  };

  SUBCASE("as on a first run") { check(OpenAndReadPopup(), true, false); }
  SUBCASE("after both switches flipped") {
    SetItemChecked(MenuItem::ShowResultSwitch, 0);
    SetItemChecked(MenuItem::AutoStartSwitch, 1);
    check(OpenAndReadPopup(), false, true);
    SetItemChecked(MenuItem::ShowResultSwitch, 1);
    SetItemChecked(MenuItem::AutoStartSwitch, 0);
  }
}

TEST_CASE("MainWindow's WM_DESTROY handling takes the menu bar down, then the tray icon") {
  // Wine drops a destroyed window's icons by itself, so the handling is run
  // here on a window that lives on: only the program's own removal can make
  // the icon go.
  HWND window = TheMainWindow();
  REQUIRE(window != nullptr);
  const size_t before = test::TrayIconWindows().size();
  SetTrayIcon(window, assets::TrayIconFile, assets::TrayIconFileSize, texts::kTrayTip);
  REQUIRE(test::WaitUntil([&] { return test::TrayIconWindows().size() == before + 1; }, 5000));

  SendMessageA(window, WM_DESTROY, 0, 0);
  CHECK(GetMenu(window) == nullptr);
  CHECK(test::WaitUntil([&] { return test::TrayIconWindows().size() == before; }, 5000));
}
