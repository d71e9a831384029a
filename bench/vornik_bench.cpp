// Measures Vornik under Wine against the least a program of its kind can do,
// side by side in one run, and prints the figures as Markdown tables:
//   force stop  hotkey to target gone, beside a minimal hotkey tool (the floor),
//               a bare OpenProcess + TerminateProcess and Wine's taskkill, with
//               the session idle and again with many extra idle processes;
//   start-up    CreateProcess to ready, beside an empty Win32 program;
//   exit        exit hotkey to process gone;
//   idle        CPU time while nothing happens;
//   footprint   file sizes, memory, handles, GDI objects and windows after
//               start-up and after many force stops.
// Rows take turns in small blocks, so a slow spell of the shared machine
// falls on every row alike.
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/ids.h"
#include "common/module_path.h"
#include "support.h"

using namespace bench;
namespace ids = vornik::ids;

namespace {

struct Options {
  int runs = 100;          // per force-stop row and process count
  int block = 10;          // runs of one row before the next row's turn
  int extraProcesses = 300;
  int starts = 30;         // start-ups of Vornik and of the empty program
  int idleSeconds = 60;
  int forceStops = 500;    // between the two footprint readings
  std::string only;        // comma-separated sections to run; empty: all
  std::string vornikExe;   // another build to measure; empty: the one beside us

  bool Runs(const char* section) const {
    return only.empty() || ("," + only + ",").find("," + std::string(section) + ",") !=
                               std::string::npos;
  }
};

constexpr DWORD kReadyTimeoutMs = 20000;
constexpr DWORD kKillTimeoutMs = 3000;
constexpr DWORD kSettleMs = 20;  // after the target is foreground, before the trigger
constexpr char kFloorWindowClass[] = "VornikBenchFloor";
constexpr char kFloorReadyEvent[] = "VornikBenchFloorReady";
constexpr int kFloorHotkeyId = 1;

void Progress(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vfprintf(stderr, format, args);
  va_end(args);
  std::fputc('\n', stderr);
  std::fflush(stderr);
}

[[noreturn]] void Fail(const std::string& why) {
  std::fprintf(stderr, "vornik_bench: %s\n", why.c_str());
  std::exit(1);
}

// Where everything lives ----------------------------------------------------

struct Paths {
  std::string bin;        // the win64 build's bin folder, where this program is
  std::string vornik;     // the copy that runs, beside its config.ini
  std::string floor, empty, emptyWithDlls, idle, target;
  std::string product;    // the 32-bit product, for its size
};

Paths FindPaths(const Options& options) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, sizeof self);
  Paths paths;
  paths.bin = vornik::SplitModulePath(self).directory;
  paths.floor = paths.bin + "\\bench_floor.exe";
  paths.empty = paths.bin + "\\bench_empty.exe";
  paths.emptyWithDlls = paths.bin + "\\bench_empty_dlls.exe";
  paths.idle = paths.bin + "\\bench_idle.exe";
  paths.target = paths.bin + "\\bench_target.exe";
  paths.product = paths.bin + "\\..\\..\\product\\bin\\Vornik.exe";

  const std::string folder = "C:\\vornik-bench";
  CreateDirectoryA(folder.c_str(), nullptr);
  paths.vornik = folder + "\\Vornik.exe";
  const std::string source =
      options.vornikExe.empty() ? paths.bin + "\\Vornik.exe" : options.vornikExe;
  if (!CopyFileA(source.c_str(), paths.vornik.c_str(), FALSE)) {
    Fail("cannot copy Vornik.exe to " + folder);
  }
  // The result box off, as a user who wants no box has it: every press is
  // then measured to the kill and nothing waits for a click.
  const char settings[] = "[enforce stop]\r\n\xB5\xAF\xBF\xF2=0\r\n";  // 弹框=0 in GBK
  HANDLE file = CreateFileA((folder + "\\config.ini").c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(file, settings, sizeof settings - 1, &written, nullptr);
  CloseHandle(file);
  return paths;
}

