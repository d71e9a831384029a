#include <doctest.h>

#include <string>

#include "forcestop/result_report.h"

using namespace vornik;

TEST_CASE("the force-stop report: title, icon, text and box style of each outcome") {
  // "成功终止" B3 C9 B9 A6 D6 D5 D6 B9, "终止" D6 D5 D6 B9, "失败" CA A7 B0 DC,
  // "恭喜！" B9 A7 CF B2 A3 A1, "错误!" B4 ED CE F3 21.
  const std::string success = "\xB3\xC9\xB9\xA6\xD6\xD5\xD6\xB9";
  const std::string stop = "\xD6\xD5\xD6\xB9";
  const std::string failed = "\xCA\xA7\xB0\xDC";
  // An executable name in GBK ("记事本.exe") passes through byte for byte.
  const std::string gbkName = "\xBC\xC7\xCA\xC2\xB1\xBE.exe";

  struct Case {
    bool succeeded;
    std::string name;
    std::string title;
    std::int32_t icon;
    std::string text;
    std::uint32_t style;
  };
  const Case cases[] = {
      {true, "notepad.exe", "\xB9\xA7\xCF\xB2\xA3\xA1", 64, success + "notepad.exe", 65600},
      {true, gbkName, "\xB9\xA7\xCF\xB2\xA3\xA1", 64, success + gbkName, 65600},
      {false, "notepad.exe", "\xB4\xED\xCE\xF3!", 16, stop + "notepad.exe" + failed, 65552},
      {false, gbkName, "\xB4\xED\xCE\xF3!", 16, stop + gbkName + failed, 65552},
      // No name found: the two halves join directly.
      {false, "", "\xB4\xED\xCE\xF3!", 16, stop + failed, 65552},
  };
  for (const Case& c : cases) {
    CAPTURE(c.name);
    CAPTURE(c.succeeded);
    const ForceStopReport report = c.succeeded ? SuccessReport(c.name) : FailureReport(c.name);
    CHECK(std::string(report.title) == c.title);
    CHECK(report.icon == c.icon);
    CHECK(report.text == c.text);
    CHECK(ResultBoxStyle(report.icon) == c.style);
  }
}
