// BlitBitmap and its convenience forms.

#include "drawing/LICE_PixelOps.h"
#include "drawing/LICE_Raster.h"

#include <cstring>

using namespace lice_detail;

namespace {

struct BlitArea {
  LICE_pixel* dst;
  std::ptrdiff_t dstStride;
  const LICE_pixel* src;
  std::ptrdiff_t srcStride;
  int width;
  int height;
};

template <class Op> void BlitLoop(const BlitArea& a, Op op) {
  LICE_pixel* dstRow = a.dst;
  const LICE_pixel* srcRow = a.src;
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x)
      op(dstRow[x], srcRow[x]);
    dstRow += a.dstStride;
    srcRow += a.srcStride;
  }
}

void RowCopyLoop(const BlitArea& a) {
  LICE_pixel* dstRow = a.dst;
  const LICE_pixel* srcRow = a.src;
  const size_t bytes = static_cast<size_t>(a.width) * sizeof(LICE_pixel);
  for (int y = 0; y < a.height; ++y) {
    // memmove: a bitmap blitted onto itself may overlap.
    std::memmove(dstRow, srcRow, bytes);
    dstRow += a.dstStride;
    srcRow += a.srcStride;
  }
}

void ChannelCopyLoop(const BlitArea& a, int mode) {
  const int from = (mode & 3) * 8;
  const int to = ((mode >> 2) & 3) * 8;
  const LICE_pixel keep = ~(LICE_pixel{0xFF} << to);
  BlitLoop(a, [from, to, keep](LICE_pixel& d, LICE_pixel s) {
    d = (d & keep) | (((s >> from) & 0xFFu) << to);
  });
}

} // namespace

void BlitBitmap(LICE_IBitmap* dest, const LICE_IBitmap* src, int dstX, int dstY,
                const LICE_Rect* srcRect, float alpha, int mode) {
  if (!dest || !src || alpha == 0.0f) return;

  // Work in 64 bits: positions and rectangles come from callers and may be anything.
  long long left = 0, top = 0, right = src->Width(), bottom = src->Height();
  if (srcRect) {
    left = srcRect->left;
    top = srcRect->top;
    right = srcRect->right;
    bottom = srcRect->bottom;
  }
  long long dx = dstX, dy = dstY;
  if (right > src->Width()) right = src->Width();
  if (bottom > src->Height()) bottom = src->Height();
  // Clipping one side moves the other by the same amount, so every source pixel still lands
  // where it would have landed unclipped.
  if (left < 0) {
    dx -= left;
    left = 0;
  }
  if (top < 0) {
    dy -= top;
    top = 0;
  }
  if (dx < 0) {
    left -= dx;
    dx = 0;
  }
  if (dy < 0) {
    top -= dy;
    dy = 0;
  }
  if (dx + (right - left) > dest->Width()) right = left + dest->Width() - dx;
  if (dy + (bottom - top) > dest->Height()) bottom = top + dest->Height() - dy;
  if (left >= right || top >= bottom) return;

  const Rows dstRows = RowsOf(*dest);
  const Rows srcRows = RowsOf(*src);
  if (!dstRows.first || !srcRows.first) return;

  const BlitArea area{dstRows.Row(static_cast<int>(dy)) + dx,
                      dstRows.stride,
                      srcRows.Row(static_cast<int>(top)) + left,
                      srcRows.stride,
                      static_cast<int>(right - left),
                      static_cast<int>(bottom - top)};

  if ((mode & 0xFF) >= LICE_BLIT_MODE_CHANCOPY) {
    ChannelCopyLoop(area, mode);
    return;
  }
  if ((mode & 0x100FF) == 0) {
    if (alpha == 1.0f) {
      RowCopyLoop(area);
      return;
    }
    if (alpha == 0.5f) {
      BlitLoop(area, HalfOp{});
      return;
    }
  }
  const int w = WeightOf(alpha);
  if (w == 0) return;
  DispatchBlend(mode, w, [&area](auto op) { BlitLoop(area, op); });
}

void BlitBitmapRect(LICE_IBitmap* dest, const LICE_IBitmap* src, int dstX, int dstY, int srcX,
                    int srcY, int srcW, int srcH, float alpha, int mode) {
  // Saturate rather than overflow when a caller hands extreme extents.
  auto farEdge = [](int origin, int extent) {
    const long long edge = static_cast<long long>(origin) + extent;
    return edge > INT32_MAX ? INT32_MAX : (edge < INT32_MIN ? INT32_MIN : static_cast<int>(edge));
  };
  const LICE_Rect r{srcX, srcY, farEdge(srcX, srcW), farEdge(srcY, srcH)};
  BlitBitmap(dest, src, dstX, dstY, &r, alpha, mode);
}

void CopyBitmap(LICE_IBitmap* dest, const LICE_IBitmap* src) {
  if (!dest || !src) return;
  dest->Resize(src->Width(), src->Height());
  BlitBitmap(dest, src, 0, 0, nullptr, 1.0f, LICE_BLIT_MODE_COPY);
}
