#include "drawing/LICE_CachedFont.h"

#include "drawing/LICE_PixelOps.h"
#include "drawing/LICE_Raster.h"
#include "drawing/LICE_Utf8.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

using namespace lice_detail;

namespace {

constexpr int kAlignmentBits = LICE_DT_CENTER | LICE_DT_RIGHT | LICE_DT_VCENTER | LICE_DT_BOTTOM;
constexpr int kEffectFlags = LICE_FONT_FLAG_PRECALCALL | LICE_FONT_FLAG_VERTICAL |
                             LICE_FONT_FLAG_VERTICAL_BOTTOMUP | LICE_FONT_FLAG_FX_BLUR |
                             LICE_FONT_FLAG_FX_INVERT | LICE_FONT_FLAG_FX_MONO |
                             LICE_FONT_FLAG_FX_SHADOW | LICE_FONT_FLAG_FX_OUTLINE;
constexpr std::uint8_t kFull = 255;
constexpr std::uint8_t kHalo = 128;

// A 64-bit layout result written back into an int field: the nearest int.
int ToInt(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

// Coverage of a monochrome, shadowed or outlined mask: full pixels, halo pixels, nothing.
void MakeMonochrome(std::uint8_t* mask, int count) {
  for (int i = 0; i < count; ++i)
    mask[i] = mask[i] > 130 ? kFull : 0;
}

// Empty pixels at the given offsets from a full pixel become halo (128).
template <size_t N>
void AddHalo(std::uint8_t* mask, int width, int height, const int (&offsets)[N][2]) {
  std::vector<std::uint8_t> full(mask, mask + static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      if (full[static_cast<size_t>(y) * width + x] != kFull) continue;
      for (const auto& o : offsets) {
        const int nx = x + o[0], ny = y + o[1];
        if (nx < 0 || ny < 0 || nx >= width || ny >= height) continue;
        const size_t at = static_cast<size_t>(ny) * width + nx;
        if (full[at] == 0) mask[at] = kHalo;
      }
    }
}

} // namespace

LICE_CachedFont::~LICE_CachedFont() {
  if ((flags_ & LICE_FONT_FLAG_OWNS_HFONT) && font_) LICE_DeleteFont(font_);
}

void LICE_CachedFont::SetFont(LICE_FontHandle font, int flags) {
  if ((flags_ & LICE_FONT_FLAG_OWNS_HFONT) && font_ && font_ != font) LICE_DeleteFont(font_);
  flags_ = flags;
  font_ = font;
  lineHeight_ = font ? lice_glyphs::LineHeight(font) : 0;
  asciiGlyphs_ = {};
  extraGlyphs_.Clear();
  glyphPixels_.Resize(0);
  if (flags & LICE_FONT_FLAG_PRECALCALL)
    for (int code = 0; code < 128; ++code)
      FindGlyph(code);
}

LICE_pixel LICE_CachedFont::SetTextColour(LICE_pixel colour) {
  return std::exchange(textColour_, colour);
}
LICE_pixel LICE_CachedFont::SetBackgroundColour(LICE_pixel colour) {
  return std::exchange(backgroundColour_, colour);
}
LICE_pixel LICE_CachedFont::SetEffectColour(LICE_pixel colour) {
  return std::exchange(effectColour_, colour);
}
int LICE_CachedFont::SetBackgroundMode(int mode) {
  return std::exchange(backgroundMode_, mode);
}
void LICE_CachedFont::SetCombineMode(int mode, float alpha) {
  combineMode_ = mode;
  combineAlpha_ = alpha;
}

// Finds the cache entry for a character, rendering it on first use. Null when the character
// has no entry (codes >= 128 with the ASCII-only flag).
LICE_CachedFont::Glyph* LICE_CachedFont::FindGlyph(int code) {
  Glyph* glyph = nullptr;
  if (code < 128) {
    glyph = &asciiGlyphs_[static_cast<size_t>(code)];
    glyph->code = static_cast<std::uint16_t>(code);
  } else {
    Glyph* first = extraGlyphs_.begin();
    Glyph* last = extraGlyphs_.end();
    Glyph* at =
        std::lower_bound(first, last, code, [](const Glyph& g, int c) { return g.code < c; });
    if (at == last || at->code != code) {
      if (flags_ & LICE_FONT_FLAG_PRECALCALL) return nullptr;
      const int index = static_cast<int>(at - first);
      if (!extraGlyphs_.Insert(index, Glyph{0, 0, 0, 0, static_cast<std::uint16_t>(code)}))
        return nullptr;
      at = extraGlyphs_.Get(index);
    }
    glyph = at;
  }
  if (glyph->pixelOffset == 0) RenderGlyph(*glyph);
  return glyph;
}

void LICE_CachedFont::RenderGlyph(Glyph& glyph) {
  int advance = 0, height = 0;
  const bool measured = font_ && lice_glyphs::MeasureChar(font_, glyph.code, advance, height);
  // Capitals are rendered two pixels wider than they advance: their strokes (and a shadow) may
  // reach past the advance.
  int width = advance + (glyph.code >= 'A' && glyph.code <= 'Z' ? 2 : 0);
  if (!measured || width < 1 || height < 1) {
    glyph = Glyph{-1, 0, 0, 0, glyph.code};
    return;
  }
  const size_t offset = glyphPixels_.Size();
  const size_t bytes = static_cast<size_t>(width) * height;
  if (!glyphPixels_.Append(nullptr, bytes)) {
    glyph = Glyph{-1, 0, 0, 0, glyph.code};
    return;
  }
  auto* mask = static_cast<std::uint8_t*>(glyphPixels_.Data()) + offset;
  lice_glyphs::RenderChar(font_, glyph.code, width, height, {mask, bytes});
  if (flags_ & LICE_FONT_FLAG_FX_INVERT)
    for (size_t i = 0; i < bytes; ++i)
      mask[i] = static_cast<std::uint8_t>(255 - mask[i]);
  PostProcess(mask, width, height);
  glyph = Glyph{static_cast<int>(offset) + 1, width, height, advance, glyph.code};
}

void LICE_CachedFont::PostProcess(std::uint8_t* mask, int& width, int& height) {
  const int count = width * height;
  if (flags_ & LICE_FONT_FLAG_VERTICAL) {
    // Turned a quarter: clockwise (text runs down) unless the bottom-up flag asks otherwise.
    std::vector<std::uint8_t> upright(mask, mask + count);
    const bool upward = (flags_ & LICE_FONT_FLAG_VERTICAL_BOTTOMUP) != 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const int nx = upward ? y : height - 1 - y;
        const int ny = upward ? width - 1 - x : x;
        mask[ny * height + nx] = upright[static_cast<size_t>(y) * width + x];
      }
    std::swap(width, height);
  }
  if (flags_ & LICE_FONT_FLAG_FX_BLUR) {
    // A light horizontal softening: (left + 2 * centre + right) / 4.
    std::vector<std::uint8_t> sharp(mask, mask + count);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const std::uint8_t* row = sharp.data() + static_cast<size_t>(y) * width;
        const int left = x > 0 ? row[x - 1] : 0, right = x + 1 < width ? row[x + 1] : 0;
        mask[y * width + x] = static_cast<std::uint8_t>((left + 2 * row[x] + right) / 4);
      }
  }
  if (flags_ & (LICE_FONT_FLAG_FX_MONO | LICE_FONT_FLAG_FX_SHADOW | LICE_FONT_FLAG_FX_OUTLINE))
    MakeMonochrome(mask, count);
  if (flags_ & LICE_FONT_FLAG_FX_SHADOW) {
    static const int kShadow[3][2] = {{1, 0}, {0, 1}, {1, 1}};
    AddHalo(mask, width, height, kShadow);
  } else if (flags_ & LICE_FONT_FLAG_FX_OUTLINE) {
    static const int kOutline[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    AddHalo(mask, width, height, kOutline);
  }
}

