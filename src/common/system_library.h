// DLLs that are not among the system's known DLLs are looked for along the DLL
// search path, which starts at the executable's own folder: one of the same
// name dropped there (a Downloads folder) would be loaded in their place. So
// such DLLs are not imported; they are loaded from the system directory only.
#pragma once

#include <windows.h>

#include "common/owners.h"

namespace vornik {

// Narrows the search for every DLL loaded from now on, by this program or by
// the system's DLLs on its behalf, to the system directory. First thing at entry.
void RestrictDllSearchToSystem();

// The DLL `name` (e.g. "winmm.dll") from the system directory; null when it
// is not there.
UniqueModule LoadSystemLibrary(const char* name);

// An exported function as its own pointer type; null when the DLL lacks it.
template <typename Function>
Function ExportedFunction(HMODULE module, const char* name) {
  // Through void*: a FARPROC does not convert to a typed pointer without a
  // function-type cast warning.
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace vornik
