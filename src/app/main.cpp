// Process entry: from start to the message loop.
#include <windows.h>
#include <ole2.h>

#include "app/lifecycle.h"
#include "app/main_window.h"
#include "app/on_created.h"
#include "common/message_box.h"
#include "common/process_paths.h"
#include "common/system_library.h"
#include "common/texts.h"
#include "forcestop/last_result.h"

using namespace vornik;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // Before anything loads a DLL: none from this folder, which may be Downloads.
  RestrictDllSearchToSystem();
  SetCurrentDirectoryA(RunDirectory().c_str());
  // The start-with-Windows shortcut creates a COM object on this thread.
  OleInitialize(nullptr);
  AddCleanup(ShutdownCleanup);

  if (!CreateMainWindow(instance)) {
    ShowMessage(texts::kNoWindowError, texts::kNoWindowErrorTitle, MB_ICONERROR);
    ClearCleanupList();
    EndProgram(-1);
  }
  OnMainWindowCreated();

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  // Only a close from outside gets here: the window is gone, so is the icon.
  EndProgram(static_cast<int>(message.wParam));
}
