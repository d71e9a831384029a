#include "support.h"

#include <shellapi.h>

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
  int count = 0;
  HWND found = nullptr;
};

BOOL CALLBACK CountChild(HWND, LPARAM param) {
  ++reinterpret_cast<WindowSearch*>(param)->count;
  return TRUE;
}

BOOL CALLBACK VisitTopLevel(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->pid) return TRUE;
  if (search->className) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, search->className) == 0) {
      search->found = window;
      return FALSE;
    }
    return TRUE;
  }
  ++search->count;
  EnumChildWindows(window, CountChild, param);
  return TRUE;
}

}  // namespace

int WindowCountOf(DWORD pid) {
  WindowSearch search{pid, nullptr};
  EnumWindows(VisitTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.count;
}

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

OwnTrayIcon::OwnTrayIcon() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "VornikBenchTrayOwner";
  RegisterClassA(&windowClass);
  window_ = CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, nullptr, nullptr,
                            windowClass.hInstance, nullptr);
  NOTIFYICONDATAA data = {};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = window_;
  data.uID = 1;
  data.uFlags = NIF_ICON | NIF_TIP;
  data.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
  lstrcpynA(data.szTip, "vornik bench", sizeof data.szTip);
  Shell_NotifyIconA(NIM_ADD, &data);
}

OwnTrayIcon::~OwnTrayIcon() {
  NOTIFYICONDATAA data = {};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = window_;
  data.uID = 1;
  Shell_NotifyIconA(NIM_DELETE, &data);
  DestroyWindow(window_);
}

// Figures from the system -----------------------------------------------------
//
// Under Wine, GetProcessTimes on another process answers with the caller's own
// times, and GetProcessHandleCount, GetGuiResources and PrivateUsage read 0.
// The process list and the handle table of NtQuerySystemInformation carry real
// figures.

namespace {

using NtQuerySystemInformationFn = LONG(NTAPI*)(ULONG, void*, ULONG, ULONG*);
using NtQueryInformationProcessFn = LONG(NTAPI*)(HANDLE, ULONG, void*, ULONG, ULONG*);

constexpr ULONG kSystemProcessInformation = 5;
constexpr ULONG kSystemExtendedHandleInformation = 64;
constexpr LONG kStatusInfoLengthMismatch = static_cast<LONG>(0xC0000004);

struct ProcessEntry {
  ULONG nextEntryOffset;
  ULONG numberOfThreads;
  LARGE_INTEGER workingSetPrivateSize;
  ULONG hardFaultCount;
  ULONG numberOfThreadsHighWatermark;
  ULONGLONG cycleTime;
  LARGE_INTEGER createTime;
  LARGE_INTEGER userTime;
  LARGE_INTEGER kernelTime;
  struct {
    USHORT length, maximumLength;
    PWSTR buffer;
  } imageName;
  LONG basePriority;
  HANDLE uniqueProcessId;
  HANDLE inheritedFromUniqueProcessId;
  ULONG handleCount;
  ULONG sessionId;
  ULONG_PTR uniqueProcessKey;
  SIZE_T peakVirtualSize;
  SIZE_T virtualSize;
  ULONG pageFaultCount;
  SIZE_T peakWorkingSetSize;
  SIZE_T workingSetSize;
  SIZE_T quotaPeakPagedPoolUsage;
  SIZE_T quotaPagedPoolUsage;
  SIZE_T quotaPeakNonPagedPoolUsage;
  SIZE_T quotaNonPagedPoolUsage;
  SIZE_T pagefileUsage;
  SIZE_T peakPagefileUsage;
  SIZE_T privatePageCount;
};

struct HandleEntry {
  void* object;
  ULONG_PTR uniqueProcessId;
  ULONG_PTR handleValue;
  ULONG grantedAccess;
  USHORT creatorBackTraceIndex;
  USHORT objectTypeIndex;
  ULONG handleAttributes;
  ULONG reserved;
};

struct HandleTable {
  ULONG_PTR numberOfHandles;
  ULONG_PTR reserved;
  HandleEntry handles[1];
};

template <typename Function>
Function NtdllProc(const char* name) {
  // Through void(*)(): the one function-pointer cast GCC accepts silently.
  return reinterpret_cast<Function>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("ntdll.dll"), name)));
}

