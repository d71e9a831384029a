#include <doctest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "assets/clips.h"
#include "assets/wave_image.h"

using namespace vornik;

namespace {

using Bytes = std::vector<unsigned char>;

void Put32(Bytes& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

void Put16(Bytes& out, std::uint16_t v) {
  out.push_back(static_cast<unsigned char>(v));
  out.push_back(static_cast<unsigned char>(v >> 8));
}

void PutId(Bytes& out, const char* id) { out.insert(out.end(), id, id + 4); }

std::uint32_t Get32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// One chunk; `declared` overrides the size written in its header.
struct Chunk {
  const char* id;
  Bytes body;
  std::int64_t declared = -1;
};

Bytes PcmRecord(std::uint16_t channels = 2, std::uint32_t rate = 44100, std::uint16_t bits = 16) {
  Bytes record;
  const std::uint16_t align = static_cast<std::uint16_t>(channels * bits / 8);
  Put16(record, 1);
  Put16(record, channels);
  Put32(record, rate);
  Put32(record, rate * align);
  Put16(record, align);
  Put16(record, bits);
  return record;
}

Chunk Fmt() { return {"fmt ", PcmRecord()}; }
Chunk Data(std::size_t n = 8) { return {"data", Bytes(n, 0x5A)}; }

// A RIFF/WAVE image of the given chunks, each padded to an even length.
// `riffSize` overrides the size in the RIFF header.
Bytes Image(const std::vector<Chunk>& chunks, std::int64_t riffSize = -1) {
  Bytes body;
  PutId(body, "WAVE");
  for (const Chunk& c : chunks) {
    PutId(body, c.id);
    Put32(body, c.declared >= 0 ? static_cast<std::uint32_t>(c.declared)
                                : static_cast<std::uint32_t>(c.body.size()));
    body.insert(body.end(), c.body.begin(), c.body.end());
    if (c.body.size() % 2) body.push_back(0);
  }
  Bytes image;
  PutId(image, "RIFF");
  Put32(image, riffSize >= 0 ? static_cast<std::uint32_t>(riffSize)
                             : static_cast<std::uint32_t>(body.size()));
  image.insert(image.end(), body.begin(), body.end());
  return image;
}

// Parses a copy of exactly `length` bytes on the heap, so that the sanitizer
// sees any read past the end; checks that every view lies inside the copy.
bool ParsesWithin(const Bytes& image, std::size_t length, WaveImage* found = nullptr) {
  auto* heap = new unsigned char[length ? length : 1];
  if (length) std::memcpy(heap, image.data(), length);
  auto parsed = ParseWaveImage(heap, length);
  if (parsed) {
    CHECK(parsed->samples >= heap);
    CHECK(parsed->samples + parsed->sampleBytes <= heap + length);
    CHECK(parsed->formatChunk >= heap);
    CHECK(parsed->formatChunk + parsed->formatChunkSize <= heap + length);
    if (found) {
      *found = *parsed;
      // Point the views at the caller's image instead of the freed copy.
      found->samples = image.data() + (parsed->samples - heap);
      found->formatChunk = image.data() + (parsed->formatChunk - heap);
    }
  }
  delete[] heap;
  return parsed.has_value();
}

bool Parses(const Bytes& image, WaveImage* found = nullptr) {
  return ParsesWithin(image, image.size(), found);
}

}  // namespace

TEST_CASE("images that are not usable clips are refused, without reading past their bytes") {
  Bytes notRiff = Image({Fmt(), Data()});
  std::memcpy(notRiff.data(), "RIFX", 4);
  Bytes notWave = Image({Fmt(), Data()});
  std::memcpy(notWave.data() + 8, "AVI ", 4);
  Bytes fmtTooShort = Image({{"fmt ", Bytes(14, 1)}, Data(40)});
  Bytes huge = Image({Fmt(), {"data", Bytes(8, 1), 0xFFFFFFFF}});
  Bytes justUnder = Image({Fmt(), {"data", Bytes(8, 1), 9}});
  // Chunk sizes that wrap a 32-bit sum: 0xFFFFFFF8 + 8 is 0 modulo 2^32.
  Bytes wraps = Image({Fmt(), {"LIST", Bytes(4, 0), 0xFFFFFFF8}, Data()});

  struct Case {
    const char* name;
    Bytes image;
  };
  const Case cases[] = {
      {"empty", {}},
      {"35 bytes", [] {
         Bytes image = Image({Fmt(), Data()});
         image.resize(35);
         return image;
       }()},
      {"no RIFF", notRiff},
      {"no WAVE", notWave},
      {"no fmt chunk", Image({{"LIST", Bytes(20, 0)}, Data()})},
      {"no data chunk", Image({Fmt(), {"LIST", Bytes(20, 0)}})},
      {"empty data chunk", Image({Fmt(), Data(0)})},
      {"fmt chunk too short for its record", fmtTooShort},
      {"data size runs past the bytes", justUnder},
      {"data size 0xFFFFFFFF", huge},
      {"chunk size wrapping 32 bits", wraps},
      {"data only beyond the RIFF size", Image({Fmt(), Data(8)}, 4 + 24)},
      {"data running past the RIFF size", Image({Fmt(), Data(8)}, 4 + 24 + 8 + 7)},
  };
  for (const Case& c : cases) {
    CAPTURE(c.name);
    CHECK_FALSE(Parses(c.image));
  }
  CHECK_FALSE(ParseWaveImage(nullptr, 100).has_value());
}

TEST_CASE("fmt and data are found in any order, across other and odd-sized chunks") {
  struct Case {
    const char* name;
    Bytes image;
    std::size_t dataOffset;
  };
  const Case cases[] = {
      {"fmt then data", Image({Fmt(), Data(6)}), 44},
      {"data before fmt", Image({Data(6), Fmt()}), 20},
      {"odd chunk and its pad byte first", Image({{"LIST", Bytes(3, 7)}, Fmt(), Data(6)}), 56},
      {"odd data size", Image({Fmt(), Data(5)}), 44},
      // The bytes given end before the RIFF size says; the chunks fit the bytes.
      {"RIFF size larger than the bytes", Image({Fmt(), Data(6)}, 0xFFFFFFFF), 44},
      {"trailing bytes after the RIFF size", [] {
         Bytes image = Image({Fmt(), Data(6)});
         image.insert(image.end(), 9, 0xEE);
         return image;
       }(),
       44},
      {"a second data chunk is ignored", Image({Fmt(), Data(6), Data(30)}), 44},
  };
  for (const Case& c : cases) {
    CAPTURE(c.name);
    WaveImage found;
    REQUIRE(Parses(c.image, &found));
    CHECK(found.samples - c.image.data() == static_cast<std::ptrdiff_t>(c.dataOffset));
    CHECK(found.sampleBytes == Get32(c.image.data() + c.dataOffset - 4));
    CHECK(found.format.channels == 2);
    CHECK(found.format.sampleRate == 44100);
    CHECK(found.format.blockAlign == 4);
    CHECK(found.format.bitsPerSample == 16);
  }
}

TEST_CASE("every truncation and corrupted size stays inside the bytes given") {
  const Bytes images[] = {
      Image({Fmt(), Data(9), {"LIST", Bytes(5, 1)}}),
      Image({{"JUNK", Bytes(3, 0)}, Data(9), Fmt()}),
  };
  for (const Bytes& image : images) {
    for (std::size_t length = 0; length <= image.size(); ++length) {
      CAPTURE(length);
      ParsesWithin(image, length);
    }
    // Overwrite each 32-bit size field (RIFF and every chunk) with values
    // around the edges; a fixed generator keeps runs reproducible.
    std::uint32_t state = 12345;
    for (int round = 0; round < 4000; ++round) {
      Bytes corrupt = image;
      state = state * 1664525u + 1013904223u;
      const std::size_t field = (state >> 8) % (corrupt.size() - 3);
      const std::uint32_t values[] = {0, 1, 15, 16, 17, 0x7FFFFFFF, 0xFFFFFFF7, 0xFFFFFFFF,
                                      state};
      const std::uint32_t value = values[(state >> 24) % 9];
      for (int i = 0; i < 4; ++i) corrupt[field + i] = static_cast<unsigned char>(value >> (8 * i));
      ParsesWithin(corrupt, corrupt.size());
    }
  }
}

TEST_CASE("the format record for the device always carries a truthful extra size") {
  WaveImage image;
  SUBCASE("a bare PCM chunk gets an extra size of 0") {
    Bytes chunk = PcmRecord();
    image.formatChunk = chunk.data();
    image.formatChunkSize = chunk.size();
    Bytes record = WaveFormatRecord(image);
    REQUIRE(record.size() == 18);
    CHECK(Bytes(record.begin(), record.begin() + 16) == chunk);
    CHECK(record[16] == 0);
    CHECK(record[17] == 0);
  }
  SUBCASE("an extra size larger than the chunk is cut to what the chunk holds") {
    Bytes chunk = PcmRecord();
    Put16(chunk, 22);
    Put16(chunk, 0xABCD);
    image.formatChunk = chunk.data();
    image.formatChunkSize = chunk.size();
    Bytes record = WaveFormatRecord(image);
    REQUIRE(record.size() == 20);
    CHECK(record[16] == 2);
    CHECK(record[17] == 0);
    CHECK(record[18] == 0xCD);
  }
  SUBCASE("a chunk longer than its extra size is cut to the record") {
    Bytes chunk = PcmRecord();
    Put16(chunk, 0);
    chunk.insert(chunk.end(), 6, 0x11);
    image.formatChunk = chunk.data();
    image.formatChunkSize = chunk.size();
    CHECK(WaveFormatRecord(image).size() == 18);
  }
}

TEST_CASE("the committed clips match their table byte for byte") {
  struct Clip {
    const char* name;
    const unsigned char* bytes;
    std::size_t size;
    std::size_t fileBytes;
    std::uint16_t channels, bits;
    std::uint32_t rate, byteRate;
    std::uint16_t blockAlign;
    std::uint32_t dataBytes;
    double seconds;
    int furtherChunks;
  };
  const Clip clips[] = {
      {"StartupClip", assets::StartupClip, assets::StartupClipSize, 5226, 1, 8, 11025, 11025, 1,
       5182, 0.470, 0},
      {"SuccessClip", assets::SuccessClip, assets::SuccessClipSize, 39724, 2, 16, 48000, 192000,
       4, 39356, 0.205, 2},
      {"ExitClip", assets::ExitClip, assets::ExitClipSize, 98480, 2, 16, 44100, 176400, 4, 98304,
       0.557, 2},
  };
  for (const Clip& clip : clips) {
    CAPTURE(clip.name);
    const unsigned char* b = clip.bytes;
    REQUIRE(clip.size == clip.fileBytes);
    CHECK(std::memcmp(b, "RIFF", 4) == 0);
    CHECK(Get32(b + 4) == clip.fileBytes - 8);
    CHECK(std::memcmp(b + 8, "WAVEfmt ", 8) == 0);
    CHECK(Get32(b + 16) == 16);
    CHECK(std::memcmp(b + 36, "data", 4) == 0);
    CHECK(Get32(b + 40) == clip.dataBytes);

    auto image = ParseWaveImage(b, clip.size);
    REQUIRE(image.has_value());
    CHECK(image->format.formatTag == 1);
    CHECK(image->format.channels == clip.channels);
    CHECK(image->format.bitsPerSample == clip.bits);
    CHECK(image->format.sampleRate == clip.rate);
    CHECK(image->format.byteRate == clip.byteRate);
    CHECK(image->format.blockAlign == clip.blockAlign);
    CHECK(image->samples == b + 44);
    CHECK(image->sampleBytes == clip.dataBytes);
    CHECK(double(clip.dataBytes) / clip.byteRate == doctest::Approx(clip.seconds).epsilon(0.002));

    // The further chunks after the samples fill the file exactly.
    std::size_t offset = 44 + clip.dataBytes;
    int chunks = 0;
    while (offset + 8 <= clip.size) {
      const std::uint32_t size = Get32(b + offset + 4);
      offset += 8 + size + (size & 1);
      ++chunks;
    }
    CHECK(offset == clip.size);
    CHECK(chunks == clip.furtherChunks);

    // No click: the samples start and end at silence.
    const unsigned silence = clip.bits == 8 ? 0x80 : 0;
    CHECK(image->samples[0] == silence);
    CHECK(image->samples[clip.dataBytes - 1] == silence);
  }
}
