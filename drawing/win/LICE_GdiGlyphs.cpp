// The Windows glyph source: GDI fonts, each character rendered by GDI white on black onto a shared
// canvas and read back as coverage. Native text drawing lives in LICE_WinText.cpp; the choice
// between the two is made here, in TryDrawNative.

#include "drawing/LICE_FontHandle.h"
#include "drawing/win/LICE_GdiCanvas.h"
#include "drawing/win/LICE_WinText.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

namespace lice_win {

std::mutex& CanvasLock() {
  static std::mutex lock;
  return lock;
}

LICE_SysBitmap& ScratchBitmap() {
  static LICE_SysBitmap scratch(0, 0);
  return scratch;
}

namespace {

constexpr int kMinimumCanvas = 256;
constexpr UINT kGlyphFormat = DT_NOPREFIX | DT_SINGLELINE;

// [CanvasLock held] The glyph canvas, at least 256 x 256 and at least the asked size, set up for
// white text on an opaque black background. Null when GDI cannot give one.
LICE_SysBitmap* GlyphCanvas(int width, int height) {
  static LICE_SysBitmap canvas(0, 0);
  const int w = std::max({kMinimumCanvas, width, canvas.Width()});
  const int h = std::max({kMinimumCanvas, height, canvas.Height()});
  canvas.Resize(w, h);
  if (!canvas.DeviceContext() || !canvas.PixelData() || canvas.Width() < w || canvas.Height() < h)
    return nullptr;
  HDC dc = static_cast<HDC>(canvas.DeviceContext());
  SetTextColor(dc, RGB(255, 255, 255));
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, RGB(0, 0, 0));
  return &canvas;
}

// One character drawn (or measured) with GDI; 9x systems only take single-byte characters.
bool DrawChar(HDC dc, int code, RECT* rect, UINT format) {
  if (IsNtFamily()) {
    const wchar_t c = static_cast<wchar_t>(code);
    return DrawTextW(dc, &c, 1, rect, format) != 0 || (format & DT_CALCRECT);
  }
  if (code >= 128) return false;
  const char c = static_cast<char>(code);
  return DrawTextA(dc, &c, 1, rect, format) != 0 || (format & DT_CALCRECT);
}

} // namespace
} // namespace lice_win

using namespace lice_win;

LICE_FontHandle LICE_CreateFont(const LICE_FontStyle& style) {
  // GDI takes at most 31 characters of a face name; a longer one is cut, never read past.
  char face[LF_FACESIZE] = {};
  const char* wanted = style.face && style.face[0] ? style.face : "Verdana";
  std::strncpy(face, wanted, LF_FACESIZE - 1);
  static constexpr DWORD kQuality[] = {DEFAULT_QUALITY, NONANTIALIASED_QUALITY, ANTIALIASED_QUALITY,
                                       CLEARTYPE_QUALITY};
  const DWORD quality =
      style.quality >= 0 && style.quality <= 3 ? kQuality[style.quality] : DEFAULT_QUALITY;
  HFONT font = CreateFontA(style.height, 0, style.escapement, style.escapement, style.weight,
                           style.italic ? TRUE : FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, quality, DEFAULT_PITCH, face);
  return HandleOf(font);
}

void LICE_DeleteFont(LICE_FontHandle font) {
  if (font) DeleteObject(FontOf(font));
}

namespace lice_glyphs {

int LineHeight(LICE_FontHandle font) {
  if (!font) return 0;
  const std::lock_guard<std::mutex> guard(CanvasLock());
  LICE_SysBitmap* canvas = GlyphCanvas(0, 0);
  if (!canvas) return 0;
  HDC dc = static_cast<HDC>(canvas->DeviceContext());
  HGDIOBJ previous = SelectObject(dc, FontOf(font));
  TEXTMETRICA metrics{};
  const bool known = GetTextMetricsA(dc, &metrics) != 0;
  SelectObject(dc, previous);
  return known ? std::max(0, static_cast<int>(metrics.tmHeight)) : 0;
}

bool MeasureChar(LICE_FontHandle font, int code, int& advance, int& height) {
  if (!font) return false;
  const std::lock_guard<std::mutex> guard(CanvasLock());
  LICE_SysBitmap* canvas = GlyphCanvas(0, 0);
  if (!canvas) return false;
  HDC dc = static_cast<HDC>(canvas->DeviceContext());
  HGDIOBJ previous = SelectObject(dc, FontOf(font));
  RECT rect{0, 0, 0, 0};
  const bool measured = DrawChar(dc, code, &rect, kGlyphFormat | DT_CALCRECT);
  SelectObject(dc, previous);
  if (!measured) return false;
  advance = rect.right - rect.left;
  height = rect.bottom - rect.top;
  return true;
}

bool RenderChar(LICE_FontHandle font, int code, int width, int height,
                std::span<std::uint8_t> coverage) {
  if (!ClearCoverage(width, height, coverage)) return false;
  if (!font) return false;
  const std::lock_guard<std::mutex> guard(CanvasLock());
  // The canvas is made large enough for this glyph, not only for the line height: a wide
  // character (or a capital's two extra columns) must never be read from beyond its rows.
  LICE_SysBitmap* canvas = GlyphCanvas(width, height);
  if (!canvas) return false;
  HDC dc = static_cast<HDC>(canvas->DeviceContext());
  GdiFlush();
  LICE_pixel* pixels = canvas->PixelData();
  const int span = canvas->RowSpan();
  for (int y = 0; y < height; ++y)
    std::fill_n(pixels + static_cast<std::ptrdiff_t>(span) * y, width, LICE_pixel{0});

  HGDIOBJ previous = SelectObject(dc, FontOf(font));
  RECT rect{0, 0, width, height};
  const bool drawn = DrawChar(dc, code, &rect, kGlyphFormat);
  SelectObject(dc, previous);
  GdiFlush(); // GDI's pixels must be in the section before they are read
  if (!drawn) return false;
  for (int y = 0; y < height; ++y) {
    const LICE_pixel* row = pixels + static_cast<std::ptrdiff_t>(span) * y;
    std::uint8_t* out = coverage.data() + static_cast<size_t>(y) * width;
    for (int x = 0; x < width; ++x)
      out[x] = static_cast<std::uint8_t>((row[x] >> 16) & 0xFF);
  }
  return true;
}

bool TryDrawNative(const NativeTextRequest& request, int& result) {
  if (RunningUnderWine()) return false;
  return DrawNative(request, result);
}

} // namespace lice_glyphs
