#pragma once
// The drawing library's pixel store: one 32-bit word per pixel, 0xAARRGGBB with straight alpha.
// In memory a pixel's bytes are blue, green, red, alpha (channel 0 is blue, 3 is alpha).

#include <cstdint>

using LICE_pixel = std::uint32_t;

// A source or clip rectangle in pixels: left and top inclusive, right and bottom exclusive.
struct LICE_Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// The abstract bitmap every raster function draws into. Whoever creates a bitmap deletes it.
// The virtual operations keep their order; platform bitmaps override the same slots.
class LICE_IBitmap {
public:
  LICE_IBitmap() = default;
  LICE_IBitmap(const LICE_IBitmap&) = delete;
  LICE_IBitmap& operator=(const LICE_IBitmap&) = delete;
  virtual ~LICE_IBitmap() = default;

  // [editor thread] First pixel of row 0 (the top row unless the bitmap is bottom-up); null when
  // the bitmap holds no pixels.
  virtual LICE_pixel* PixelData() const = 0;
  // [editor thread]
  virtual int Width() const = 0;
  // [editor thread]
  virtual int Height() const = 0;
  // [editor thread] Distance between the starts of two rows, in pixels (at least the width).
  virtual int RowSpan() const = 0;
  // [editor thread] A bottom-up bitmap stores row y at row (height - 1 - y).
  virtual bool IsBottomUp() const { return false; }
  // [editor thread · may allocate] True when the dimensions changed. Pixel contents are neither
  // cleared nor moved to a new row layout.
  virtual bool Resize(int width, int height) = 0;
  // [editor thread] The platform drawing context that shows this bitmap, or null.
  virtual void* DeviceContext() const { return nullptr; }
  // [editor thread] Room for later extensions; 0 means "not supported".
  virtual int QueryExtension(int /*id*/, void* /*data*/) { return 0; }
};
