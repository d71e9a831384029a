// What the benchmark needs around the programs it measures: a clock, started
// processes, waits that keep the benchmark's own windows answering, figures
// read from the system about another process, and the summary of a sample.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/owners.h"
#include "own_tray_icon.h"
#include "process_figures.h"

namespace bench {

using vornik::UniqueHandle;

// Milliseconds on the performance counter.
double NowMs();

// A started process; terminated on destruction if it still runs.
class Process {
 public:
  static Process Start(const std::string& exePath, const std::string& arguments = "");
  // Takes ownership of a handle from CreateProcess.
  static Process Adopt(HANDLE handle, DWORD id);
  Process() = default;
  Process(Process&&) = default;
  Process& operator=(Process&&) = default;
  ~Process();

  explicit operator bool() const { return static_cast<bool>(handle_); }
  DWORD Id() const { return id_; }
  HANDLE Handle() const { return handle_.get(); }
  bool Running() const;
  void Kill();

 private:
  UniqueHandle handle_;
  DWORD id_ = 0;
};

// Waits for `handle` while dispatching this thread's messages. True when it
// was signalled within `ms`.
bool PumpWait(HANDLE handle, DWORD ms);
// Dispatches this thread's messages for `ms`.
void PumpFor(DWORD ms);
// Polls `condition` every millisecond until it holds or `ms` pass.
bool PollUntil(const std::function<bool()>& condition, DWORD ms);

bool NamedEventExists(const char* name);
DWORD ForegroundProcessId();
HWND FindWindowOf(DWORD pid, const char* className);
// Icons in the notification area of a bare X server (one window each).
int TrayIconCount();
// True when the combination cannot be registered: someone holds it.
bool HotkeyHeld(UINT modifiers, UINT key);

using test::OwnTrayIcon;

// What the system reports about one process; nothing once it has ended.
using test::ProcessFigures;
std::optional<ProcessFigures> FiguresOf(DWORD pid);

// p50, p95 and max of a sample, nearest rank.
struct Summary {
  std::size_t count = 0;
  double p50 = 0, p95 = 0, max = 0;
};
Summary Summarize(std::vector<double> sample);

std::string Fixed(double value, int decimals);
std::uintmax_t FileSize(const std::string& path);

}  // namespace bench