std::vector<unsigned char> QuerySystem(ULONG infoClass) {
  static const auto query =
      NtdllProc<NtQuerySystemInformationFn>("NtQuerySystemInformation");
  std::vector<unsigned char> buffer(1 << 20);
  for (int attempt = 0; attempt < 8; ++attempt) {
    ULONG needed = 0;
    const LONG status =
        query(infoClass, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    if (status >= 0) return buffer;
    if (status != kStatusInfoLengthMismatch) return {};
    buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed + 65536));
  }
  return {};
}

long HandlesInTable(DWORD pid) {
  std::vector<unsigned char> buffer = QuerySystem(kSystemExtendedHandleInformation);
  if (buffer.empty()) return -1;
  const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
  long count = 0;
  for (ULONG_PTR i = 0; i < table->numberOfHandles; ++i) {
    if (table->handles[i].uniqueProcessId == pid) ++count;
  }
  return count;
}

// Each process keeps its GDI handle table in its own memory, announced in its
// PEB (GdiSharedHandleTable, 0xF8 on x64): 65536 entries of 24 bytes, where a
// live entry has a type and a stock flag in the top bit of its ExtType byte.
long GdiObjectsOf(DWORD pid) {
  struct BasicInformation {
    LONG exitStatus;
    void* pebBaseAddress;
    ULONG_PTR affinityMask;
    LONG basePriority;
    ULONG_PTR uniqueProcessId;
    ULONG_PTR inheritedFromUniqueProcessId;
  };
  struct GdiEntry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint16_t unique;
    std::uint8_t type;
    std::uint8_t flags;
    std::uint64_t userPointer;
  };
  static_assert(sizeof(GdiEntry) == 24);
  constexpr std::size_t kGdiEntries = 0x10000;
  constexpr std::size_t kPebGdiTableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;

  static const auto query =
      NtdllProc<NtQueryInformationProcessFn>("NtQueryInformationProcess");
  UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
  if (!process) return -1;
  BasicInformation basic = {};
  if (query(process.get(), 0, &basic, sizeof basic, nullptr) < 0) return -1;
  void* table = nullptr;
  if (!ReadProcessMemory(process.get(),
                         static_cast<char*>(basic.pebBaseAddress) + kPebGdiTableOffset, &table,
                         sizeof table, nullptr) ||
      !table) {
    return -1;
  }
  std::vector<GdiEntry> entries(kGdiEntries);
  if (!ReadProcessMemory(process.get(), table, entries.data(), entries.size() * sizeof(GdiEntry),
                         nullptr)) {
    return -1;
  }
  long count = 0;
  for (const GdiEntry& entry : entries) {
    const bool stock = (entry.unique & 0x80) != 0;
    if (entry.type != 0 && entry.object != 0 && !stock) ++count;
  }
  return count;
}

}  // namespace

std::optional<ProcessFigures> FiguresOf(DWORD pid) {
  std::vector<unsigned char> buffer = QuerySystem(kSystemProcessInformation);
  if (buffer.empty()) return std::nullopt;
  for (std::size_t offset = 0;;) {
    const auto* entry = reinterpret_cast<const ProcessEntry*>(buffer.data() + offset);
    if (reinterpret_cast<ULONG_PTR>(entry->uniqueProcessId) == pid) {
      ProcessFigures figures;
      figures.cpuMs = static_cast<double>(entry->userTime.QuadPart + entry->kernelTime.QuadPart) /
                      10000.0;
      figures.privateKiB = static_cast<double>(std::max(entry->privatePageCount,
                                                        entry->pagefileUsage)) / 1024.0;
      figures.workingSetKiB = static_cast<double>(entry->workingSetSize) / 1024.0;
      figures.threads = static_cast<long>(entry->numberOfThreads);
      figures.handleCount = static_cast<long>(entry->handleCount);
      figures.handlesInTable = HandlesInTable(pid);
      figures.gdiObjects = GdiObjectsOf(pid);
      figures.windows = WindowCountOf(pid);
      return figures;
    }
    if (entry->nextEntryOffset == 0) return std::nullopt;
    offset += entry->nextEntryOffset;
  }
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
