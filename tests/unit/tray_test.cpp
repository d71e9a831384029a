#include <doctest.h>

#include <string>

#include "tray/help_text.h"
#include "tray/setting_values.h"

using namespace vornik;

TEST_CASE("start-up values: only the exact bytes leave a switch at its initial state") {
  struct Case {
    std::string value;
    bool on;
  };
  const Case showResult[] = {
      {"1", true}, {"0", false}, {"yes", false}, {"01", false}, {"", false},
      {"1 ", false}, {" 1", false}, {std::string("1\0", 2), false}, {"\xA3\xB1", false},  // full-width 1
  };
  for (const Case& c : showResult) {
    CAPTURE(c.value);
    CHECK(ShowResultStartsOn(c.value) == c.on);
  }
  const Case autoStart[] = {
      {"0", false}, {"1", true}, {"x", true}, {"", true}, {"00", true}, {"0 ", true},
      {"\xA3\xB0", true},  // full-width 0
  };
  for (const Case& c : autoStart) {
    CAPTURE(c.value);
    CHECK(AutoStartStartsOn(c.value) == c.on);
  }
  // A missing key reads as its default.
  CHECK(ShowResultStartsOn(kShowResultDefault));
  CHECK_FALSE(AutoStartStartsOn(kAutoStartDefault));
}

TEST_CASE("FormatText puts each text in place of the next %s and never cuts") {
  struct Case {
    const char* format;
    std::initializer_list<std::string_view> texts;
    std::string expected;
  };
  const std::string longText(5000, 'v');
  const Case cases[] = {
      {"version %s, BY %s.", {"1.2.8.7", "maker"}, "version 1.2.8.7, BY maker."},
      // Texts holding conversions are shown as they are, not expanded.
      {"%s|%s", {"1.0%s%d%%", "%n%x"}, "1.0%s%d%%|%n%x"},
      {"%s", {longText}, longText},
      {"a%sb%sc", {"", ""}, "abc"},
      {"%s and %s", {"one"}, "one and "},  // missing texts are empty
      {"100%% %d %", {}, "100% %d %"},      // other conversions stay as written
      {"%s%s", {"\xB0\xE6", "%"}, "\xB0\xE6%"},
  };
  for (const Case& c : cases) {
    CAPTURE(c.format);
    CHECK(FormatText(c.format, c.texts) == c.expected);
  }
}

TEST_CASE("version strings are cut at 255 bytes, never inside a GBK character") {
  const std::string ascii254(254, '7');
  const std::string ascii255(255, '7');
  const std::string han = "\xB0\xE6";  // "版"
  struct Case {
    std::string text;
    std::string expected;
  };
  const Case cases[] = {
      {"", ""},
      {ascii255, ascii255},
      {ascii255 + "8", ascii255},
      {ascii254 + han, ascii254},           // the character would end at byte 256
      {"7" + ascii254 + han, ascii255},
      {ascii254.substr(1) + han, ascii254.substr(1) + han},  // ends exactly at 255
      {"ab\xB0", "ab\xB0"},  // a lone lead byte at the end is one byte
      {[&] {
         std::string all;
         for (int i = 0; i < 200; ++i) all += han;
         return all;
       }(),
       [&] {
         std::string cut;
         for (int i = 0; i < 127; ++i) cut += han;
         return cut;
       }()},
  };
  for (const Case& c : cases) {
    CAPTURE(c.text.size());
    const std::string cut = CutGbkText(c.text, kMaxVersionStringBytes);
    CHECK(cut == c.expected);
    CHECK(cut.size() <= 255);
  }
}

TEST_CASE("the version table key is language then code page in lower-case hex") {
  CHECK(VersionTableKey(0x0804, 0x04B0) == "080404b0");
  CHECK(VersionTableKey(0x0409, 0x04E4) == "040904e4");
  CHECK(VersionTableKey(0xFFFF, 0x0000) == "ffff0000");
}
