// BlitBitmapScaled and BlitBitmapRotated: destination pixels are visited in order and each takes
// a sample of the source (nearest, bilinear, or a box average for strong reductions), which then
// goes through the blend operation exactly as in BlitBitmap. Source positions are stepped in
// 16.16 fixed point held in 64 bits, so large bitmaps cannot overflow the position.

#include "drawing/LICE_PixelOps.h"
#include "drawing/LICE_Raster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

using namespace lice_detail;

namespace {

constexpr double kOne = 65536.0;

// The part of the source that may be sampled: [left, right) x [top, bottom).
struct SourceArea {
  Rows rows;
  int left;
  int top;
  int right;
  int bottom;
  bool Contains(long long x, long long y) const {
    return x >= left && x < right && y >= top && y < bottom;
  }
};

struct NearestSample {
  SourceArea area;
  LICE_pixel operator()(long long sx, long long sy, int, int) const {
    return area.rows.Row(static_cast<int>(sy))[sx];
  }
};

// Bilinear mix of the 2 x 2 neighbourhood; on the last column or row only the axis that still
// has a neighbour is interpolated, and the last corner is taken as it is. The four weights are
// built so that they always sum to exactly 65536.
struct BilinearSample {
  SourceArea area;
  LICE_pixel operator()(long long sx, long long sy, int fx, int fy) const {
    const LICE_pixel* row = area.rows.Row(static_cast<int>(sy)) + sx;
    const bool right = sx + 1 < area.right;
    const bool below = sy + 1 < area.bottom;
    if (!right) fx = 0;
    if (!below) fy = 0;
    if (fx == 0 && fy == 0) return row[0];
    const LICE_pixel* next = below ? area.rows.Row(static_cast<int>(sy) + 1) + sx : row;
    const LICE_pixel p00 = row[0], p01 = right ? row[1] : p00;
    const LICE_pixel p10 = next[0], p11 = right ? next[1] : p10;
    const long long w11 = static_cast<long long>(fx) * fy >> 16;
    const long long w01 = fx - w11, w10 = fy - w11;
    const long long w00 = 65536 - fx - fy + w11;
    auto mix = [&](int channel) {
      const long long sum = Byte(p00, channel) * w00 + Byte(p01, channel) * w01 +
                            Byte(p10, channel) * w10 + Byte(p11, channel) * w11;
      return static_cast<int>(sum / 65536);
    };
    return Pack(mix(0), mix(1), mix(2), mix(3));
  }
};

// Average of a (2 * kRadius + 1) square around the sampled pixel, taps outside the area left out.
template <int kRadius> struct BoxSample {
  SourceArea area;
  LICE_pixel operator()(long long sx, long long sy, int, int) const {
    int sum[4] = {0, 0, 0, 0};
    int taps = 0;
    for (long long y = sy - kRadius; y <= sy + kRadius; ++y) {
      if (y < area.top || y >= area.bottom) continue;
      const LICE_pixel* row = area.rows.Row(static_cast<int>(y));
      for (long long x = sx - kRadius; x <= sx + kRadius; ++x) {
        if (x < area.left || x >= area.right) continue;
        const LICE_pixel p = row[x];
        for (int c = 0; c < 4; ++c)
          sum[c] += Byte(p, c);
        ++taps;
      }
    }
    return Pack(sum[0] / taps, sum[1] / taps, sum[2] / taps, sum[3] / taps);
  }
};

// The destination area and how the source position moves across it.
struct Walk {
  Rows dst;
  int x0, y0, width, height; // destination pixels, already clipped to the bitmap
  long long u0, v0;          // source position of (x0, y0), 16.16
  long long duX, dvX;        // per destination column
  long long duY, dvY;        // per destination row
};

template <class Sample, class Op>
void WalkLoop(const Walk& w, const SourceArea& area, Sample sample, Op op) {
  long long rowU = w.u0, rowV = w.v0;
  for (int y = 0; y < w.height; ++y, rowU += w.duY, rowV += w.dvY) {
    LICE_pixel* out = w.dst.Row(w.y0 + y) + w.x0;
    long long u = rowU, v = rowV;
    for (int x = 0; x < w.width; ++x, u += w.duX, v += w.dvX) {
      const long long sx = u >> 16, sy = v >> 16;
      if (!area.Contains(sx, sy)) continue;
      op(out[x], sample(sx, sy, static_cast<int>(u & 0xFFFF), static_cast<int>(v & 0xFFFF)));
    }
  }
}

// Decodes the blend once, then runs the loop for the chosen sampler. A plain nearest copy at
// half weight averages word halves; at full weight (or more) it copies the word.
template <class Sample>
void BlendWalk(const Walk& w, const SourceArea& area, Sample sample, float alpha, int mode) {
  const int weight = WeightOf(alpha);
  if (weight == 0) return;
  if ((mode & (0x100FF | LICE_BLIT_FILTER_BILINEAR)) == 0 && weight == 128)
    return WalkLoop(w, area, sample, HalfOp{});
  DispatchBlend(mode & 0x100FF, weight, [&](auto op) { WalkLoop(w, area, sample, op); });
}

// Clips the destination rectangle to the bitmap, moving the source start by the pixels cut off
// the left and top.
bool ClipWalk(Walk& w, const LICE_IBitmap& dest) {
  long long x0 = w.x0, y0 = w.y0, x1 = x0 + w.width, y1 = y0 + w.height;
  if (x0 < 0) {
    w.u0 += w.duX * -x0;
    w.v0 += w.dvX * -x0;
    x0 = 0;
  }
  if (y0 < 0) {
    w.u0 += w.duY * -y0;
    w.v0 += w.dvY * -y0;
    y0 = 0;
  }
  if (x1 > dest.Width()) x1 = dest.Width();
  if (y1 > dest.Height()) y1 = dest.Height();
  if (x0 >= x1 || y0 >= y1) return false;
  w.x0 = static_cast<int>(x0);
  w.y0 = static_cast<int>(y0);
  w.width = static_cast<int>(x1 - x0);
  w.height = static_cast<int>(y1 - y0);
  return true;
}

long long ToFixed(double v) {
  // Positions beyond any bitmap are pinned; they sample nothing either way.
  const double f = v * kOne;
  if (!(f > -4.0e15)) return -4000000000000000LL;
  if (f > 4.0e15) return 4000000000000000LL;
  return static_cast<long long>(f);
}

bool Near(double a, double b, double tolerance) {
  return std::fabs(a - b) < tolerance;
}

} // namespace

