#pragma once
// Text drawn into bitmaps from a cache of rendered glyphs. Each character is rendered once by
// the platform's glyph source into an 8-bit coverage mask, kept until the next SetFont, and
// blended into the bitmap by the library's own arithmetic. Where the platform can draw text
// itself and nothing forbids it, the font draws natively instead.
//
// A font object lives as long as whoever made it (the graphics core's font cache); all of its
// operations run on the editor thread.

#include "base/GrowableBuffer.h"
#include "drawing/LICE_FontHandle.h"
#include "drawing/LICE_IBitmap.h"

#include <array>
#include <cstdint>
#include <span>

// Format flags of RenderText (the values of the platform text-drawing flags they stand for).
inline constexpr int LICE_DT_CENTER = 0x1;
inline constexpr int LICE_DT_RIGHT = 0x2;
inline constexpr int LICE_DT_VCENTER = 0x4;
inline constexpr int LICE_DT_BOTTOM = 0x8;
inline constexpr int LICE_DT_SINGLELINE = 0x20;
inline constexpr int LICE_DT_NOCLIP = 0x100;
inline constexpr int LICE_DT_CALCRECT = 0x400;
// The text colour's alpha scales the combine alpha (and rules out native drawing).
inline constexpr int LICE_DT_USEFGALPHA = 0x40000000;
// Never draw natively.
inline constexpr int LICE_DT_FORCE_GLYPHS = static_cast<int>(0x80000000u);

// Font flags of SetFont.
inline constexpr int LICE_FONT_FLAG_VERTICAL = 0x1;
inline constexpr int LICE_FONT_FLAG_VERTICAL_BOTTOMUP = 0x2;
inline constexpr int LICE_FONT_FLAG_PRECALCALL = 0x4;
inline constexpr int LICE_FONT_FLAG_FX_BLUR = 0x10;
inline constexpr int LICE_FONT_FLAG_FX_INVERT = 0x20;
inline constexpr int LICE_FONT_FLAG_FX_MONO = 0x40;
inline constexpr int LICE_FONT_FLAG_FX_SHADOW = 0x80;
inline constexpr int LICE_FONT_FLAG_FX_OUTLINE = 0x100;
inline constexpr int LICE_FONT_FLAG_OWNS_HFONT = 0x200;
inline constexpr int LICE_FONT_FLAG_FORCE_NATIVE = 0x400;

class LICE_IFont {
public:
  LICE_IFont() = default;
  LICE_IFont(const LICE_IFont&) = delete;
  LICE_IFont& operator=(const LICE_IFont&) = delete;
  virtual ~LICE_IFont() = default;
};

class LICE_CachedFont : public LICE_IFont {
public:
  // [editor thread] An empty font: it draws nothing until SetFont gives it a face.
  LICE_CachedFont() = default;
  ~LICE_CachedFont() override;

  // [editor thread · may block] Replaces the font and empties the glyph cache. With flag 0x200
  // the object owns the handle from here on; an owned handle that is replaced is deleted.
  virtual void SetFont(LICE_FontHandle font, int flags);
  // [editor thread] Each setter returns the previous value.
  virtual LICE_pixel SetTextColour(LICE_pixel colour);
  virtual LICE_pixel SetBackgroundColour(LICE_pixel colour);
  virtual LICE_pixel SetEffectColour(LICE_pixel colour);
  // 1 transparent, 2 opaque (the glyph cells are filled with the background colour first).
  virtual int SetBackgroundMode(int mode);
  virtual void SetCombineMode(int mode, float alpha);
  // [editor thread · may allocate] Draws (or, with LICE_DT_CALCRECT, measures) UTF-8 text in
  // rect; length -1 means up to the terminating zero. Returns the height of the text (its width
  // for turned glyphs); measuring writes right = left + width, bottom = top + height back.
  virtual int RenderText(LICE_IBitmap* bitmap, const char* text, int length, LICE_Rect* rect,
                         int format);
  // [editor thread] The getters return the fields.
  virtual LICE_pixel GetTextColour() const { return textColour_; }
  virtual LICE_FontHandle GetFontHandle() const { return font_; }
  virtual int GetLineHeight() const { return lineHeight_; }

  // [editor thread] Extra pixels between lines of multi-line text.
  void SetLineSpacing(int pixels) { lineSpacing_ = pixels; }

private:
  struct Glyph {
    int pixelOffset; // 0 not yet rendered, -1 renders to nothing, else 1 + offset in glyphPixels_
    int width;
    int height;
    int advance;
    std::uint16_t code;
  };
  static_assert(sizeof(Glyph) == 20, "glyph entries keep their 20-byte layout");
  // Text layout runs in 64 bits: a rectangle may lie anywhere in the int range, and a position
  // found from it (a centre, a far edge plus an advance) must not wrap.
  struct Extent {
    std::int64_t width;
    std::int64_t height;
  };

  Glyph* FindGlyph(int code);
  void RenderGlyph(Glyph& glyph);
  void PostProcess(std::uint8_t* mask, int& width, int& height);
  Extent Measure(std::span<const unsigned char> text, int format);
  void DrawMask(LICE_IBitmap& bitmap, const Glyph& glyph, std::int64_t x, std::int64_t y,
                const LICE_Rect& clip, float alpha);

  LICE_pixel textColour_ = 0;
  LICE_pixel backgroundColour_ = 0xFFFFFFFF;
  LICE_pixel effectColour_ = 0xFFFFFFFF;
  int backgroundMode_ = 1;
  int combineMode_ = 0;
  float combineAlpha_ = 1.0f;
  int flags_ = 0;
  int lineHeight_ = 0;
  int lineSpacing_ = 0;
  std::array<Glyph, 128> asciiGlyphs_{};
  tavo::GrowableArray<Glyph> extraGlyphs_{4096};
  tavo::GrowableBuffer glyphPixels_{65536};
  LICE_FontHandle font_ = nullptr;
};
