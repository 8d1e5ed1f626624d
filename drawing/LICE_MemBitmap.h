#pragma once
// A bitmap in ordinary heap memory. Pixels start on a 64-byte boundary and rows are aligned to
// a small power of two, so that whole rows can be moved with wide loads.

#include "drawing/LICE_IBitmap.h"

class LICE_MemBitmap : public LICE_IBitmap {
public:
  // rowAlign <= 1 packs rows tightly; otherwise its lowest set bit (at most 16) aligns them.
  // [any thread · may allocate] The bitmap belongs to its creator; nothing else frees it.
  explicit LICE_MemBitmap(int width = 0, int height = 0, int rowAlign = 4);
  ~LICE_MemBitmap() override;

  // [editor thread · lock-free] The accessors only read the fields.
  LICE_pixel* PixelData() const override;
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  int RowSpan() const override { return SpanFor(width_); }
  // [editor thread · may allocate] The allocation only grows: a smaller size keeps the block, a
  // larger one grows it to 5/4 of the bytes needed so that repeated small growth is cheap. On
  // allocation failure the bitmap ends up empty (0 x 0, no pixels).
  bool Resize(int width, int height) override;

  // [editor thread] Bytes held for pixels (not counting the alignment slack); never shrinks except
  // to 0.
  int Capacity() const { return capacity_; }

private:
  static constexpr int kAlignSlack = 63;
  int SpanFor(int width) const { return (width + alignMask_) & ~alignMask_; }

  void* storage_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  int capacity_ = 0;
  int alignMask_ = 0;
};
