// Vornik's sounds as they reach a real audio server: the test records the
// server's sink while it drives the built program from outside.
#include <doctest.h>

#include <optional>

#include "box_checks.h"
#include "driver.h"
#include "listening.h"

using namespace test;

namespace {

// Lengths of the clips as stored.
constexpr double kStartupSeconds = 0.470;
constexpr double kSuccessSeconds = 0.205;
constexpr double kExitSeconds = 0.557;

// Clearly audible: the clips are mixed at about -15 dBFS.
constexpr double kAudibleDb = -30;

void Report(const std::string& what, const std::vector<Burst>& bursts) {
  const std::string text = what + ": " + Describe(bursts);
  MESSAGE(text);
}

// A copy that has started, with its start-up sound over.
Vornik LaunchQuiet() {
  Vornik vornik = Vornik::LaunchReady();
  PumpFor(1000);
  return vornik;
}

// A target program that is the foreground window.
Target LaunchTarget(const std::string& name) {
  Target target = Target::Launch(NewCaseFolder(), name);
  REQUIRE(target.WaitForeground());
  return target;
}

void Quit(Vornik& vornik) {
  vornik.PostHotkey(kExitId);
  REQUIRE(vornik.process().WaitExit());
  CHECK(vornik.process().ExitCode() == 0);
}

}  // namespace

TEST_CASE("start-up plays the start-up clip, whole") {
  REQUIRE(AudioServerConfigured());
  Listening listening;
  const double launched = listening.Now();
  Vornik vornik = Vornik::LaunchReady();
  PumpFor(1500);
  Recording recording = listening.Stop();

  auto bursts = recording.Bursts();
  Report("start-up", bursts);
  REQUIRE(bursts.size() == 1);
  CHECK(bursts[0].start > launched - 0.1);
  CHECK(bursts[0].start < launched + 5);
  CHECK(bursts[0].seconds > kStartupSeconds - 0.08);
  CHECK(bursts[0].seconds < kStartupSeconds + 0.08);
  CHECK(bursts[0].peakDb > kAudibleDb);
  Quit(vornik);
}

TEST_CASE("a refused second copy has played its start-up clip while its box waits") {
  REQUIRE(AudioServerConfigured());
  Vornik first = LaunchQuiet();
  Listening listening;
  Vornik second = Vornik::Launch(NewCaseFolder());
  auto box = WaitMessageBox(second.process().Id());
  REQUIRE(box.has_value());
  PumpFor(1000);
  Recording recording = listening.Stop();
  CloseBoxAndWait(*box);
  REQUIRE(second.process().WaitExit());
  CHECK(second.process().ExitCode() == 0);
  Quit(first);

  auto bursts = recording.Bursts();
  Report("second copy", bursts);
  REQUIRE(bursts.size() == 1);
  CHECK(bursts[0].seconds > kStartupSeconds - 0.08);
  CHECK(bursts[0].seconds < kStartupSeconds + 0.08);
}

