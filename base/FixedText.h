#pragma once
// Bounded copies into fixed-size, NUL-terminated text fields. A text longer than
// its field is cut at the field (less the terminator); a null source counts as empty.

#include <cstddef>
#include <cstring>

namespace tavo {

inline void CopyText(char* dest, size_t destSize, const char* src) {
  if (!dest || destSize == 0) return;
  if (!src) {
    dest[0] = '\0';
    return;
  }
  size_t n = 0;
  while (n + 1 < destSize && src[n] != '\0')
    ++n;
  std::memmove(dest, src, n);
  dest[n] = '\0';
}

template <size_t N> inline void CopyText(char (&dest)[N], const char* src) {
  CopyText(dest, N, src);
}

} // namespace tavo
