#include "forcestop/process_lookup.h"

#include <windows.h>
#include <tlhelp32.h>

#include <cstring>

#include "common/owners.h"

namespace vornik {

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

}  // namespace vornik
