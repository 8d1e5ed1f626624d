// Text on Windows: the Wine check that routes text to the glyph cache, glyphs rendered by GDI,
// GDI's own drawing through the scratch bitmap, and UTF-16 conversion of texts of any length.

#include "drawing/LICE_CachedFont.h"
#include "drawing/LICE_MemBitmap.h"
#include "drawing/LICE_SysBitmap.h"
#include "drawing/win/LICE_WinText.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr LICE_pixel kWhite = 0xFFFFFFFF;
constexpr LICE_pixel kBlack = 0xFF000000;

// The bounding box of the pixels that differ from white.
LICE_Rect InkBox(const LICE_IBitmap& bitmap) {
  LICE_Rect box{bitmap.Width(), bitmap.Height(), 0, 0};
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x)
      if (bitmap.PixelData()[bitmap.RowSpan() * y + x] != kWhite) {
        box.left = std::min(box.left, x);
        box.top = std::min(box.top, y);
        box.right = std::max(box.right, x + 1);
        box.bottom = std::max(box.bottom, y + 1);
      }
  return box;
}

class WindowsText : public ::testing::Test {
protected:
  void SetUp() override {
    font_.SetFont(LICE_CreateFont({"Verdana", 14, 400, false, 0, 0}), 0x600);
    ASSERT_NE(font_.GetFontHandle(), nullptr);
    font_.SetTextColour(kBlack);
  }
  // A white memory bitmap of 120 x 40.
  struct Canvas : LICE_MemBitmap {
    Canvas() : LICE_MemBitmap(120, 40, 4) { std::fill_n(PixelData(), RowSpan() * 40, kWhite); }
  };
  lice_glyphs::NativeTextRequest Native(LICE_IBitmap* bitmap, const std::string& text,
                                        LICE_Rect* rect, int format) {
    const int length = static_cast<int>(text.size());
    return {
        font_.GetFontHandle(), bitmap, text.c_str(), length, rect, format, kBlack, kWhite, 1, 1};
  }
  LICE_CachedFont font_;
};

// Wine's GDI text differs from Windows', so under Wine text comes from the glyph cache, while on
// Windows a font that asks for it is drawn by GDI itself. The same program checks whichever path
// the system it runs on takes; Wine is told apart independently of the check under test, by
// the export its ntdll has and Windows' has not.
TEST_F(WindowsText, TextTakesThePathOfTheSystemItRunsOn) {
  const bool wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
  EXPECT_EQ(lice_win::RunningUnderWine(), wine);
  constexpr int kFormat = LICE_DT_CENTER | LICE_DT_VCENTER;
  Canvas chosen, expected;
  LICE_Rect rect{0, 0, 120, 40};
  font_.RenderText(&chosen, "Tavo 42", -1, &rect, kFormat);
  int height = 0;
  LICE_Rect nativeRect = rect;
  const bool native =
      lice_glyphs::TryDrawNative(Native(&expected, "Tavo 42", &nativeRect, kFormat), height);
  EXPECT_EQ(native, !wine);
  if (!native) font_.RenderText(&expected, "Tavo 42", -1, &rect, kFormat | LICE_DT_FORCE_GLYPHS);
  EXPECT_EQ(std::memcmp(chosen.PixelData(), expected.PixelData(), 120 * 40 * 4), 0);
  EXPECT_LT(InkBox(chosen).left, InkBox(chosen).right); // and something was drawn
}

TEST_F(WindowsText, GdiTextThroughTheScratchBitmapLandsCentredInAMemoryBitmap) {
  Canvas canvas;
  LICE_Rect rect{0, 0, 120, 40};
  int height = 0;
  ASSERT_TRUE(lice_win::DrawNative(
      Native(&canvas, "Tavo", &rect, LICE_DT_CENTER | LICE_DT_VCENTER | LICE_DT_SINGLELINE),
      height));
  const LICE_Rect ink = InkBox(canvas);
  ASSERT_LT(ink.left, ink.right);
  EXPECT_NEAR(ink.left + ink.right, 120, 6);
  EXPECT_NEAR(ink.top + ink.bottom, 40, 6);
  // A rectangle reaching far past the bitmap costs no scratch beyond the bitmap.
  LICE_Rect huge{-2000000000, -2000000000, 2000000000, 2000000000};
  EXPECT_TRUE(lice_win::DrawNative(Native(&canvas, "Tavo", &huge, LICE_DT_CENTER), height));
}

TEST_F(WindowsText, GdiDrawsStraightIntoASystemBitmapsContext) {
  LICE_SysBitmap back(120, 40);
  std::fill_n(back.PixelData(), back.RowSpan() * 40, kWhite);
  LICE_Rect rect{0, 0, 120, 40};
  int height = 0;
  ASSERT_TRUE(lice_win::DrawNative(Native(&back, "Tavo", &rect, LICE_DT_CALCRECT), height));
  EXPECT_EQ(rect.bottom, height);   // GDI's measure comes back in the rectangle
  EXPECT_EQ(InkBox(back).right, 0); // measuring draws nothing
  rect = {0, 0, 120, 40};
  ASSERT_TRUE(lice_win::DrawNative(Native(&back, "Tavo", &rect, LICE_DT_RIGHT), height));
  const LICE_Rect ink = InkBox(back);
  EXPECT_GT(ink.left, 60);
  EXPECT_LE(ink.right, 120);
}

TEST_F(WindowsText, WideGlyphsAreReadFromTheirOwnRowsOnly) {
  // A glyph wider than the shared canvas: a canvas sized by line height alone would return the
  // next row's pixels in the columns past its edge.
  const int width = 700, height = font_.GetLineHeight();
  std::vector<std::uint8_t> mask(static_cast<size_t>(width) * height, 7);
  ASSERT_TRUE(lice_glyphs::RenderChar(font_.GetFontHandle(), 'l', width, height, mask));
  for (int y = 0; y < height; ++y)
    for (int x = 40; x < width; ++x)
      ASSERT_EQ(mask[static_cast<size_t>(y) * width + x], 0) << x << "," << y;
}

// Texts of 1000 characters or more are converted on the heap and measured whole; Wine's own
// DrawText cuts a line at 1024 characters, so the measured text stays below that.
TEST_F(WindowsText, LongTextsAreConvertedOnTheHeapAndMeasuredWhole) {
  const std::string one = "\xC3\xA9";
  std::string text;
  for (int i = 0; i < 1010; ++i)
    text += one;
  const lice_win::WideText wide(text.c_str(), static_cast<int>(text.size()));
  ASSERT_TRUE(wide.Converted());
  EXPECT_TRUE(wide.OnHeap());
  EXPECT_EQ(std::wstring(wide.Data(), wide.Size()), std::wstring(1010, L'\u00e9'));
  EXPECT_FALSE(lice_win::WideText("\xC3\xA9t\xC3\xA9", 5).OnHeap());
  EXPECT_FALSE(lice_win::WideText("\xC0\xA9", 2).Converted()); // drawn as bytes instead

  LICE_Rect single{}, whole{};
  int height = 0;
  ASSERT_TRUE(lice_win::DrawNative(Native(nullptr, one, &single, LICE_DT_CALCRECT), height));
  ASSERT_TRUE(lice_win::DrawNative(Native(nullptr, text, &whole, LICE_DT_CALCRECT), height));
  ASSERT_GT(single.right, 0);
  EXPECT_NEAR(whole.right, 1010.0 * single.right, 10.0);
}

} // namespace
