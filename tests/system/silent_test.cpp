// Without any audio device Vornik works as usual, silently: ctest points this
// test, and the copies it starts, at an audio server that does not exist.
#include <doctest.h>
#include <windows.h>
#include <mmsystem.h>

#include "common/texts.h"
#include "driver.h"

using namespace test;

TEST_CASE("with no audio device it starts, force-stops and quits as usual, with code 0") {
  REQUIRE(waveOutGetNumDevs() == 0);
  Vornik vornik = Vornik::LaunchReady();
  REQUIRE(vornik.MainWindow() != nullptr);

  Target target = Target::Launch(NewCaseFolder(), "target.exe");
  REQUIRE(target.WaitForeground());
  vornik.PostHotkey(kForceStopId);
  REQUIRE(target.process().WaitExit());
  CHECK(target.process().ExitCode() == 0);
  auto box = WaitMessageBox(vornik.process().Id());
  REQUIRE(box.has_value());
  CHECK(box->title == vornik::texts::kSuccessTitle);
  CloseMessageBox(box->window);
  REQUIRE(WaitUntil([&] { return !IsWindow(box->window); }));

  // Quitting waits for every playback, here ones that never found a device.
  const DWORD start = GetTickCount();
  vornik.PostHotkey(kExitId);
  REQUIRE(vornik.process().WaitExit());
  const DWORD elapsed = GetTickCount() - start;
  MESSAGE("exit took " << elapsed << " ms");
  CHECK(vornik.process().ExitCode() == 0);
  CHECK(elapsed >= 290);
}
