#include "common/system_library.h"

#include <string>

namespace vornik {

void RestrictDllSearchToSystem() {
  // Looked up, not imported: Windows 7 has it only with update KB2533623.
  const auto setDefaultDllDirectories = ExportedFunction<decltype(&SetDefaultDllDirectories)>(
      GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
  if (setDefaultDllDirectories && setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
  // Without it, at least the current directory leaves the search path.
  SetDllDirectoryA("");
}

UniqueModule LoadSystemLibrary(const char* name) {
  char directory[MAX_PATH];
  const UINT length = GetSystemDirectoryA(directory, sizeof directory);
  if (length == 0 || length >= sizeof directory) return UniqueModule();
  // By its full path: a module of the same name that something else brought
  // into the process is not taken for it.
  const std::string path = std::string(directory, length) + "\\" + name;
  // Its own imports from the system directory too; a system that does not
  // know the flag looks for them in the DLL's folder first.
  UniqueModule module(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
  if (!module) module.reset(LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
  return module;
}

}  // namespace vornik
