#pragma once
// System fonts as the text renderer sees them: an opaque handle made from a style, and the
// glyph source behind it. On Windows the handle is a GDI font; on Linux it is a FreeType face
// found by fontconfig (asked for "Verdana", fontconfig's best match stands in). The platform
// code is chosen by folder (drawing/win, drawing/posix); nothing here names a platform API.

#include "drawing/LICE_IBitmap.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

struct LICE_FontObject; // defined by the platform's glyph source
using LICE_FontHandle = LICE_FontObject*;

// The style of a system font, in the terms the graphics core uses to create one.
struct LICE_FontStyle {
  const char* face = "Verdana";
  int height = 12;  // > 0: cell height (ascent + descent) in pixels; < 0: character height
  int weight = 400; // 400 normal, 700 bold
  bool italic = false;
  int escapement = 0; // tenths of a degree (text direction)
  int quality = 0;    // 0 default, 1 not antialiased, 2 antialiased, 3 subpixel
};

// [editor thread · may block] Creates a font; null when no face can be found. The caller owns
// the handle (or hands it to a LICE_CachedFont with flag 0x200, which then deletes it).
LICE_FontHandle LICE_CreateFont(const LICE_FontStyle& style);

// [editor thread] Releases a font made by LICE_CreateFont. Null is ignored.
void LICE_DeleteFont(LICE_FontHandle font);

namespace lice_glyphs {

// [editor thread] The font's cell height (the line height of text in it); 0 for no font.
int LineHeight(LICE_FontHandle font);

// [editor thread] The size a single character measures as text: its advance and its height.
// False when the font cannot produce the character at all.
bool MeasureChar(LICE_FontHandle font, int code, int& advance, int& height);

// [editor thread] Draws the character at (0, 0) into a width x height coverage mask (0 = none,
// 255 = full; the mask is cleared first). False when nothing could be drawn.
bool RenderChar(LICE_FontHandle font, int code, int width, int height,
                std::span<std::uint8_t> coverage);

// What every glyph source's RenderChar does first: false when the sizes are not positive or the
// mask is smaller than width x height; otherwise the mask's first width x height bytes are
// cleared.
inline bool ClearCoverage(int width, int height, std::span<std::uint8_t> coverage) {
  if (width <= 0 || height <= 0 || coverage.size() < static_cast<size_t>(width) * height)
    return false;
  std::fill_n(coverage.begin(), static_cast<std::ptrdiff_t>(width) * height, std::uint8_t{0});
  return true;
}

// The request to draw text with the platform's own text drawing.
struct NativeTextRequest {
  LICE_FontHandle font;
  LICE_IBitmap* bitmap;
  const char* text;
  int length;
  LICE_Rect* rect;
  int format;
  LICE_pixel textColour;
  LICE_pixel backgroundColour;
  int backgroundMode;
  float combineAlpha;
};

// [editor thread] Draws with the platform's own text drawing when the platform has one that can
// serve this request, storing the drawing's result; false means the caller must draw from its
// glyph cache (always so on Linux, which has no native text drawing here).
bool TryDrawNative(const NativeTextRequest& request, int& result);

} // namespace lice_glyphs
