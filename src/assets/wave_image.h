// Finding the format and the samples inside the bytes of a RIFF/WAVE file.
// Needs no Win32, so it builds natively and is tested under the sanitizers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace vornik {

// The PCM format record at the start of a "fmt " chunk.
struct WaveFormat {
  std::uint16_t formatTag = 0;
  std::uint16_t channels = 0;
  std::uint32_t sampleRate = 0;
  std::uint32_t byteRate = 0;
  std::uint16_t blockAlign = 0;
  std::uint16_t bitsPerSample = 0;
};

// Views into the bytes that were parsed; valid as long as those bytes are.
struct WaveImage {
  WaveFormat format;
  const unsigned char* formatChunk = nullptr;  // body of the "fmt " chunk
  std::size_t formatChunkSize = 0;
  const unsigned char* samples = nullptr;  // body of the "data" chunk
  std::size_t sampleBytes = 0;
};

// The "fmt " and "data" chunks of a RIFF/WAVE image, in whichever order they
// come. Nothing when the image is shorter than a header, is not RIFF/WAVE,
// lacks either chunk, has a format chunk too short for the PCM record, or has
// no samples. Only chunks that lie wholly within both the RIFF size and
// `length` count; nothing outside `bytes[0, length)` is ever read.
std::optional<WaveImage> ParseWaveImage(const unsigned char* bytes, std::size_t length);

// The format chunk as a complete WAVEFORMATEX record for the output device: at
// least 18 bytes, its extra-size field never claiming more than the chunk holds.
std::vector<unsigned char> WaveFormatRecord(const WaveImage& image);

}  // namespace vornik
