#pragma once
// Bitmaps for the drawing tests: a filled memory bitmap, and a window onto the middle of a larger
// bitmap whose untouched border proves that nothing is written outside the window. The window
// can present itself bottom-up to exercise the reversed row order.

#include "drawing/LICE_MemBitmap.h"

#include <memory>
#include <vector>

namespace drawing_test {

inline std::unique_ptr<LICE_MemBitmap> Filled(int width, int height, LICE_pixel value) {
  auto bitmap = std::make_unique<LICE_MemBitmap>(width, height, 4);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      bitmap->PixelData()[y * bitmap->RowSpan() + x] = value;
  return bitmap;
}

// Logical pixel (x, y) of any bitmap, honouring bottom-up storage.
inline LICE_pixel& PixelAt(const LICE_IBitmap& bitmap, int x, int y) {
  const int row = bitmap.IsBottomUp() ? bitmap.Height() - 1 - y : y;
  return bitmap.PixelData()[row * bitmap.RowSpan() + x];
}

class GuardedView : public LICE_IBitmap {
public:
  static constexpr int kBorder = 8;
  static constexpr LICE_pixel kGuard = 0xA5A5A5A5;

  GuardedView(int width, int height, LICE_pixel fill, bool bottomUp = false)
      : outer_(width + 2 * kBorder, height + 2 * kBorder, 4), width_(width), height_(height),
        bottomUp_(bottomUp) {
    for (int y = 0; y < outer_.Height(); ++y)
      for (int x = 0; x < outer_.Width(); ++x) {
        const bool inside =
            x >= kBorder && x < kBorder + width && y >= kBorder && y < kBorder + height;
        outer_.PixelData()[y * outer_.RowSpan() + x] = inside ? fill : kGuard;
      }
  }

  LICE_pixel* PixelData() const override {
    return outer_.PixelData() + kBorder * outer_.RowSpan() + kBorder;
  }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  int RowSpan() const override { return outer_.RowSpan(); }
  bool IsBottomUp() const override { return bottomUp_; }
  bool Resize(int, int) override { return false; }

  bool GuardIntact() const {
    for (int y = 0; y < outer_.Height(); ++y)
      for (int x = 0; x < outer_.Width(); ++x) {
        const bool inside =
            x >= kBorder && x < kBorder + width_ && y >= kBorder && y < kBorder + height_;
        if (!inside && outer_.PixelData()[y * outer_.RowSpan() + x] != kGuard) return false;
      }
    return true;
  }
  LICE_pixel& At(int x, int y) const { return PixelAt(*this, x, y); }
  int CountNot(LICE_pixel value) const {
    int n = 0;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x)
        n += At(x, y) != value;
    return n;
  }

private:
  LICE_MemBitmap outer_;
  int width_;
  int height_;
  bool bottomUp_;
};

} // namespace drawing_test
