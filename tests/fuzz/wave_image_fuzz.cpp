// libFuzzer target: the RIFF/WAVE walk over arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "assets/wave_image.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const auto image = vornik::ParseWaveImage(bytes, size);
  if (!image) return 0;

  fuzz::Check(fuzz::Inside(image->formatChunk, image->formatChunkSize, bytes, size),
              "the format chunk lies within the bytes");
  fuzz::Check(fuzz::Inside(image->samples, image->sampleBytes, bytes, size),
              "the samples lie within the bytes");
  fuzz::Check(image->formatChunkSize >= 16, "the format chunk holds the PCM record");
  fuzz::Check(image->sampleBytes > 0, "there are samples");
  fuzz::Touch(image->formatChunk, image->formatChunkSize);
  fuzz::Touch(image->samples, image->sampleBytes);

  // What the output device is given: a whole WAVEFORMATEX, its extra bytes
  // counted exactly and taken from the chunk.
  const std::vector<unsigned char> record = vornik::WaveFormatRecord(*image);
  fuzz::Check(record.size() >= 18, "the record is a whole WAVEFORMATEX");
  const std::size_t extra = record[16] | (record[17] << 8);
  fuzz::Check(record.size() == 18 + extra, "the extra-size field counts the extra bytes");
  fuzz::Check(extra == 0 || 18 + extra <= image->formatChunkSize,
              "the extra bytes come from the chunk");
  return 0;
}
