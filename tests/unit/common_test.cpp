#include <doctest.h>

#include "app/menu_items.h"
#include "app/pause_clock.h"
#include "common/message_style.h"
#include "common/module_path.h"

using namespace vornik;

TEST_CASE("the module path splits at its last backslash, never inside a GBK character") {
  struct Case {
    const char* path;
    const char* directory;
    const char* fileName;
  };
  const Case cases[] = {
      {"C:\\tools\\Vornik.exe", "C:\\tools", "Vornik.exe"},
      {"C:\\Vornik.exe", "C:", "Vornik.exe"},
      {"Vornik.exe", "", "Vornik.exe"},
      {"C:\\dir\\", "C:\\dir", ""},
      // "表" is B1 ED, "\x95\x5C" is a GBK character whose trail byte is 0x5C.
      {"C:\\\xB1\xED\\a\x95\x5C.exe", "C:\\\xB1\xED", "a\x95\x5C.exe"},
      {"C:\\a\\\x95\x5C", "C:\\a", "\x95\x5C"},
      // A lone lead byte at the end is left as it is.
      {"C:\\a\\b\x95", "C:\\a", "b\x95"},
  };
  for (const Case& c : cases) {
    CAPTURE(c.path);
    ModulePath split = SplitModulePath(c.path);
    CHECK(split.directory == c.directory);
    CHECK(split.fileName == c.fileName);
  }
}

TEST_CASE("message boxes are task-modal unless already system-modal") {
  CHECK(MessageBoxStyle(48) == (48 | 0x2000));
  CHECK(MessageBoxStyle(0x10040) == (0x10040 | 0x2000));
  CHECK(MessageBoxStyle(0x1000 | 16) == (0x1000 | 16));
  CHECK(MessageBoxStyle(0x2000 | 64) == (0x2000 | 64));
}

TEST_CASE("the exit pause ends only after its time, also across the tick wrap") {
  CHECK_FALSE(PauseOver(1000, 1000, 300));
  CHECK_FALSE(PauseOver(1000, 1300, 300));
  CHECK(PauseOver(1000, 1301, 300));
  // Started 100 ms before the 32-bit counter wraps.
  const std::uint32_t start = 0xFFFFFFFFu - 99;
  CHECK_FALSE(PauseOver(start, 50, 300));
  CHECK_FALSE(PauseOver(start, 200, 300));
  CHECK(PauseOver(start, 201, 300));
}

TEST_CASE("menu items: command identifier is 20000 + position, only the first switch starts checked") {
  for (std::size_t i = 0; i < kMenuItems.size(); ++i) {
    CAPTURE(i);
    CHECK(kMenuItems[i].command == 20000 + i);
    CHECK(static_cast<std::size_t>(kMenuItems[i].item) == i);
    CHECK(kMenuItems[i].level == (i == 0 ? 0 : 1));
    CHECK(kMenuItems[i].initialFlags == (i == 1 ? kItemChecked : 0u));
  }
}
