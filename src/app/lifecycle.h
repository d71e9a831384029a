// How the program ends: ExitSequence for the exit hotkey and the exit item,
// EndProgram for every end, and the message-pumping pause between them.
#pragma once

namespace vornik {

using CleanupRoutine = void (*)();

// Routines EndProgram runs, in the order they were added; adding one twice
// keeps the first.
void AddCleanup(CleanupRoutine routine);
void ClearCleanupList();

// Exit sound, a 300 ms pause that keeps handling messages, destruction of
// MainWindow, EndProgram(0).
[[noreturn]] void ExitSequence();

// Runs the clean-up list, stops the sounds, uninitialises OLE and ends the
// process with the given code.
[[noreturn]] void EndProgram(int exitCode);

// Busy-waits for the given time while dispatching every message that arrives,
// so hotkeys and tray clicks run nested inside the pause.
void PauseWithEvents(int milliseconds);

// Dispatches what is queued now, leaving a WM_QUIT where it is.
void ProcessPendingEvents();

}  // namespace vornik
