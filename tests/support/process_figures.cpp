#include "process_figures.h"

#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace test {

namespace {

using QuerySystemInformation = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);

constexpr ULONG kSystemProcessInformation = 5;
constexpr ULONG kSystemExtendedHandleInformation = 64;
constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);

// The process list's entry, as the system lays it out (threads follow).
struct ProcessEntry {
  ULONG nextEntryOffset;
  ULONG threadCount;
  LARGE_INTEGER reserved[3];
  LARGE_INTEGER createTime;
  LARGE_INTEGER userTime;
  LARGE_INTEGER kernelTime;
  USHORT nameLength;
  USHORT nameMaximumLength;
  PWSTR nameBuffer;
  LONG basePriority;
  HANDLE processId;
  HANDLE parentProcessId;
  ULONG handleCount;
  ULONG sessionId;
  ULONG_PTR processKey;
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
  ULONG_PTR processId;
  ULONG_PTR handleValue;
  ULONG grantedAccess;
  USHORT creatorBackTraceIndex;
  USHORT objectTypeIndex;
  ULONG handleAttributes;
  ULONG reserved;
};

QuerySystemInformation QueryFunction() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return reinterpret_cast<QuerySystemInformation>(
      reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQuerySystemInformation")));
}

// The whole answer of one information class, grown until it fits.
std::vector<std::uint8_t> Query(ULONG informationClass) {
  QuerySystemInformation query = QueryFunction();
  std::vector<std::uint8_t> buffer(1 << 16);
  if (!query) return {};
  for (int attempt = 0; attempt < 12; ++attempt) {
    ULONG needed = 0;
    const LONG status =
        query(informationClass, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    if (status == kInfoLengthMismatch) {
      buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 4096));
      continue;
    }
    if (status < 0) return {};
    return buffer;
  }
  return {};
}

void ReadProcessList(DWORD pid, ProcessFigures& figures) {
  const std::vector<std::uint8_t> list = Query(kSystemProcessInformation);
  size_t offset = 0;
  while (offset + sizeof(ProcessEntry) <= list.size()) {
    const auto* entry = reinterpret_cast<const ProcessEntry*>(list.data() + offset);
    if (reinterpret_cast<ULONG_PTR>(entry->processId) == pid) {
      figures.handles = entry->handleCount;
      figures.threads = entry->threadCount;
      // 100 ns units. Under Wine GetProcessTimes on another process answers
      // with the caller's own times; the list has the real ones.
      figures.cpuMs = static_cast<double>(entry->userTime.QuadPart + entry->kernelTime.QuadPart) /
                      10000.0;
      // Wine leaves the private count at 0 for other processes; its
      // page-file figure is the process's anonymous (private) memory.
      const SIZE_T privateBytes =
          entry->privatePageCount != 0 ? entry->privatePageCount : entry->pagefileUsage;
      if (privateBytes != 0) figures.privateBytes = static_cast<long long>(privateBytes);
      if (entry->workingSetSize != 0) figures.workingSet = static_cast<long long>(entry->workingSetSize);
      return;
    }
    if (entry->nextEntryOffset == 0) return;
    offset += entry->nextEntryOffset;
  }
}

void ReadHandleTable(DWORD pid, ProcessFigures& figures) {
  const std::vector<std::uint8_t> table = Query(kSystemExtendedHandleInformation);
  if (table.size() < 2 * sizeof(ULONG_PTR)) return;
  const ULONG_PTR count = *reinterpret_cast<const ULONG_PTR*>(table.data());
  const auto* entries = reinterpret_cast<const HandleEntry*>(table.data() + 2 * sizeof(ULONG_PTR));
  const size_t fits = (table.size() - 2 * sizeof(ULONG_PTR)) / sizeof(HandleEntry);
  long long own = 0;
  for (size_t i = 0; i < count && i < fits; ++i) {
    if (entries[i].processId == pid) ++own;
  }
  figures.handleTable = own;
}

struct WindowCount {
  DWORD pid;
  long long count;
};

BOOL CALLBACK CountChild(HWND window, LPARAM context) {
  auto* counted = reinterpret_cast<WindowCount*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == counted->pid) ++counted->count;
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM context) {
  CountChild(window, context);
  EnumChildWindows(window, CountChild, context);
  return TRUE;
}

using QueryProcessInformation = LONG(WINAPI*)(HANDLE, ULONG, void*, ULONG, ULONG*);

// Wine keeps each process's GDI handles in a table that the process environment
// block points at (GdiSharedHandleTable), one 24-byte entry per handle with its
// object type in byte 14 (0 marks a free entry) and, in byte 12, a flag for the
// stock objects every process shares; those are left out, as Windows does.
constexpr size_t kGdiTableOffsetInPeb = 0xF8;
constexpr size_t kGdiEntrySize = 24;
constexpr size_t kGdiUniqueOffset = 12;
constexpr std::uint8_t kGdiStockFlag = 0x80;
constexpr size_t kGdiTypeOffset = 14;
constexpr size_t kGdiEntries = 0x10000;

void ReadGdiTable(HANDLE process, ProcessFigures& figures) {
  auto query = reinterpret_cast<QueryProcessInformation>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION basic = {};
  if (!query || query(process, 0, &basic, sizeof basic, nullptr) < 0) return;
  const auto* peb = reinterpret_cast<const std::uint8_t*>(basic.PebBaseAddress);
  void* table = nullptr;
  if (!ReadProcessMemory(process, peb + kGdiTableOffsetInPeb, &table, sizeof table, nullptr) ||
      !table) {
    return;
  }
  std::vector<std::uint8_t> entries(kGdiEntries * kGdiEntrySize);
  SIZE_T read = 0;
  if (!ReadProcessMemory(process, table, entries.data(), entries.size(), &read) ||
      read != entries.size()) {
    return;
  }
  long long used = 0;
  for (size_t i = 0; i < kGdiEntries; ++i) {
    const std::uint8_t* entry = &entries[i * kGdiEntrySize];
    if (entry[kGdiTypeOffset] != 0 && !(entry[kGdiUniqueOffset] & kGdiStockFlag)) ++used;
  }
  figures.gdiObjects = used;
}

}  // namespace

ProcessFigures ReadProcessFigures(DWORD pid) {
  ProcessFigures figures;
  ReadProcessList(pid, figures);
  ReadHandleTable(pid, figures);
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (process) {
    const DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
    const DWORD user = GetGuiResources(process, GR_USEROBJECTS);
    if (gdi != 0) {
      figures.gdiObjects = gdi;
    } else {
      ReadGdiTable(process, figures);  // Wine answers 0
    }
    if (user != 0) figures.userObjects = user;
    CloseHandle(process);
  }
  WindowCount counted{pid, 0};
  EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&counted));
  figures.windows = counted.count;
  return figures;
}

std::string ProcessFigures::Describe() const {
  auto figure = [](long long value) {
    return value < 0 ? std::string("n/a") : std::to_string(value);
  };
  return "handles " + figure(handles) + ", handle-table entries " + figure(handleTable) +
         ", GDI objects " + figure(gdiObjects) + ", USER objects " + figure(userObjects) +
         ", windows " + figure(windows) + ", threads " + figure(threads) + ", private bytes " +
         figure(privateBytes) + ", working set " + figure(workingSet);
}

}  // namespace test
