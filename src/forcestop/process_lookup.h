// The two process utilities of the force stop: the executable name behind a
// process id, and the termination of a process by its id.
#pragma once

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

}  // namespace vornik
