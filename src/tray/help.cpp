#include "tray/help.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "common/message_box.h"
#include "common/process_paths.h"
#include "common/texts.h"
#include "tray/help_text.h"

namespace vornik {

namespace {

constexpr std::uint32_t kInformationOk = 64;  // MB_OK | MB_ICONINFORMATION

std::string TableKey(const std::vector<char>& block) {
  void* value = nullptr;
  UINT length = 0;
  if (VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &value, &length) && value &&
      length >= 2 * sizeof(WORD)) {
    const auto* pair = static_cast<const WORD*>(value);
    return VersionTableKey(pair[0], pair[1]);
  }
  return kDefaultVersionTableKey;
}

// One string of the table, cut to the longest the help message takes.
std::string QueryString(const std::vector<char>& block, const std::string& key, const char* name) {
  const std::string subBlock = "\\StringFileInfo\\" + key + "\\" + name;
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), subBlock.c_str(), &value, &length) || !value) return {};
  // The reported length counts characters, not bytes; the text ends at its
  // zero, and never beyond the block.
  const char* text = static_cast<const char*>(value);
  const char* blockEnd = block.data() + block.size();
  if (text < block.data() || text >= blockEnd) return {};
  const std::size_t bytes = strnlen(text, static_cast<std::size_t>(blockEnd - text));
  return CutGbkText(std::string_view(text, bytes), kMaxVersionStringBytes);
}

}  // namespace

VersionStrings ReadVersionStrings(const char* path) {
  const DWORD size = GetFileVersionInfoSizeA(path, nullptr);
  if (size == 0) return {};
  std::vector<char> block(size);
  if (!GetFileVersionInfoA(path, 0, size, block.data())) return {};
  const std::string key = TableKey(block);
  return {QueryString(block, key, "FileVersion"), QueryString(block, key, "CompanyName")};
}

void ShowHelp() {
  const std::string path = RunDirectory() + "\\" + ExecutableFileName();
  const VersionStrings version = ReadVersionStrings(path.c_str());
  const std::string text =
      FormatText(texts::kHelpFormat, {version.fileVersion, version.companyName});
  ShowMessage(text.c_str(), texts::kHelpTitle, kInformationOk);
}

}  // namespace vornik
