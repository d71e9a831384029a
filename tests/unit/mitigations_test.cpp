// The two Windows executables as built, read from their files: they ask the
// loader for address-space randomisation and no-execute data, hold no section
// that is both writable and executable, carry the stack protector's runtime,
// and import only DLLs the system always takes from its own directory.
#include <doctest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <set>
#include <sstream>

#include "pe_file.h"

using test::PeFile;
using test::ReadPeFile;

namespace {

constexpr std::uint16_t kRelocationsStripped = 0x0001;  // IMAGE_FILE_RELOCS_STRIPPED
constexpr std::uint16_t kHighEntropyVa = 0x0020;
constexpr std::uint16_t kDynamicBase = 0x0040;
constexpr std::uint16_t kNxCompatible = 0x0100;
constexpr std::uint32_t kExecutable = 0x20000000;  // IMAGE_SCN_MEM_EXECUTE
constexpr std::uint32_t kWritable = 0x80000000;    // IMAGE_SCN_MEM_WRITE

struct Build {
  std::string name;
  const char* path;
  std::uint16_t machine;
  bool is64;
};

const Build kBuilds[] = {
    {"64-bit test build", VORNIK_WIN64_EXE, 0x8664, true},
    {"32-bit product", VORNIK_PRODUCT_EXE, 0x014C, false},
};

std::string FileBytes(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

PeFile Read(const Build& build) {
  INFO("missing? build the Windows presets first: scripts/build.sh win64 product");
  const auto file = ReadPeFile(FileBytes(build.path));
  REQUIRE(file.has_value());
  REQUIRE(file->machine == build.machine);
  REQUIRE(file->is64 == build.is64);
  return *file;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

}  // namespace

TEST_CASE("both builds ask for ASLR (high-entropy on 64 bits) and DEP, and keep relocations") {
  for (const Build& build : kBuilds) {
    CAPTURE(build.name);
    const PeFile file = Read(build);
    CHECK((file.dllCharacteristics & kDynamicBase) != 0);
    CHECK((file.dllCharacteristics & kNxCompatible) != 0);
    if (build.is64) CHECK((file.dllCharacteristics & kHighEntropyVa) != 0);
    // Without its relocations an image cannot be moved, whatever it asks for.
    CHECK((file.characteristics & kRelocationsStripped) == 0);
    CHECK(file.baseRelocationSize > 0);
  }
}

TEST_CASE("no section of either build is both writable and executable") {
  for (const Build& build : kBuilds) {
    CAPTURE(build.name);
    const PeFile file = Read(build);
    bool hasCode = false;
    for (const test::PeSection& section : file.sections) {
      CAPTURE(section.name);
      CHECK((section.characteristics & (kWritable | kExecutable)) != (kWritable | kExecutable));
      hasCode = hasCode || (section.characteristics & kExecutable) != 0;
    }
    CHECK(hasCode);
  }
}

TEST_CASE("both builds check stack canaries: the stack protector's runtime is linked in") {
  // libssp's failure report; it is only linked when compiled code calls it.
  for (const Build& build : kBuilds) {
    CAPTURE(build.name);
    CHECK(FileBytes(build.path).find("*** stack smashing detected ***") != std::string::npos);
  }
}

TEST_CASE("both builds import only known DLLs: none can be planted beside the exe") {
  // Windows maps these from its own directory whatever the search path says
  // (the KnownDLLs of Windows 7 and later). No MinGW runtime DLLs either.
  const std::set<std::string> known = {"advapi32.dll", "comdlg32.dll", "gdi32.dll",
                                       "imm32.dll",    "kernel32.dll", "msvcrt.dll",
                                       "ole32.dll",    "oleaut32.dll", "rpcrt4.dll",
                                       "shell32.dll",  "shlwapi.dll",  "user32.dll",
                                       "ws2_32.dll"};
  for (const Build& build : kBuilds) {
    CAPTURE(build.name);
    const PeFile file = Read(build);
    CHECK(!file.imports.empty());
    for (const std::string& dll : file.imports) {
      CAPTURE(dll);
      CHECK(known.count(Lower(dll)) == 1);
    }
    CHECK(file.delayImportSize == 0);
  }
}