// The programs under test ------------------------------------------------------

class RunningVornik {
 public:
  // Starts a copy and waits until start-up has run to its end (the single-
  // instance marker is its last step).
  bool Start(const std::string& exe) {
    process_ = Process::Start(exe);
    if (!process_) return false;
    if (!PollUntil([] { return NamedEventExists(ids::kSingleInstanceEventName); },
                   kReadyTimeoutMs)) {
      return false;
    }
    window_ = FindWindowOf(process_.Id(), ids::kMainWindowClass);
    return window_ != nullptr;
  }
  void PostHotkey(std::int32_t id, UINT key) const {
    PostMessageA(window_, WM_HOTKEY, static_cast<WPARAM>(id), MAKELPARAM(ids::kHotkeyModifiers, key));
  }
  void PostForceStop() const { PostHotkey(ids::kFirstHotkeyId, ids::kForceStopKey); }
  // Exit hotkey to process gone, in ms; negative when it did not end.
  double Exit() {
    const double start = NowMs();
    PostHotkey(ids::kFirstHotkeyId + 1, ids::kExitKey);
    const bool gone = PumpWait(process_.Handle(), 10000);
    const double elapsed = NowMs() - start;
    process_.Kill();
    return gone ? elapsed : -1;
  }
  Process& process() { return process_; }
  bool Running() const { return process_.Running(); }

 private:
  Process process_;
  HWND window_ = nullptr;
};

class RunningFloor {
 public:
  bool Start(const std::string& exe) {
    process_ = Process::Start(exe);
    if (!process_) return false;
    if (!PollUntil([] { return NamedEventExists(kFloorReadyEvent); }, kReadyTimeoutMs)) return false;
    window_ = FindWindowOf(process_.Id(), kFloorWindowClass);
    return window_ != nullptr;
  }
  void PostForceStop() const {
    PostMessageA(window_, WM_HOTKEY, kFloorHotkeyId, MAKELPARAM(MOD_CONTROL | MOD_WIN, VK_DELETE));
  }
  Process& process() { return process_; }

 private:
  Process process_;
  HWND window_ = nullptr;
};

// A real Control+Windows+Delete, as the keyboard would give it.
void PressForceStopKeys() {
  INPUT inputs[6] = {};
  const auto key = [](INPUT& input, WORD vk, DWORD flags) {
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = flags;
  };
  key(inputs[0], VK_CONTROL, 0);
  key(inputs[1], VK_LWIN, KEYEVENTF_EXTENDEDKEY);
  key(inputs[2], VK_DELETE, KEYEVENTF_EXTENDEDKEY);
  key(inputs[3], VK_DELETE, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP);
  key(inputs[4], VK_LWIN, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP);
  key(inputs[5], VK_CONTROL, KEYEVENTF_KEYUP);
  SendInput(6, inputs, sizeof(INPUT));
}

// Wine's own command-line kill, its output thrown away.
Process StartTaskkill(DWORD pid) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  UniqueHandle nul(CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               &inherit, OPEN_EXISTING, 0, nullptr));
  std::string line = "taskkill.exe /F /PID " + std::to_string(pid);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = startup.hStdOutput = startup.hStdError = nul.get();
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &info)) {
    return {};
  }
  CloseHandle(info.hThread);
  return Process::Adopt(info.hProcess, info.dwProcessId);
}

// Force-stop latency -------------------------------------------------------------

// What makes the target go; returns the helper process it started, if any,
// which is waited for after the measurement.
using Trigger = std::function<Process(const Process& target)>;

struct Row {
  std::string name;
  std::vector<double> sample;
  int failed = 0;
};

