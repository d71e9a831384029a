// What the fuzz targets hold the parsers to, beyond not crashing: a broken
// promise stops the run, and libFuzzer keeps the input that broke it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

inline void Check(bool holds, const char* promise) {
  if (holds) return;
  std::fprintf(stderr, "broken promise: %s\n", promise);
  std::abort();
}

// [view, view + length) lies within [bytes, bytes + size).
inline bool Inside(const unsigned char* view, std::size_t length, const std::uint8_t* bytes,
                   std::size_t size) {
  const auto at = reinterpret_cast<std::uintptr_t>(view);
  const auto begin = reinterpret_cast<std::uintptr_t>(bytes);
  return at >= begin && at - begin <= size && length <= size - (at - begin);
}

// Reads the first and last byte of a view, so that the address sanitizer sees
// a view that reaches outside its buffer even where the parser itself did not.
inline void Touch(const unsigned char* view, std::size_t length) {
  if (length == 0) return;
  volatile unsigned char sink = view[0];
  sink = view[length - 1];
  (void)sink;
}

}  // namespace fuzz