// Walks the text as drawing would, without drawing: width = the furthest advance reached,
// height = the lowest glyph bottom (axes swapped for turned glyphs).
LICE_CachedFont::Extent LICE_CachedFont::Measure(std::span<const unsigned char> text, int format) {
  const bool turned = (flags_ & LICE_FONT_FLAG_VERTICAL) != 0;
  std::int64_t along = 0, across = 0, maxAlong = 0, maxAcross = 0;
  while (!text.empty()) {
    const LICE_Utf8Char c = DecodeUtf8Char(text);
    text = text.subspan(static_cast<size_t>(c.length));
    int code = c.code;
    if (code == '\r') continue;
    if (code == '\n') {
      if (!(format & LICE_DT_SINGLELINE)) {
        along = 0;
        across += std::int64_t{lineHeight_} + lineSpacing_;
        continue;
      }
      code = ' ';
    }
    const Glyph* glyph = FindGlyph(code);
    if (!glyph || glyph->pixelOffset < 0) continue;
    along += glyph->advance;
    maxAlong = std::max(maxAlong, along);
    maxAcross = std::max<std::int64_t>(maxAcross, across + (turned ? glyph->width : glyph->height));
  }
  return turned ? Extent{maxAcross, maxAlong} : Extent{maxAlong, maxAcross};
}

