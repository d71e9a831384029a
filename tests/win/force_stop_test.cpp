// The force stop's parts checked inside the process: the ghost-window seam
// (the test's own windows stand in for the system's), the process utilities,
// and the action with the show-result switch off.
#include <doctest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "common/texts.h"
#include "driver.h"
#include "forcestop/force_stop.h"
#include "forcestop/foreground.h"
#include "forcestop/last_result.h"
#include "forcestop/process_lookup.h"

using namespace vornik;

namespace {

HWND WindowOfClass(const char* className) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = className;
  RegisterClassA(&windowClass);
  return CreateWindowExA(0, className, "", 0, 0, 0, 0, 0, nullptr, nullptr,
                         windowClass.hInstance, nullptr);
}

// A stand-in for user32's lookup: records its calls, answers `hungAnswer`.
std::vector<HWND> ghostsAsked;
HWND hungAnswer = nullptr;

HWND WINAPI FakeHungWindowFromGhost(HWND ghost) {
  ghostsAsked.push_back(ghost);
  return hungAnswer;
}

}  // namespace

TEST_CASE("a ghost window is resolved to the hung window it stands for, nothing else is") {
  HWND ghost = WindowOfClass("Ghost");
  HWND hung = WindowOfClass("VornikTestHung");
  HWND ghostLike = WindowOfClass("Ghostly");
  REQUIRE(ghost != nullptr);
  REQUIRE(hung != nullptr);
  REQUIRE(ghostLike != nullptr);

  struct Case {
    const char* what;
    HWND window;
    bool withLookup;
    HWND answer;
    HWND expected;
    bool asked;
  };
  const Case cases[] = {
      {"ghost, resolved", ghost, true, hung, hung, true},
      {"ghost, lookup finds nothing", ghost, true, nullptr, ghost, true},
      {"ghost, lookup absent", ghost, false, hung, ghost, false},
      {"ordinary window", hung, true, ghost, hung, false},
      {"class that only begins like it", ghostLike, true, hung, ghostLike, false},
      {"no foreground window", nullptr, true, hung, nullptr, false},
  };
  for (const Case& c : cases) {
    CAPTURE(c.what);
    ghostsAsked.clear();
    hungAnswer = c.answer;
    CHECK(ResolveGhostWindow(c.window, c.withLookup ? FakeHungWindowFromGhost : nullptr) ==
          c.expected);
    CHECK(ghostsAsked == (c.asked ? std::vector<HWND>{c.window} : std::vector<HWND>{}));
  }
  DestroyWindow(ghost);
  DestroyWindow(hung);
  DestroyWindow(ghostLike);
}

TEST_CASE("ExeNameOfProcess gives the bare executable name, empty once the process is gone") {
  char ownPath[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, ownPath, sizeof ownPath);
  const std::string ownName = std::string(ownPath).substr(std::string(ownPath).rfind('\\') + 1);
  CHECK(ExeNameOfProcess(GetCurrentProcessId()) == ownName);

  // A GBK name ("目标程序.exe") comes back byte for byte.
  const std::string gbkName = "目标程序.exe";
  test::Target target = test::Target::Launch(test::NewCaseFolder(), gbkName);
  REQUIRE(target.WaitWindow() != nullptr);
  const DWORD id = target.process().Id();
  CHECK(ExeNameOfProcess(id) == gbkName);

  // The handle we hold keeps the id from being reused.
  target.process().Kill();
  CHECK(ExeNameOfProcess(id).empty());
}

TEST_CASE("TerminateProcessById ends exactly that process with code 0; id 0 is never terminated") {
  const std::string folder = test::NewCaseFolder();
  test::Target victim = test::Target::Launch(folder, "same.exe");
  test::Target namesake = test::Target::Launch(test::NewCaseFolder(), "same.exe");
  REQUIRE(victim.WaitWindow() != nullptr);
  REQUIRE(namesake.WaitWindow() != nullptr);

  CHECK(TerminateProcessById(0) == 0);
  CHECK(TerminateProcessById(victim.process().Id()) == 1);
  REQUIRE(victim.process().WaitExit());
  CHECK(victim.process().ExitCode() == 0);
  CHECK(namesake.process().Running());
}

namespace {

BOOL WINAPI FailingImagePathQuery(HANDLE, DWORD, LPSTR, PDWORD) { return FALSE; }

// A GBK path whose folder and file names hold 乗 (81 5C), a trail byte that
// looks like a backslash.
BOOL WINAPI GbkImagePathQuery(HANDLE, DWORD, LPSTR path, PDWORD size) {
  const char gbkPath[] = "C:\\乗\\乗.exe";
  lstrcpynA(path, gbkPath, static_cast<int>(*size));
  *size = sizeof gbkPath - 1;
  return TRUE;
}

}  // namespace

TEST_CASE("TerminateNamedProcess names the process from its own image path and ends it") {
  struct Case {
    const char* what;
    ImagePathQuery query;
    const char* expectedName;  // null: the executable's own name
  };
  const Case cases[] = {
      {"the system's query", QueryFullProcessImageNameA, nullptr},
      {"a query that fails: the process list names it", FailingImagePathQuery, nullptr},
      {"a GBK path is cut at its real last backslash", GbkImagePathQuery, "乗.exe"},
  };
  for (const Case& c : cases) {
    CAPTURE(c.what);
    const std::string exeName = "目标程序.exe";
    test::Target target = test::Target::Launch(test::NewCaseFolder(), exeName);
    test::Target namesake = test::Target::Launch(test::NewCaseFolder(), exeName);
    REQUIRE(target.WaitWindow() != nullptr);
    REQUIRE(namesake.WaitWindow() != nullptr);

    const Termination termination = TerminateNamedProcess(target.process().Id(), c.query);
    CHECK(termination.name == (c.expectedName ? c.expectedName : exeName));
    CHECK(termination.result == 1);
    REQUIRE(target.process().WaitExit());
    CHECK(target.process().ExitCode() == 0);
    CHECK(namesake.process().Running());
  }
}

TEST_CASE("TerminateNamedProcess leaves a process that has ended, and id 0, unnamed and alone") {
  test::Target target = test::Target::Launch(test::NewCaseFolder(), "ended.exe");
  REQUIRE(target.WaitWindow() != nullptr);
  const DWORD id = target.process().Id();
  // The handle we hold keeps the ended process's object and its id alive.
  target.process().Kill();

  const Termination ended = TerminateNamedProcess(id);
  CHECK(ended.name.empty());
  CHECK(ended.result == 0);

  const Termination none = TerminateNamedProcess(0);
  CHECK(none.name == ExeNameOfProcess(0));
  CHECK(none.result == 0);
}

TEST_CASE("with the show-result switch off the force stop runs in full and shows no box") {
  REQUIRE(CreateMainWindow(GetModuleHandleA(nullptr)) != nullptr);
  SetItemChecked(MenuItem::ShowResultSwitch, 0);
  LastResultTitle.clear();
  LastResultIcon = 0;

  test::Target target = test::Target::Launch(test::NewCaseFolder(), "quiet.exe");
  REQUIRE(target.WaitForeground());
  ForceStopResponse();  // would wait for the box if it showed one
  REQUIRE(target.process().WaitExit());
  CHECK(target.process().ExitCode() == 0);
  CHECK(LastResultTitle == texts::kSuccessTitle);
  CHECK(LastResultIcon == 64);
  CHECK(test::MessageBoxesOf(GetCurrentProcessId()).empty());
}
