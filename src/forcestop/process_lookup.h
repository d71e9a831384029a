// The process utilities of the force stop: the executable name behind a
// process id, and the termination of that process.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace vornik {

// The executable file name (no path, ANSI code page) of the process with this
// id, from a fresh process snapshot; empty when the id is not listed.
std::string ExeNameOfProcess(std::uint32_t processId);

// Terminates the process with exit code 0. Returns what TerminateProcess
// returned (1 on success), or 0 when the process could not be opened. Id 0
// stands for no process and is never terminated.
std::int32_t TerminateProcessById(std::uint32_t processId);

// How the full path of an open process's executable is read:
// QueryFullProcessImageNameA, or a stand-in in the tests.
using ImagePathQuery = BOOL(WINAPI*)(HANDLE process, DWORD flags, LPSTR path, PDWORD size);

struct Termination {
  std::string name;     // executable file name; empty when none was found
  std::int32_t result;  // what TerminateProcess returned; 0 when nothing was terminated
};

// Names and terminates the process with this id (exit code 0). The process is
// opened once, and that one handle gives both its executable's name and the
// termination, so no other process can take over the id in between. The
// process list is read only for a process that cannot be opened or queried.
// A process that has ended, or that is not listed, gives the empty name and
// is not terminated. Id 0 is never terminated.
Termination TerminateNamedProcess(std::uint32_t processId,
                                  ImagePathQuery queryImagePath = QueryFullProcessImageNameA);

}  // namespace vornik
