// Builds a version resource (VS_VERSIONINFO) and writes it into an exe on
// disk, so that a test can give a copy of the program any version strings.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace test {

struct VersionStringTable {
  std::string key;  // language and code page, e.g. "080404b0"
  std::vector<std::pair<std::string, std::string>> strings;  // ANSI name, ANSI value
};

struct VersionInfo {
  // Language and code page of the translation table; none leaves it out.
  std::optional<std::pair<WORD, WORD>> translation;
  std::vector<VersionStringTable> tables;
};

// The resource's bytes, strings stored as UTF-16 as resource compilers do.
std::string VersionResourceBytes(const VersionInfo& info);

// Replaces the exe's version resource (number 1, language 0x0804) with
// `bytes`; empty `bytes` leave the exe without any resources at all.
bool WriteVersionResource(const std::string& exePath, const std::string& bytes);

}  // namespace test
