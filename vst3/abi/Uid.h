#pragma once
// Interface and class identifiers: 16 bytes, declared as four 32-bit words. The words lie in
// memory in the target's order (vst3/abi/Target.h), so the same four words name the same class
// on every target, and their text form (the 32 hex digits of the words in turn) is the same too.

#include <array>
#include <cstdint>
#include <cstring>

#include "vst3/abi/Target.h"

namespace tavo::vst3 {

using TUID = char[16]; // as a parameter: a pointer to 16 bytes, with no alignment promised

struct Uid {
  std::array<uint8_t, 16> bytes;
};

// The bytes of the identifier l1 l2 l3 l4 in either order: the object model's (l1 and the two
// halves of l2 least significant byte first) or the plain one (every word most significant byte
// first). The last two words are most significant byte first in both.
constexpr Uid UidInOrder(bool comLayout, uint32_t l1, uint32_t l2, uint32_t l3, uint32_t l4) {
  Uid uid{};
  const auto bigEndian = [&uid](int at, uint32_t word, int bytes) {
    for (int k = 0; k < bytes; ++k)
      uid.bytes[at + k] = static_cast<uint8_t>(word >> (8 * (bytes - 1 - k)));
  };
  const auto littleEndian = [&uid](int at, uint32_t word, int bytes) {
    for (int k = 0; k < bytes; ++k)
      uid.bytes[at + k] = static_cast<uint8_t>(word >> (8 * k));
  };
  if (comLayout) {
    littleEndian(0, l1, 4);
    littleEndian(4, l2 >> 16, 2);
    littleEndian(6, l2 & 0xFFFFu, 2);
  } else {
    bigEndian(0, l1, 4);
    bigEndian(4, l2, 4);
  }
  bigEndian(8, l3, 4);
  bigEndian(12, l4, 4);
  return uid;
}

// The identifier as this target lays it out.
constexpr Uid MakeUid(uint32_t l1, uint32_t l2, uint32_t l3, uint32_t l4) {
  return UidInOrder(kComLayout, l1, l2, l3, l4);
}

// Whether the 16 bytes at `tuid` (any alignment; null matches nothing) are `uid`.
inline bool SameUid(const void* tuid, const Uid& uid) {
  return tuid && std::memcmp(tuid, uid.bytes.data(), uid.bytes.size()) == 0;
}

inline void CopyUid(const Uid& uid, void* out) {
  std::memcpy(out, uid.bytes.data(), uid.bytes.size());
}

} // namespace tavo::vst3
