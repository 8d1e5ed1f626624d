// The Windows system bitmap: a top-down 32-bit device-independent section selected into a memory
// device context, so the editor window can copy it to the screen and GDI can draw text into it.

#include "drawing/LICE_SysBitmap.h"

#include <windows.h>

#include <algorithm>
#include <climits>

namespace {

HDC AsDC(void* dc) {
  return static_cast<HDC>(dc);
}

// The section's pixel bytes must stay addressable with an int, as every raster function does.
bool FitsAnInt(int allocWidth, int height) {
  return static_cast<long long>(allocWidth) * height * 4 <= INT_MAX;
}

} // namespace

LICE_SysBitmap::LICE_SysBitmap(int width, int height) {
  dc_ = CreateCompatibleDC(nullptr);
  Resize(width, height);
}

LICE_SysBitmap::~LICE_SysBitmap() {
  if (dc_ && previous_) SelectObject(AsDC(dc_), static_cast<HGDIOBJ>(previous_));
  if (section_) DeleteObject(static_cast<HGDIOBJ>(section_));
  if (dc_) DeleteDC(AsDC(dc_));
}

bool LICE_SysBitmap::Resize(int width, int height) {
  if (!dc_) {
    width_ = height_ = 0;
    bits_ = nullptr;
    return false;
  }
  // Negative extents cannot be allocated; they mean an empty bitmap.
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  if (width == width_ && height == height_) return false;
  width_ = width;
  height_ = height;
  // The section only grows: a smaller size keeps it and its row span.
  if (width && height && allocWidth_ >= width && allocHeight_ >= height && bits_) return true;

  // Rounded in 64 bits: a width near the int limit must not wrap to a small span.
  allocWidth_ = static_cast<int>(std::min<long long>((width + 3LL) & ~3LL, INT_MAX & ~3));
  allocHeight_ = height;
  if (previous_) SelectObject(AsDC(dc_), static_cast<HGDIOBJ>(previous_));
  previous_ = nullptr;
  if (section_) DeleteObject(static_cast<HGDIOBJ>(section_));
  section_ = nullptr;
  bits_ = nullptr;
  if (!allocWidth_ || !height) return false;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = allocWidth_;
  info.bmiHeader.biHeight = IsBottomUp() ? height : -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP section = FitsAnInt(allocWidth_, height)
                        ? CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0)
                        : nullptr;
  if (!section || !bits) {
    if (section) DeleteObject(section);
    width_ = height_ = 0;
    return true;
  }
  section_ = section;
  bits_ = static_cast<LICE_pixel*>(bits);
  previous_ = SelectObject(AsDC(dc_), section);
  return true;
}
