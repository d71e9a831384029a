#include "tray/ico_file.h"

namespace vornik {

namespace {

constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kEntrySize = 16;
constexpr std::size_t kInfoHeaderSize = 40;  // BITMAPINFOHEADER

std::uint16_t Word(const unsigned char* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t Dword(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace

std::optional<IcoImage> ChooseIcoImage(const unsigned char* bytes, std::size_t size,
                                       int preferredWidth) {
  if (bytes == nullptr || size < kHeaderSize) return std::nullopt;
  const std::uint16_t reserved = Word(bytes);
  const std::uint16_t type = Word(bytes + 2);
  const std::uint16_t count = Word(bytes + 4);
  if (reserved != 0 || (type != 1 && type != 2) || count == 0) return std::nullopt;
  if (size - kHeaderSize < count * kEntrySize) return std::nullopt;

  const unsigned char* chosen = nullptr;
  for (std::size_t i = 0; i < count; ++i) {
    chosen = bytes + kHeaderSize + i * kEntrySize;
    const unsigned char width = chosen[0];
    const unsigned char colourCount = chosen[2];
    if (colourCount >= 16 && width == preferredWidth) break;
  }

  IcoImage image;
  image.size = Dword(chosen + 8);
  image.offset = Dword(chosen + 12);
  // Both checks without overflow: offset + size may exceed size_t on 32 bits.
  if (image.offset > size || image.size > size - image.offset) return std::nullopt;
  // A picture without its header cannot be an icon image.
  if (image.size < kInfoHeaderSize) return std::nullopt;

  const unsigned char* header = bytes + image.offset;
  image.width = static_cast<std::int32_t>(Dword(header + 4));
  image.height = static_cast<std::int32_t>(Dword(header + 8)) / 2;
  image.bitCount = Word(header + 14);
  return image;
}

}  // namespace vornik
