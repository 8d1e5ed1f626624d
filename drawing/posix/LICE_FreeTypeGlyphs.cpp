// The Linux glyph source: faces found by fontconfig, rendered by FreeType. Linux has no native
// text drawing in this library, so every font draws from its glyph cache.

#include "drawing/LICE_FontHandle.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>

namespace {

// One FreeType library and one fontconfig configuration for the process. Every face holds a
// share of it, so the library outlives the last face however the process's exit handlers are
// ordered (a font cache elsewhere may be torn down after this file's statics). Creating and
// releasing faces goes through the lock; drawing with a face happens on the editor thread only.
struct FreeType {
  std::mutex lock;
  FT_Library library = nullptr;
  FcConfig* config = nullptr;
  FreeType() {
    if (FT_Init_FreeType(&library) != 0) library = nullptr;
    config = FcInitLoadConfigAndFonts();
  }
  ~FreeType() {
    if (config) FcConfigDestroy(config);
    if (library) FT_Done_FreeType(library);
  }
};

const std::shared_ptr<FreeType>& TheFreeType() {
  static const std::shared_ptr<FreeType> freeType = std::make_shared<FreeType>();
  return freeType;
}

} // namespace

struct LICE_FontObject {
  std::shared_ptr<FreeType> owner; // keeps the library alive while the face exists
  FT_Face face = nullptr;
  int lineHeight = 0;
  int ascent = 0;
  bool monochrome = false;
};

namespace {

// The file and face index fontconfig offers for the style; empty when it offers nothing.
std::string MatchFace(FcConfig* config, const LICE_FontStyle& style, int& index) {
  if (!config) return {};
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return {};
  const char* family = style.face && style.face[0] ? style.face : "Verdana";
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  FcPatternAddInteger(pattern, FC_WEIGHT, style.weight >= 600 ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, style.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return {};
  std::string path;
  FcChar8* file = nullptr;
  if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file)
    path = reinterpret_cast<const char*>(file);
  if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch) index = 0;
  FcPatternDestroy(match);
  return path;
}

int RoundedPixels(FT_Pos v) {
  return static_cast<int>((v + 32) >> 6);
}

} // namespace

LICE_FontHandle LICE_CreateFont(const LICE_FontStyle& style) {
  const std::shared_ptr<FreeType>& shared = TheFreeType();
  FreeType& ft = *shared;
  if (!ft.library) return nullptr;
  int index = 0;
  std::string path;
  {
    const std::lock_guard<std::mutex> guard(ft.lock);
    path = MatchFace(ft.config, style, index);
  }
  if (path.empty()) return nullptr;

  auto font = std::make_unique<LICE_FontObject>();
  font->owner = shared;
  {
    const std::lock_guard<std::mutex> guard(ft.lock);
    if (FT_New_Face(ft.library, path.c_str(), index, &font->face) != 0) return nullptr;
  }
  // A positive height is the cell (ascent + descent), a negative one the character height, as
  // the platform font APIs define it; 0 takes a customary 12 pixels.
  FT_Error sized;
  if (style.height > 0) {
    FT_Size_RequestRec request{FT_SIZE_REQUEST_TYPE_REAL_DIM, 0,
                               static_cast<FT_Long>(style.height) * 64, 0, 0};
    sized = FT_Request_Size(font->face, &request);
  } else {
    const int pixels = style.height < 0 ? -style.height : 12;
    sized = FT_Set_Pixel_Sizes(font->face, 0, static_cast<FT_UInt>(std::min(pixels, 4096)));
  }
  if (sized != 0) {
    LICE_DeleteFont(font.release());
    return nullptr;
  }
  const FT_Size_Metrics& m = font->face->size->metrics;
  font->ascent = RoundedPixels(m.ascender);
  font->lineHeight = std::max(1, RoundedPixels(m.ascender - m.descender));
  font->monochrome = style.quality == 1;
  return font.release();
}

void LICE_DeleteFont(LICE_FontHandle font) {
  if (!font) return;
  if (font->face && font->owner) {
    const std::lock_guard<std::mutex> guard(font->owner->lock);
    FT_Done_Face(font->face);
  }
  delete font;
}

namespace lice_glyphs {

int LineHeight(LICE_FontHandle font) {
  return font ? font->lineHeight : 0;
}

bool MeasureChar(LICE_FontHandle font, int code, int& advance, int& height) {
  if (!font || !font->face) return false;
  if (FT_Load_Char(font->face, static_cast<FT_ULong>(code), FT_LOAD_DEFAULT) != 0) return false;
  advance = RoundedPixels(font->face->glyph->advance.x);
  height = font->lineHeight;
  return true;
}

bool RenderChar(LICE_FontHandle font, int code, int width, int height,
                std::span<std::uint8_t> coverage) {
  if (!ClearCoverage(width, height, coverage)) return false;
  if (!font || !font->face) return false;
  const FT_Int32 target = font->monochrome ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL;
  if (FT_Load_Char(font->face, static_cast<FT_ULong>(code), FT_LOAD_RENDER | target) != 0)
    return false;
  const FT_GlyphSlot slot = font->face->glyph;
  const FT_Bitmap& bitmap = slot->bitmap;
  const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
  if (!mono && bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) return false;
  const int originX = slot->bitmap_left, originY = font->ascent - slot->bitmap_top;
  for (unsigned row = 0; row < bitmap.rows; ++row) {
    const int y = originY + static_cast<int>(row);
    if (y < 0 || y >= height) continue;
    const unsigned char* source = bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
    for (unsigned column = 0; column < bitmap.width; ++column) {
      const int x = originX + static_cast<int>(column);
      if (x < 0 || x >= width) continue;
      const int value =
          mono ? ((source[column >> 3] >> (7 - (column & 7))) & 1) * 255 : source[column];
      std::uint8_t& out = coverage[static_cast<size_t>(y) * width + x];
      out = static_cast<std::uint8_t>(std::max<int>(out, value));
    }
  }
  return true;
}

bool TryDrawNative(const NativeTextRequest&, int&) {
  return false;
}

} // namespace lice_glyphs
