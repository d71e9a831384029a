#include "listening.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "driver.h"

namespace test {

namespace {

std::string Environment(const char* name) {
  char value[1024] = {};
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  return length > 0 && length < sizeof value ? value : "";
}

// The server's folder and the script that runs it, as Unix paths.
std::string AudioDir() { return Environment("VORNIK_AUDIO_DIR"); }
std::string AudioScript() { return Environment("VORNIK_AUDIO_SCRIPT"); }

// Wine maps the Unix root to drive Z:.
std::string WindowsPath(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

void RunScript(const std::string& arguments) {
  RunUnix("/bin/bash " + AudioScript() + " " + arguments);
}

std::uint64_t FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

}  // namespace

double ToDb(double rms) { return rms > 0 ? 20 * std::log10(rms) : -200; }

Recording::Recording(const std::string& bytes) {
  frames_ = bytes.size() / 4;
  samples_.resize(frames_ * 2);
  if (frames_) std::memcpy(samples_.data(), bytes.data(), frames_ * 4);
}

double Recording::Rms(double from, double to) const {
  const auto first = static_cast<std::size_t>(std::max(0.0, from) * kRate);
  const auto last = std::min(frames_, static_cast<std::size_t>(std::max(0.0, to) * kRate));
  if (last <= first) return 0;
  double sum = 0;
  for (std::size_t i = first * 2; i < last * 2; ++i) sum += double(samples_[i]) * samples_[i];
  return std::sqrt(sum / double((last - first) * 2)) / 32768.0;
}

double Recording::LoudestRms(double from, double to, double window) const {
  double loudest = 0;
  for (double at = from; at + window <= to + 1e-9; at += kWindow) {
    loudest = std::max(loudest, Rms(at, at + window));
  }
  return loudest;
}

std::vector<Burst> Recording::Bursts(double thresholdDb, double joinGap) const {
  std::vector<Burst> bursts;
  const auto windows = static_cast<std::size_t>(Seconds() / kWindow);
  bool open = false;
  double lastLoud = 0;
  for (std::size_t w = 0; w < windows; ++w) {
    const double at = w * kWindow;
    const double db = ToDb(Rms(at, at + kWindow));
    if (db <= thresholdDb) continue;
    if (open && at - lastLoud <= joinGap + kWindow) {
      bursts.back().seconds = at + kWindow - bursts.back().start;
      bursts.back().peakDb = std::max(bursts.back().peakDb, db);
    } else {
      bursts.push_back({at, kWindow, db});
      open = true;
    }
    lastLoud = at;
  }
  return bursts;
}

bool AudioServerConfigured() { return !AudioDir().empty() && !AudioScript().empty(); }

Listening::Listening() : file_(AudioDir() + "/recording.raw") {
  // Returns once the recorder runs: what plays from now on is heard.
  RunScript("record " + AudioDir() + " " + file_);
}

Listening::~Listening() {
  if (!stopped_) RunScript("stop-record " + AudioDir());
}

double Listening::Now() const {
  return double(FileSize(WindowsPath(file_))) / (Recording::kRate * 4);
}

Recording Listening::Stop() {
  // Whatever is still on its way through the server reaches the file first.
  PumpFor(300);
  RunScript("stop-record " + AudioDir());
  stopped_ = true;
  return Recording(ReadFileBytes(WindowsPath(file_)));
}

int OpenPlaybackStreams() {
  const std::string out = AudioDir() + "/sink-inputs.txt";
  RunUnix("PULSE_SERVER=unix:" + AudioDir() + "/native pactl list short sink-inputs > " + out);
  const std::string text = ReadFileBytes(WindowsPath(out));
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

std::string Describe(const std::vector<Burst>& bursts) {
  std::string text = std::to_string(bursts.size()) + " burst(s):";
  for (const Burst& b : bursts) {
    char line[128];
    std::snprintf(line, sizeof line, " [at %.3f s, %.3f s long, peak %.1f dBFS]", b.start,
                  b.seconds, b.peakDb);
    text += line;
  }
  return text;
}

}  // namespace test