TEST_CASE("a force stop plays the success clip; two within 0.2 s overlap and sound louder") {
  REQUIRE(AudioServerConfigured());
  Vornik vornik = LaunchQuiet();

  // One force stop: the clip once, as long as it is.
  Target alone = LaunchTarget("alone.exe");
  Listening listenOne;
  vornik.PostHotkey(kForceStopId);
  REQUIRE(alone.process().WaitExit());
  CloseBoxAndWait(WaitVornikBox(vornik));
  Recording one = listenOne.Stop();
  auto bursts = one.Bursts();
  Report("one force stop", bursts);
  REQUIRE(bursts.size() == 1);
  CHECK(bursts[0].seconds > kSuccessSeconds - 0.05);
  CHECK(bursts[0].seconds < kSuccessSeconds + 0.05);
  CHECK(bursts[0].peakDb > kAudibleDb);
  const double oneLevel = one.LoudestRms(bursts[0].start, bursts[0].start + bursts[0].seconds, 0.05);

  // Two, the second while the first clip still plays. The presses must land
  // within one clip's length; on a busy machine they sometimes cannot, and
  // then the pair is tried again.
  std::optional<Recording> two;
  for (int attempt = 1; attempt <= 3 && !two; ++attempt) {
    Target second = LaunchTarget("second.exe");
    Target first = LaunchTarget("first.exe");
    Listening listenTwo;
    const DWORD firstPress = GetTickCount();
    vornik.PostHotkey(kForceStopId);
    REQUIRE(first.process().WaitExit());
    // The first result box comes to the front; the second target goes before
    // it, with no time to settle: the clip is only 0.2 s long.
    MessageBoxInfo outer = WaitVornikBox(vornik);
    REQUIRE(second.BringToFront(0));
    vornik.PostHotkey(kForceStopId);
    const DWORD pressGap = GetTickCount() - firstPress;
    REQUIRE(second.process().WaitExit());
    MessageBoxInfo inner = WaitVornikBox(vornik, outer.window);
    Recording recording = listenTwo.Stop();
    CloseBoxAndWait(inner);
    CloseBoxAndWait(outer);
    MESSAGE("attempt " << attempt << ": presses " << pressGap << " ms apart");
    if (pressGap < 200) two = std::move(recording);
  }
  REQUIRE(two.has_value());
  Quit(vornik);

  bursts = two->Bursts();
  Report("two force stops", bursts);
  // One stretch of sound, shorter than two clips one after the other.
  REQUIRE(bursts.size() == 1);
  CHECK(bursts[0].seconds < 2 * kSuccessSeconds - 0.03);
  // Where both play, the energy of two clips adds up; had the second cut the
  // first off, the sound would be no louder than one clip.
  const double twoLevel = two->LoudestRms(bursts[0].start, bursts[0].start + bursts[0].seconds, 0.05);
  MESSAGE("loudest 50 ms: one clip " << ToDb(oneLevel) << " dBFS, two " << ToDb(twoLevel)
                                     << " dBFS");
  CHECK(ToDb(twoLevel) > ToDb(oneLevel) + 1.2);
}

TEST_CASE("a failed force stop plays nothing") {
  REQUIRE(AudioServerConfigured());
  Vornik vornik = LaunchQuiet();
  // The foreground program ends on its own: there is no foreground window.
  Target gone = LaunchTarget("gone.exe");
  gone.process().Kill();
  REQUIRE(WaitUntil([] { return GetForegroundWindow() == nullptr; }));

  Listening listening;
  vornik.PostHotkey(kForceStopId);
  MessageBoxInfo box = WaitVornikBox(vornik);
  PumpFor(500);
  Recording recording = listening.Stop();
  CloseBoxAndWait(box);
  Quit(vornik);
  auto bursts = recording.Bursts();
  Report("failed force stop", bursts);
  CHECK(bursts.empty());
}

TEST_CASE("quitting starts the exit clip and cuts it off, then ends with code 0") {
  REQUIRE(AudioServerConfigured());
  Vornik vornik = LaunchQuiet();
  Listening listening;
  const DWORD start = GetTickCount();
  vornik.PostHotkey(kExitId);
  REQUIRE(vornik.process().WaitExit());
  const DWORD elapsed = GetTickCount() - start;
  Recording recording = listening.Stop();

  CHECK(vornik.process().ExitCode() == 0);
  CHECK(elapsed >= 290);
  auto bursts = recording.Bursts();
  Report("exit", bursts);
  MESSAGE("exit took " << elapsed << " ms");
  REQUIRE(bursts.size() == 1);
  CHECK(bursts[0].peakDb > kAudibleDb);
  // About the 300 ms pause is heard, far less than the whole clip.
  CHECK(bursts[0].seconds > 0.1);
  CHECK(bursts[0].seconds < kExitSeconds - 0.15);
}
