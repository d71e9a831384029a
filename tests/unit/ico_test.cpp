// The committed icon files byte by byte, and the choice of the image an icon is
// made from. Every input buffer is exactly as long as its bytes, so the
// sanitizer catches any read past its end.
#include <doctest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "assets/tray_icon_file.h"
#include "tray/ico_file.h"

namespace vornik::assets {
extern const unsigned char DefaultIcon16[];
extern const std::size_t DefaultIcon16Size;
extern const unsigned char DefaultIcon32[];
extern const std::size_t DefaultIcon32Size;
extern const unsigned char DefaultIcon48[];
extern const std::size_t DefaultIcon48Size;
extern const unsigned char DefaultIconGroup[];
extern const std::size_t DefaultIconGroupSize;
}  // namespace vornik::assets

using namespace vornik;
using Bytes = std::vector<unsigned char>;

namespace {

std::uint32_t U16(const unsigned char* p) { return p[0] | p[1] << 8; }
std::uint32_t U32(const unsigned char* p) {
  return U16(p) | static_cast<std::uint32_t>(U16(p + 2)) << 16;
}
std::int32_t I32(const unsigned char* p) { return static_cast<std::int32_t>(U32(p)); }

void Put16(Bytes& b, std::uint32_t v) {
  b.push_back(static_cast<unsigned char>(v));
  b.push_back(static_cast<unsigned char>(v >> 8));
}
void Put32(Bytes& b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

// A BITMAPINFOHEADER of an icon image: the stored height covers colour and mask.
struct InfoHeader {
  std::int32_t width, height;
  std::uint32_t planes, bitCount, compression, sizeImage;
};

InfoHeader ReadInfoHeader(const unsigned char* p) {
  REQUIRE(U32(p) == 40);
  return {I32(p + 4), I32(p + 8), U16(p + 12), U16(p + 14), U32(p + 16), U32(p + 20)};
}

// Whether pixel (x, y), top row first, lets the background through.
bool MaskSet(const unsigned char* mask, int size, int x, int y) {
  const int stride = (size + 31) / 32 * 4;
  return (mask[(size - 1 - y) * stride + x / 8] & (0x80 >> (x % 8))) != 0;
}

struct Entry {
  unsigned width, colours;
  std::uint32_t size, offset;
};

// An ICO file: header, the given entries, then `tail` bytes of zeros.
Bytes MakeIco(std::uint32_t reserved, std::uint32_t type, const std::vector<Entry>& entries,
              std::size_t tail, std::uint32_t count = ~0u) {
  Bytes b;
  Put16(b, reserved);
  Put16(b, type);
  Put16(b, count == ~0u ? static_cast<std::uint32_t>(entries.size()) : count);
  for (const Entry& e : entries) {
    b.push_back(static_cast<unsigned char>(e.width));
    b.push_back(static_cast<unsigned char>(e.width));
    b.push_back(static_cast<unsigned char>(e.colours));
    b.push_back(0);
    Put16(b, 1);
    Put16(b, 4);
    Put32(b, e.size);
    Put32(b, e.offset);
  }
  b.resize(b.size() + tail, 0);
  return b;
}

// Writes a header with the given width and stored height at `offset`.
void PutImageHeader(Bytes& b, std::size_t offset, std::int32_t width, std::int32_t height,
                    std::uint32_t bitCount) {
  Bytes h;
  Put32(h, 40);
  Put32(h, static_cast<std::uint32_t>(width));
  Put32(h, static_cast<std::uint32_t>(height));
  Put16(h, 1);
  Put16(h, bitCount);
  std::memcpy(b.data() + offset, h.data(), h.size());
}

}  // namespace

TEST_CASE("the tray icon file: two 32 x 32 images, 8-bit then 24-bit, colour count 0") {
  const unsigned char* f = assets::TrayIconFile;
  REQUIRE(assets::TrayIconFileSize == 5494);
  CHECK(U16(f) == 0);
  CHECK(U16(f + 2) == 1);
  CHECK(U16(f + 4) == 2);

  struct Image {
    std::uint32_t bytes, offset, bitCount, sizeImage;
  };
  const Image images[] = {{2216, 38, 8, 1152}, {3240, 2254, 24, 3200}};
  for (int i = 0; i < 2; ++i) {
    CAPTURE(i);
    const unsigned char* e = f + 6 + 16 * i;
    CHECK(e[0] == 32);  // width
    CHECK(e[1] == 32);  // height
    CHECK(e[2] == 0);   // colour count
    CHECK(e[3] == 0);
    CHECK(U16(e + 4) == 0);  // planes
    CHECK(U16(e + 6) == 0);  // bit count
    CHECK(U32(e + 8) == images[i].bytes);
    CHECK(U32(e + 12) == images[i].offset);

    const InfoHeader h = ReadInfoHeader(f + images[i].offset);
    CHECK(h.width == 32);
    CHECK(h.height == 64);
    CHECK(h.planes == 1);
    CHECK(h.bitCount == images[i].bitCount);
    CHECK(h.compression == 0);
    CHECK(h.sizeImage == images[i].sizeImage);
    // Header, palette (8-bit only), colour bits and mask fill the image exactly.
    const std::uint32_t palette = images[i].bitCount == 8 ? 1024 : 0;
    CHECK(40 + palette + h.sizeImage == images[i].bytes);
  }
  CHECK(images[1].offset + images[1].bytes == assets::TrayIconFileSize);
}

TEST_CASE("the tray icon's pixels: a shape on a transparent ground, black where masked") {
  const unsigned char* f = assets::TrayIconFile;
  const unsigned char* palette8 = f + 38 + 40;
  const unsigned char* bits8 = palette8 + 1024;
  const unsigned char* mask8 = bits8 + 1024;
  const unsigned char* bits24 = f + 2254 + 40;
  const unsigned char* mask24 = bits24 + 3072;

  int opaque = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      CAPTURE(x);
      CAPTURE(y);
      // Both images have the same outline.
      REQUIRE(MaskSet(mask8, 32, x, y) == MaskSet(mask24, 32, x, y));
      if (!MaskSet(mask24, 32, x, y)) {
        ++opaque;
        continue;
      }
      // Where the background shows, the colour must not tint it.
      const unsigned char* c8 = palette8 + 4 * bits8[(31 - y) * 32 + x];
      const unsigned char* c24 = bits24 + (31 - y) * 96 + x * 3;
      CHECK((c8[0] | c8[1] | c8[2]) == 0);
      CHECK((c24[0] | c24[1] | c24[2]) == 0);
    }
  }
  // Corners clear, middle covered: a picture, not a filled square or noise.
  for (auto [x, y] : {std::pair{0, 0}, {31, 0}, {0, 31}, {31, 31}}) {
    CHECK(MaskSet(mask24, 32, x, y));
  }
  CHECK_FALSE(MaskSet(mask24, 32, 16, 16));
  CHECK(opaque > 32 * 32 / 2);
}

