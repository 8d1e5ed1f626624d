#include "framework/Base64.h"

namespace tavo {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int SextetOf(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

} // namespace

std::string Base64Encode(std::span<const uint8_t> bytes) {
  std::string text;
  text.reserve((bytes.size() + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const uint32_t v = (uint32_t{bytes[i]} << 16) | (uint32_t{bytes[i + 1]} << 8) | bytes[i + 2];
    text += kAlphabet[(v >> 18) & 63];
    text += kAlphabet[(v >> 12) & 63];
    text += kAlphabet[(v >> 6) & 63];
    text += kAlphabet[v & 63];
  }
  const size_t left = bytes.size() - i;
  if (left == 1) {
    const uint32_t v = uint32_t{bytes[i]} << 16;
    text += kAlphabet[(v >> 18) & 63];
    text += kAlphabet[(v >> 12) & 63];
    text += "==";
  } else if (left == 2) {
    const uint32_t v = (uint32_t{bytes[i]} << 16) | (uint32_t{bytes[i + 1]} << 8);
    text += kAlphabet[(v >> 18) & 63];
    text += kAlphabet[(v >> 12) & 63];
    text += kAlphabet[(v >> 6) & 63];
    text += '=';
  }
  return text;
}

size_t Base64Decode(const char* text, std::span<uint8_t> out) {
  if (!text) return 0;
  size_t written = 0;
  uint32_t accumulator = 0;
  int bits = 0;
  for (const char* p = text; *p && written < out.size(); ++p) {
    const int sextet = SextetOf(*p);
    if (sextet < 0) break;
    accumulator = (accumulator << 6) | static_cast<uint32_t>(sextet);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out[written++] = static_cast<uint8_t>((accumulator >> bits) & 0xFF);
    }
  }
  return written;
}

} // namespace tavo