int LICE_CachedFont::RenderText(LICE_IBitmap* bitmap, const char* text, int length, LICE_Rect* rect,
                                int format) {
  if (!text || !rect) return 0;
  const size_t bytes = length < 0 ? std::strlen(text) : static_cast<size_t>(length);
  const std::span<const unsigned char> utf8(reinterpret_cast<const unsigned char*>(text), bytes);
  const bool forceGlyphs = (format & LICE_DT_FORCE_GLYPHS) != 0;
  format &= ~LICE_DT_FORCE_GLYPHS;

  const bool nativeAllowed = (flags_ & LICE_FONT_FLAG_FORCE_NATIVE) && font_ && !forceGlyphs &&
                             !(format & LICE_DT_USEFGALPHA) && !(flags_ & kEffectFlags) &&
                             (lineSpacing_ == 0 || (format & LICE_DT_SINGLELINE));
  if (nativeAllowed) {
    int result = 0;
    const lice_glyphs::NativeTextRequest request{font_,
                                                 bitmap,
                                                 text,
                                                 static_cast<int>(bytes),
                                                 rect,
                                                 format,
                                                 textColour_,
                                                 backgroundColour_,
                                                 backgroundMode_,
                                                 combineAlpha_};
    if (lice_glyphs::TryDrawNative(request, result)) return result;
  }

  const bool turned = (flags_ & LICE_FONT_FLAG_VERTICAL) != 0;
  if (format & LICE_DT_CALCRECT) {
    const Extent e = Measure(utf8, format);
    rect->right = ToInt(rect->left + e.width);
    rect->bottom = ToInt(rect->top + e.height);
    return ToInt(turned ? e.width : e.height);
  }
  if (!bitmap) return 0;

  float alpha = combineAlpha_;
  if (format & LICE_DT_USEFGALPHA) alpha *= static_cast<float>(textColour_ >> 24) / 255.0f;
  if (alpha == 0.0f) return 0;

  const std::int64_t left = rect->left, top = rect->top, right = rect->right, bottom = rect->bottom;
  std::int64_t x = left, y = top;
  Extent extent{-1, -1};
  if (format & kAlignmentBits) {
    extent = Measure(utf8, format & LICE_DT_SINGLELINE);
    if (format & LICE_DT_CENTER)
      x = left + (right - extent.width - left) / 2;
    else if (format & LICE_DT_RIGHT)
      x = right - extent.width;
    if (format & LICE_DT_VCENTER)
      y = top + (bottom - extent.height - top) / 2;
    else if (format & LICE_DT_BOTTOM)
      y = bottom - extent.height;
  }

  LICE_Rect clip{0, 0, bitmap->Width(), bitmap->Height()};
  if (!(format & LICE_DT_NOCLIP)) {
    clip.left = std::max(rect->left, 0);
    clip.top = std::max(rect->top, 0);
    clip.right = std::min(rect->right, bitmap->Width());
    clip.bottom = std::min(rect->bottom, bitmap->Height());
  }
  if (clip.left >= clip.right || clip.top >= clip.bottom || !bitmap->PixelData()) return 0;

  const std::int64_t startX = x, startY = y;
  std::span<const unsigned char> rest = utf8;
  while (!rest.empty()) {
    const LICE_Utf8Char c = DecodeUtf8Char(rest);
    rest = rest.subspan(static_cast<size_t>(c.length));
    int code = c.code;
    if (code == '\r') continue;
    if (code == '\n') {
      if (!(format & LICE_DT_SINGLELINE)) {
        if (turned) {
          y = startY;
          x += std::int64_t{lineHeight_} + lineSpacing_;
        } else {
          x = startX;
          y += std::int64_t{lineHeight_} + lineSpacing_;
        }
        continue;
      }
      code = ' ';
    }
    const Glyph* glyph = FindGlyph(code);
    if (!glyph || glyph->pixelOffset < 0) continue;
    DrawMask(*bitmap, *glyph, x, y, clip, alpha);
    if (turned)
      y += glyph->advance;
    else
      x += glyph->advance;
  }
  if (extent.width < 0) extent = Measure(utf8, format);
  return ToInt(turned ? extent.width : extent.height);
}