TEST_CASE("the icon group's three 16-colour images and its directory") {
  struct Image {
    const unsigned char* bytes;
    std::size_t size, expected;
    int side;
  };
  const Image images[] = {
      {assets::DefaultIcon16, assets::DefaultIcon16Size, 296, 16},
      {assets::DefaultIcon32, assets::DefaultIcon32Size, 744, 32},
      {assets::DefaultIcon48, assets::DefaultIcon48Size, 1640, 48},
  };
  const unsigned char* g = assets::DefaultIconGroup;
  REQUIRE(assets::DefaultIconGroupSize == 6 + 3 * 14);
  CHECK(U16(g) == 0);
  CHECK(U16(g + 2) == 1);
  CHECK(U16(g + 4) == 3);
  for (int i = 0; i < 3; ++i) {
    const Image& image = images[i];
    CAPTURE(image.side);
    CHECK(image.size == image.expected);
    const InfoHeader h = ReadInfoHeader(image.bytes);
    CHECK(h.width == image.side);
    CHECK(h.height == 2 * image.side);
    CHECK(h.planes == 1);
    CHECK(h.bitCount == 4);
    CHECK(40 + 16 * 4 + h.sizeImage == image.expected);

    const unsigned char* e = g + 6 + 14 * i;
    CHECK(e[0] == image.side);
    CHECK(e[1] == image.side);
    CHECK(e[2] == 16);
    CHECK(e[3] == 0);
    CHECK(U16(e + 4) == 1);
    CHECK(U16(e + 6) == 4);
    CHECK(U32(e + 8) == image.expected);
    CHECK(U16(e + 12) == static_cast<std::uint32_t>(3 + i));  // icon resource number

    const unsigned char* mask = image.bytes + 40 + 64 + h.sizeImage -
                                static_cast<std::uint32_t>((image.side + 31) / 32 * 4 * image.side);
    CHECK(MaskSet(mask, image.side, 0, 0));
    CHECK_FALSE(MaskSet(mask, image.side, image.side / 2, image.side / 2));
  }
}

