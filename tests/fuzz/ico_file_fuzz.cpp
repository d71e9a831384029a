// libFuzzer target: choosing an icon's image from an ICO file's directory.
#include <cstddef>
#include <cstdint>

#include "fuzz_check.h"
#include "tray/ico_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  // The widths the tray asks for, and one no entry has.
  for (const int width : {16, 32, 1000}) {
    const auto image = vornik::ChooseIcoImage(bytes, size, width);
    if (!image) continue;
    fuzz::Check(image->offset <= size && image->size <= size - image->offset,
                "the chosen image lies within the bytes");
    fuzz::Check(image->size >= 40, "the chosen image holds its header");
    // What the icon is made from: the image's bytes, all of them.
    fuzz::Touch(bytes + image->offset, image->size);
  }
  return 0;
}
