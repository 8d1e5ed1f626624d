// links: tavo_drawing
// Arbitrary bytes through the text renderer's UTF-8 reader: every step consumes 1..4 bytes
// inside the input, yields a 16-bit code, and agrees with a byte-by-byte transcription of the
// decoding rules.

#include "drawing/LICE_Utf8.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

bool Cont(const std::uint8_t* p, std::size_t i, std::size_t n) {
  return i < n && p[i] >= 0x80 && p[i] <= 0xBF;
}

LICE_Utf8Char Reference(const std::uint8_t* p, std::size_t n) {
  const int b = p[0];
  if (b < 0x80) return {b, 1};
  if (b >= 0xC2 && b <= 0xDF && Cont(p, 1, n)) return {(b & 0x1F) * 64 + (p[1] & 0x3F), 2};
  if (b >= 0xE0 && b <= 0xEF && Cont(p, 1, n) && Cont(p, 2, n))
    return {(b & 0x0F) * 4096 + (p[1] & 0x3F) * 64 + (p[2] & 0x3F), 3};
  if (b >= 0xF0 && b <= 0xF4 && Cont(p, 1, n) && Cont(p, 2, n) && Cont(p, 3, n)) return {32, 4};
  return {b, 1};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::size_t at = 0;
  bool sawMultiByte = false;
  while (at < size) {
    const LICE_Utf8Char c = DecodeUtf8Char({data + at, size - at});
    const LICE_Utf8Char r = Reference(data + at, size - at);
    if (c.length < 1 || c.length > 4 || static_cast<std::size_t>(c.length) > size - at)
      std::abort();
    if (c.code < 0 || c.code > 0xFFFF) std::abort();
    if (c.code != r.code || c.length != r.length) std::abort();
    if (c.length > 1 && data[at] <= 0xF4) sawMultiByte = true;
    at += static_cast<std::size_t>(c.length);
  }
  // A decoded multi-byte character implies the text reports having one.
  if (sawMultiByte && !HasMultiByteCharacters({data, size})) std::abort();
  return 0;
}
