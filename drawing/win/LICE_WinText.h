#pragma once
// The Windows text pieces behind the glyph source: the Wine check that decides between GDI's own
// text drawing and the glyph cache, the UTF-8 to UTF-16 conversion of a text for GDI, and the
// native drawing itself. All of it runs on the editor thread; the shared GDI canvases are
// guarded so that a second window thread could not tear them.

#include "drawing/LICE_FontHandle.h"

#include <array>
#include <vector>

namespace lice_win {

// [any thread] True when the process runs under the Wine compatibility layer (its registry key
// exists). Wine's GDI text differs from Windows', so text goes through the glyph cache there.
// Asked once per process.
bool RunningUnderWine();

// [any thread] True on the Windows NT family, whose GDI takes UTF-16 text.
bool IsNtFamily();

// [editor thread · may allocate] A UTF-8 text as UTF-16 for GDI. Texts of fewer than 1000
// characters stay in the object; longer ones go to the heap, so a text of any length is drawn
// whole. Invalid UTF-8 is not converted (the caller then draws the bytes as they are).
class WideText {
public:
  WideText(const char* utf8, int length);
  WideText(const WideText&) = delete;
  WideText& operator=(const WideText&) = delete;

  bool Converted() const { return data_ != nullptr; }
  const wchar_t* Data() const { return data_; }
  int Size() const { return size_; }
  bool OnHeap() const { return !heap_.empty(); }

private:
  static constexpr int kLocalCharacters = 1024;
  static constexpr int kHeapFrom = 1000;
  std::array<wchar_t, kLocalCharacters> local_;
  std::vector<wchar_t> heap_;
  const wchar_t* data_ = nullptr;
  int size_ = 0;
};

// [editor thread · may allocate] Draws (or measures) with GDI whether or not the process runs
// under Wine: into the bitmap's own device context when it has one, otherwise through the shared
// scratch system bitmap. False when no GDI drawing is possible (no font, no scratch context).
bool DrawNative(const lice_glyphs::NativeTextRequest& request, int& result);

} // namespace lice_win
