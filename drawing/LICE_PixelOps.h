#pragma once
// The per-pixel arithmetic shared by the raster functions. Every division truncates toward zero
// (a negative difference is divided as a negative number), exactly as C++ integer division
// does; results are kept bit-identical across platforms, so nothing here may be "simplified"
// into shifts on signed values.
//
// Each operation is a small value type applied by a templated loop, so the mode is decoded once
// per call and every (operation, kind of drawing) pair gets its own loop.

#include "drawing/LICE_IBitmap.h"

#include <array>
#include <cstddef>

namespace lice_detail {

constexpr LICE_pixel Half(LICE_pixel x) {
  return (x >> 1) & 0x7F7F7F7Fu;
}
constexpr LICE_pixel Quarter(LICE_pixel x) {
  return (x >> 2) & 0x3F3F3F3Fu;
}

constexpr int Byte(LICE_pixel p, int channel) {
  return static_cast<int>((p >> (8 * channel)) & 0xFFu);
}
constexpr int Blue(LICE_pixel p) {
  return Byte(p, 0);
}
constexpr int Green(LICE_pixel p) {
  return Byte(p, 1);
}
constexpr int Red(LICE_pixel p) {
  return Byte(p, 2);
}
constexpr int Alpha(LICE_pixel p) {
  return Byte(p, 3);
}

constexpr int Clamp255(int v) {
  return v < 0 ? 0 : (v > 255 ? 255 : v);
}

constexpr LICE_pixel Pack(int b, int g, int r, int a) {
  return static_cast<LICE_pixel>(b) | (static_cast<LICE_pixel>(g) << 8) |
         (static_cast<LICE_pixel>(r) << 16) | (static_cast<LICE_pixel>(a) << 24);
}

// The integer weight of a float alpha: (int)(alpha * 256). NaN and negative weights draw
// nothing; absurdly large ones are capped so that products stay inside int.
inline int WeightOf(float alpha) {
  if (!(alpha > 0.0f)) return 0;
  if (alpha >= 256.0f) return 65536;
  return static_cast<int>(alpha * 256.0f);
}

// ---- One channel, weight w (1..256 unless noted) --------------------------------------------

constexpr int CopyChannel(int d, int s, int w) {
  return s + (d - s) * (256 - w) / 256;
}
constexpr int AddChannel(int d, int s, int w) {
  return Clamp255(d + w * s / 256);
}
constexpr int DodgeChannel(int d, int s, int w) {
  const int t = w * s / 256;
  return t > 254 ? Clamp255(d * 256) : Clamp255(d * 256 / (256 - t));
}
constexpr int MultiplyChannel(int d, int s, int w) {
  return (w * s + (256 - w) * 256) * d / 65536;
}
constexpr int OverlayChannel(int d, int s, int w) {
  const int v = w * s + (256 - w) * 128;
  return Clamp255((d * (32768 - v) / 256 + v) * d / 32768);
}

// ---- Hue / saturation / value adjust ----------------------------------------------------------

// T[0] = 0, T[i] = floor(65536 / i) - 1: division by a channel value becomes a multiply.
inline constexpr std::array<int, 256> kReciprocal = [] {
  std::array<int, 256> t{};
  for (int i = 1; i < 256; ++i)
    t[static_cast<size_t>(i)] = 65536 / i - 1;
  return t;
}();

// Moves the destination's hue, saturation and value by the source's red, green and blue, at
// weight w; the result carries the source's alpha byte.
constexpr LICE_pixel HsvAdjust(LICE_pixel d, LICE_pixel s, int w) {
  const int r = Red(d), g = Green(d), b = Blue(d);
  int hi = r > g ? r : g;
  hi = hi > b ? hi : b;
  int lo = r < g ? r : g;
  lo = lo < b ? lo : b;
  const int delta = hi - lo;
  int v = hi;
  int sat = kReciprocal[static_cast<size_t>(v)] * delta / 256;
  const int k = kReciprocal[static_cast<size_t>(delta)] + 1;
  int h;
  if (g > r && g > b) {
    h = 128 + k * (b - r) / 1024;
  } else if (g > r) { // and b >= g
    h = 256 + k * (r - g) / 1024;
  } else if (r > b) { // r >= g
    h = g < b ? 383 + k * (g - b) / 1024 : k * (g - b) / 1024;
  } else { // b >= r >= g
    h = 256 + k * (r - g) / 1024;
  }

  const int rs = Red(s);
  h += w * (rs + rs / 2 - 192) / 256;
  if (h < 0)
    h += 384;
  else if (h >= 384)
    h -= 384;
  sat = Clamp255(sat + w * (Green(s) - 128) / 128);
  v = Clamp255(v + w * (Blue(s) - 128) / 128);

  const int p = v * (256 - sat) / 256;
  auto u = [v, sat](int f) { return v * (16384 - f * sat) / 16384; };
  int ro, go, bo;
  if (h < 64) {
    ro = v, go = u(64 - h), bo = p;
  } else if (h < 128) {
    ro = u(h - 64), go = v, bo = p;
  } else if (h < 192) {
    ro = p, go = v, bo = u(192 - h);
  } else if (h < 256) {
    ro = p, go = u(h - 192), bo = v;
  } else if (h < 320) {
    ro = u(320 - h), go = p, bo = v;
  } else {
    ro = v, go = p, bo = u(h - 320);
  }
  return Pack(Clamp255(bo), Clamp255(go), Clamp255(ro), Alpha(s));
}

// ---- Whole-pixel operations: op(d, s) updates the destination word d ---------------------------

// Without source alpha every byte, alpha included, goes through the same formula.
template <int (*Channel)(int, int, int)> struct PerByteOp {
  int w;
  void operator()(LICE_pixel& d, LICE_pixel s) const {
    d = Pack(Channel(Blue(d), Blue(s), w), Channel(Green(d), Green(s), w),
             Channel(Red(d), Red(s), w), Channel(Alpha(d), Alpha(s), w));
  }
};
using CopyOp = PerByteOp<CopyChannel>;
using AddOp = PerByteOp<AddChannel>;
using DodgeOp = PerByteOp<DodgeChannel>;
using MultiplyOp = PerByteOp<MultiplyChannel>;
using OverlayOp = PerByteOp<OverlayChannel>;

struct WordCopyOp {
  void operator()(LICE_pixel& d, LICE_pixel s) const { d = s; }
};
struct HalfOp {
  void operator()(LICE_pixel& d, LICE_pixel s) const { d = Half(s) + Half(d); }
};
struct HsvOp {
  int w;
  void operator()(LICE_pixel& d, LICE_pixel s) const { d = HsvAdjust(d, s, w); }
};

// Copy weighted by source alpha at full weight: 255 - sa keeps an almost opaque source from
// ever reaching it, and the destination's alpha grows by the source's, saturating. An opaque
// source comes out as the source word through the same arithmetic (keep = 0, alpha 255), so
// only the transparent source needs a separate case; writing it as a select rather than a
// branch lets the compiler process several pixels at once.
struct SourceAlphaFullCopyOp {
  void operator()(LICE_pixel& d, LICE_pixel s) const {
    const int sa = Alpha(s);
    const int keep = 255 - sa;
    const int da = Alpha(d) + sa;
    const LICE_pixel blended = Pack(Blue(s) + (Blue(d) - Blue(s)) * keep / 256,
                                    Green(s) + (Green(d) - Green(s)) * keep / 256,
                                    Red(s) + (Red(d) - Red(s)) * keep / 256, da > 255 ? 255 : da);
    d = sa ? blended : d;
  }
};

struct SourceAlphaCopyOp {
  int w;
  void operator()(LICE_pixel& d, LICE_pixel s) const {
    const int sa = Alpha(s);
    const int ws = w * (sa + 1) / 256;
    const int da = Alpha(d) + ws;
    const LICE_pixel blended =
        Pack(CopyChannel(Blue(d), Blue(s), ws), CopyChannel(Green(d), Green(s), ws),
             CopyChannel(Red(d), Red(s), ws), da > 255 ? 255 : da);
    d = sa ? blended : d;
  }
};

struct SourceAlphaAddOp {
  int w;
  void operator()(LICE_pixel& d, LICE_pixel s) const {
    const int sa = Alpha(s);
    if (sa == 0) return;
    const int ws = w * (sa + 1) / 256;
    d = Pack(AddChannel(Blue(d), Blue(s), ws), AddChannel(Green(d), Green(s), ws),
             AddChannel(Red(d), Red(s), ws), Clamp255(Alpha(d) + sa * ws / 256));
  }
};

// Dodge, multiply and overlay treat the alpha byte as a fourth channel with s = sa. Multiply
// skips transparent source pixels; dodge and overlay do not.
template <int (*Channel)(int, int, int), bool kSkipTransparent> struct SourceAlphaPerByteOp {
  int w;
  void operator()(LICE_pixel& d, LICE_pixel s) const {
    const int sa = Alpha(s);
    if (kSkipTransparent && sa == 0) return;
    const int ws = w * (sa + 1) / 256;
    d = Pack(Channel(Blue(d), Blue(s), ws), Channel(Green(d), Green(s), ws),
             Channel(Red(d), Red(s), ws), Channel(Alpha(d), sa, ws));
  }
};
using SourceAlphaDodgeOp = SourceAlphaPerByteOp<DodgeChannel, false>;
using SourceAlphaMultiplyOp = SourceAlphaPerByteOp<MultiplyChannel, true>;
using SourceAlphaOverlayOp = SourceAlphaPerByteOp<OverlayChannel, false>;

struct SourceAlphaHsvOp {
  int w;
  void operator()(LICE_pixel& d, LICE_pixel s) const {
    d = HsvAdjust(d, s, w * (Alpha(s) + 1) / 256);
  }
};

// Weights above full only make sense for the saturating operations; the interpolating ones
// would extrapolate past both colours.
constexpr int LimitToFull(int w) {
  return w > 256 ? 256 : w;
}

// Calls f with the operation for (mode & 0x100FF) at weight w (w >= 1). Unknown blend numbers
// draw as a copy.
template <class F> void DispatchBlend(int mode, int w, F&& f) {
  const bool sourceAlpha = (mode & 0x10000) != 0;
  const int op = mode & 0xFF;
  if (!sourceAlpha) {
    switch (op) {
    case 1:
      return f(AddOp{w});
    case 2:
      return f(DodgeOp{w});
    case 3:
      return f(MultiplyOp{LimitToFull(w)});
    case 4:
      return f(OverlayOp{LimitToFull(w)});
    case 5:
      return f(HsvOp{LimitToFull(w)});
    default:
      if (w >= 256) return f(WordCopyOp{});
      return f(CopyOp{w});
    }
  }
  switch (op) {
  case 1:
    return f(SourceAlphaAddOp{w});
  case 2:
    return f(SourceAlphaDodgeOp{w});
  case 3:
    return f(SourceAlphaMultiplyOp{LimitToFull(w)});
  case 4:
    return f(SourceAlphaOverlayOp{LimitToFull(w)});
  case 5:
    return f(SourceAlphaHsvOp{LimitToFull(w)});
  default:
    if (w >= 256) return f(SourceAlphaFullCopyOp{});
    return f(SourceAlphaCopyOp{w});
  }
}

// ---- Row addressing ---------------------------------------------------------------------------

// Row y of a bitmap, honouring bottom-up storage with a negative stride.
struct Rows {
  LICE_pixel* first = nullptr;
  std::ptrdiff_t stride = 0;
  LICE_pixel* Row(int y) const { return first + stride * y; }
};

inline Rows RowsOf(const LICE_IBitmap& bitmap) {
  Rows rows;
  LICE_pixel* data = bitmap.PixelData();
  if (!data) return rows;
  const std::ptrdiff_t span = bitmap.RowSpan();
  if (bitmap.IsBottomUp()) {
    rows.first = data + span * (bitmap.Height() - 1);
    rows.stride = -span;
  } else {
    rows.first = data;
    rows.stride = span;
  }
  return rows;
}

} // namespace lice_detail
