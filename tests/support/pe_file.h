// Reads the headers of a Windows executable from its bytes: what the loader
// will be asked to do with it (relocate, forbid running data), its sections'
// protections, and the DLLs it imports. Needs no Win32, so the built files can
// be checked natively.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace test {

struct PeSection {
  std::string name;
  std::uint32_t characteristics = 0;  // IMAGE_SCN_*
};

struct PeFile {
  std::uint16_t machine = 0;
  std::uint16_t characteristics = 0;     // IMAGE_FILE_*
  bool is64 = false;                     // PE32+
  std::uint16_t dllCharacteristics = 0;  // IMAGE_DLLCHARACTERISTICS_*
  std::uint32_t baseRelocationSize = 0;
  std::uint32_t delayImportSize = 0;
  std::vector<PeSection> sections;
  std::vector<std::string> imports;  // DLL names, as the import table spells them
};

// Nothing when the bytes are not a PE image or a header, section or import
// name lies outside them.
std::optional<PeFile> ReadPeFile(const std::string& bytes);

}  // namespace test