std::vector<HWND> VisibleBoxesOf(DWORD pid) {
  struct Search {
    DWORD pid;
    std::vector<HWND> boxes;
  } search{pid, {}};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        char name[32] = {};
        GetClassNameA(window, name, sizeof name);
        if (owner == s->pid && lstrcmpA(name, "#32770") == 0 && IsWindowVisible(window)) {
          s->boxes.push_back(window);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.boxes;
}

// Presses OK on every result box, as a user would, and waits until they are gone.
int CloseBoxes(const std::vector<HWND>& boxes) {
  for (HWND box : boxes) {
    // A click on the button is immediate; a posted close takes seconds on a bare X server.
    if (HWND button = FindWindowExA(box, nullptr, "Button", nullptr)) {
      PostMessageA(button, BM_CLICK, 0, 0);
    } else {
      PostMessageA(box, WM_CLOSE, 0, 0);
    }
  }
  PollUntil([&] {
    for (HWND box : boxes) {
      if (IsWindow(box)) return false;
    }
    return true;
  }, 5000);
  return static_cast<int>(boxes.size());
}

// With the settings honoured Vornik shows no result box. Should it show them
// anyway, each is closed after the measurement: a box left open would come to
// the front and be the next press's target. Whether boxes come is learnt on
// the first press; from then on each press waits for its box.
class ResultBoxCloser {
 public:
  explicit ResultBoxCloser(DWORD pid) : pid_(pid) {}
  void operator()() {
    std::vector<HWND> boxes;
    if (!showsBoxes_.has_value() || *showsBoxes_) {
      PollUntil([&] { return !(boxes = VisibleBoxesOf(pid_)).empty(); }, 1000);
      if (!showsBoxes_.has_value()) showsBoxes_ = !boxes.empty();
    }
    closed_ += CloseBoxes(boxes);
  }
  int Closed() const { return closed_; }

 private:
  DWORD pid_;
  std::optional<bool> showsBoxes_;
  int closed_ = 0;
};

// One kill: a fresh target in the foreground, the trigger, the target's handle
// signalled. Nullopt when the target did not end.
std::optional<double> KillOnce(const Paths& paths, const Trigger& trigger) {
  Process target = Process::Start(paths.target);
  if (!target) return std::nullopt;
  if (!PollUntil([&] { return ForegroundProcessId() == target.Id(); }, kReadyTimeoutMs)) {
    return std::nullopt;
  }
  PumpFor(kSettleMs);
  const double start = NowMs();
  Process helper = trigger(target);
  const bool gone = PumpWait(target.Handle(), kKillTimeoutMs);
  const double elapsed = NowMs() - start;
  if (helper) PumpWait(helper.Handle(), 10000);
  if (!gone) return std::nullopt;
  return elapsed;
}

// `afterRun`, if given, runs after each measurement.
void RunBlock(const Paths& paths, Row& row, int runs, const Trigger& trigger,
              const std::function<void()>& afterRun = nullptr) {
  for (int i = 0; i < runs; ++i) {
    const std::optional<double> elapsed = KillOnce(paths, trigger);
    if (afterRun) afterRun();
    if (elapsed) {
      row.sample.push_back(*elapsed);
    } else {
      // A tool that misses once will miss again: count the rest of the block
      // as failed rather than wait out every timeout.
      row.failed += runs - i;
      return;
    }
  }
}

enum RowIndex { kVornikPosted, kVornikKeys, kFloorPosted, kFloorKeys, kBareKill, kTaskkill, kRows };

struct LatencyResult {
  int extraProcesses = 0;
  std::vector<Row> rows;
  int resultBoxes = 0;  // boxes Vornik showed though the settings turn them off
};

struct Samples {
  std::vector<double> exits;
};

LatencyResult MeasureLatency(const Paths& paths, const Options& options, int extraProcesses,
                             Samples& samples) {
  LatencyResult result;
  result.extraProcesses = extraProcesses;
  for (const char* name : {"Vornik, posted WM_HOTKEY", "Vornik, SendInput Ctrl+Win+Del",
                           "floor, posted WM_HOTKEY", "floor, SendInput Ctrl+Win+Del",
                           "bare OpenProcess+TerminateProcess", "taskkill /F /PID"}) {
    result.rows.push_back(Row{name, {}, 0});
  }
  auto& rows = result.rows;

  const auto vornikGroup = [&](int round) {
    RunningVornik vornik;
    if (!vornik.Start(paths.vornik)) Fail("Vornik did not start");
    const Trigger posted = [&](const Process&) {
      vornik.PostForceStop();
      return Process();
    };
    const Trigger keys = [](const Process&) {
      PressForceStopKeys();
      return Process();
    };
    ResultBoxCloser boxCloser(vornik.process().Id());
    const std::function<void()> closeBoxes = std::ref(boxCloser);
    if (round % 2 == 0) {
      RunBlock(paths, rows[kVornikPosted], options.block, posted, closeBoxes);
      RunBlock(paths, rows[kVornikKeys], options.block, keys, closeBoxes);
    } else {
      RunBlock(paths, rows[kVornikKeys], options.block, keys, closeBoxes);
      RunBlock(paths, rows[kVornikPosted], options.block, posted, closeBoxes);
    }
    result.resultBoxes += boxCloser.Closed();
    const double exit = vornik.Exit();
    if (exit >= 0) samples.exits.push_back(exit);
  };
  const auto floorGroup = [&](int round) {
    RunningFloor floor;
    if (!floor.Start(paths.floor)) Fail("the floor program did not start");
    const Trigger posted = [&](const Process&) {
      floor.PostForceStop();
      return Process();
    };
    const Trigger keys = [](const Process&) {
      PressForceStopKeys();
      return Process();
    };
    if (round % 2 == 0) {
      RunBlock(paths, rows[kFloorPosted], options.block, posted);
      RunBlock(paths, rows[kFloorKeys], options.block, keys);
    } else {
      RunBlock(paths, rows[kFloorKeys], options.block, keys);
      RunBlock(paths, rows[kFloorPosted], options.block, posted);
    }
    floor.process().Kill();
  };
  const auto directGroup = [&](int round) {
    const Trigger bare = [](const Process& target) {
      UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, target.Id()));
      if (process) TerminateProcess(process.get(), 0);
      return Process();
    };
    const Trigger taskkill = [](const Process& target) { return StartTaskkill(target.Id()); };
    if (round % 2 == 0) {
      RunBlock(paths, rows[kBareKill], options.block, bare);
      RunBlock(paths, rows[kTaskkill], options.block, taskkill);
    } else {
      RunBlock(paths, rows[kTaskkill], options.block, taskkill);
      RunBlock(paths, rows[kBareKill], options.block, bare);
    }
  };

  const std::function<void(int)> groups[] = {vornikGroup, floorGroup, directGroup};
  const int rounds = (options.runs + options.block - 1) / options.block;
  for (int round = 0; round < rounds; ++round) {
    Progress("  force stop, %d extra processes: round %d of %d", extraProcesses, round + 1,
             rounds);
    for (int g = 0; g < 3; ++g) groups[(round + g) % 3](round);
  }
  return result;
}

