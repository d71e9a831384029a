// Control+Windows+Delete driven from outside: copies of the target program in
// the foreground, the result boxes Vornik shows, and who keeps running.
#include <doctest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <cstring>

#include "common/texts.h"
#include "box_checks.h"
#include "driver.h"

using namespace test;
namespace texts = vornik::texts;

namespace {

std::string SuccessText(const std::string& name) { return texts::kSuccessPrefix + name; }

std::string FailureText(const std::string& name) {
  return texts::kFailurePrefix + name + texts::kFailureSuffix;
}

// What the process list shows for id 0 (Windows lists its idle process there;
// Wine lists nothing), as the failure text names it.
std::string ListedNameOfIdZero() {
  UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot.get(), &entry); more;
       more = Process32Next(snapshot.get(), &entry)) {
    if (entry.th32ProcessID == 0) {
      return std::string(entry.szExeFile, strnlen(entry.szExeFile, sizeof entry.szExeFile));
    }
  }
  return {};
}

// Vornik still answers its exit hotkey, and ends with code 0.
void QuitsCleanly(Vornik& vornik) {
  REQUIRE(vornik.process().Running());
  vornik.PostHotkey(kExitId);
  REQUIRE(vornik.process().WaitExit());
  CHECK(vornik.process().ExitCode() == 0);
}

}  // namespace

TEST_CASE("the foreground program ends with code 0, a box names it, and Vornik runs on") {
  Vornik vornik = Vornik::LaunchReady();
  // A Chinese executable name travels through the box as GBK.
  const std::string name = "测试目标.exe";
  Target target = Target::Launch(NewCaseFolder(), name);
  REQUIRE(target.WaitForeground());

  vornik.PostHotkey(kForceStopId);
  REQUIRE(target.process().WaitExit());
  CHECK(target.process().ExitCode() == 0);

  MessageBoxInfo box = WaitVornikBox(vornik);
  CHECK(box.title == texts::kSuccessTitle);
  CHECK(box.text == SuccessText(name));
  // The box asks for the foreground.
  CHECK(WaitUntil([&] { return GetForegroundWindow() == box.window; }));
  CHECK(vornik.process().Running());

  CloseBoxAndWait(box);
  PumpFor(300);
  CHECK(vornik.process().Running());
  CHECK(MessageBoxesOf(vornik.process().Id()).empty());
  QuitsCleanly(vornik);
}

TEST_CASE("of two copies of one executable name, only the one in the foreground ends") {
  Vornik vornik = Vornik::LaunchReady();
  const std::string name = "fg_app.exe";
  Target earlier = Target::Launch(NewCaseFolder(), name);
  REQUIRE(earlier.WaitForeground());
  Target later = Target::Launch(NewCaseFolder(), name);
  REQUIRE(later.WaitForeground());

  auto check = [&](Target& front, Target& back) {
    REQUIRE(front.BringToFront());
    vornik.PostHotkey(kForceStopId);
    REQUIRE(front.process().WaitExit());
    CHECK(front.process().ExitCode() == 0);
    MessageBoxInfo box = WaitVornikBox(vornik);
    CHECK(box.title == texts::kSuccessTitle);
    CHECK(box.text == SuccessText(name));
    CHECK(back.process().Running());
    CloseBoxAndWait(box);
  };
  SUBCASE("the later one in front") { check(later, earlier); }
  SUBCASE("the earlier one in front") { check(earlier, later); }
  QuitsCleanly(vornik);
}

TEST_CASE("a window titled like the executable name does not draw the termination") {
  Vornik vornik = Vornik::LaunchReady();
  const std::string name = "fg_named.exe";
  Target titledLikeIt = Target::Launch(NewCaseFolder(), "bystander.exe", name);
  REQUIRE(titledLikeIt.WaitForeground());
  REQUIRE(FindWindowA(nullptr, name.c_str()) != nullptr);
  Target target = Target::Launch(NewCaseFolder(), name);
  REQUIRE(target.WaitForeground());

  vornik.PostHotkey(kForceStopId);
  REQUIRE(target.process().WaitExit());
  CHECK(target.process().ExitCode() == 0);
  MessageBoxInfo box = WaitVornikBox(vornik);
  CHECK(box.text == SuccessText(name));
  CHECK(titledLikeIt.process().Running());
  CloseBoxAndWait(box);
  QuitsCleanly(vornik);
}

