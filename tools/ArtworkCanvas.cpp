#include "tools/ArtworkCanvas.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tavo::artwork {

Rgba Mix(const Rgba& x, const Rgba& y, float t) {
  return {x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t,
          x.a + (y.a - x.a) * t};
}

float Noise(int x, int y, int seed) {
  uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
               static_cast<uint32_t>(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return static_cast<float>(h & 0xFFFFu) / 32767.5f - 1.0f;
}

Canvas::Canvas(int width, int height, float scale)
    : w_(static_cast<int>(std::lround(width * scale))),
      h_(static_cast<int>(std::lround(height * scale))), scale_(scale),
      px_(static_cast<size_t>(w_) * h_) {}

void Canvas::Over(int x, int y, const Rgba& c, float coverage) {
  if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
  const float ca = std::clamp(c.a * coverage, 0.0f, 1.0f);
  if (ca <= 0.0f) return;
  Rgba& d = At(x, y);
  const float outA = ca + d.a * (1.0f - ca);
  if (outA <= 0.0f) return;
  const float keep = d.a * (1.0f - ca);
  d.r = (c.r * ca + d.r * keep) / outA;
  d.g = (c.g * ca + d.g * keep) / outA;
  d.b = (c.b * ca + d.b * keep) / outA;
  d.a = outA;
}

void Canvas::Set(int x, int y, const Rgba& c) {
  if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
  At(x, y) = c;
}

void Canvas::Fill(int x0, int y0, int x1, int y1, const std::function<Rgba(float, float)>& colour) {
  const int l = std::max(static_cast<int>(std::floor(x0 * scale_)), 0);
  const int t = std::max(static_cast<int>(std::floor(y0 * scale_)), 0);
  const int r = std::min(static_cast<int>(std::ceil(x1 * scale_)), w_);
  const int b = std::min(static_cast<int>(std::ceil(y1 * scale_)), h_);
  for (int y = t; y < b; ++y)
    for (int x = l; x < r; ++x)
      At(x, y) = colour((x + 0.5f) / scale_ - 0.5f, (y + 0.5f) / scale_ - 0.5f);
}

void Canvas::Shade(int x0, int y0, int x1, int y1, const std::function<Rgba(float, float)>& colour,
                   int n) {
  x0 = std::max(static_cast<int>(std::floor(x0 * scale_)), 0);
  y0 = std::max(static_cast<int>(std::floor(y0 * scale_)), 0);
  x1 = std::min(static_cast<int>(std::ceil(x1 * scale_)), w_);
  y1 = std::min(static_cast<int>(std::ceil(y1 * scale_)), h_);
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      float r = 0, g = 0, b = 0, a = 0;
      for (int sy = 0; sy < n; ++sy) {
        for (int sx = 0; sx < n; ++sx) {
          const Rgba c = colour((x + (sx + 0.5f) / n) / scale_, (y + (sy + 0.5f) / n) / scale_);
          r += c.r * c.a;
          g += c.g * c.a;
          b += c.b * c.a;
          a += c.a;
        }
      }
      if (a <= 0.0f) continue;
      Over(x, y, {r / a, g / a, b / a, a / (n * n)});
    }
  }
}

void Canvas::Line(float x0, float y0, float x1, float y1, float width, const Rgba& colour) {
  const float dx = x1 - x0, dy = y1 - y0;
  const float len2 = std::max(dx * dx + dy * dy, 1e-6f);
  const float half = width * 0.5f;
  const int l = static_cast<int>(std::floor(std::min(x0, x1) - half - 1));
  const int t = static_cast<int>(std::floor(std::min(y0, y1) - half - 1));
  const int r = static_cast<int>(std::ceil(std::max(x0, x1) + half + 1));
  const int b = static_cast<int>(std::ceil(std::max(y0, y1) + half + 1));
  Shade(l, t, r, b, [&](float px, float py) {
    const float u = std::clamp(((px - x0) * dx + (py - y0) * dy) / len2, 0.0f, 1.0f);
    const float ex = x0 + u * dx - px, ey = y0 + u * dy - py;
    Rgba c = colour;
    if (ex * ex + ey * ey > half * half) c.a = 0.0f;
    return c;
  });
}