void BlitBitmapScaled(LICE_IBitmap* dest, const LICE_IBitmap* src, int dstX, int dstY, int dstW,
                      int dstH, float srcX, float srcY, float srcW, float srcH, float alpha,
                      int mode) {
  if (!dest || !src || dstW == 0 || dstH == 0 || alpha == 0.0f) return;
  if (!std::isfinite(srcX) || !std::isfinite(srcY) || !std::isfinite(srcW) || !std::isfinite(srcH))
    return;
  const bool filter = (mode & LICE_BLIT_FILTER_BILINEAR) != 0;

  // Same size: a plain blit, unless bilinear filtering would actually shift the pixels.
  if (Near(srcW, dstW, 0.001) && Near(srcH, dstH, 0.001) &&
      (!filter || (Near(srcX, std::round(srcX), 0.03) && Near(srcY, std::round(srcY), 0.03)))) {
    const int sx = static_cast<int>(srcX + 0.5), sy = static_cast<int>(srcY + 0.5);
    BlitBitmapRect(dest, src, dstX, dstY, sx, sy, dstW, dstH, alpha,
                   mode & ~LICE_BLIT_FILTER_BILINEAR);
    return;
  }

  double x = srcX, y = srcY, w = srcW, h = srcH;
  long long dx = dstX, dy = dstY, dw = dstW, dh = dstH;
  // A negative extent mirrors that axis: the destination origin moves back by the extent and
  // the source is walked from its far edge (less one step, so mirrored sampling hits the same
  // source pixels as unmirrored sampling).
  if (dw < 0) {
    dw = -dw;
    dx -= dw;
    x += w - w / static_cast<double>(dw);
    w = -w;
  }
  if (dh < 0) {
    dh = -dh;
    dy -= dh;
    y += h - h / static_cast<double>(dh);
    h = -h;
  }
  if (dx > INT32_MAX || dy > INT32_MAX || dx < INT32_MIN || dy < INT32_MIN) return;

  const Rows srcRows = RowsOf(*src);
  const Rows dstRows = RowsOf(*dest);
  if (!srcRows.first || !dstRows.first) return;
  const SourceArea area{srcRows, 0, 0, src->Width(), src->Height()};

  Walk walk{dstRows,
            static_cast<int>(dx),
            static_cast<int>(dy),
            static_cast<int>(dw),
            static_cast<int>(dh),
            ToFixed(x),
            ToFixed(y),
            ToFixed(w / dw),
            0,
            0,
            ToFixed(h / dh)};
  if (!ClipWalk(walk, *dest)) return;

  const double stepX = std::fabs(w / dw), stepY = std::fabs(h / dh);
  if (filter && stepX >= 1.7 && stepY >= 1.7) {
    const long long larger = std::max(std::abs(walk.duX), std::abs(walk.dvY));
    if (larger > 0x30000) return BlendWalk(walk, area, BoxSample<2>{area}, alpha, mode);
    return BlendWalk(walk, area, BoxSample<1>{area}, alpha, mode);
  }
  if (filter) return BlendWalk(walk, area, BilinearSample{area}, alpha, mode);
  BlendWalk(walk, area, NearestSample{area}, alpha, mode);
}