TEST_CASE("the image an icon is made from") {
  SUBCASE("the tray icon file: no entry claims 16 colours, so the last, 24-bit one") {
    for (int width : {16, 32}) {
      CAPTURE(width);
      auto image = ChooseIcoImage(assets::TrayIconFile, assets::TrayIconFileSize, width);
      REQUIRE(image.has_value());
      CHECK(image->offset == 2254);
      CHECK(image->size == 3240);
      CHECK(image->width == 32);
      CHECK(image->height == 32);
      CHECK(image->bitCount == 24);
    }
  }

  SUBCASE("the first entry with 16 or more colours and the width; else the last") {
    // Four images of 40 bytes each, after a four-entry directory.
    const auto file = [](std::vector<std::pair<unsigned, unsigned>> widthAndColours) {
      std::vector<Entry> entries;
      std::uint32_t offset = 6 + 16 * 4;
      for (auto [width, colours] : widthAndColours) {
        entries.push_back({width, colours, 40, offset});
        offset += 40;
      }
      Bytes b = MakeIco(0, 1, entries, 160);
      for (int i = 0; i < 4; ++i) PutImageHeader(b, 70 + 40 * i, 10 + i, 2 * (10 + i), 4);
      return b;
    };
    struct Case {
      const char* name;
      std::vector<std::pair<unsigned, unsigned>> entries;
      int preferred;
      int chosen;
    };
    const Case cases[] = {
        {"exact match", {{32, 16}, {16, 16}, {48, 16}, {16, 0}}, 16, 1},
        {"first of two matches", {{16, 0}, {16, 16}, {16, 16}, {32, 16}}, 16, 1},
        {"more than 16 colours match", {{32, 16}, {16, 255}, {16, 16}, {48, 0}}, 16, 1},
        {"15 colours do not match", {{16, 15}, {16, 2}, {32, 15}, {48, 0}}, 16, 3},
        {"colour count 0 does not match", {{16, 0}, {32, 0}, {16, 0}, {48, 0}}, 32, 3},
        {"no width matches", {{48, 16}, {24, 16}, {64, 16}, {20, 16}}, 16, 3},
    };
    for (const Case& c : cases) {
      CAPTURE(c.name);
      Bytes b = file(c.entries);
      auto image = ChooseIcoImage(b.data(), b.size(), c.preferred);
      REQUIRE(image.has_value());
      CHECK(image->offset == static_cast<std::size_t>(70 + 40 * c.chosen));
      CHECK(image->width == 10 + c.chosen);
      CHECK(image->height == 10 + c.chosen);
    }
  }

  SUBCASE("the height is half the stored height, with its sign") {
    Bytes b = MakeIco(0, 1, {{32, 0, 40, 22}}, 40);
    PutImageHeader(b, 22, 32, -64, 24);
    auto image = ChooseIcoImage(b.data(), b.size(), 16);
    REQUIRE(image.has_value());
    CHECK(image->height == -32);
  }

  SUBCASE("cursor files are read as well") {
    Bytes b = MakeIco(0, 2, {{32, 0, 40, 22}}, 40);
    CHECK(ChooseIcoImage(b.data(), b.size(), 16).has_value());
  }
}

TEST_CASE("files that hold no usable image give none, and nothing is read past them") {
  const Entry fits{32, 0, 40, 22};
  struct Case {
    const char* name;
    Bytes bytes;
  };
  Case cases[] = {
      {"empty", {}},
      {"shorter than the header", {0, 0, 1, 0, 1}},
      {"reserved word not 0", MakeIco(1, 1, {fits}, 40)},
      {"type 0", MakeIco(0, 0, {fits}, 40)},
      {"type 3", MakeIco(0, 3, {fits}, 40)},
      {"no images", MakeIco(0, 1, {}, 56, 0)},
      {"directory cut short", MakeIco(0, 1, {fits}, 0, 2)},
      {"image starts past the end", MakeIco(0, 1, {{32, 0, 40, 100}}, 40)},
      {"image ends past the end", MakeIco(0, 1, {{32, 0, 41, 22}}, 40)},
      {"image size wraps round", MakeIco(0, 1, {{32, 0, 0xFFFFFFF0u, 22}}, 40)},
      {"image offset wraps round", MakeIco(0, 1, {{32, 0, 40, 0xFFFFFFF0u}}, 40)},
      {"image shorter than its header", MakeIco(0, 1, {{32, 0, 16, 22}}, 16)},
      {"the last entry, used as fallback, is broken", MakeIco(0, 1, {fits, {16, 0, 40, 999}}, 40)},
  };
  for (Case& c : cases) {
    CAPTURE(c.name);
    // A copy of exactly the file's length on the heap.
    Bytes exact(c.bytes.begin(), c.bytes.end());
    exact.shrink_to_fit();
    const unsigned char* data = exact.empty() ? nullptr : exact.data();
    CHECK_FALSE(ChooseIcoImage(data, exact.size(), 16).has_value());
    CHECK_FALSE(ChooseIcoImage(data, exact.size(), 32).has_value());
  }
}
