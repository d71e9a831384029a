// The title and icon of the most recent force stop's report.
#pragma once

#include <cstdint>
#include <string>

namespace vornik {

extern std::string LastResultTitle;
extern std::int32_t LastResultIcon;  // MB_ICONINFORMATION (64) or MB_ICONERROR (16)

// Releases LastResultTitle; run by EndProgram.
void ShutdownCleanup();

}  // namespace vornik
