// DrawLine: clipped by region codes, then drawn as a horizontal or vertical run, an exact
// diagonal, or a general line stepped in 16.16 fixed point from both ends toward the middle.

#include "drawing/LICE_PixelOps.h"
#include "drawing/LICE_Raster.h"

#include <cstdlib>

using namespace lice_detail;

namespace {

// The stored pixels, addressed by stored row: a bottom-up bitmap has its end points mirrored
// before clipping, so no further row flipping happens here.
struct Canvas {
  LICE_pixel* data;
  std::ptrdiff_t span;
  int width;
  int height;
  LICE_pixel* At(int x, int y) const { return data + span * y + x; }
};

enum RegionCode { kLeft = 1, kRight = 2, kAbove = 4, kBelow = 8 };

int CodeOf(long long x, long long y, int width, int height) {
  int code = 0;
  if (x < 0)
    code |= kLeft;
  else if (x > width - 1)
    code |= kRight;
  if (y < 0)
    code |= kAbove;
  else if (y > height - 1)
    code |= kBelow;
  return code;
}

// Moves the end points onto the bitmap; false when the line misses it.
bool ClipLine(long long& x1, long long& y1, long long& x2, long long& y2, int width, int height) {
  int c1 = CodeOf(x1, y1, width, height);
  int c2 = CodeOf(x2, y2, width, height);
  // Each pass settles at least one edge of one end point; a handful always suffices.
  for (int pass = 0; c1 | c2; ++pass) {
    if ((c1 & c2) || pass > 8) return false;
    const bool moveStart = c1 != 0;
    const int code = moveStart ? c1 : c2;
    const double dx = static_cast<double>(x2 - x1);
    const double dy = static_cast<double>(y2 - y1);
    double nx, ny;
    if (code & kBelow) {
      ny = height - 1;
      nx = static_cast<double>(x1) + dx * (ny - static_cast<double>(y1)) / dy;
    } else if (code & kAbove) {
      ny = 0;
      nx = static_cast<double>(x1) + dx * (ny - static_cast<double>(y1)) / dy;
    } else if (code & kRight) {
      nx = width - 1;
      ny = static_cast<double>(y1) + dy * (nx - static_cast<double>(x1)) / dx;
    } else {
      nx = 0;
      ny = static_cast<double>(y1) + dy * (nx - static_cast<double>(x1)) / dx;
    }
    if (moveStart) {
      x1 = static_cast<long long>(nx);
      y1 = static_cast<long long>(ny);
      c1 = CodeOf(x1, y1, width, height);
    } else {
      x2 = static_cast<long long>(nx);
      y2 = static_cast<long long>(ny);
      c2 = CodeOf(x2, y2, width, height);
    }
  }
  return true;
}

// ---- What one plotted pixel does --------------------------------------------------------------

struct SetWordPlot {
  LICE_pixel c;
  void operator()(LICE_pixel& d) const { d = c; }
};
struct HalfPlot {
  LICE_pixel c;
  void operator()(LICE_pixel& d) const { d = Half(c) + Half(d); }
};
struct QuarterPlot {
  LICE_pixel c;
  void operator()(LICE_pixel& d) const { d = Quarter(c) + Quarter(d) + Half(d); }
};
struct ThreeQuarterPlot {
  LICE_pixel c;
  void operator()(LICE_pixel& d) const { d = Quarter(c) + Half(c) + Quarter(d); }
};
// Half weight that is not exactly 0.5: a true per-byte average, rounding down once.
struct AveragePlot {
  LICE_pixel c;
  void operator()(LICE_pixel& d) const {
    d = Pack((Blue(c) + Blue(d)) >> 1, (Green(c) + Green(d)) >> 1, (Red(c) + Red(d)) >> 1,
             (Alpha(c) + Alpha(d)) >> 1);
  }
};
template <class Op> struct BlendPlot {
  Op op;
  LICE_pixel c;
  void operator()(LICE_pixel& d) const { op(d, c); }
};
template <class Op> BlendPlot(Op, LICE_pixel) -> BlendPlot<Op>;

// Calls f with the plot for a line body of operation op at the given alpha. The quarter-step
// word averages are for horizontal and vertical runs only.
template <class F> void WithBodyPlot(int op, float alpha, LICE_pixel c, bool wordAverages, F&& f) {
  if (op == LICE_BLIT_MODE_COPY) {
    if (alpha == 1.0f) return f(SetWordPlot{c});
    if (wordAverages) {
      if (alpha == 0.5f) return f(HalfPlot{c});
      if (alpha == 0.25f) return f(QuarterPlot{c});
      if (alpha == 0.75f) return f(ThreeQuarterPlot{c});
    }
  }
  const int w = WeightOf(alpha);
  if (w == 0) return;
  if (op == LICE_BLIT_MODE_COPY) {
    if (w >= 256) return f(SetWordPlot{c});
    if (w == 128) return f(AveragePlot{c});
    return f(BlendPlot{CopyOp{w}, c});
  }
  DispatchBlend(op, w, [&f, c](auto blend) { f(BlendPlot{blend, c}); });
}

// A plot at a per-pixel weight (antialiasing): every byte, alpha included, blends by weight.
template <class Op> struct WeightedPlot {
  LICE_pixel c;
  void operator()(LICE_pixel& d, int weight) const {
    if (weight <= 0) return;
    Op{weight}(d, c);
  }
};

template <class F> void WithWeightedPlot(int op, LICE_pixel c, F&& f) {
  switch (op) {
  case LICE_BLIT_MODE_ADD:
    return f(WeightedPlot<AddOp>{c});
  case LICE_BLIT_MODE_DODGE:
    return f(WeightedPlot<DodgeOp>{c});
  case LICE_BLIT_MODE_MUL:
    return f(WeightedPlot<MultiplyOp>{c});
  case LICE_BLIT_MODE_OVERLAY:
    return f(WeightedPlot<OverlayOp>{c});
  case LICE_BLIT_MODE_HSVADJ:
    return f(WeightedPlot<HsvOp>{c});
  default:
    return f(WeightedPlot<CopyOp>{c});
  }
}

// ---- Line shapes ------------------------------------------------------------------------------

template <class Plot> void StraightRun(LICE_pixel* p, std::ptrdiff_t step, int count, Plot plot) {
  for (int i = 0; i < count; ++i, p += step)
    plot(*p);
}

struct Geometry {
  LICE_pixel* start;
  LICE_pixel* end;
  std::ptrdiff_t majorStep;
  std::ptrdiff_t minorStep;
  int extent; // D, the larger of |dx| and |dy|
  int slope;  // |minor| / D in 16.16
};

Geometry GeometryOf(const Canvas& cv, int x1, int y1, int x2, int y2) {
  const int dx = x2 - x1, dy = y2 - y1;
  const int adx = std::abs(dx), ady = std::abs(dy);
  const std::ptrdiff_t sx = dx < 0 ? -1 : 1;
  const std::ptrdiff_t sy = dy < 0 ? -cv.span : cv.span;
  Geometry g{cv.At(x1, y1), cv.At(x2, y2), sx, sy, adx, 0};
  int minor = ady;
  if (ady > adx) {
    g.majorStep = sy;
    g.minorStep = sx;
    g.extent = ady;
    minor = adx;
  }
  g.slope = static_cast<int>(static_cast<double>(minor) / g.extent * 65536.0);
  return g;
}

// D + 1 pixels, one per step of the major axis, drawn inward from both ends.
template <class Plot> void GeneralLine(const Geometry& g, Plot plot) {
  LICE_pixel* a = g.start;
  LICE_pixel* b = g.end;
  int error = 0;
  for (int i = (g.extent + 1) / 2; i > 0; --i) {
    plot(*a);
    plot(*b);
    a += g.majorStep;
    b -= g.majorStep;
    if (g.slope + error >= 0x8000) {
      a += g.minorStep;
      b -= g.minorStep;
      error += g.slope - 0x10000;
    } else {
      error += g.slope;
    }
  }
  if (g.extent % 2 == 0) plot(*a);
}

// Antialiased: each step shares the weight between the pixel on the line and its neighbour
// along the minor axis, in proportion to where the true line passes between them.
template <class Plot> void GeneralLineAntialiased(const Geometry& g, int w, Plot plot) {
  plot(*g.start, w);
  plot(*g.end, w);
  LICE_pixel* a = g.start + g.majorStep;
  LICE_pixel* b = g.end - g.majorStep;
  int t = g.slope;
  auto plotPair = [&](LICE_pixel* p, std::ptrdiff_t towardNeighbour) {
    int onLine = 255 - t / 256;
    int beside = t / 256;
    if (w < 256) {
      onLine = onLine * w / 256;
      beside = beside * w / 256;
    }
    plot(*p, onLine);
    plot(*(p + towardNeighbour), beside);
  };
  const int interior = g.extent - 1;
  for (int i = interior / 2; i > 0; --i) {
    plotPair(a, g.minorStep);
    plotPair(b, -g.minorStep);
    a += g.majorStep;
    b -= g.majorStep;
    if (g.slope + t >= 0x10000) {
      a += g.minorStep;
      b -= g.minorStep;
      t += g.slope - 0x10000;
    } else {
      t += g.slope;
    }
  }
  if (interior % 2 == 1) plotPair(a, g.minorStep);
}

} // namespace