void LICE_CachedFont::DrawMask(LICE_IBitmap& bitmap, const Glyph& glyph, std::int64_t x,
                               std::int64_t y, const LICE_Rect& clip, float alpha) {
  // Cut by the clip rectangle, the cell lies within the bitmap: from here on ints suffice.
  const std::int64_t cellLeft = std::max<std::int64_t>(x, clip.left);
  const std::int64_t cellTop = std::max<std::int64_t>(y, clip.top);
  const std::int64_t cellRight = std::min<std::int64_t>(x + glyph.width, clip.right);
  const std::int64_t cellBottom = std::min<std::int64_t>(y + glyph.height, clip.bottom);
  if (cellLeft >= cellRight || cellTop >= cellBottom) return;
  const int left = static_cast<int>(cellLeft), top = static_cast<int>(cellTop);
  const int right = static_cast<int>(cellRight), bottom = static_cast<int>(cellBottom);

  if (backgroundMode_ == 2)
    FillRectangle(&bitmap, left, top, right - left, bottom - top, backgroundColour_, alpha,
                  combineMode_ & ~LICE_BLIT_USE_ALPHA);

  const std::uint8_t* mask =
      static_cast<const std::uint8_t*>(glyphPixels_.Data()) + (glyph.pixelOffset - 1);
  const int w = std::min(WeightOf(alpha), 256);
  if (w == 0) return;
  const int op = combineMode_ & 0xFF;
  const bool halo = (flags_ & (LICE_FONT_FLAG_FX_SHADOW | LICE_FONT_FLAG_FX_OUTLINE)) != 0;
  const bool mono = (flags_ & LICE_FONT_FLAG_FX_MONO) != 0;
  const LICE_pixel c = textColour_;
  const Rows rows = RowsOf(bitmap);

  for (int py = top; py < bottom; ++py) {
    LICE_pixel* out = rows.Row(py);
    const std::uint8_t* coverage = mask + static_cast<size_t>(py - y) * glyph.width;
    for (int px = left; px < right; ++px) {
      const int v = coverage[px - x];
      if (v == 0) continue;
      LICE_pixel& d = out[px];
      if (op == LICE_BLIT_MODE_COPY && w == 256 && (mono || halo)) {
        d = (!halo || v == kFull) ? c : effectColour_;
        continue;
      }
      const LICE_pixel colour = (halo && v != kFull) ? effectColour_ : c;
      const int coverageV = halo ? kFull : v;
      if (op == LICE_BLIT_MODE_COPY) {
        if (w == 256) {
          const int keep = 255 - coverageV;
          d = Pack((Blue(d) - Blue(colour)) * keep / 256 + Blue(colour),
                   (Green(d) - Green(colour)) * keep / 256 + Green(colour),
                   (Red(d) - Red(colour)) * keep / 256 + Red(colour),
                   255 - (255 - Alpha(d)) * keep / 256);
        } else {
          const int f = 256 - std::min(256, w * coverageV / 256);
          d = Pack(Blue(colour) + (Blue(d) - Blue(colour)) * f / 256,
                   Green(colour) + (Green(d) - Green(colour)) * f / 256,
                   Red(colour) + (Red(d) - Red(colour)) * f / 256,
                   255 - (255 - Alpha(d)) * f / 256);
        }
      } else if (op == LICE_BLIT_MODE_ADD) {
        const int amount = w == 256 ? coverageV + 1 : (coverageV + 1) * w / 256;
        const int a = Alpha(d) + amount * 255 / 256;
        d = Pack(Clamp255(Blue(d) + Blue(colour) * amount / 256),
                 Clamp255(Green(d) + Green(colour) * amount / 256),
                 Clamp255(Red(d) + Red(colour) * amount / 256), a > 255 ? 255 : a);
      } else {
        // The remaining blends are the blit's, weighted by the coverage.
        const int weight = w * (coverageV + 1) / 256;
        DispatchBlend(op, weight < 1 ? 1 : weight, [&d, colour](auto blend) { blend(d, colour); });
      }
    }
  }
}