// Idle processes that only lengthen the process list.
std::vector<Process> StartIdleProcesses(const Paths& paths, int count) {
  const char kStarted[] = "VornikBenchIdleStarted";
  UniqueHandle started(CreateSemaphoreA(nullptr, 0, count, kStarted));
  std::vector<Process> processes;
  for (int i = 0; i < count; ++i) {
    Process process = Process::Start(paths.idle, kStarted);
    if (!process) Fail("cannot start an idle process");
    processes.push_back(std::move(process));
  }
  for (int i = 0; i < count; ++i) {
    if (!PumpWait(started.get(), kReadyTimeoutMs)) Fail("the idle processes did not start");
  }
  return processes;
}

// Start-up ---------------------------------------------------------------------

struct StartupResult {
  std::vector<double> vornik, empty, emptyWithDlls;
  int windowFound = 0, hotkeysHeld = 0, trayIconAdded = 0;
};

StartupResult MeasureStartup(const Paths& paths, const Options& options, Samples& samples) {
  StartupResult result;
  const int trayIconsBefore = TrayIconCount();
  const auto startVornik = [&] {
    const double start = NowMs();
    Process process = Process::Start(paths.vornik);
    if (!process) Fail("Vornik did not start");
    const bool ready = PollUntil([] { return NamedEventExists(ids::kSingleInstanceEventName); },
                                 kReadyTimeoutMs);
    const double elapsed = NowMs() - start;
    if (!ready) Fail("Vornik did not get ready");
    result.vornik.push_back(elapsed);

    HWND window = FindWindowOf(process.Id(), ids::kMainWindowClass);
    if (window) ++result.windowFound;
    if (HotkeyHeld(ids::kHotkeyModifiers, ids::kForceStopKey) &&
        HotkeyHeld(ids::kHotkeyModifiers, ids::kExitKey)) {
      ++result.hotkeysHeld;
    }
    if (TrayIconCount() == trayIconsBefore + 1) ++result.trayIconAdded;

    const double exitStart = NowMs();
    PostMessageA(window, WM_HOTKEY, ids::kFirstHotkeyId + 1,
                 MAKELPARAM(ids::kHotkeyModifiers, ids::kExitKey));
    if (PumpWait(process.Handle(), 10000)) samples.exits.push_back(NowMs() - exitStart);
  };
  const auto startEmpty = [&](const std::string& exe, std::vector<double>& sample) {
    static int counter = 0;
    const std::string event = "VornikBenchEmptyReady-" + std::to_string(++counter);
    const double start = NowMs();
    Process process = Process::Start(exe, event);
    if (!process) Fail("the empty program did not start");
    const bool ready = PollUntil([&] { return NamedEventExists(event.c_str()); }, kReadyTimeoutMs);
    const double elapsed = NowMs() - start;
    if (!ready) Fail("the empty program did not get ready");
    sample.push_back(elapsed);
  };
  const std::function<void()> programs[] = {
      startVornik,
      [&] { startEmpty(paths.empty, result.empty); },
      [&] { startEmpty(paths.emptyWithDlls, result.emptyWithDlls); },
  };
  for (int i = 0; i < options.starts; ++i) {
    for (int p = 0; p < 3; ++p) programs[(i + p) % 3]();
  }
  return result;
}

