#include "tray/help.h"

#include <windows.h>

#include <cstring>
#include <optional>
#include <vector>

#include "common/message_box.h"
#include "common/process_paths.h"
#include "common/system_library.h"
#include "common/texts.h"
#include "tray/help_text.h"

namespace vornik {

namespace {

constexpr std::uint32_t kInformationOk = 64;  // MB_OK | MB_ICONINFORMATION

// version.dll's functions, from the system directory, for one reading: it is
// not imported (see common/system_library.h).
struct VersionFunctions {
  UniqueModule module;
  decltype(&GetFileVersionInfoSizeA) getInfoSize = nullptr;
  decltype(&GetFileVersionInfoA) getInfo = nullptr;
  decltype(&VerQueryValueA) queryValue = nullptr;
};

std::optional<VersionFunctions> LoadVersionFunctions() {
  VersionFunctions functions;
  functions.module = LoadSystemLibrary("version.dll");
  if (!functions.module) return std::nullopt;
  const HMODULE version = functions.module.get();
  using F = VersionFunctions;
  functions.getInfoSize =
      ExportedFunction<decltype(F::getInfoSize)>(version, "GetFileVersionInfoSizeA");
  functions.getInfo = ExportedFunction<decltype(F::getInfo)>(version, "GetFileVersionInfoA");
  functions.queryValue = ExportedFunction<decltype(F::queryValue)>(version, "VerQueryValueA");
  if (!functions.getInfoSize || !functions.getInfo || !functions.queryValue) return std::nullopt;
  return functions;
}

std::string TableKey(const VersionFunctions& version, const std::vector<char>& block) {
  void* value = nullptr;
  UINT length = 0;
  if (version.queryValue(block.data(), "\\VarFileInfo\\Translation", &value, &length) && value &&
      length >= 2 * sizeof(WORD)) {
    const auto* pair = static_cast<const WORD*>(value);
    return VersionTableKey(pair[0], pair[1]);
  }
  return kDefaultVersionTableKey;
}

// One string of the table, cut to the longest the help message takes.
std::string QueryString(const VersionFunctions& version, const std::vector<char>& block,
                        const std::string& key, const char* name) {
  const std::string subBlock = "\\StringFileInfo\\" + key + "\\" + name;
  void* value = nullptr;
  UINT length = 0;
  if (!version.queryValue(block.data(), subBlock.c_str(), &value, &length) || !value) return {};
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
  const std::optional<VersionFunctions> version = LoadVersionFunctions();
  if (!version) return {};
  const DWORD size = version->getInfoSize(path, nullptr);
  if (size == 0) return {};
  std::vector<char> block(size);
  if (!version->getInfo(path, 0, size, block.data())) return {};
  const std::string key = TableKey(*version, block);
  return {QueryString(*version, block, key, "FileVersion"),
          QueryString(*version, block, key, "CompanyName")};
}

void ShowHelp() {
  const std::string path = RunDirectory() + "\\" + ExecutableFileName();
  const VersionStrings version = ReadVersionStrings(path.c_str());
  const std::string text =
      FormatText(texts::kHelpFormat, {version.fileVersion, version.companyName});
  ShowMessage(text.c_str(), texts::kHelpTitle, kInformationOk);
}

}  // namespace vornik
