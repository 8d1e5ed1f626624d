// Wine detection, UTF-8 to UTF-16 conversion and GDI's own text drawing for LICE_CachedFont.

#include "drawing/win/LICE_WinText.h"

#include "drawing/LICE_CachedFont.h"
#include "drawing/LICE_Raster.h"
#include "drawing/LICE_SysBitmap.h"
#include "drawing/LICE_Utf8.h"
#include "drawing/win/LICE_GdiCanvas.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdint>
#include <mutex>
#include <span>

namespace lice_win {

namespace {

constexpr int kAlignmentBits = LICE_DT_CENTER | LICE_DT_RIGHT | LICE_DT_VCENTER | LICE_DT_BOTTOM;
constexpr int kLibraryBits = LICE_DT_USEFGALPHA | LICE_DT_FORCE_GLYPHS;

enum class WineAnswer : int { kUnknown, kNo, kYes };
std::atomic<WineAnswer> wineAnswer{WineAnswer::kUnknown};

int ToInt(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

COLORREF GdiColour(LICE_pixel colour) {
  return RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF);
}

// The text as GDI takes it: UTF-16 when the system is of the NT family and the text has
// characters beyond ASCII, else the bytes themselves (also when they are not valid UTF-8).
class GdiText {
public:
  GdiText(const char* text, int length)
      : text_(text), length_(length),
        wide_(IsNtFamily() && HasMultiByteCharacters({reinterpret_cast<const unsigned char*>(text),
                                                      static_cast<size_t>(length)})
                  ? text
                  : nullptr,
              length) {}

