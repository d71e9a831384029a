#include "support.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace bench {

double NowMs() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / frequency;
}

// Process ------------------------------------------------------------------

Process Process::Start(const std::string& exePath, const std::string& arguments) {
  Process process;
  std::string line = "\"" + exePath + "\"" + (arguments.empty() ? "" : " " + arguments);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (CreateProcessA(exePath.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &info)) {
    CloseHandle(info.hThread);
    process.handle_.reset(info.hProcess);
    process.id_ = info.dwProcessId;
  }
  return process;
}

Process Process::Adopt(HANDLE handle, DWORD id) {
  Process process;
  process.handle_.reset(handle);
  process.id_ = id;
  return process;
}

Process::~Process() { Kill(); }

bool Process::Running() const {
  return handle_ && WaitForSingleObject(handle_.get(), 0) == WAIT_TIMEOUT;
}

void Process::Kill() {
  if (Running()) {
    TerminateProcess(handle_.get(), 1);
    PumpWait(handle_.get(), 10000);
  }
}

// Waits ----------------------------------------------------------------------

namespace {

void DispatchPending() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace

bool PumpWait(HANDLE handle, DWORD ms) {
  const double end = NowMs() + ms;
  for (;;) {
    const double left = end - NowMs();
    const DWORD wait = left > 0 ? static_cast<DWORD>(left) + 1 : 0;
    const DWORD result = MsgWaitForMultipleObjects(1, &handle, FALSE, wait, QS_ALLINPUT);
    if (result == WAIT_OBJECT_0) return true;
    if (result != WAIT_OBJECT_0 + 1) return WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
    DispatchPending();
  }
}

void PumpFor(DWORD ms) {
  const double end = NowMs() + ms;
  while (NowMs() < end) {
    DispatchPending();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

bool PollUntil(const std::function<bool()>& condition, DWORD ms) {
  const double end = NowMs() + ms;
  for (;;) {
    if (condition()) return true;
    if (NowMs() > end) return false;
    DispatchPending();
    Sleep(1);
  }
}

// Windows, events, hotkeys ---------------------------------------------------

bool NamedEventExists(const char* name) {
  UniqueHandle event(OpenEventA(SYNCHRONIZE, FALSE, name));
  return static_cast<bool>(event);
}

DWORD ForegroundProcessId() {
  HWND window = GetForegroundWindow();
  DWORD pid = 0;
  if (window) GetWindowThreadProcessId(window, &pid);
  return pid;
}

namespace {

struct WindowSearch {
  DWORD pid;
  const char* className;
  HWND found = nullptr;
};

BOOL CALLBACK VisitTopLevel(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->pid) return TRUE;
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  if (lstrcmpA(name, search->className) == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND FindWindowOf(DWORD pid, const char* className) {
  WindowSearch search{pid, className};
  EnumWindows(VisitTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

int TrayIconCount() {
  int count = 0;
  for (HWND tray = FindWindowExA(nullptr, nullptr, "__winex11_standalone_tray", nullptr); tray;
       tray = FindWindowExA(nullptr, tray, "__winex11_standalone_tray", nullptr)) {
    for (HWND icon = FindWindowExA(tray, nullptr, "__winex11_tray_icon", nullptr); icon;
         icon = FindWindowExA(tray, icon, "__winex11_tray_icon", nullptr)) {
      ++count;
    }
  }
  return count;
}

bool HotkeyHeld(UINT modifiers, UINT key) {
  constexpr int kProbeId = 0xB00;
  if (!RegisterHotKey(nullptr, kProbeId, modifiers, key)) return true;
  UnregisterHotKey(nullptr, kProbeId);
  return false;
}

// Figures from the system -----------------------------------------------------

std::optional<ProcessFigures> FiguresOf(DWORD pid) {
  ProcessFigures figures = test::ReadProcessFigures(pid);
  if (figures.threads < 0) return std::nullopt;  // not in the process list: it has ended
  return figures;
}

// Summaries and formatting ------------------------------------------------------

Summary Summarize(std::vector<double> sample) {
  Summary summary;
  summary.count = sample.size();
  if (sample.empty()) return summary;
  std::sort(sample.begin(), sample.end());
  const auto rank = [&](double fraction) {
    const auto index = static_cast<std::size_t>(std::ceil(fraction * sample.size()));
    return sample[std::min(sample.size(), std::max<std::size_t>(index, 1)) - 1];
  };
  summary.p50 = rank(0.50);
  summary.p95 = rank(0.95);
  summary.max = sample.back();
  return summary;
}

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::uintmax_t FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<std::uintmax_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace bench
