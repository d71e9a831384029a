// The help message: what the hotkeys do, with the version and maker read from
// the executable file's version resource each time it is asked for.
#pragma once

#include <string>

namespace vornik {

struct VersionStrings {
  std::string fileVersion;  // at most 255 bytes; empty when absent
  std::string companyName;  // at most 255 bytes; empty when absent
};

// FileVersion and CompanyName of the file's version resource, from the string
// table its translation table names ("040904E4" when it has none).
VersionStrings ReadVersionStrings(const char* path);

// Handler of HelpItem.
void ShowHelp();

}  // namespace vornik
