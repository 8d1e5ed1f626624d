// FillRectangle and MaskRectangle.

#include "drawing/LICE_PixelOps.h"
#include "drawing/LICE_Raster.h"

using namespace lice_detail;

namespace {

struct FillArea {
  LICE_pixel* first;
  std::ptrdiff_t stride;
  int width;
  int height;
};

// Cuts (x, y, w, h) to the bitmap; false when nothing is left.
bool ClipArea(LICE_IBitmap& dest, int x, int y, int w, int h, FillArea& area) {
  long long left = x, top = y, width = w, height = h;
  if (left < 0) {
    width += left;
    left = 0;
  }
  if (top < 0) {
    height += top;
    top = 0;
  }
  if (left + width > dest.Width()) width = dest.Width() - left;
  if (top + height > dest.Height()) height = dest.Height() - top;
  if (width <= 0 || height <= 0) return false;
  const Rows rows = RowsOf(dest);
  if (!rows.first) return false;
  area = FillArea{rows.Row(static_cast<int>(top)) + left, rows.stride, static_cast<int>(width),
                  static_cast<int>(height)};
  return true;
}

template <class Op> void FillLoop(const FillArea& a, Op op) {
  LICE_pixel* row = a.first;
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x)
      op(row[x]);
    row += a.stride;
  }
}

// A weighted fill in copy mode moves the alpha byte toward the weight itself, not toward the
// colour's alpha: a translucent fill leaves a surface that much more opaque.
struct FillCopyOp {
  int w;
  LICE_pixel c;
  void operator()(LICE_pixel& d) const {
    const int keep = 256 - w;
    d = Pack((Blue(d) - Blue(c)) * keep / 256 + Blue(c),
             (Green(d) - Green(c)) * keep / 256 + Green(c), (Red(d) - Red(c)) * keep / 256 + Red(c),
             w + (Alpha(d) - w) * keep / 256);
  }
};

struct FillAddOp {
  int w;
  LICE_pixel c;
  void operator()(LICE_pixel& d) const {
    d = Pack(Clamp255(Blue(d) + Blue(c) * w / 256), Clamp255(Green(d) + Green(c) * w / 256),
             Clamp255(Red(d) + Red(c) * w / 256), Clamp255(Alpha(d) + w * w / 256));
  }
};

} // namespace

void FillRectangle(LICE_IBitmap* dest, int x, int y, int w, int h, LICE_pixel colour, float alpha,
                   int mode) {
  if (!dest) return;
  if (mode & LICE_BLIT_USE_ALPHA) alpha = static_cast<float>(colour >> 24) / 255.0f * alpha;
  FillArea area{};
  if (alpha == 0.0f || !ClipArea(*dest, x, y, w, h, area)) return;

  const int weight = WeightOf(alpha);
  const int op = mode & 0xFF;
  if (op == LICE_BLIT_MODE_COPY) {
    const LICE_pixel c = colour;
    // Quarter, half and three-quarter weights are shift-and-mask averages of whole words.
    switch (weight) {
    case 64:
      return FillLoop(area, [c](LICE_pixel& d) { d = Quarter(c) + Quarter(d) + Half(d); });
    case 128:
      return FillLoop(area, [c](LICE_pixel& d) { d = Half(c) + Half(d); });
    case 192:
      return FillLoop(area, [c](LICE_pixel& d) { d = Half(c) + Quarter(c) + Quarter(d); });
    default:
      break;
    }
    if (weight >= 256) return FillLoop(area, [c](LICE_pixel& d) { d = c; });
    if (weight == 0) return;
    return FillLoop(area, FillCopyOp{weight, c});
  }
  if (weight == 0) return;
  if (op == LICE_BLIT_MODE_ADD) {
    // The alpha product w * w stays inside int for every capped weight.
    return FillLoop(area, FillAddOp{weight > 4096 ? 4096 : weight, colour});
  }
  // The remaining operations are the blit's, with the colour as the source pixel.
  DispatchBlend(op, weight, [&area, colour](auto blend) {
    FillLoop(area, [&blend, colour](LICE_pixel& d) { blend(d, colour); });
  });
}

void MaskRectangle(LICE_IBitmap* dest, int x, int y, int w, int h, LICE_pixel andMask,
                   LICE_pixel orBits) {
  if (!dest) return;
  FillArea area{};
  if (!ClipArea(*dest, x, y, w, h, area)) return;
  FillLoop(area, [andMask, orBits](LICE_pixel& d) { d = (d & andMask) | orBits; });
}