  int Draw(HDC dc, RECT* rect, UINT format) const {
    if (wide_.Converted()) return DrawTextW(dc, wide_.Data(), wide_.Size(), rect, format);
    return DrawTextA(dc, text_, length_, rect, format);
  }

private:
  const char* text_;
  int length_;
  WideText wide_;
};

void ApplyColours(HDC dc, const lice_glyphs::NativeTextRequest& request) {
  SetTextColor(dc, GdiColour(request.textColour));
  const bool opaque = request.backgroundMode == 2;
  SetBkMode(dc, opaque ? OPAQUE : TRANSPARENT);
  if (opaque) SetBkColor(dc, GdiColour(request.backgroundColour));
}

// Where the text lands along one axis of a memory bitmap's rectangle: its offset from the
// rectangle's near edge and the extent to draw. Text narrower than the rectangle (or any text
// with DT_NOCLIP) is drawn at its own size, placed as GDI would place it in the full rectangle.
struct Span {
  std::int64_t offset;
  std::int64_t extent;
};
Span Place(std::int64_t box, std::int64_t measured, bool noClip, bool toEnd, bool toMiddle) {
  if (measured >= box && !noClip) return {0, box};
  const std::int64_t slack = box - measured;
  return {toEnd ? slack : toMiddle ? slack / 2 : 0, measured};
}

bool DrawIntoDeviceContext(const lice_glyphs::NativeTextRequest& r, const GdiText& text,
                           UINT format, int& result) {
  HDC dc = static_cast<HDC>(r.bitmap->DeviceContext());
  HGDIOBJ previousFont = SelectObject(dc, FontOf(r.font));
  ApplyColours(dc, r);
  RECT rect{r.rect->left, r.rect->top, r.rect->right, r.rect->bottom};
  result = text.Draw(dc, &rect, format);
  if (format & DT_CALCRECT) *r.rect = LICE_Rect{rect.left, rect.top, rect.right, rect.bottom};
  SelectObject(dc, previousFont);
  GdiFlush(); // the caller reads the pixels next
  return true;
}

// A bitmap without a device context: the text is drawn by GDI into the shared scratch bitmap over
// a copy of the destination's pixels and copied back with the font's combine alpha. Only the part
// that lands inside the destination is copied, so a huge rectangle costs no more than the bitmap.
bool DrawThroughScratch(const lice_glyphs::NativeTextRequest& r, const GdiText& text, UINT format,
                        int& result) {
  LICE_SysBitmap& scratch = ScratchBitmap();
  if (!scratch.DeviceContext()) return false;
  if (!scratch.PixelData()) scratch.Resize(1, 1);
  HDC dc = static_cast<HDC>(scratch.DeviceContext());
  const LICE_Rect& box = *r.rect;
  const std::int64_t boxW = std::max<std::int64_t>(1, std::int64_t{box.right} - box.left);
  const std::int64_t boxH = std::max<std::int64_t>(1, std::int64_t{box.bottom} - box.top);

  HGDIOBJ previousFont = SelectObject(dc, FontOf(r.font));
  RECT measure{0, 0, ToInt(boxW), ToInt(boxH)};
  const int measuredResult =
      text.Draw(dc, &measure, (format & ~kAlignmentBits) | DT_CALCRECT | DT_NOPREFIX);
  const std::int64_t measuredW = std::int64_t{measure.right} - measure.left;
  const std::int64_t measuredH = std::int64_t{measure.bottom} - measure.top;
  result = measuredResult;

  if (format & DT_CALCRECT) {
    r.rect->right = ToInt(box.left + measuredW);
    r.rect->bottom = ToInt(box.top + measuredH);
  } else if (r.bitmap && r.bitmap->PixelData()) {
    const bool noClip = (format & DT_NOCLIP) != 0;
    const Span across = Place(boxW, measuredW, noClip, format & DT_RIGHT, format & DT_CENTER);
    const Span down = Place(boxH, measuredH, noClip, format & DT_BOTTOM, format & DT_VCENTER);
    const std::int64_t x = box.left + across.offset, y = box.top + down.offset;
    const std::int64_t left = std::max<std::int64_t>(x, 0);
    const std::int64_t top = std::max<std::int64_t>(y, 0);
    const std::int64_t right = std::min<std::int64_t>(x + across.extent, r.bitmap->Width());
    const std::int64_t bottom = std::min<std::int64_t>(y + down.extent, r.bitmap->Height());
    if (left < right && top < bottom) {
      const int w = static_cast<int>(right - left), h = static_cast<int>(bottom - top);
      scratch.Resize(std::max(scratch.Width(), w), std::max(scratch.Height(), h));
      if (scratch.PixelData() && scratch.Width() >= w && scratch.Height() >= h) {
        const LICE_Rect under{static_cast<int>(left), static_cast<int>(top),
                              static_cast<int>(right), static_cast<int>(bottom)};
        BlitBitmap(&scratch, r.bitmap, 0, 0, &under, 1.0f, LICE_BLIT_MODE_COPY);
        ApplyColours(dc, r);
        // The text's own rectangle, seen from the visible part's corner.
        RECT target{ToInt(x - left), ToInt(y - top), ToInt(x - left + across.extent),
                    ToInt(y - top + down.extent)};
        result = text.Draw(dc, &target, format | DT_NOPREFIX);
        GdiFlush(); // GDI's pixels must be in the section before they are read
        const LICE_Rect drawn{0, 0, w, h};
        BlitBitmap(r.bitmap, &scratch, under.left, under.top, &drawn, r.combineAlpha,
                   LICE_BLIT_MODE_COPY);
      }
    }
  } else {
    result = 0; // nothing to draw into
  }
  SelectObject(dc, previousFont);
  return true;
}

} // namespace

bool RunningUnderWine() {
  WineAnswer answer = wineAnswer.load(std::memory_order_relaxed);
  if (answer == WineAnswer::kUnknown) {
    HKEY key = nullptr;
    const bool wine = RegOpenKeyA(HKEY_LOCAL_MACHINE, "Software\\Wine", &key) == ERROR_SUCCESS;
    if (wine && key) RegCloseKey(key);
    answer = wine ? WineAnswer::kYes : WineAnswer::kNo;
    wineAnswer.store(answer, std::memory_order_relaxed);
  }
  return answer == WineAnswer::kYes;
}

bool IsNtFamily() {
  return (GetVersion() & 0x80000000u) == 0;
}

WideText::WideText(const char* utf8, int length) {
  if (!utf8 || length <= 0) return;
  const int count = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, length, nullptr, 0);
  if (count <= 0) return;
  wchar_t* out = local_.data();
  if (count >= kHeapFrom) {
    heap_.resize(static_cast<size_t>(count) + 32); // 2 x count + 64 bytes
    out = heap_.data();
  }
  const int converted =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, length, out, count);
  if (converted != count) {
    heap_.clear();
    return;
  }
  data_ = out;
  size_ = count;
}

bool DrawNative(const lice_glyphs::NativeTextRequest& r, int& result) {
  if (!r.font || !r.text || !r.rect || r.length < 0) return false;
  const std::lock_guard<std::mutex> guard(CanvasLock());
  const GdiText text(r.text, r.length);
  const UINT format = static_cast<UINT>(r.format & ~kLibraryBits);
  if (r.bitmap && r.bitmap->DeviceContext())
    return DrawIntoDeviceContext(r, text, format | DT_NOPREFIX, result);
  return DrawThroughScratch(r, text, format, result);
}

} // namespace lice_win
