#include "TestBitmaps.h"
#include "drawing/LICE_CachedFont.h"
#include "drawing/LICE_Utf8.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using drawing_test::GuardedView;

// ---- UTF-8 ---------------------------------------------------------------------------------

std::vector<LICE_Utf8Char> DecodeAll(const std::string& bytes) {
  std::vector<LICE_Utf8Char> out;
  std::span<const unsigned char> rest(reinterpret_cast<const unsigned char*>(bytes.data()),
                                      bytes.size());
  while (!rest.empty()) {
    out.push_back(DecodeUtf8Char(rest));
    rest = rest.subspan(static_cast<size_t>(out.back().length));
  }
  return out;
}

TEST(Utf8, TwoByteSequenceIsOneCharacter) {
  const auto chars = DecodeAll("\xC3\xA9");
  ASSERT_EQ(chars.size(), 1u);
  EXPECT_EQ(chars[0].code, 0xE9);
  EXPECT_EQ(chars[0].length, 2);
}

TEST(Utf8, OverlongLeadBytesStandForThemselves) {
  const auto chars = DecodeAll("\xC0\xA9");
  ASSERT_EQ(chars.size(), 2u);
  EXPECT_EQ(chars[0].code, 0xC0);
  EXPECT_EQ(chars[1].code, 0xA9);
}

TEST(Utf8, CharactersBeyondSixteenBitsReadAsOneSpace) {
  const auto chars = DecodeAll("\xF0\x9F\x98\x80");
  ASSERT_EQ(chars.size(), 1u);
  EXPECT_EQ(chars[0].code, ' ');
  EXPECT_EQ(chars[0].length, 4);
}

TEST(Utf8, ThreeByteSequencesAndTruncationsAtTheEnd) {
  const auto euro = DecodeAll("\xE2\x82\xAC");
  ASSERT_EQ(euro.size(), 1u);
  EXPECT_EQ(euro[0].code, 0x20AC);
  const auto cut = DecodeAll("a\xE2\x82");
  ASSERT_EQ(cut.size(), 3u);
  EXPECT_EQ(cut[1].code, 0xE2);
  EXPECT_EQ(cut[2].code, 0x82);
  EXPECT_EQ(DecodeAll("\xF5\x80\x80\x80").size(), 4u);
}

TEST(Utf8, MultiByteDetection) {
  auto has = [](const char* s) {
    return HasMultiByteCharacters({reinterpret_cast<const unsigned char*>(s), std::strlen(s)});
  };
  EXPECT_TRUE(has("caf\xC3\xA9"));
  EXPECT_TRUE(has("\xE2\x82\xAC"));
  EXPECT_FALSE(has("\xE2\x82")); // a three-byte lead needs both continuations
  EXPECT_FALSE(has("\xC0\xA9 plain"));
  EXPECT_FALSE(has("ascii only"));
}

// ---- Cached font -----------------------------------------------------------------------------

class CachedFont : public ::testing::Test {
protected:
  void SetUp() override {
    LICE_FontStyle style;
    style.face = "Verdana";
    style.height = 14;
    handle = LICE_CreateFont(style);
    ASSERT_NE(handle, nullptr) << "no font face available (fonts-dejavu-core)";
    font.SetFont(handle, LICE_FONT_FLAG_OWNS_HFONT | LICE_FONT_FLAG_FORCE_NATIVE);
    font.SetTextColour(0xFFFFFFFF);
  }
  LICE_Rect MeasureText(const char* text, int format = LICE_DT_SINGLELINE) {
    LICE_Rect r{10, 20, 10, 20};
    font.RenderText(nullptr, text, -1, &r, format | LICE_DT_CALCRECT);
    return r;
  }
  LICE_FontHandle handle = nullptr;
  LICE_CachedFont font;
};

TEST_F(CachedFont, LineHeightIsTheRequestedCellHeight) {
  EXPECT_GE(font.GetLineHeight(), 13);
  EXPECT_LE(font.GetLineHeight(), 15);
  EXPECT_EQ(font.GetFontHandle(), handle);
}

TEST_F(CachedFont, MeasuringWritesWidthAndHeightFromTheRectanglesOrigin) {
  const LICE_Rect r = MeasureText("Drive");
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 20);
  EXPECT_GT(r.right - r.left, 20);
  EXPECT_EQ(r.bottom - r.top, font.GetLineHeight());
  // The width is the sum of the characters' advances.
  int sum = 0;
  for (const char* c : {"D", "r", "i", "v", "e"})
    sum += MeasureText(c).right - 10;
  EXPECT_EQ(r.right - r.left, sum);
  LICE_Rect again{0, 0, 0, 0};
  EXPECT_EQ(font.RenderText(nullptr, "Drive", 5, &again, LICE_DT_CALCRECT), font.GetLineHeight());
}

