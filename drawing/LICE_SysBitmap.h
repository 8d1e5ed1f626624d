#pragma once
// A bitmap whose pixels live where the platform's window drawing can reach them. On Windows the
// pixels are a device-independent section selected into a memory device context; on Linux there
// is no such context and the pixels are a plain aligned block. Either way the allocation only
// grows, so a window that shrinks and grows back does not reallocate.
//
// The platform code is chosen by folder (drawing/win, drawing/posix); this header is shared.

#include "drawing/LICE_IBitmap.h"

class LICE_SysBitmap : public LICE_IBitmap {
public:
  // [editor thread · may allocate]
  explicit LICE_SysBitmap(int width = 0, int height = 0);
  ~LICE_SysBitmap() override;

  // [editor thread · lock-free] The accessors only read the fields.
  LICE_pixel* PixelData() const override { return bits_; }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  // The row span is the allocated width: the requested width rounded up to 4 when allocated.
  int RowSpan() const override { return allocWidth_; }
  // [editor thread · may allocate] Keeps the allocation when the new size fits it (returning
  // true); otherwise replaces it. Returns false for an unchanged size, for a zero size, and when
  // the platform has no drawing context to hold the section.
  bool Resize(int width, int height) override;
  void* DeviceContext() const override { return dc_; }

private:
  int width_ = 0;
  int height_ = 0;
  void* dc_ = nullptr; // the memory drawing context (null on Linux)
  LICE_pixel* bits_ = nullptr;
  int allocWidth_ = 0;
  int allocHeight_ = 0;
  void* section_ = nullptr; // the platform's pixel allocation
  [[maybe_unused]] void* previous_ =
      nullptr; // what the context held before the section (Windows only)
};
