// The Linux system bitmap: no device context exists, so the "section" is an aligned heap block.
// Its resize rules are those of the Windows section so that code above behaves the same.

#include "drawing/LICE_SysBitmap.h"

#include <climits>
#include <cstdlib>

namespace {
constexpr size_t kPixelAlignment = 64;

void* AllocateSection(int allocWidth, int height) {
  const long long bytes = static_cast<long long>(allocWidth) * height * 4;
  if (bytes <= 0 || bytes > INT_MAX) return nullptr;
  const size_t rounded =
      (static_cast<size_t>(bytes) + kPixelAlignment - 1) / kPixelAlignment * kPixelAlignment;
  return std::aligned_alloc(kPixelAlignment, rounded);
}
} // namespace

LICE_SysBitmap::LICE_SysBitmap(int width, int height) {
  Resize(width, height);
}

LICE_SysBitmap::~LICE_SysBitmap() {
  std::free(section_);
}

bool LICE_SysBitmap::Resize(int width, int height) {
  // Negative extents cannot be allocated; they mean an empty bitmap.
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  if (width == width_ && height == height_) return false;
  width_ = width;
  height_ = height;
  if (width && height && allocWidth_ >= width && allocHeight_ >= height && bits_) return true;

  allocWidth_ = (width + 3) & ~3;
  allocHeight_ = height;
  std::free(section_);
  section_ = nullptr;
  bits_ = nullptr;
  if (!allocWidth_ || !height) return false;

  section_ = AllocateSection(allocWidth_, height);
  if (!section_) {
    width_ = 0;
    height_ = 0;
    return true;
  }
  bits_ = static_cast<LICE_pixel*>(section_);
  return true;
}