// Idle cost and footprint ---------------------------------------------------------

struct IdleResult {
  double vornikMs = -1, floorMs = -1, emptyMs = -1;
};

IdleResult MeasureIdle(const Paths& paths, const Options& options) {
  RunningVornik vornik;
  if (!vornik.Start(paths.vornik)) Fail("Vornik did not start");
  RunningFloor floor;
  if (!floor.Start(paths.floor)) Fail("the floor program did not start");
  Process empty = Process::Start(paths.empty, "VornikBenchEmptyIdle");
  PollUntil([] { return NamedEventExists("VornikBenchEmptyIdle"); }, kReadyTimeoutMs);
  PumpFor(1000);

  const auto before = std::array{FiguresOf(vornik.process().Id()), FiguresOf(floor.process().Id()),
                                 FiguresOf(empty.Id())};
  PumpFor(static_cast<DWORD>(options.idleSeconds) * 1000);
  const auto after = std::array{FiguresOf(vornik.process().Id()), FiguresOf(floor.process().Id()),
                                FiguresOf(empty.Id())};
  const auto delta = [&](int i) {
    return before[i] && after[i] ? after[i]->cpuMs - before[i]->cpuMs : -1.0;
  };
  IdleResult result{delta(0), delta(1), delta(2)};
  vornik.Exit();
  return result;
}

// Readings wait until the clips that the last steps started have played and
// their threads are gone, so that a passing playback is not taken for growth.
constexpr DWORD kQuietBeforeReadingMs = 7000;
// An early reading, after the first uses of every code path.
constexpr int kWarmUpForceStops = 10;

struct FootprintResult {
  std::optional<ProcessFigures> vornikStarted, vornikWarm, vornikAfterStops, floorStarted,
      emptyStarted;
  int stops = 0, stopsFailed = 0, resultBoxes = 0;
};

