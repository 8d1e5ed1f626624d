#include "hostlib/CPluginControl.h"

#include <cstring>

void CPluginControl::SetDefaultFromControlValue(int32_t) {}

CPluginControl::~CPluginControl() = default;

void CopyBoundedText(const char* text, char* dest, int32_t maxLength) {
  if (!dest) return;
  const size_t width = maxLength < 0 ? 0 : static_cast<size_t>(maxLength);
  const size_t n = text ? strnlen(text, width) : 0;
  if (n) std::memcpy(dest, text, n);
  dest[n] = '\0';
}
