// DLLs planted beside Vornik.exe under the names of the system DLLs it uses,
// with Wine told to prefer DLLs found along the search path over its own: the
// program never loads them, and its sounds and its help still work.
#include <doctest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/ids.h"
#include "driver.h"
#include "listening.h"

using namespace test;
namespace ids = vornik::ids;

namespace {

// The marks the planted DLLs left in the folder, sorted: "winmm.dll.loaded"
// for a load at run time, "winmm.dll.loaded-at-start" for one through an
// import table while a process started.
std::vector<std::string> Marks(const std::string& folder) {
  std::vector<std::string> marks;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*.loaded*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return marks;
  do marks.push_back(found.cFileName);
  while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(marks.begin(), marks.end());
  return marks;
}

// A case folder without marks: one of an earlier run may have the same name.
std::string UnmarkedCaseFolder() {
  const std::string folder = NewCaseFolder();
  for (const std::string& mark : Marks(folder)) DeleteFileA((folder + "\\" + mark).c_str());
  return folder;
}

// A copy of the marking DLL (tests/support/planted_dll.c) under a system DLL's name.
void PlantDll(const std::string& folder, const char* name) {
  CopyFileTo(TestBinDir() + "\\planted_dll.dll", folder, name);
}

std::string Describe(const std::vector<std::string>& marks) {
  std::string text = std::to_string(marks.size()) + " mark(s)";
  for (const std::string& mark : marks) text += " " + mark;
  return text;
}

// Wine reads the load order from the Unix environment a process starts with,
// and the programs a process starts inherit it: ctest starts this test with
// "n,b" for the DLLs, a DLL of that name found along the search path before
// Wine's own.
void RequirePlantedDllsPreferred(const char* override) {
  char overrides[4096] = {};
  GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof overrides);
  CAPTURE(overrides);
  INFO("run it through ctest, which asks Wine to prefer the planted DLLs");
  REQUIRE(std::string(overrides).find(override) != std::string::npos);
}

void Quit(Vornik& vornik) {
  vornik.PostHotkey(kExitId);
  REQUIRE(vornik.process().WaitExit());
  CHECK(vornik.process().ExitCode() == 0);
}

}  // namespace

TEST_CASE("the plants work: a program that loads both DLLs by name gets them") {
  RequirePlantedDllsPreferred("version,winmm=n,b");
  // As an import table would: along the search path, from the program's folder first.
  const std::string folder = UnmarkedCaseFolder();
  PlantDll(folder, "winmm.dll");
  PlantDll(folder, "version.dll");
  Process probe = Process::Start(CopyFileTo(TestBinDir() + "\\dll_probe.exe", folder, "probe.exe"));
  REQUIRE(probe.WaitExit());
  CHECK(probe.ExitCode() == 2);
  CHECK(Describe(Marks(folder)) == "2 mark(s) version.dll.loaded winmm.dll.loaded");
}

TEST_CASE("a winmm.dll planted beside the exe is never loaded; the start-up clip plays") {
  REQUIRE(AudioServerConfigured());
  RequirePlantedDllsPreferred("version,winmm=n,b");
  const std::string folder = UnmarkedCaseFolder();
  PlantDll(folder, "winmm.dll");

  Listening listening;
  Vornik vornik = Vornik::Launch(folder);
  REQUIRE(vornik.WaitReady());
  PumpFor(1500);
  const Recording recording = listening.Stop();
  Quit(vornik);

  const std::vector<Burst> bursts = recording.Bursts();
  MESSAGE("start-up: " << Describe(bursts));
  REQUIRE(bursts.size() == 1);
  CHECK(bursts[0].seconds > 0.4);
  CHECK(Describe(Marks(folder)) == "0 mark(s)");
}

// Run without Wine's audio drivers (see the end).
TEST_CASE("a version.dll planted beside the exe is never loaded by it; the help shows the version") {
  RequirePlantedDllsPreferred("version=n,b");
  const std::string folder = UnmarkedCaseFolder();
  PlantDll(folder, "version.dll");

  Vornik vornik = Vornik::Launch(folder);
  REQUIRE(vornik.WaitReady());
  // The planted DLL exports nothing: read through it, the version would be empty.
  vornik.PostCommand(ids::kHelpCommand);
  auto box = WaitMessageBox(vornik.process().Id());
  REQUIRE(box.has_value());
  CHECK(box->text.find("软件版本1.2.8.7，BY Vornik contributors。") != std::string::npos);
  CloseMessageBox(box->window);
  REQUIRE(WaitUntil([&] { return MessageBoxesOf(vornik.process().Id()).empty(); }));
  Quit(vornik);

  // Wine's own user32.dll imports version.dll, and Wine's loader looks for it
  // along the program's search path while the process starts, before the
  // program runs: with "n,b" the planted copy comes in with user32. (Windows'
  // user32 is a known DLL and imports no version.dll.) That mark is Wine's;
  // one from a load at run time would be Vornik's. Wine's audio driver
  // imports version.dll too and binds to the planted copy, which lacks the
  // functions: Wine's device thread then fails inside its own lock and the
  // next clip's waveOutOpen hangs. Hence no audio drivers for this case.
  const std::vector<std::string> marks = Marks(folder);
  MESSAGE(Describe(marks));
  CHECK(std::count(marks.begin(), marks.end(), "version.dll.loaded") == 0);
  CHECK(marks.size() <= 1);
}