FootprintResult MeasureFootprint(const Paths& paths, const Options& options) {
  FootprintResult result;
  {
    RunningFloor floor;
    if (!floor.Start(paths.floor)) Fail("the floor program did not start");
    Process empty = Process::Start(paths.empty, "VornikBenchEmptyFootprint");
    PollUntil([] { return NamedEventExists("VornikBenchEmptyFootprint"); }, kReadyTimeoutMs);
    PumpFor(500);
    result.floorStarted = FiguresOf(floor.process().Id());
    result.emptyStarted = FiguresOf(empty.Id());
  }
  RunningVornik vornik;
  if (!vornik.Start(paths.vornik)) Fail("Vornik did not start");
  PumpFor(kQuietBeforeReadingMs);
  result.vornikStarted = FiguresOf(vornik.process().Id());
  const Trigger posted = [&](const Process&) {
    vornik.PostForceStop();
    return Process();
  };
  ResultBoxCloser boxCloser(vornik.process().Id());
  for (int i = 0; i < options.forceStops; ++i) {
    const bool killed = KillOnce(paths, posted).has_value();
    boxCloser();
    if (killed) {
      ++result.stops;
    } else {
      ++result.stopsFailed;
      if (!vornik.Running() || result.stopsFailed >= 5) break;
    }
    if (i + 1 == kWarmUpForceStops) {
      PumpFor(kQuietBeforeReadingMs);
      result.vornikWarm = FiguresOf(vornik.process().Id());
    }
    if ((i + 1) % 100 == 0) Progress("  %d force stops", i + 1);
  }
  result.resultBoxes = boxCloser.Closed();
  PumpFor(kQuietBeforeReadingMs);
  result.vornikAfterStops = FiguresOf(vornik.process().Id());
  vornik.Exit();
  return result;
}

// The report ---------------------------------------------------------------------

std::string Cell(const Summary& s, double value) {
  return s.count ? Fixed(value, 2) : "-";
}

std::string Ratio(double numerator, double denominator) {
  return numerator > 0 && denominator > 0 ? Fixed(numerator / denominator, 2) : "-";
}

void PrintLatency(const std::vector<LatencyResult>& results, const Options& options) {
  std::printf("### Force stop: trigger to target gone (ms)\n\n");
  std::printf("%d runs per row, in blocks of %d that take turns; result box off.\n\n",
              options.runs, options.block);
  std::printf("| extra processes | row | runs | p50 | p95 | max | failed |\n");
  std::printf("|---:|---|---:|---:|---:|---:|---:|\n");
  for (const LatencyResult& result : results) {
    for (const Row& row : result.rows) {
      const Summary s = Summarize(row.sample);
      std::printf("| %d | %s | %zu | %s | %s | %s | %d |\n", result.extraProcesses,
                  row.name.c_str(), s.count, Cell(s, s.p50).c_str(), Cell(s, s.p95).c_str(),
                  Cell(s, s.max).c_str(), row.failed);
    }
  }
  std::printf("\n| extra processes | Vornik/floor, posted | Vornik/floor, SendInput | "
              "taskkill/Vornik, posted |\n");
  std::printf("|---:|---:|---:|---:|\n");
  for (const LatencyResult& result : results) {
    const auto p50 = [&](int row) { return Summarize(result.rows[row].sample).p50; };
    std::printf("| %d | %s | %s | %s |\n", result.extraProcesses,
                Ratio(p50(kVornikPosted), p50(kFloorPosted)).c_str(),
                Ratio(p50(kVornikKeys), p50(kFloorKeys)).c_str(),
                Ratio(p50(kTaskkill), p50(kVornikPosted)).c_str());
  }
  for (const LatencyResult& result : results) {
    if (result.resultBoxes) {
      std::printf("\nNote: Vornik showed %d result boxes with %d extra processes (closed after "
                  "each measurement).\n",
                  result.resultBoxes, result.extraProcesses);
    }
  }
  std::printf("\n");
  std::fflush(stdout);
}

