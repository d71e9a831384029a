// Where the running executable lives. Every file path of the program is built
// from these.
#pragma once

#include <string>

namespace vornik {

std::string RunDirectory();        // without a trailing backslash
std::string ExecutableFileName();  // file name with extension
std::string ExecutablePath();      // RunDirectory + "\" + ExecutableFileName

}  // namespace vornik
