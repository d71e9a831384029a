/* A stand-in for a DLL an attacker drops beside Vornik.exe under the name of a
   system DLL (copied there as winmm.dll or version.dll). It exports nothing.
   Loading it leaves a mark, a file beside it: "<its path>.loaded" when a
   program loads it at run time, "<its path>.loaded-at-start" when the loader
   brings it in while the process starts, through some module's import table.
   No C runtime: its start-up would run in every process it is loaded into. */
#include <windows.h>

BOOL WINAPI PlantedDllEntry(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  static const char kAtRunTime[] = ".loaded";
  static const char kAtStart[] = ".loaded-at-start";
  char mark[MAX_PATH + sizeof kAtStart];
  DWORD length;
  HANDLE file;
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  length = GetModuleFileNameA(instance, mark, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return TRUE;
  /* Non-null for the DLLs loaded with the process, null for LoadLibrary. */
  lstrcpyA(mark + length, reserved ? kAtStart : kAtRunTime);
  file = CreateFileA(mark, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  return TRUE;
}