void PrintStartupAndExit(const StartupResult& startup, const Samples& samples) {
  std::printf("### Start-up: CreateProcess to ready (ms)\n\n");
  std::printf("| program | runs | p50 | p95 | max |\n|---|---:|---:|---:|---:|\n");
  const auto line = [](const char* name, const std::vector<double>& sample) {
    const Summary s = Summarize(sample);
    std::printf("| %s | %zu | %s | %s | %s |\n", name, s.count, Cell(s, s.p50).c_str(),
                Cell(s, s.p95).c_str(), Cell(s, s.max).c_str());
  };
  line("Vornik (window, both hotkeys, tray icon, single-instance marker)", startup.vornik);
  line("empty Win32 program (one hidden window, an event)", startup.empty);
  line("the same, linking Vornik's system DLLs", startup.emptyWithDlls);
  // The programs start in turn: the median of the ratios of neighbouring
  // starts is the figure a slow spell of the machine disturbs least.
  const auto pairedRatio = [&](const std::vector<double>& sample) {
    std::vector<double> ratios;
    for (std::size_t i = 0; i < std::min(sample.size(), startup.empty.size()); ++i) {
      ratios.push_back(sample[i] / startup.empty[i]);
    }
    return ratios.empty() ? std::string("-") : Fixed(Summarize(ratios).p50, 2);
  };
  const std::size_t runs = startup.vornik.size();
  std::printf("\nAgainst the empty program (ratio of the medians; median of the ratios of "
              "neighbouring starts): Vornik %s; %s, the empty program linking Vornik's DLLs "
              "%s; %s.\nChecked after each start of Vornik: main window %d/%zu, both hotkeys "
              "held %d/%zu, tray icon added %d/%zu.\n\n",
              Ratio(Summarize(startup.vornik).p50, Summarize(startup.empty).p50).c_str(),
              pairedRatio(startup.vornik).c_str(),
              Ratio(Summarize(startup.emptyWithDlls).p50, Summarize(startup.empty).p50).c_str(),
              pairedRatio(startup.emptyWithDlls).c_str(), startup.windowFound, runs,
              startup.hotkeysHeld, runs, startup.trayIconAdded, runs);

  std::printf("### Exit: exit hotkey to process gone (ms)\n\n");
  std::printf("| program | runs | p50 | p95 | max |\n|---|---:|---:|---:|---:|\n");
  line("Vornik (includes the 300 ms pause)", samples.exits);
  std::printf("\n");
  std::fflush(stdout);
}

void PrintIdle(const IdleResult& idle, const Options& options) {
  std::printf("### Idle: CPU time over %d s (ms)\n\n", options.idleSeconds);
  std::printf("| Vornik | floor | empty program |\n|---:|---:|---:|\n");
  std::printf("| %s | %s | %s |\n\n", Fixed(idle.vornikMs, 0).c_str(),
              Fixed(idle.floorMs, 0).c_str(), Fixed(idle.emptyMs, 0).c_str());
  std::fflush(stdout);
}

