#pragma once
// The process-wide store of the editor's fonts: one cached font per (size, orientation, style,
// face), shared by every editor instance and kept for the life of the module.

#include "graphics/GraphicsTypes.h"

class LICE_CachedFont;

namespace tavo {

class FontCache {
public:
  // [editor thread · takes the cache lock, may block while creating] The font for the text
  // style, created on the first request for its key; null when no system font can be made.
  // The cache owns the font.
  static LICE_CachedFont* FontFor(const ITextStyle& style);
};

} // namespace tavo
