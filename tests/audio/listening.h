// What the tests hear: a private PulseAudio server's null sink (started by
// ctest, see tests/audio/audio_server.sh), recorded while a test drives
// Vornik, and cut into bursts of sound by their energy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace test {

// A stretch of sound louder than the server's digital silence.
struct Burst {
  double start = 0;    // seconds into the recording
  double seconds = 0;  // how long it is heard
  double peakDb = -200;  // loudest 10 ms, dBFS
};

// Recorded samples: 16-bit stereo at 44,100 Hz.
class Recording {
 public:
  static constexpr double kRate = 44100;
  static constexpr double kWindow = 0.010;  // seconds per energy window

  explicit Recording(const std::string& bytes);

  double Seconds() const { return frames_ / kRate; }
  // RMS over both channels between two moments, relative to full scale.
  double Rms(double from, double to) const;
  // The highest RMS of any `window` seconds between two moments.
  double LoudestRms(double from, double to, double window) const;
  // Runs of 10 ms windows above `thresholdDb`, joined across gaps shorter
  // than `joinGap` seconds.
  std::vector<Burst> Bursts(double thresholdDb = -50, double joinGap = 0.05) const;

 private:
  std::vector<std::int16_t> samples_;
  std::size_t frames_ = 0;
};

double ToDb(double rms);

// The test's audio server, from the environment ctest gives the test.
bool AudioServerConfigured();

// Records the server's sink from construction to Stop().
class Listening {
 public:
  Listening();
  ~Listening();
  Listening(const Listening&) = delete;
  Listening& operator=(const Listening&) = delete;

  // Seconds recorded so far: a mark on the recording's time line.
  double Now() const;
  Recording Stop();

 private:
  std::string file_;
  bool stopped_ = false;
};

// Sink inputs (open playback streams) the server has now.
int OpenPlaybackStreams();

std::string Describe(const std::vector<Burst>& bursts);

}  // namespace test
