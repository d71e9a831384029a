// PlayClip and StopAllClips inside the process, against the test's audio
// server: which bytes start a playback, and when the playbacks' output streams
// open and close.
#include <doctest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "assets/clips.h"
#include "assets/playback.h"
#include "driver.h"
#include "listening.h"

using namespace vornik;
using test::OpenPlaybackStreams;

namespace {

bool StreamsBecome(int count) {
  return test::WaitUntil([&] { return OpenPlaybackStreams() == count; }, 5000);
}

}  // namespace

TEST_CASE("PlayClip accepts the clips and refuses what is not one") {
  REQUIRE(test::AudioServerConfigured());
  std::vector<unsigned char> startup(assets::StartupClip,
                                     assets::StartupClip + assets::StartupClipSize);
  std::vector<unsigned char> notWave = startup;
  notWave[8] = 'X';
  std::vector<unsigned char> empty = startup;
  empty[40] = empty[41] = empty[42] = empty[43] = 0;  // data size 0

  CHECK(PlayClip(startup.data(), 35, false) == 0);
  CHECK(PlayClip(notWave.data(), notWave.size(), false) == 0);
  CHECK(PlayClip(empty.data(), empty.size(), false) == 0);
  CHECK(PlayClip(nullptr, 0, false) == 0);
  CHECK(OpenPlaybackStreams() == 0);

  // The samples are copied: the caller's bytes may go at once.
  CHECK(PlayClip(startup.data(), startup.size(), false) == 1);
  startup.assign(startup.size(), 0);
  CHECK(PlayClip(assets::SuccessClip, assets::SuccessClipSize, false) == 1);
  CHECK(PlayClip(assets::ExitClip, assets::ExitClipSize, false) == 1);
  // Each playback closes its stream by itself once its clip has played.
  CHECK(test::WaitUntil([] { return OpenPlaybackStreams() > 0; }, 5000));
  CHECK(StreamsBecome(0));
  StopAllClips();  // nothing left to stop
}

TEST_CASE("StopAllClips returns only once every stream is closed, loops included") {
  REQUIRE(test::AudioServerConfigured());
  test::Listening listening;
  CHECK(PlayClip(assets::SuccessClip, assets::SuccessClipSize, true) == 1);
  CHECK(PlayClip(assets::StartupClip, assets::StartupClipSize, true) == 1);
  CHECK(PlayClip(assets::ExitClip, assets::ExitClipSize, false) == 1);
  REQUIRE(StreamsBecome(3));
  // Long after every clip's own length the two loops still play.
  test::PumpFor(1500);
  CHECK(OpenPlaybackStreams() == 2);

  const double stopped = listening.Now();
  StopAllClips();
  CHECK(OpenPlaybackStreams() == 0);
  test::Recording recording = listening.Stop();

  // The loops play on until they are stopped, and then stop. A busy machine
  // can starve the audio server for a moment, so short dropouts are joined.
  auto bursts = recording.Bursts(-50, 0.2);
  MESSAGE(test::Describe(bursts));
  REQUIRE(bursts.size() == 1);
  CHECK(bursts[0].seconds > 1.5);
  CHECK(bursts[0].start + bursts[0].seconds < stopped + 0.3);
}
