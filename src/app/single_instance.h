// Refuses a second copy of the program while one runs, through a named event
// that the first copy creates and holds until it ends.
#pragma once

#include <cstdint>

namespace vornik {

// Returns when no other copy holds `eventName`; otherwise shows `message` and
// ends the process with exit code 0.
void SingleInstanceGuard(const char* eventName, const char* message, std::uint32_t style);

}  // namespace vornik