void BlitBitmapRotated(LICE_IBitmap* dest, const LICE_IBitmap* src, int dstX, int dstY, int dstW,
                       int dstH, float srcX, float srcY, float srcW, float srcH, float angle,
                       bool clipToSource, float alpha, int mode, float centreOffsetX,
                       float centreOffsetY) {
  if (!dest || !src || dstW == 0 || dstH == 0 || alpha == 0.0f) return;
  for (float v : {srcX, srcY, srcW, srcH, angle, centreOffsetX, centreOffsetY})
    if (!std::isfinite(v)) return;

  double x = srcX, y = srcY, w = srcW, h = srcH;
  long long dx = dstX, dy = dstY, dw = dstW, dh = dstH;
  if (dw < 0) {
    dw = -dw;
    dx -= dw;
    x += w;
    w = -w;
  }
  if (dh < 0) {
    dh = -dh;
    dy -= dh;
    y += h;
    h = -h;
  }
  if (dx > INT32_MAX || dy > INT32_MAX || dx < INT32_MIN || dy < INT32_MIN) return;

  const Rows srcRows = RowsOf(*src);
  const Rows dstRows = RowsOf(*dest);
  if (!srcRows.first || !dstRows.first) return;

  SourceArea area{srcRows, 0, 0, src->Width(), src->Height()};
  if (clipToSource) {
    const double left = std::fmin(x, x + w), right = std::fmax(x, x + w);
    const double top = std::fmin(y, y + h), bottom = std::fmax(y, y + h);
    area.left = static_cast<int>(std::fmax(left, 0.0));
    area.top = static_cast<int>(std::fmax(top, 0.0));
    area.right = static_cast<int>(std::fmin(std::ceil(right), static_cast<double>(area.right)));
    area.bottom = static_cast<int>(std::fmin(std::ceil(bottom), static_cast<double>(area.bottom)));
    if (area.left >= area.right || area.top >= area.bottom) return;
  }

  // The turning point, in the destination and in the source; the offsets move both.
  const double scaleX = w / dw, scaleY = h / dh;
  const double pivotX = dx + dw * 0.5 + centreOffsetX, pivotY = dy + dh * 0.5 + centreOffsetY;
  const double sourcePivotX = x + w * 0.5 + centreOffsetX * scaleX;
  const double sourcePivotY = y + h * 0.5 + centreOffsetY * scaleY;
  const double c = std::cos(angle), s = std::sin(angle);
  // Source position of destination pixel (px, py): pivot + R(angle) * (p - pivot), scaled.
  auto sourceAt = [&](double px, double py, double& u, double& v) {
    const double ox = px - pivotX, oy = py - pivotY;
    u = sourcePivotX + (ox * c + oy * s) * scaleX;
    v = sourcePivotY + (-ox * s + oy * c) * scaleY;
  };
  // Pixel centres are mapped; nearest sampling takes the source pixel the centre falls in,
  // bilinear sampling measures from the source pixels' centres (hence the half-pixel shift).
  double u0, v0;
  sourceAt(static_cast<double>(dx) + 0.5, static_cast<double>(dy) + 0.5, u0, v0);
  const bool filter = (mode & LICE_BLIT_FILTER_BILINEAR) != 0;
  if (filter) {
    u0 -= 0.5;
    v0 -= 0.5;
  }
  Walk walk{dstRows,
            static_cast<int>(dx),
            static_cast<int>(dy),
            static_cast<int>(dw),
            static_cast<int>(dh),
            ToFixed(u0),
            ToFixed(v0),
            ToFixed(c * scaleX),
            ToFixed(-s * scaleY),
            ToFixed(s * scaleX),
            ToFixed(c * scaleY)};
  if (!ClipWalk(walk, *dest)) return;
  if (filter) return BlendWalk(walk, area, BilinearSample{area}, alpha, mode);
  BlendWalk(walk, area, NearestSample{area}, alpha, mode);
}