TEST_F(CachedFont, LineFeedIsASpaceOnASingleLineAndANewLineOtherwise) {
  EXPECT_EQ(MeasureText("A\nB").right, MeasureText("A B").right);
  font.SetLineSpacing(3);
  const LICE_Rect two = MeasureText("A\nB", 0);
  EXPECT_EQ(two.bottom - two.top, 2 * font.GetLineHeight() + 3);
  EXPECT_EQ(two.right, MeasureText("A").right);
  EXPECT_EQ(MeasureText("A\r\rB").right, MeasureText("AB").right); // returns are skipped
}

TEST_F(CachedFont, CentredTextLandsInTheMiddleOfTheRectangle) {
  const int format = LICE_DT_CENTER | LICE_DT_VCENTER | LICE_DT_SINGLELINE;
  GuardedView centred(120, 40, 0), placed(120, 40, 0);
  LICE_Rect box{5, 3, 115, 37};
  font.RenderText(&centred, "Output", -1, &box, format);
  const LICE_Rect size = MeasureText("Output");
  const int w = size.right - size.left, h = size.bottom - size.top;
  LICE_Rect at{5 + (110 - w) / 2, 3 + (34 - h) / 2, 115, 37};
  font.RenderText(&placed, "Output", -1, &at, LICE_DT_SINGLELINE);
  int painted = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 120; ++x) {
      ASSERT_EQ(centred.At(x, y), placed.At(x, y)) << x << "," << y;
      painted += centred.At(x, y) != 0;
    }
  EXPECT_GT(painted, 30);
}

TEST_F(CachedFont, LayoutNearTheEndsOfTheIntRangeDoesNotWrap) {
  const int format = LICE_DT_CENTER | LICE_DT_VCENTER | LICE_DT_SINGLELINE;
  GuardedView huge(40, 20, 0), small(40, 20, 0);
  LICE_Rect wide{-1500000000, -1500000000, 1500000000, 1500000000};
  LICE_Rect narrow{-100, -100, 100, 100}; // the same centre
  font.RenderText(&huge, "Drive", -1, &wide, format);
  font.RenderText(&small, "Drive", -1, &narrow, format);
  EXPECT_GT(huge.CountNot(0), 0);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x)
      ASSERT_EQ(huge.At(x, y), small.At(x, y)) << x << "," << y;
  LICE_Rect edge{INT32_MAX - 5, INT32_MAX - 5, INT32_MAX, INT32_MAX};
  font.RenderText(&huge, "Drive", -1, &edge, LICE_DT_SINGLELINE | LICE_DT_NOCLIP);
  font.RenderText(nullptr, "Drive", -1, &edge, LICE_DT_CALCRECT);
  EXPECT_EQ(edge.right, INT32_MAX); // the measured edge, as near as an int comes
  EXPECT_TRUE(huge.GuardIntact());
}

TEST_F(CachedFont, CopyBlendKeepsColourAndAlphaInStep) {
  // White over transparent black: colour = 255 - 255 * (255 - v) / 256 and
  // alpha = 255 - 255 * (255 - v) / 256 come from the same coverage, so they are equal.
  GuardedView canvas(80, 30, 0);
  LICE_Rect r{0, 0, 80, 30};
  font.RenderText(&canvas, "Asymmetry", -1, &r, LICE_DT_SINGLELINE);
  int partial = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 80; ++x) {
      const LICE_pixel p = canvas.At(x, y);
      ASSERT_EQ(p >> 24, p & 0xFF);
      ASSERT_EQ((p >> 16) & 0xFF, p & 0xFF);
      partial += (p & 0xFF) != 0 && (p & 0xFF) != 255;
    }
  EXPECT_GT(partial, 0); // antialiased edges exist
}

TEST_F(CachedFont, ZeroCombineAlphaOrTransparentColourDrawsNothing) {
  GuardedView canvas(60, 20, 0);
  LICE_Rect r{0, 0, 60, 20};
  font.SetCombineMode(0, 0.0f);
  EXPECT_EQ(font.RenderText(&canvas, "Bypass", -1, &r, 0), 0);
  font.SetCombineMode(0, 1.0f);
  font.SetTextColour(0x00FFFFFF);
  EXPECT_EQ(font.RenderText(&canvas, "Bypass", -1, &r, LICE_DT_USEFGALPHA), 0);
  EXPECT_EQ(canvas.CountNot(0), 0);
}

TEST_F(CachedFont, TextStaysInsideItsRectangleUnlessToldNotToClip) {
  GuardedView canvas(100, 30, 0);
  LICE_Rect r{10, 5, 30, 25};
  font.RenderText(&canvas, "Crosstalk Level", -1, &r, LICE_DT_SINGLELINE);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 100; ++x)
      if (x < 10 || x >= 30 || y < 5 || y >= 25) {
        ASSERT_EQ(canvas.At(x, y), 0u);
      }
  font.RenderText(&canvas, "Crosstalk Level", -1, &r, LICE_DT_SINGLELINE | LICE_DT_NOCLIP);
  int beyond = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 30; x < 100; ++x)
      beyond += canvas.At(x, y) != 0;
  EXPECT_GT(beyond, 0);
  LICE_Rect offCanvas{-500, -500, 1000, 1000};
  font.RenderText(&canvas, "Crosstalk Level\nsecond line", -1, &offCanvas, 0);
  EXPECT_TRUE(canvas.GuardIntact());
}

