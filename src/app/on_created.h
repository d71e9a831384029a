#pragma once

namespace vornik {

// The start-up steps of every subsystem, in their fixed order. Runs once,
// right after MainWindow exists and before the message loop starts.
void OnMainWindowCreated();

}  // namespace vornik
