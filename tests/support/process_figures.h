// What a process holds, read from outside: kernel handles, GDI and USER
// objects, private bytes. Wine answers some of the usual calls with 0 for
// another process, so each figure says where it came from.
#pragma once

#include <windows.h>

#include <string>

namespace test {

struct ProcessFigures {
  long long handles = -1;         // the process list's handle count (stuck under Wine)
  long long handleTable = -1;     // entries of the system handle table
  long long gdiObjects = -1;      // GetGuiResources, else Wine's GDI handle table
  long long userObjects = -1;     // GetGuiResources; -1 when it answers 0 (Wine)
  long long windows = -1;         // its windows, top-level and children
  long long privateBytes = -1;    // the process list's private bytes
  long long workingSet = -1;      // resident bytes
  long long threads = -1;
  double cpuMs = -1;              // user + kernel time, from the process list

  std::string Describe() const;
};

ProcessFigures ReadProcessFigures(DWORD pid);

}  // namespace test