void PrintFootprint(const FootprintResult& footprint, const Paths& paths, const Options& options) {
  std::printf("### Footprint\n\n| file | bytes | KiB |\n|---|---:|---:|\n");
  const auto file = [](const char* name, const std::string& path) {
    const std::uintmax_t size = FileSize(path);
    std::printf("| %s | %s | %s |\n", name, size ? std::to_string(size).c_str() : "missing",
                size ? Fixed(static_cast<double>(size) / 1024.0, 1).c_str() : "-");
  };
  file("Vornik.exe, 32-bit product", paths.product);
  file("Vornik.exe, 64-bit build (the one measured here)", paths.bin + "\\Vornik.exe");

  std::printf("\n| process | private KiB | working set KiB | threads | handles | handle table | "
              "GDI objects | windows |\n|---|---:|---:|---:|---:|---:|---:|---:|\n");
  const auto line = [](const std::string& name, const std::optional<ProcessFigures>& f) {
    if (!f) {
      std::printf("| %s | - | - | - | - | - | - | - |\n", name.c_str());
      return;
    }
    const auto count = [](long long n) { return n < 0 ? std::string("n/a") : std::to_string(n); };
    const auto kib = [](long long bytes) {
      return bytes < 0 ? std::string("n/a") : Fixed(static_cast<double>(bytes) / 1024.0, 0);
    };
    std::printf("| %s | %s | %s | %s | %s | %s | %s | %s |\n", name.c_str(),
                kib(f->privateBytes).c_str(), kib(f->workingSet).c_str(), count(f->threads).c_str(),
                count(f->handles).c_str(), count(f->handleTable).c_str(),
                count(f->gdiObjects).c_str(), count(f->windows).c_str());
  };
  line("Vornik after start-up", footprint.vornikStarted);
  if (footprint.stops > kWarmUpForceStops) {
    line("Vornik after " + std::to_string(kWarmUpForceStops) + " force stops", footprint.vornikWarm);
  }
  line("Vornik after " + std::to_string(footprint.stops) + " force stops",
       footprint.vornikAfterStops);
  line("floor after start-up", footprint.floorStarted);
  line("empty program after start-up", footprint.emptyStarted);
  if (footprint.resultBoxes) {
    std::printf("\nNote: Vornik showed %d result boxes (closed after each force stop).\n",
                footprint.resultBoxes);
  }
  if (footprint.stopsFailed) {
    std::printf("\nWarning: %d of the %d force stops failed.\n", footprint.stopsFailed,
                options.forceStops);
  }
  std::printf("\n");
}

Options ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const auto text = [&]() -> std::string {
      if (i + 1 >= argc) Fail("missing value after " + arg);
      return argv[++i];
    };
    const auto value = [&] { return std::atoi(text().c_str()); };
    if (arg == "--quick") {
      options.runs = 10;
      options.block = 5;
      options.starts = 5;
      options.idleSeconds = 5;
      options.forceStops = 50;
    } else if (arg == "--only") {
      options.only = text();
    } else if (arg == "--vornik") {
      options.vornikExe = text();
    } else if (arg == "--runs") {
      options.runs = value();
    } else if (arg == "--block") {
      options.block = value();
    } else if (arg == "--extra") {
      options.extraProcesses = value();
    } else if (arg == "--starts") {
      options.starts = value();
    } else if (arg == "--idle") {
      options.idleSeconds = value();
    } else if (arg == "--stops") {
      options.forceStops = value();
    } else {
      Fail("unknown option " + arg +
           " (known: --quick --runs N --block N --extra N --starts N --idle S --stops N"
           " --only latency,startup,idle,footprint --vornik PATH)");
    }
  }
  if (options.runs < 1 || options.block < 1) Fail("--runs and --block must be positive");
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = ParseOptions(argc, argv);
  OwnTrayIcon trayIcon("vornik bench");
  const Paths paths = FindPaths(options);
  if (NamedEventExists(ids::kSingleInstanceEventName)) Fail("another Vornik is running");

  // Each section is printed as soon as it is measured.
  Samples samples;
  if (options.Runs("latency")) {
    std::vector<LatencyResult> latency;
    Progress("force stop, session idle");
    latency.push_back(MeasureLatency(paths, options, 0, samples));
    if (options.extraProcesses > 0) {
      Progress("starting %d idle processes", options.extraProcesses);
      std::vector<Process> idle = StartIdleProcesses(paths, options.extraProcesses);
      latency.push_back(MeasureLatency(paths, options, options.extraProcesses, samples));
      Progress("stopping the idle processes");
    }
    PrintLatency(latency, options);
  }
  if (options.Runs("startup")) {
    Progress("start-up and exit");
    PrintStartupAndExit(MeasureStartup(paths, options, samples), samples);
  }
  if (options.Runs("idle")) {
    Progress("idle cost, %d s", options.idleSeconds);
    PrintIdle(MeasureIdle(paths, options), options);
  }
  if (options.Runs("footprint")) {
    Progress("footprint, %d force stops", options.forceStops);
    PrintFootprint(MeasureFootprint(paths, options), paths, options);
  }
  return 0;
}