TEST_CASE("with no foreground window the failure box shows and nothing is terminated") {
  Vornik vornik = Vornik::LaunchReady();
  Target bystander = Target::Launch(NewCaseFolder(), "bystander.exe");
  REQUIRE(bystander.WaitForeground());
  // The foreground program ends on its own: it leaves no foreground window.
  Target gone = Target::Launch(NewCaseFolder(), "gone.exe");
  REQUIRE(gone.WaitForeground());
  gone.process().Kill();
  REQUIRE(WaitUntil([] { return GetForegroundWindow() == nullptr; }));

  vornik.PostHotkey(kForceStopId);
  MessageBoxInfo box = WaitVornikBox(vornik);
  CHECK(box.title == texts::kFailureTitle);
  CHECK(box.text == FailureText(ListedNameOfIdZero()));
  CHECK(bystander.process().Running());
  CHECK(vornik.process().Running());
  CloseBoxAndWait(box);
  CHECK(bystander.process().Running());
  QuitsCleanly(vornik);
}

TEST_CASE("a second press while the first box is open runs a nested force stop") {
  Vornik vornik = Vornik::LaunchReady();
  Target first = Target::Launch(NewCaseFolder(), "first.exe");
  REQUIRE(first.WaitForeground());
  vornik.PostHotkey(kForceStopId);
  REQUIRE(first.process().WaitExit());
  MessageBoxInfo outer = WaitVornikBox(vornik);
  CHECK(outer.text == SuccessText("first.exe"));

  Target second = Target::Launch(NewCaseFolder(), "second.exe");
  REQUIRE(second.WaitForeground());
  vornik.PostHotkey(kForceStopId);
  REQUIRE(second.process().WaitExit());
  CHECK(second.process().ExitCode() == 0);
  MessageBoxInfo inner = WaitVornikBox(vornik, outer.window);
  CHECK(inner.title == texts::kSuccessTitle);
  CHECK(inner.text == SuccessText("second.exe"));
  CHECK(IsWindow(outer.window));

  // The inner box closes first; the outer one is still waiting.
  CloseBoxAndWait(inner);
  PumpFor(300);
  CHECK(IsWindow(outer.window));
  CloseBoxAndWait(outer);
  QuitsCleanly(vornik);
}

TEST_CASE("with its own result box in front, Vornik terminates itself with code 0") {
  Vornik vornik = Vornik::LaunchReady();
  Target target = Target::Launch(NewCaseFolder(), "target.exe");
  REQUIRE(target.WaitForeground());
  vornik.PostHotkey(kForceStopId);
  MessageBoxInfo box = WaitVornikBox(vornik);
  REQUIRE(WaitUntil([&] { return GetForegroundWindow() == box.window; }));

  vornik.PostHotkey(kForceStopId);
  REQUIRE(vornik.process().WaitExit());
  CHECK(vornik.process().ExitCode() == 0);
}

TEST_CASE("a real Control+Windows+Delete keystroke terminates the focused program") {
  Vornik vornik = Vornik::LaunchReady();
  const std::string title = "vornik-forcestop-keystroke";
  Target target = Target::Launch(NewCaseFolder(), "typed.exe", title);
  REQUIRE(target.WaitForeground());

  TypeKeysTo(title, "ctrl+super+Delete");
  REQUIRE(target.process().WaitExit());
  CHECK(target.process().ExitCode() == 0);
  MessageBoxInfo box = WaitVornikBox(vornik);
  CHECK(box.text == SuccessText("typed.exe"));
  CloseBoxAndWait(box);
  QuitsCleanly(vornik);
}
