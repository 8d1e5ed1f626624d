// Files named in UTF-8, opened through their UTF-16 names on the NT family. A path that is not
// valid UTF-8, or longer than the conversion buffer, is tried once more as a narrow path.

#include "platform/FileOpen.h"

#include <windows.h>

namespace tavo::platform {

namespace {
constexpr int kWidePathCharacters = 2048;
constexpr int kWideModeCharacters = 16;

bool ToWide(const char* utf8, wchar_t* out, int capacity) {
  return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, out, capacity) > 0;
}
} // namespace

std::FILE* OpenFile(const char* utf8Path, const char* mode) {
  if (!utf8Path || !mode) return nullptr;
  if ((GetVersion() & 0x80000000u) == 0) {
    wchar_t widePath[kWidePathCharacters];
    wchar_t wideMode[kWideModeCharacters];
    if (ToWide(utf8Path, widePath, kWidePathCharacters) &&
        ToWide(mode, wideMode, kWideModeCharacters)) {
      if (std::FILE* file = _wfopen(widePath, wideMode)) return file;
    }
  }
  return std::fopen(utf8Path, mode);
}

} // namespace tavo::platform
