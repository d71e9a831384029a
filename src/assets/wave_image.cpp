#include "assets/wave_image.h"

#include <algorithm>
#include <cstring>

namespace vornik {

namespace {

constexpr std::size_t kHeaderSize = 12;       // "RIFF", size, "WAVE"
constexpr std::size_t kChunkHeaderSize = 8;   // identifier, size
constexpr std::size_t kMinimumImageSize = 36; // header and a bare PCM "fmt " chunk
constexpr std::size_t kPcmRecordSize = 16;
constexpr std::size_t kFormatExSize = 18;     // the PCM record and its extra-size field

std::uint16_t Read16(const unsigned char* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t Read32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool IsId(const unsigned char* p, const char (&id)[5]) { return std::memcmp(p, id, 4) == 0; }

WaveFormat ReadPcmRecord(const unsigned char* p) {
  WaveFormat format;
  format.formatTag = Read16(p);
  format.channels = Read16(p + 2);
  format.sampleRate = Read32(p + 4);
  format.byteRate = Read32(p + 8);
  format.blockAlign = Read16(p + 12);
  format.bitsPerSample = Read16(p + 14);
  return format;
}

}  // namespace

std::optional<WaveImage> ParseWaveImage(const unsigned char* bytes, std::size_t length) {
  if (bytes == nullptr || length < kMinimumImageSize) return std::nullopt;
  if (!IsId(bytes, "RIFF") || !IsId(bytes + 8, "WAVE")) return std::nullopt;

  // The chunks end where the RIFF size says, or earlier where the bytes do.
  const std::uint64_t riffEnd = std::uint64_t{8} + Read32(bytes + 4);
  const std::size_t end = static_cast<std::size_t>(std::min<std::uint64_t>(riffEnd, length));

  WaveImage image;
  bool haveFormat = false;
  bool haveData = false;
  std::size_t offset = kHeaderSize;
  while (!(haveFormat && haveData) && offset <= end && end - offset >= kChunkHeaderSize) {
    const unsigned char* header = bytes + offset;
    const std::size_t body = offset + kChunkHeaderSize;
    const std::uint32_t size = Read32(header + 4);
    // A chunk that does not fit is where the usable chunks end.
    if (size > end - body) break;
    if (!haveFormat && IsId(header, "fmt ")) {
      if (size < kPcmRecordSize) return std::nullopt;
      image.format = ReadPcmRecord(bytes + body);
      image.formatChunk = bytes + body;
      image.formatChunkSize = size;
      haveFormat = true;
    } else if (!haveData && IsId(header, "data")) {
      image.samples = bytes + body;
      image.sampleBytes = size;
      haveData = true;
    }
    // Bodies of odd size are followed by a pad byte; size + 1 cannot overflow
    // here, as it is at most end - body + 1.
    offset = body + size + (size & 1u);
  }
  if (!haveFormat || !haveData || image.sampleBytes == 0) return std::nullopt;
  return image;
}

std::vector<unsigned char> WaveFormatRecord(const WaveImage& image) {
  std::vector<unsigned char> record(image.formatChunk,
                                    image.formatChunk + image.formatChunkSize);
  if (record.size() < kFormatExSize) {
    record.resize(kFormatExSize, 0);
    record[16] = record[17] = 0;
  } else {
    const std::size_t extra = std::min<std::size_t>(Read16(record.data() + 16),
                                                    record.size() - kFormatExSize);
    record[16] = static_cast<unsigned char>(extra & 0xFF);
    record[17] = static_cast<unsigned char>(extra >> 8);
    record.resize(kFormatExSize + extra);
  }
  return record;
}

}  // namespace vornik
