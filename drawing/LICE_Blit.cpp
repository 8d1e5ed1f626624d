// BlitBitmap and its convenience forms.

#include "drawing/LICE_PixelOps.h"
#include "drawing/LICE_Raster.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Whether the pixels read and the pixels written share memory (a bitmap blitted onto itself).
bool Overlaps(const BlitArea& a) {
  auto span = [&a](const LICE_pixel* row, std::ptrdiff_t stride) {
    const LICE_pixel* last = row + stride * (a.height - 1);
    const auto lo = reinterpret_cast<std::uintptr_t>(row < last ? row : last);
    const auto hi = reinterpret_cast<std::uintptr_t>((row < last ? last : row) + a.width);
    return std::pair{lo, hi};
  };
  const auto [dstLo, dstHi] = span(a.dst, a.dstStride);
  const auto [srcLo, srcHi] = span(a.src, a.srcStride);
  return dstLo < srcHi && srcLo < dstHi;
}

// What a group of source pixels does under a full-weight source-alpha copy: all opaque ones
// come out as the source words, all transparent ones leave the destination, anything else
// goes through the arithmetic.
enum class GroupKind { kOpaque, kClear, kBlend };
constexpr int kGroup = 8;

GroupKind KindOf(LICE_pixel all, LICE_pixel any) {
  if (all >= 0xFF000000u) return GroupKind::kOpaque;
  if (any < 0x01000000u) return GroupKind::kClear;
  return GroupKind::kBlend;
}

// The n pixels from s, n below kGroup: the end of a row.
GroupKind KindOfShort(const LICE_pixel* s, int n) {
  LICE_pixel all = ~LICE_pixel{0}, any = 0;
  for (int k = 0; k < n; ++k) {
    all &= s[k];
    any |= s[k];
  }
  return KindOf(all, any);
}

// The kGroup pixels from s.
GroupKind KindOfGroup(const LICE_pixel* s) {
#if defined(__SSE2__)
  const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
  const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 4));
  const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  const __m128i all = _mm_and_si128(_mm_and_si128(lo, hi), alpha);
  if (_mm_movemask_epi8(_mm_cmpeq_epi32(all, alpha)) == 0xFFFF) return GroupKind::kOpaque;
  const __m128i any = _mm_and_si128(_mm_or_si128(lo, hi), alpha);
  if (_mm_movemask_epi8(_mm_cmpeq_epi32(any, _mm_setzero_si128())) == 0xFFFF)
    return GroupKind::kClear;
  return GroupKind::kBlend;
#else
  return KindOfShort(s, kGroup);
#endif
}

GroupKind KindAt(const LICE_pixel* row, int x, int n) {
  return n - x >= kGroup ? KindOfGroup(row + x) : KindOfShort(row + x, n - x);
}

// Copies the opaque groups of a row from x on, as long as they stay opaque, and answers where
// they end. The test and the copy share one read of the source, which is most of a full redraw.
int CopyOpaqueStretch(LICE_pixel* dstRow, const LICE_pixel* srcRow, int x, int n) {
#if defined(__SSE2__)
  const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  for (; n - x >= kGroup; x += kGroup) {
    const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(srcRow + x));
    const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(srcRow + x + 4));
    const __m128i all = _mm_and_si128(_mm_and_si128(lo, hi), alpha);
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(all, alpha)) != 0xFFFF) return x;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dstRow + x), lo);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dstRow + x + 4), hi);
  }
#endif
  while (x < n && KindAt(srcRow, x, n) == GroupKind::kOpaque) {
    const int end = std::min(x + kGroup, n);
    std::memcpy(dstRow + x, srcRow + x, static_cast<size_t>(end - x) * sizeof(LICE_pixel));
    x = end;
  }
  return x;
}

// Artwork is mostly opaque or transparent (the front panel is 91 % opaque, the cracked glass
// half transparent), and the full-weight copy gives exactly the source word for an opaque pixel
// and the destination for a transparent one. A row is therefore cut into stretches of groups of
// one kind: opaque stretches are copied whole, transparent ones skipped, and only the translucent
// ones blended, each stretch long enough for the blend to stay vectorised. The result is the
// per-pixel operation's, bit for bit.
void SourceAlphaFullCopyLoop(const BlitArea& a) {
  if (Overlaps(a)) {
    // Pixel by pixel in order, as the plain loop does, whatever the overlap.
    BlitLoop(a, SourceAlphaFullCopyOp{});
    return;
  }
  const SourceAlphaFullCopyOp blend;
  LICE_pixel* dstRow = a.dst;
  const LICE_pixel* srcRow = a.src;
  const int n = a.width;
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < n;) {
      const GroupKind kind = KindAt(srcRow, x, n);
      if (kind == GroupKind::kOpaque) {
        x = CopyOpaqueStretch(dstRow, srcRow, x, n);
        continue;
      }
      int end = std::min(x + kGroup, n);
      while (end < n && KindAt(srcRow, end, n) == kind)
        end = std::min(end + kGroup, n);
      if (kind == GroupKind::kBlend) {
        for (int i = x; i < end; ++i)
          blend(dstRow[i], srcRow[i]);
      }
      x = end;
    }
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
  if ((mode & 0x100FF) == LICE_BLIT_USE_ALPHA && w >= 256) {
    SourceAlphaFullCopyLoop(area);
    return;
  }
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
