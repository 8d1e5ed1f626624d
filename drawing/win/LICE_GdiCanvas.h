#pragma once
// The process-wide GDI surfaces of the Windows text code: the canvas glyphs are rendered on
// (white on black, so a pixel's red byte is the glyph's coverage) and the scratch bitmap that
// native text is drawn through when the destination has no device context. Both live until the
// process ends; whoever touches them holds CanvasLock().

#include "drawing/LICE_FontHandle.h"
#include "drawing/LICE_SysBitmap.h"

#include <windows.h>

#include <mutex>

namespace lice_win {

// A font handle is the GDI font itself.
inline HFONT FontOf(LICE_FontHandle font) {
  return reinterpret_cast<HFONT>(font);
}
inline LICE_FontHandle HandleOf(HFONT font) {
  return reinterpret_cast<LICE_FontHandle>(font);
}

// [editor thread]
std::mutex& CanvasLock();
// [editor thread · CanvasLock held] Made at 0 x 0 on first use.
LICE_SysBitmap& ScratchBitmap();

} // namespace lice_win
