// The texts must reach the ANSI entry points as GBK bytes. The expected bytes
// are written out in hexadecimal, independent of how the source is encoded.
#include <doctest.h>

#include <cstdio>
#include <string>

#include "common/texts.h"

using namespace vornik;

namespace {

std::string Hex(const char* text) {
  std::string out;
  char byte[4];
  for (const char* p = text; *p; ++p) {
    std::snprintf(byte, sizeof byte, out.empty() ? "%02X" : " %02X", static_cast<unsigned char>(*p));
    out += byte;
  }
  return out;
}

struct TextCase {
  const char* name;
  const char* text;
  const char* gbk;
};

}  // namespace

TEST_CASE("every user-visible text compiles to its exact GBK bytes") {
  const TextCase cases[] = {
      {"kRelayLabel", texts::kRelayLabel,
       "B1 EA C7 A9 31"},
      {"kTrayMenu", texts::kTrayMenu,
       "CD D0 C5 CC B2 CB B5 A5"},
      {"kShowResultItem", texts::kShowResultItem,
       "CF D4 CA BE CD A3 D6 B9 D0 C5 CF A2 26 53"},
      {"kAutoStartItem", texts::kAutoStartItem,
       "D7 D4 B6 AF C6 F4 B6 AF 26 5A"},
      {"kHelpItem", texts::kHelpItem,
       "B0 EF D6 FA 26 48"},
      {"kExitItem", texts::kExitItem,
       "CD CB B3 F6 26 58 20 63 6F 6E 74 72 6F 6C 2B 57 69 6E 64 6F 77 73 2B 45 53 43"},
      {"kAlreadyRunning", texts::kAlreadyRunning,
       "B3 CC D0 F2 D2 D1 BE AD D4 CB D0 D0 A3 AC B2 BB C4 DC D6 D8 B8 B4 D4 CB D0 D0 A3 A1"},
      {"kAlreadyRunningTitle", texts::kAlreadyRunningTitle,
       "D3 D1 C7 E9 CC E1 D0 D1 3A"},
      {"kSuccessTitle", texts::kSuccessTitle,
       "B9 A7 CF B2 A3 A1"},
      {"kSuccessPrefix", texts::kSuccessPrefix,
       "B3 C9 B9 A6 D6 D5 D6 B9"},
      {"kFailureTitle", texts::kFailureTitle,
       "B4 ED CE F3 21"},
      {"kFailurePrefix", texts::kFailurePrefix,
       "D6 D5 D6 B9"},
      {"kFailureSuffix", texts::kFailureSuffix,
       "CA A7 B0 DC"},
      {"kNoWindowHint", texts::kNoWindowHint,
       "B3 CC D0 F2 D4 DD CE DE B4 B0 BF DA A3 AC C7 EB B5 A5 BB F7 D3 D2 BC FC B5 AF B3 F6 B2 CB B5 A5 BD F8 D0 D0 B2 D9 D7 F7 A3 A1"},
      {"kNoWindowHintTitle", texts::kNoWindowHintTitle,
       "B1 A7 C7 B8"},
      {"kHelpFormat", texts::kHelpFormat,
       "56 6F 72 6E 69 6B B5 B1 C7 B0 B4 B0 BF DA B3 CC D0 F2 A3 AC D6 B4 D0 D0 C8 C8 BC FC 20 63 6F 6E 74 72 6F 6C 20 77 69 6E 64 6F 77 73 2B 64 65 6C 65 74 65 A3 BB CD CB B3 F6 B3 CC D0 F2 C8 C8 BC FC 20 63 6F 6E 74 72 6F 6C 20 77 69 6E 64 6F 77 73 2B 45 53 43 A1 A3 C8 ED BC FE B0 E6 B1 BE 25 73 A3 AC 42 59 20 25 73 A1 A3"},
      {"kHelpTitle", texts::kHelpTitle,
       "B0 EF D6 FA"},
      {"kShowResultKey", texts::kShowResultKey,
       "B5 AF BF F2"},
      {"kAutoStartKey", texts::kAutoStartKey,
       "D7 D4 C6 F4"},
      {"kSettingsSection", texts::kSettingsSection,
       "65 6E 66 6F 72 63 65 20 73 74 6F 70"},
      {"kSettingsFileName", texts::kSettingsFileName,
       "63 6F 6E 66 69 67 2E 69 6E 69"},
      {"kTrayTip", texts::kTrayTip,
       "56 6F 72 6E 69 6B"},
  };
  for (const TextCase& c : cases) {
    CAPTURE(c.name);
    CHECK(Hex(c.text) == c.gbk);
  }
}
