// Splitting the running executable's path into its folder and file name.
#pragma once

#include <string>
#include <string_view>

namespace vornik {

struct ModulePath {
  std::string directory;  // without a trailing backslash
  std::string fileName;   // with extension
};

// Cuts at the last backslash. The path is in GBK, where the second byte of a
// double-byte character may be 0x5C, so lead bytes are stepped over.
ModulePath SplitModulePath(std::string_view path);

}  // namespace vornik
