#pragma once
// The small value types the editor is built from: rectangles, colours, images, blend choices,
// text styles and the mouse modifiers.

#include <algorithm>
#include <cstdint>

#include "base/FixedText.h"

class LICE_IBitmap;
class LICE_CachedFont;

namespace tavo {

// Editor (logical) pixels; right and bottom are exclusive. All zeros is the empty rectangle.
struct IBounds {
  int32_t L = 0, T = 0, R = 0, B = 0;

  constexpr IBounds() = default;
  constexpr IBounds(int32_t l, int32_t t, int32_t r, int32_t b) : L(l), T(t), R(r), B(b) {}

  constexpr bool Empty() const { return L == 0 && T == 0 && R == 0 && B == 0; }
  constexpr int32_t W() const { return R - L; }
  constexpr int32_t H() const { return B - T; }
  constexpr bool Contains(int32_t x, int32_t y) const {
    return !Empty() && x >= L && x < R && y >= T && y < B;
  }
  constexpr bool Contains(const IBounds& o) const {
    return !Empty() && L <= o.L && T <= o.T && R >= o.R && B >= o.B;
  }
  // Rectangles that only touch on the right or bottom edge count as intersecting.
  constexpr bool Intersects(const IBounds& o) const {
    return !Empty() && !o.Empty() && R >= o.L && L < o.R && B >= o.T && T < o.B;
  }
  constexpr IBounds Intersection(const IBounds& o) const {
    if (!Intersects(o)) return {};
    return {std::max(L, o.L), std::max(T, o.T), std::min(R, o.R), std::min(B, o.B)};
  }
  constexpr IBounds Union(const IBounds& o) const {
    if (Empty()) return o;
    if (o.Empty()) return *this;
    return {std::min(L, o.L), std::min(T, o.T), std::max(R, o.R), std::max(B, o.B)};
  }
  constexpr bool operator==(const IBounds&) const = default;
};

struct IColorRGBA {
  int32_t A = 255, R = 0, G = 0, B = 0;

  constexpr IColorRGBA() = default;
  constexpr IColorRGBA(int32_t a, int32_t r, int32_t g, int32_t b) : A(a), R(r), G(g), B(b) {}
  // The drawing library's pixel word.
  constexpr uint32_t Packed() const {
    return (static_cast<uint32_t>(A & 255) << 24) | (static_cast<uint32_t>(R & 255) << 16) |
           (static_cast<uint32_t>(G & 255) << 8) | static_cast<uint32_t>(B & 255);
  }
};

// A loaded film strip: frames stacked vertically unless flagged horizontal. The bitmap is owned
// by the process-wide image cache.
// W and H are those of the bitmap at scale 1, in editor pixels; an editor drawn at another scale
// finds the same picture painted at that scale through the resource identifier (0 when the image
// did not come from a resource).
struct IImage {
  LICE_IBitmap* bitmap = nullptr;
  int32_t W = 0, H = 0;
  int32_t N = 1;
  bool framesAreHorizontal = false;
  int32_t resourceId = 0;
};

enum BlendMethod : int32_t {
  kBlendSourceAlpha = 0, // copy using the source alpha (the default)
  kBlendCopy = 1,        // plain copy ignoring alpha
  kBlendAdd = 2,         // additive, using alpha
  kBlendColorDodge = 3,  // colour dodge, using alpha
};

struct BlendSpec {
  int32_t method = kBlendSourceAlpha;
  float weight = 1.0f;
};

struct ITextStyle {
  enum Style : int32_t { kNormal = 0, kBold = 1, kItalic = 2 };
  enum Align : int32_t { kNear = 0, kCenter = 1, kFar = 2 };
  enum Quality : int32_t { kDefault = 0, kNonAntialiased = 1, kAntialiased = 2, kClearType = 3 };

  ITextStyle() { CopyText(face, "Verdana"); }

  char face[32] = {};
  int32_t size = 12;
  IColorRGBA color{255, 0, 0, 0};
  IColorRGBA entryBackground{255, 255, 255, 255};
  IColorRGBA entryForeground{255, 0, 0, 0};
  int32_t style = kNormal;
  int32_t align = kCenter;
  int32_t orientation = 0; // degrees
  int32_t quality = kDefault;
  LICE_CachedFont* font = nullptr; // from the process-wide font cache, on first use
};

struct MouseMods {
  bool L = false; // left button
  bool R = false; // right button
  bool S = false; // Shift
  bool C = false; // Ctrl
  bool A = false; // Alt
};

} // namespace tavo
