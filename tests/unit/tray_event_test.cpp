// The shell's mouse messages as tray events, and the tip as the icon record
// holds it.
#include <doctest.h>

#include <string>

#include "tray/tray_event.h"

using namespace vornik;

TEST_CASE("the mouse message in lParam gives the tray event") {
  struct Case {
    std::uintptr_t lParam;
    int kind;
  };
  const Case cases[] = {
      {0x0202, kTrayLeftClick},    // WM_LBUTTONUP
      {0x0203, kTrayDoubleClick},  // WM_LBUTTONDBLCLK
      {0x0205, kTrayMenuRequest},  // WM_RBUTTONUP
      {0x007B, kTrayMenuRequest},  // WM_CONTEXTMENU
      {0x0200, kNoTrayEvent},      // WM_MOUSEMOVE
      {0x0201, kNoTrayEvent},      // WM_LBUTTONDOWN
      {0x0204, kNoTrayEvent},      // WM_RBUTTONDOWN
      {0x0206, kNoTrayEvent},      // WM_RBUTTONDBLCLK
      {0x0208, kNoTrayEvent},      // WM_MBUTTONUP
      {0x0400, kNoTrayEvent},      // NIN_SELECT
      {0x0000, kNoTrayEvent},
      {0x00640203, kNoTrayEvent},  // a message with the icon id in the high word
  };
  for (const Case& c : cases) {
    CAPTURE(c.lParam);
    CHECK(TrayEventKindOf(c.lParam) == c.kind);
  }
}

TEST_CASE("the tip is copied with a 62-byte limit into a zeroed 64-byte field") {
  const std::string b62(62, 'b'), c63(63, 'c'), a70(70, 'a');
  struct Case {
    const char* name;
    const char* tip;
    std::string kept;
  };
  const Case cases[] = {
      {"short", "Vornik", "Vornik"},
      {"none", nullptr, ""},
      {"empty", "", ""},
      {"exactly 62", b62.c_str(), b62},
      {"63 cut to 62", c63.c_str(), c63.substr(0, 62)},
      {"70 cut to 62", a70.c_str(), a70.substr(0, 62)},
  };
  for (const Case& c : cases) {
    CAPTURE(c.name);
    char field[kTipFieldSize + 1];
    std::string(sizeof field, '\x55').copy(field, sizeof field);  // stale bytes
    CopyTrayTip(field, c.tip);
    CHECK(std::string(field, c.kept.size()) == c.kept);
    for (std::size_t i = c.kept.size(); i < kTipFieldSize; ++i) {
      CAPTURE(i);
      REQUIRE(field[i] == 0);
    }
    CHECK(field[kTipFieldSize] == '\x55');  // nothing written past the field
  }
}
