#include "TestBitmaps.h"
#include "drawing/LICE_Raster.h"

#include <gtest/gtest.h>

namespace {

using drawing_test::GuardedView;

class FillOnePixel : public ::testing::Test {
protected:
  LICE_pixel Fill(LICE_pixel colour, LICE_pixel destination, float alpha, int mode) {
    GuardedView dst(1, 1, destination);
    FillRectangle(&dst, 0, 0, 1, 1, colour, alpha, mode);
    EXPECT_TRUE(dst.GuardIntact());
    return dst.At(0, 0);
  }
};

TEST_F(FillOnePixel, FullCopyWritesTheColourWordWithItsAlpha) {
  EXPECT_EQ(Fill(0x40ABCDEF, 0xFFFFFFFF, 1.0f, 0), 0x40ABCDEFu);
}

TEST_F(FillOnePixel, SourceAlphaWithATransparentColourChangesNothing) {
  EXPECT_EQ(Fill(0x00ABCDEF, 0x12345678, 1.0f, LICE_BLIT_USE_ALPHA), 0x12345678u);
}

TEST_F(FillOnePixel, QuarterHalfAndThreeQuarterWeightsAreWordAverages) {
  const LICE_pixel c = 0xFFFFFFFF, d = 0x03030303;
  EXPECT_EQ(Fill(c, d, 0.25f, 0), 0x3F3F3F3Fu + 0x00000000u + 0x01010101u);
  EXPECT_EQ(Fill(c, d, 0.5f, 0), 0x7F7F7F7Fu + 0x01010101u);
  EXPECT_EQ(Fill(c, d, 0.75f, 0), 0x7F7F7F7Fu + 0x3F3F3F3Fu + 0x00000000u);
}

TEST_F(FillOnePixel, SourceAlphaFoldsTheColourAlphaIntoTheWeight) {
  // 128 / 255 of full weight is 128 / 256 after truncation: the half-word average.
  EXPECT_EQ(Fill(0x80FFFFFF, 0x01010101, 1.0f, LICE_BLIT_USE_ALPHA), 0x407F7F7Fu);
}

TEST_F(FillOnePixel, WeightedCopyMovesAlphaTowardTheWeightNotTheColourAlpha) {
  // w = 25: colour (0 - 255) * 231 / 256 + 255 = 25; alpha 25 + (0 - 25) * 231 / 256 = 3.
  EXPECT_EQ(Fill(0xFFFFFFFF, 0x00000000, 0.1f, 0), 0x03191919u);
  // From an opaque destination the alpha byte falls toward the weight.
  EXPECT_EQ(Fill(0xFFFFFFFF, 0xFF000000, 0.1f, 0), 0xE8191919u);
}

TEST_F(FillOnePixel, AddGrowsAlphaByTheSquaredWeight) {
  EXPECT_EQ(Fill(0x00808080, 0x10101010, 0.5f, LICE_BLIT_MODE_ADD), 0x50505050u);
}

TEST_F(FillOnePixel, OtherModesUseTheBlitArithmeticWithTheColourAsSource) {
  EXPECT_EQ(Fill(0x80808080, 0xFFFFFFFF, 1.0f, LICE_BLIT_MODE_MUL), 0x7F7F7F7Fu);
  EXPECT_EQ(Fill(0x40808080, 0xFFC86432, 1.0f, LICE_BLIT_MODE_HSVADJ), 0x40C86332u);
}

TEST_F(FillOnePixel, NanOrNegativeWeightDrawsNothing) {
  EXPECT_EQ(Fill(0xFFFFFFFF, 0x12345678, -1.0f, 0), 0x12345678u);
  EXPECT_EQ(Fill(0xFFFFFFFF, 0x12345678, __builtin_nanf(""), LICE_BLIT_MODE_ADD), 0x12345678u);
}

TEST(FillRectangleClip, NegativeOriginShortensTheRectangle) {
  GuardedView dst(6, 4, 0);
  FillRectangle(&dst, -2, -1, 4, 3, 0xFFFFFFFF, 1.0f, 0);
  EXPECT_TRUE(dst.GuardIntact());
  EXPECT_EQ(dst.CountNot(0), 4);
  EXPECT_EQ(dst.At(1, 1), 0xFFFFFFFFu);
  EXPECT_EQ(dst.At(2, 0), 0u);
}

TEST(FillRectangleClip, OversizedAndExtremeRectanglesStayInside) {
  GuardedView dst(6, 4, 0, true);
  FillRectangle(&dst, 3, 2, INT32_MAX, INT32_MAX, 0xFFFFFFFF, 0.3f, 0);
  FillRectangle(&dst, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 0xFFFFFFFF, 0.3f, 0);
  EXPECT_TRUE(dst.GuardIntact());
  EXPECT_EQ(dst.CountNot(0), 6);
}

TEST(MaskRectangle, ClearsAlphaButKeepsColours) {
  GuardedView dst(3, 3, 0xFF123456);
  MaskRectangle(&dst, 1, 1, 5, 5, 0x00FFFFFF, 0);
  EXPECT_TRUE(dst.GuardIntact());
  EXPECT_EQ(dst.At(0, 0), 0xFF123456u);
  EXPECT_EQ(dst.At(2, 2), 0x00123456u);
  EXPECT_EQ(dst.CountNot(0xFF123456), 4);
}

} // namespace
