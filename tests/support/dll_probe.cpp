// Loads winmm.dll and version.dll by name along the default search path, which
// starts at this program's own folder: the way a program that imports them
// gets them. Exits with the number of the two that could be loaded.
#include <windows.h>

#include <initializer_list>

int main() {
  int loaded = 0;
  for (const char* name : {"winmm.dll", "version.dll"}) {
    if (LoadLibraryA(name)) ++loaded;
  }
  return loaded;
}
