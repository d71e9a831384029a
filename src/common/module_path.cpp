#include "common/module_path.h"

namespace vornik {

namespace {

// GBK lead bytes are 0x81..0xFE; the byte after one is never a separator.
bool IsGbkLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

}  // namespace

ModulePath SplitModulePath(std::string_view path) {
  std::size_t lastSeparator = std::string_view::npos;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (IsGbkLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size()) {
      ++i;
      continue;
    }
    if (path[i] == '\\') lastSeparator = i;
  }
  if (lastSeparator == std::string_view::npos) return {std::string(), std::string(path)};
  return {std::string(path.substr(0, lastSeparator)), std::string(path.substr(lastSeparator + 1))};
}

}  // namespace vornik
