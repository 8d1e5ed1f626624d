#include "drawing/LICE_Utf8.h"

namespace {
bool IsContinuation(unsigned char c) {
  return (c & 0xC0) == 0x80;
}
} // namespace

LICE_Utf8Char DecodeUtf8Char(std::span<const unsigned char> text) {
  if (text.empty()) return {0, 0};
  const unsigned char lead = text[0];
  if (lead < 0x80) return {lead, 1};
  const std::size_t n = text.size();
  if (lead >= 0xC2 && lead <= 0xDF && n >= 2 && IsContinuation(text[1]))
    return {((lead & 0x1F) << 6) | (text[1] & 0x3F), 2};
  if (lead >= 0xE0 && lead <= 0xEF && n >= 3 && IsContinuation(text[1]) && IsContinuation(text[2]))
    return {((lead & 0x0F) << 12) | ((text[1] & 0x3F) << 6) | (text[2] & 0x3F), 3};
  if (lead >= 0xF0 && lead <= 0xF4 && n >= 4 && IsContinuation(text[1]) &&
      IsContinuation(text[2]) && IsContinuation(text[3]))
    return {' ', 4};
  return {lead, 1};
}

bool HasMultiByteCharacters(std::span<const unsigned char> text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    const unsigned char c = text[i];
    if (c < 0xC2 || c > 0xF4 || !IsContinuation(text[i + 1])) continue;
    if (c < 0xE0) return true;
    if (i + 2 < text.size() && IsContinuation(text[i + 2])) return true;
  }
  return false;
}
