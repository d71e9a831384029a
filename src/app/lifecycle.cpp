#include "app/lifecycle.h"

#include <windows.h>
#include <ole2.h>

#include <algorithm>
#include <vector>

#include "app/main_window.h"
#include "app/pause_clock.h"
#include "assets/clips.h"
#include "assets/playback.h"
#include "common/ids.h"

namespace vornik {

namespace {

std::vector<CleanupRoutine>& CleanupList() {
  static std::vector<CleanupRoutine> list;
  return list;
}

}  // namespace

void AddCleanup(CleanupRoutine routine) {
  auto& list = CleanupList();
  if (std::find(list.begin(), list.end(), routine) == list.end()) list.push_back(routine);
}

void ClearCleanupList() { CleanupList().clear(); }

void ProcessPendingEvents() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE) && message.message != WM_QUIT) {
    GetMessageA(&message, nullptr, 0, 0);
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void PauseWithEvents(int milliseconds) {
  if (milliseconds <= 0) return;
  const DWORD start = GetTickCount();
  for (;;) {
    ProcessPendingEvents();
    ProcessPendingEvents();
    if (PauseOver(start, GetTickCount(), static_cast<DWORD>(milliseconds))) return;
    ProcessPendingEvents();
    ProcessPendingEvents();
  }
}

void ExitSequence() {
  PlayClip(assets::ExitClip, assets::ExitClipSize, false);
  PauseWithEvents(ids::kExitPauseMs);
  DestroyWindow(MainWindow());
  EndProgram(0);
}

void EndProgram(int exitCode) {
  for (CleanupRoutine routine : CleanupList()) routine();
  // Cuts off what still plays and waits until every device is closed.
  StopAllClips();
  OleUninitialize();
  ExitProcess(static_cast<UINT>(exitCode));
}

}  // namespace vornik