void DrawLine(LICE_IBitmap* dest, int x1, int y1, int x2, int y2, LICE_pixel colour, float alpha,
              int mode, bool antialias) {
  if (!dest) return;
  const int op = mode & 0xFF;
  const Canvas cv{dest->PixelData(), dest->RowSpan(), dest->Width(), dest->Height()};
  if (!cv.data || cv.width <= 0 || cv.height <= 0) return;

  long long ax = x1, ay = y1, bx = x2, by = y2;
  if (dest->IsBottomUp()) {
    ay = cv.height - 1 - ay;
    by = cv.height - 1 - by;
  }
  if (!ClipLine(ax, ay, bx, by, cv.width, cv.height)) return;
  x1 = static_cast<int>(ax);
  y1 = static_cast<int>(ay);
  x2 = static_cast<int>(bx);
  y2 = static_cast<int>(by);

  if (y1 == y2) {
    if (x1 > x2) std::swap(x1, x2);
    WithBodyPlot(op, alpha, colour, true,
                 [&](auto plot) { StraightRun(cv.At(x1, y1), 1, x2 - x1 + 1, plot); });
    return;
  }
  if (x1 == x2) {
    if (y1 > y2) std::swap(y1, y2);
    WithBodyPlot(op, alpha, colour, true,
                 [&](auto plot) { StraightRun(cv.At(x1, y1), cv.span, y2 - y1 + 1, plot); });
    return;
  }

  const Geometry g = GeometryOf(cv, x1, y1, x2, y2);
  const bool diagonal = std::abs(x2 - x1) == std::abs(y2 - y1);
  if (diagonal) {
    const std::ptrdiff_t step = g.majorStep + g.minorStep;
    const std::ptrdiff_t column = (x2 > x1) ? 1 : -1;
    const std::ptrdiff_t row = (y2 > y1) ? cv.span : -cv.span;
    if (!antialias) {
      WithBodyPlot(op, alpha, colour, false,
                   [&](auto plot) { StraightRun(g.start, step, g.extent + 1, plot); });
      return;
    }
    if (op == LICE_BLIT_MODE_COPY && alpha == 1.0f) {
      LICE_pixel* p = g.start;
      for (int i = 0; i < g.extent; ++i, p += step) {
        *p = Quarter(colour) + Half(colour) + Quarter(*p);
        p[column] = Quarter(colour) + Quarter(p[column]) + Half(p[column]);
        p[row] = Quarter(colour) + Quarter(p[row]) + Half(p[row]);
      }
      *p = Quarter(colour) + Half(colour) + Quarter(*p);
      return;
    }
    const int w = WeightOf(alpha);
    if (w == 0) return;
    const int core = (w > 256 ? 256 : w) * 192 / 256;
    const int side = (w > 256 ? 256 : w) * 64 / 256;
    WithWeightedPlot(op, colour, [&](auto plot) {
      LICE_pixel* p = g.start;
      for (int i = 0; i < g.extent; ++i, p += step) {
        plot(*p, core);
        plot(p[column], side);
        plot(p[row], side);
      }
      plot(*p, core);
    });
    return;
  }

  if (!antialias) {
    WithBodyPlot(op, alpha, colour, false, [&](auto plot) { GeneralLine(g, plot); });
    return;
  }
  const int w = WeightOf(alpha);
  if (w == 0) return;
  WithWeightedPlot(op, colour,
                   [&](auto plot) { GeneralLineAntialiased(g, w > 256 ? 256 : w, plot); });
}