TEST_F(CachedFont, OpaqueModeFillsTheGlyphCells) {
  GuardedView canvas(40, 20, 0);
  font.SetBackgroundColour(0xFF102030);
  font.SetBackgroundMode(2);
  LICE_Rect r{0, 0, 40, 20};
  font.RenderText(&canvas, "  ", -1, &r, LICE_DT_SINGLELINE); // spaces: only their cells
  EXPECT_EQ(canvas.At(0, 0), 0xFF102030u);
  EXPECT_EQ(canvas.At(0, font.GetLineHeight()), 0u);
}

TEST_F(CachedFont, MonochromeGlyphsWriteTheTextColourWord) {
  font.SetFont(LICE_CreateFont({"Verdana", 14, 400, false, 0, 0}),
               LICE_FONT_FLAG_OWNS_HFONT | LICE_FONT_FLAG_FX_MONO);
  font.SetTextColour(0x80C0FFEE);
  GuardedView canvas(60, 20, 0x01010101);
  LICE_Rect r{0, 0, 60, 20};
  font.RenderText(&canvas, "Drive", -1, &r, 0);
  int painted = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 60; ++x) {
      const LICE_pixel p = canvas.At(x, y);
      ASSERT_TRUE(p == 0x01010101u || p == 0x80C0FFEEu) << std::hex << p;
      painted += p == 0x80C0FFEEu;
    }
  EXPECT_GT(painted, 20);
}

TEST_F(CachedFont, ShadowPixelsSitBelowOrRightOfTheText) {
  font.SetFont(LICE_CreateFont({"Verdana", 14, 700, false, 0, 0}),
               LICE_FONT_FLAG_OWNS_HFONT | LICE_FONT_FLAG_FX_SHADOW);
  font.SetTextColour(0xFFFFFFFF);
  font.SetEffectColour(0xFF000080);
  GuardedView canvas(60, 20, 0);
  LICE_Rect r{0, 0, 60, 20};
  font.RenderText(&canvas, "HI", -1, &r, 0);
  int shadows = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 60; ++x) {
      if (canvas.At(x, y) != 0xFF000080u) continue;
      ++shadows;
      const bool left = x > 0 && canvas.At(x - 1, y) == 0xFFFFFFFFu;
      const bool up = y > 0 && canvas.At(x, y - 1) == 0xFFFFFFFFu;
      const bool upLeft = x > 0 && y > 0 && canvas.At(x - 1, y - 1) == 0xFFFFFFFFu;
      EXPECT_TRUE(left || up || upLeft) << x << "," << y;
    }
  EXPECT_GT(shadows, 10);
}

TEST_F(CachedFont, AsciiOnlyFontsSkipOtherCharacters) {
  const int withAccent = MeasureText("\xC3\xA9").right - 10;
  EXPECT_GT(withAccent, 0);
  font.SetFont(LICE_CreateFont({"Verdana", 14, 400, false, 0, 0}),
               LICE_FONT_FLAG_OWNS_HFONT | LICE_FONT_FLAG_PRECALCALL);
  EXPECT_EQ(MeasureText("\xC3\xA9").right - 10, 0);
  EXPECT_EQ(MeasureText("e\xC3\xA9").right, MeasureText("e").right);
}

TEST_F(CachedFont, TurnedGlyphsRunDownward) {
  font.SetFont(LICE_CreateFont({"Verdana", 14, 400, false, 0, 0}),
               LICE_FONT_FLAG_OWNS_HFONT | LICE_FONT_FLAG_VERTICAL);
  LICE_Rect r{0, 0, 0, 0};
  const int result = font.RenderText(nullptr, "Drive", -1, &r, LICE_DT_CALCRECT);
  EXPECT_EQ(result, r.right);
  EXPECT_EQ(r.right, font.GetLineHeight());
  EXPECT_GT(r.bottom, r.right);
}

TEST(CachedFontWithoutFace, DrawsAndMeasuresNothing) {
  LICE_CachedFont font;
  GuardedView canvas(10, 10, 0);
  LICE_Rect r{0, 0, 10, 10};
  EXPECT_EQ(font.RenderText(&canvas, "x", -1, &r, 0), 0);
  EXPECT_EQ(font.RenderText(nullptr, "x", -1, &r, LICE_DT_CALCRECT), 0);
  EXPECT_EQ(font.RenderText(nullptr, "x", -1, &r, 0), 0);
  EXPECT_EQ(canvas.CountNot(0), 0);
  EXPECT_EQ(font.SetTextColour(5), 0u);
  EXPECT_EQ(font.SetBackgroundColour(5), 0xFFFFFFFFu);
  EXPECT_EQ(font.SetEffectColour(5), 0xFFFFFFFFu);
  EXPECT_EQ(font.SetBackgroundMode(2), 1);
}

} // namespace
