#include "forcestop/process_lookup.h"

#include <tlhelp32.h>

#include <cstring>

#include "common/module_path.h"
#include "common/owners.h"

namespace vornik {

namespace {

// Terminate and read the name through one handle; SYNCHRONIZE tells whether
// the process has already ended.
constexpr DWORD kForceStopAccess =
    PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE;

bool HasEnded(HANDLE process) { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }

// Empty when the query fails, for example for a path longer than the buffer.
std::string ExeNameOfOpenProcess(HANDLE process, ImagePathQuery queryImagePath) {
  char path[1024] = {};
  DWORD size = sizeof path;
  if (!queryImagePath(process, 0, path, &size)) return {};
  return SplitModulePath(std::string_view(path, strnlen(path, sizeof path))).fileName;
}

}  // namespace

std::string ExeNameOfProcess(std::uint32_t processId) {
  // A snapshot that could not be taken makes the first step fail: an empty walk.
  UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  // Process32Next from the first step on: on a fresh snapshot it yields the
  // first entry.
  for (BOOL more = Process32Next(snapshot.get(), &entry); more;
       more = Process32Next(snapshot.get(), &entry)) {
    if (entry.th32ProcessID == processId) {
      // The field need not be terminated when the name fills all of it.
      return std::string(entry.szExeFile, strnlen(entry.szExeFile, sizeof entry.szExeFile));
    }
  }
  return {};
}

std::int32_t TerminateProcessById(std::uint32_t processId) {
  if (processId == 0) return 0;
  UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, processId));
  if (!process) return 0;
  // Does not return when the process is this one.
  return TerminateProcess(process.get(), 0);
}

Termination TerminateNamedProcess(std::uint32_t processId, ImagePathQuery queryImagePath) {
  UniqueHandle process(processId != 0 ? OpenProcess(kForceStopAccess, FALSE, processId) : nullptr);
  if (process && HasEnded(process.get())) return {{}, 0};

  std::string name = process ? ExeNameOfOpenProcess(process.get(), queryImagePath) : "";
  // The process list is the slow road: every snapshot reads every process.
  if (name.empty()) name = ExeNameOfProcess(processId);
  // Not listed: it has ended, and its id may already be another's.
  if (name.empty()) return {{}, 0};

  // Neither call returns when the process is this one.
  const std::int32_t result =
      process ? TerminateProcess(process.get(), 0) : TerminateProcessById(processId);
  return {std::move(name), result};
}

}  // namespace vornik
