#include "pe_file.h"

namespace test {

namespace {

constexpr std::size_t kCoffHeaderSize = 20;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kImportDescriptorSize = 20;
constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr std::uint32_t kImportDirectory = 1;
constexpr std::uint32_t kBaseRelocationDirectory = 5;
constexpr std::uint32_t kDelayImportDirectory = 13;

// Little-endian reads that fail, rather than read past the end.
class Reader {
 public:
  explicit Reader(const std::string& bytes) : bytes_(bytes) {}

  bool Fits(std::size_t offset, std::size_t size) const {
    return offset <= bytes_.size() && size <= bytes_.size() - offset;
  }
  std::uint32_t Read(std::size_t offset, std::size_t size, bool& ok) const {
    if (!Fits(offset, size)) {
      ok = false;
      return 0;
    }
    std::uint32_t value = 0;
    for (std::size_t i = size; i-- > 0;) {
      value = value << 8 | static_cast<unsigned char>(bytes_[offset + i]);
    }
    return value;
  }
  // A zero-terminated string that ends inside the bytes.
  std::optional<std::string> Text(std::size_t offset) const {
    if (offset >= bytes_.size()) return std::nullopt;
    const std::size_t end = bytes_.find('\0', offset);
    if (end == std::string::npos) return std::nullopt;
    return bytes_.substr(offset, end - offset);
  }

 private:
  const std::string& bytes_;
};

struct SectionPlace {
  std::uint32_t virtualAddress = 0;
  std::uint32_t virtualSize = 0;
  std::uint32_t rawOffset = 0;
  std::uint32_t rawSize = 0;
};

// The file offset of an address relative to the image base.
std::optional<std::size_t> FileOffsetOf(const std::vector<SectionPlace>& places,
                                        std::uint32_t rva) {
  for (const SectionPlace& place : places) {
    if (rva >= place.virtualAddress && rva - place.virtualAddress < place.rawSize) {
      return std::size_t{place.rawOffset} + (rva - place.virtualAddress);
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<PeFile> ReadPeFile(const std::string& bytes) {
  const Reader in(bytes);
  bool ok = true;
  if (bytes.compare(0, 2, "MZ") != 0) return std::nullopt;
  const std::size_t pe = in.Read(0x3C, 4, ok);
  if (!ok || !in.Fits(pe, 4) || bytes.compare(pe, 4, std::string("PE\0\0", 4)) != 0) {
    return std::nullopt;
  }

  PeFile file;
  const std::size_t coff = pe + 4;
  file.machine = static_cast<std::uint16_t>(in.Read(coff, 2, ok));
  const std::uint32_t sectionCount = in.Read(coff + 2, 2, ok);
  const std::uint32_t optionalSize = in.Read(coff + 16, 2, ok);
  file.characteristics = static_cast<std::uint16_t>(in.Read(coff + 18, 2, ok));

  const std::size_t optional = coff + kCoffHeaderSize;
  const std::uint32_t magic = in.Read(optional, 2, ok);
  if (!ok || (magic != kPe32Magic && magic != kPe32PlusMagic)) return std::nullopt;
  file.is64 = magic == kPe32PlusMagic;
  file.dllCharacteristics = static_cast<std::uint16_t>(in.Read(optional + 70, 2, ok));
  const std::size_t directoryCountAt = optional + (file.is64 ? 108 : 92);
  const std::uint32_t directoryCount = in.Read(directoryCountAt, 4, ok);
  const auto directory = [&](std::uint32_t index, std::uint32_t field) -> std::uint32_t {
    if (index >= directoryCount) return 0;
    return in.Read(directoryCountAt + 4 + 8 * index + 4 * field, 4, ok);
  };
  const std::uint32_t importRva = directory(kImportDirectory, 0);
  file.baseRelocationSize = directory(kBaseRelocationDirectory, 1);
  file.delayImportSize = directory(kDelayImportDirectory, 1);

  std::vector<SectionPlace> places;
  const std::size_t sectionTable = optional + optionalSize;
  for (std::uint32_t i = 0; i < sectionCount && ok; ++i) {
    const std::size_t header = sectionTable + i * kSectionHeaderSize;
    if (!in.Fits(header, kSectionHeaderSize)) return std::nullopt;
    PeSection section;
    const std::string name = bytes.substr(header, 8);
    section.name = name.substr(0, name.find('\0'));
    section.characteristics = in.Read(header + 36, 4, ok);
    file.sections.push_back(section);
    places.push_back({in.Read(header + 12, 4, ok), in.Read(header + 8, 4, ok),
                      in.Read(header + 20, 4, ok), in.Read(header + 16, 4, ok)});
  }
  if (!ok) return std::nullopt;

  if (importRva != 0) {
    const auto table = FileOffsetOf(places, importRva);
    if (!table) return std::nullopt;
    for (std::size_t at = *table;; at += kImportDescriptorSize) {
      if (!in.Fits(at, kImportDescriptorSize)) return std::nullopt;
      const std::uint32_t nameRva = in.Read(at + 12, 4, ok);
      if (nameRva == 0) break;  // the all-zero entry that ends the table
      const auto nameAt = FileOffsetOf(places, nameRva);
      const auto name = nameAt ? in.Text(*nameAt) : std::nullopt;
      if (!name) return std::nullopt;
      file.imports.push_back(*name);
    }
  }
  return file;
}

}  // namespace test
