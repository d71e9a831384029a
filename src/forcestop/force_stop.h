// What Control+Windows+Delete does: terminate the program that owns the
// foreground window and report the outcome.
#pragma once

#include <string>

namespace vornik {

// The force-stop branch of OnHotkey: reads the show-result switch, runs the
// action and, when the switch was on, shows the result box and waits for it.
void ForceStopResponse();

// Terminates the process owning the foreground window. Leaves the report's
// title and icon in LastResultTitle and LastResultIcon and returns its text.
// Shows nothing.
std::string ForceStopAction();

}  // namespace vornik
