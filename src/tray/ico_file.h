// Reading an ICO file's directory: which image an icon is made from, and where
// that image lies in the file. Needs no Win32, so it is checked natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace vornik {

struct IcoImage {
  std::size_t offset = 0;  // of the image in the file
  std::size_t size = 0;
  // From the image's BITMAPINFOHEADER: the stored height covers the colour
  // bits and the mask, so the icon is half as tall.
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint16_t bitCount = 0;
};

// The image to make an icon from: the first directory entry with at least 16
// colours and the preferred width, else the last entry. None when the header is
// not an icon's or cursor's, there are no images, or the directory or the
// chosen image reach past the end of the file. Reads nothing outside `bytes`.
std::optional<IcoImage> ChooseIcoImage(const unsigned char* bytes, std::size_t size,
                                       int preferredWidth);

}  // namespace vornik
