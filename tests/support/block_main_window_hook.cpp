// A global CBT hook that refuses the creation of Vornik's main window, so a test
// can watch what the program does when its window cannot be created.
#include <windows.h>

#include <cstring>

#include "common/ids.h"

extern "C" __declspec(dllexport) LRESULT CALLBACK BlockMainWindowProc(int code, WPARAM wParam,
                                                                        LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    const auto* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam);
    const char* className = create->lpcs->lpszClass;
    // Class atoms arrive as small integers, not strings.
    if (HIWORD(reinterpret_cast<ULONG_PTR>(className)) != 0 &&
        std::strcmp(className, vornik::ids::kMainWindowClass) == 0) {
      return 1;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
