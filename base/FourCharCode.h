#pragma once
// A four-character code ('TAVO') as the 32-bit integer whose first character is the most
// significant byte, the form every host interface stores and compares.

#include <cstdint>

namespace tavo {

constexpr int32_t FourCharCode(const char (&code)[5]) {
  return static_cast<int32_t>((static_cast<uint32_t>(static_cast<uint8_t>(code[0])) << 24) |
                              (static_cast<uint32_t>(static_cast<uint8_t>(code[1])) << 16) |
                              (static_cast<uint32_t>(static_cast<uint8_t>(code[2])) << 8) |
                              static_cast<uint32_t>(static_cast<uint8_t>(code[3])));
}

} // namespace tavo
