#include "hostlib/NameVariants.h"

#include <cstring>

std::string FittedNameVariant(const char* text, int32_t maxLength) {
  if (!text) return {};
  const size_t width = maxLength < 0 ? 0 : static_cast<size_t>(maxLength);
  const char* variant = text;
  for (;;) {
    const char* end = std::strchr(variant, '\n');
    const size_t length = end ? static_cast<size_t>(end - variant) : std::strlen(variant);
    if (length <= width) return std::string(variant, length);
    if (!end) return std::string(variant, width); // the shortest still does not fit: cut it
    variant = end + 1;
  }
}

void FitNameVariant(const char* text, int32_t maxLength, char* dest) {
  if (!dest) return;
  const std::string fitted = FittedNameVariant(text, maxLength);
  std::memcpy(dest, fitted.data(), fitted.size());
  dest[fitted.size()] = '\0';
}
