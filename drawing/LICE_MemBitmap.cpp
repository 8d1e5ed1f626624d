#include "drawing/LICE_MemBitmap.h"

#include <climits>
#include <cstdint>
#include <cstdlib>

LICE_MemBitmap::LICE_MemBitmap(int width, int height, int rowAlign) {
  if (rowAlign > 1) {
    const int lowestBit = rowAlign & -rowAlign;
    alignMask_ = (lowestBit > 16 ? 16 : lowestBit) - 1;
  }
  if (width || height) Resize(width, height);
}

LICE_MemBitmap::~LICE_MemBitmap() {
  std::free(storage_);
}

LICE_pixel* LICE_MemBitmap::PixelData() const {
  if (!storage_) return nullptr;
  const auto address = reinterpret_cast<std::uintptr_t>(storage_);
  return reinterpret_cast<LICE_pixel*>((address + kAlignSlack) & ~std::uintptr_t{kAlignSlack});
}

bool LICE_MemBitmap::Resize(int width, int height) {
  if (width == width_ && height == height_) return false;
  // A negative extent is no size at all; without this, two negative extents would multiply into
  // a positive byte count for a bitmap nothing can address.
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  width_ = width;
  height_ = height;

  const long long bytes = static_cast<long long>(height) * SpanFor(width) * 4;
  // Sizes whose growth reserve would not fit the capacity's int are refused like a failed
  // allocation.
  const long long kLargest = (static_cast<long long>(INT_MAX) - kAlignSlack) / 5 * 4;
  if (bytes > kLargest) {
    std::free(storage_);
    storage_ = nullptr;
    capacity_ = 0;
  } else if (bytes > 0) {
    if (!storage_) {
      storage_ = std::malloc(static_cast<size_t>(bytes) + kAlignSlack);
      capacity_ = storage_ ? static_cast<int>(bytes) : 0;
    } else if (capacity_ < bytes) {
      const int grown = static_cast<int>(bytes / 4 * 5);
      void* moved = std::realloc(storage_, static_cast<size_t>(grown) + kAlignSlack);
      if (moved) {
        storage_ = moved;
        capacity_ = grown;
      } else {
        std::free(storage_);
        storage_ = std::malloc(static_cast<size_t>(bytes) + kAlignSlack);
        capacity_ = storage_ ? static_cast<int>(bytes) : 0;
      }
    }
  } else {
    std::free(storage_);
    storage_ = nullptr;
    capacity_ = 0;
  }
  if (!storage_) {
    width_ = 0;
    height_ = 0;
  }
  return true;
}