std::unique_ptr<LICE_MemBitmap> Canvas::ToBitmap() const {
  auto bitmap = std::make_unique<LICE_MemBitmap>(w_, h_);
  LICE_pixel* row = bitmap->PixelData();
  auto byte = [](float v) {
    return static_cast<LICE_pixel>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
  };
  for (int y = 0; y < h_; ++y, row += bitmap->RowSpan()) {
    for (int x = 0; x < w_; ++x) {
      const Rgba& p = At(x, y);
      const LICE_pixel a = byte(p.a);
      // Fully transparent pixels carry no colour, so the files compress well and stay clean.
      row[x] = a == 0 ? 0u : (a << 24) | (byte(p.r) << 16) | (byte(p.g) << 8) | byte(p.b);
    }
  }
  return bitmap;
}

TextSetter::TextSetter(const char* pattern) {
  if (FT_Init_FreeType(&library_) != 0) return;
  FcInit();
  FcPattern* wanted = FcNameParse(reinterpret_cast<const FcChar8*>(pattern));
  if (!wanted) return;
  FcConfigSubstitute(nullptr, wanted, FcMatchPattern);
  FcDefaultSubstitute(wanted);
  FcResult result = FcResultNoMatch;
  FcPattern* found = FcFontMatch(nullptr, wanted, &result);
  FcChar8* file = nullptr;
  if (found && FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch) {
    if (FT_New_Face(library_, reinterpret_cast<const char*>(file), 0, &face_) != 0) {
      face_ = nullptr;
    }
  }
  if (found) FcPatternDestroy(found);
  FcPatternDestroy(wanted);
}

TextSetter::~TextSetter() {
  if (face_) FT_Done_Face(face_);
  if (library_) FT_Done_FreeType(library_);
}

void TextSetter::SetSize(float px) {
  if (px == std::floor(px)) {
    FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(px));
  } else {
    // 26.6 fixed point at 72 dots per inch: one point is one pixel.
    FT_Set_Char_Size(face_, 0, static_cast<FT_F26Dot6>(std::lround(px * 64.0f)), 72, 72);
  }
}

float TextSetter::Measure(const std::string& text, float tracking) {
  float width = 0.0f;
  for (unsigned char ch : text) {
    if (FT_Load_Char(face_, ch, FT_LOAD_DEFAULT) != 0) continue;
    width += face_->glyph->advance.x / 64.0f + tracking;
  }
  return text.empty() ? 0.0f : width - tracking;
}

void TextSetter::Draw(Canvas& canvas, const std::string& text, float x, float y, int px,
                      const Rgba& colour, int align, float tracking) {
  if (!face_) return;
  const float k = canvas.Scale();
  x *= k;
  y *= k;
  tracking *= k;
  SetSize(px * k);
  const float width = Measure(text, tracking);
  float pen = align == 1 ? x - width * 0.5f : align == 2 ? x - width : x;
  for (unsigned char ch : text) {
    if (FT_Load_Char(face_, ch, FT_LOAD_RENDER) != 0) continue;
    const FT_GlyphSlot g = face_->glyph;
    const int left = static_cast<int>(std::lround(pen)) + g->bitmap_left;
    const int top = static_cast<int>(std::lround(y)) - g->bitmap_top;
    for (unsigned row = 0; row < g->bitmap.rows; ++row) {
      for (unsigned col = 0; col < g->bitmap.width; ++col) {
        const unsigned char v = g->bitmap.buffer[row * g->bitmap.pitch + col];
        if (v)
          canvas.Over(left + static_cast<int>(col), top + static_cast<int>(row), colour,
                      v / 255.0f);
      }
    }
    pen += g->advance.x / 64.0f + tracking;
  }
}

void TextSetter::Engrave(Canvas& canvas, const std::string& text, float x, float y, int px,
                         const Rgba& ink, int align, float tracking) {
  // Cut into the panel: the upper lip throws a shadow, the lower one catches the light.
  Draw(canvas, text, x, y - 1.0f, px, Rgb(0, 0, 0, 0.6f), align, tracking);
  Draw(canvas, text, x, y + 1.0f, px, Rgb(255, 255, 255, 0.12f), align, tracking);
  Draw(canvas, text, x, y, px, ink, align, tracking);
}

} // namespace tavo::artwork
