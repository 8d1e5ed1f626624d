#include "platform/FileOpen.h"

namespace tavo::platform {

std::FILE* OpenFile(const char* utf8Path, const char* mode) {
  if (!utf8Path || !mode) return nullptr;
  return std::fopen(utf8Path, mode);
}

} // namespace tavo::platform
