#include "TestBitmaps.h"
#include "drawing/LICE_Raster.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using drawing_test::Filled;
using drawing_test::GuardedView;
using drawing_test::PixelAt;

// One source pixel blitted onto one destination pixel.
class BlitOnePixel : public ::testing::Test {
protected:
  LICE_pixel Blit(LICE_pixel source, LICE_pixel destination, float alpha, int mode) {
    auto src = Filled(1, 1, source);
    auto dst = Filled(1, 1, destination);
    BlitBitmap(dst.get(), src.get(), 0, 0, nullptr, alpha, mode);
    return dst->PixelData()[0];
  }
};

TEST_F(BlitOnePixel, ZeroWeightChangesNothing) {
  EXPECT_EQ(Blit(0xFFFFFFFF, 0x12345678, 0.0f, 0), 0x12345678u);
  EXPECT_EQ(Blit(0xFFFFFFFF, 0x12345678, 0.0f, LICE_BLIT_MODE_ADD), 0x12345678u);
  EXPECT_EQ(Blit(0xFFFFFFFF, 0x12345678, 0.001f, 0), 0x12345678u); // weight truncates to 0
}

TEST_F(BlitOnePixel, FullWeightCopyTakesTheWholeWord) {
  EXPECT_EQ(Blit(0x00ABCDEF, 0xFFFFFFFF, 1.0f, 0), 0x00ABCDEFu);
}

TEST_F(BlitOnePixel, HalfWeightCopyAveragesTheHalvesOfEachByte) {
  EXPECT_EQ(Blit(0xFF808081, 0x01030507, 0.5f, 0), 0x7F414243u);
}

TEST_F(BlitOnePixel, WeightedCopyTruncatesNegativeDifferencesTowardZero) {
  // s + (d - s) * 192 / 256 per byte; 255 + (-255 * 192) / 256 is 255 - 191 = 64, not 63.
  EXPECT_EQ(Blit(0x10203040, 0x90A0B0C0, 0.25f, 0), 0x708090A0u);
  EXPECT_EQ(Blit(0xFFFFFFFF, 0x00000000, 0.25f, 0), 0x40404040u);
}

TEST_F(BlitOnePixel, AddClampsEveryByteIncludingAlpha) {
  EXPECT_EQ(Blit(0x80808080, 0x90909010, 1.0f, LICE_BLIT_MODE_ADD), 0xFFFFFF90u);
  EXPECT_EQ(Blit(0x80808080, 0x10101010, 0.5f, LICE_BLIT_MODE_ADD), 0x50505050u);
}

TEST_F(BlitOnePixel, DodgeDividesByTheInvertedSource) {
  EXPECT_EQ(Blit(0x80808080, 0x40404040, 1.0f, LICE_BLIT_MODE_DODGE), 0x80808080u);
  // A saturated source drives every non-zero byte to white and leaves zeros alone.
  EXPECT_EQ(Blit(0xFFFFFFFF, 0x01000100, 1.0f, LICE_BLIT_MODE_DODGE), 0xFF00FF00u);
}

TEST_F(BlitOnePixel, MultiplyScalesByTheSource) {
  EXPECT_EQ(Blit(0x80808080, 0xFFFFFFFF, 1.0f, LICE_BLIT_MODE_MUL), 0x7F7F7F7Fu);
  EXPECT_EQ(Blit(0x00000000, 0xFFFFFFFF, 0.5f, LICE_BLIT_MODE_MUL), 0x7F7F7F7Fu);
}

TEST_F(BlitOnePixel, OverlayDarkensWithBlackAndLightensWithWhite) {
  EXPECT_EQ(Blit(0x00000000, 0x80808080, 1.0f, LICE_BLIT_MODE_OVERLAY), 0x40404040u);
  EXPECT_EQ(Blit(0xFFFFFFFF, 0x80808080, 1.0f, LICE_BLIT_MODE_OVERLAY), 0xBFBFBFBFu);
}

TEST_F(BlitOnePixel, ChannelCopyMovesOneByte) {
  const int redToBlue = LICE_BLIT_MODE_CHANCOPY | 2 | (0 << 2);
  EXPECT_EQ(Blit(0x00AB0000, 0x11223344, 1.0f, redToBlue), 0x112233ABu);
  const int blueToAlpha = LICE_BLIT_MODE_CHANCOPY | 0 | (3 << 2);
  EXPECT_EQ(Blit(0x000000CD, 0x11223344, 0.3f, blueToAlpha), 0xCD223344u);
}

TEST_F(BlitOnePixel, HueSaturationValueOfANeutralSourceKeepsGreyAndTakesTheSourceAlpha) {
  EXPECT_EQ(Blit(0x80808080, 0xFF808080, 1.0f, LICE_BLIT_MODE_HSVADJ), 0x80808080u);
}

TEST_F(BlitOnePixel, HueSaturationValueRoundTripTruncatesLikeTheReciprocalTable) {
  // (200, 100, 50): S = 326 * 150 / 256 = 191, H = 436 * 50 / 1024 = 21; on the way back
  // green is 200 * (16384 - 43 * 191) / 16384 = 99.
  EXPECT_EQ(Blit(0xFF808080, 0x00C86432, 1.0f, LICE_BLIT_MODE_HSVADJ), 0xFFC86332u);
  EXPECT_EQ(Blit(0xFF808080, 0xFFFF0000, 1.0f, LICE_BLIT_MODE_HSVADJ), 0xFFFF0000u);
  // Full green in the source saturates completely.
  EXPECT_EQ(Blit(0xFF80FF80, 0xFFFF0000, 1.0f, LICE_BLIT_MODE_HSVADJ), 0xFFFF0000u);
}

class BlitSourceAlpha : public BlitOnePixel {};

TEST_F(BlitSourceAlpha, TransparentSourceLeavesTheDestination) {
  EXPECT_EQ(Blit(0x00FFFFFF, 0x12345678, 1.0f, LICE_BLIT_USE_ALPHA), 0x12345678u);
  EXPECT_EQ(Blit(0x00FFFFFF, 0x12345678, 0.6f, LICE_BLIT_USE_ALPHA), 0x12345678u);
  EXPECT_EQ(Blit(0x00FFFFFF, 0x12345678, 1.0f, LICE_BLIT_USE_ALPHA | LICE_BLIT_MODE_ADD),
            0x12345678u);
}

TEST_F(BlitSourceAlpha, OpaqueSourceReplacesTheDestination) {
  EXPECT_EQ(Blit(0xFF102030, 0x00ABCDEF, 1.0f, LICE_BLIT_USE_ALPHA), 0xFF102030u);
}

TEST_F(BlitSourceAlpha, HalfTransparentOverTranslucentSaturatesAlphaAndBlendsBy255MinusAlpha) {
  // Colour s + (d - s) * 127 / 256; alpha 200 + 128 saturates.
  EXPECT_EQ(Blit(0x80FF0000, 0xC8000080, 1.0f, LICE_BLIT_USE_ALPHA), 0xFF81003Fu);
}

TEST_F(BlitSourceAlpha, PartialWeightScalesBySourceAlphaPlusOne) {
  // w' = 128 * 128 / 256 = 64: alpha grows by 64, red moves a quarter of the way.
  EXPECT_EQ(Blit(0x7FFF0000, 0x10000000, 0.5f, LICE_BLIT_USE_ALPHA), 0x50400000u);
}

TEST_F(BlitSourceAlpha, AddGrowsAlphaBySourceAlphaTimesWeight) {
  // w' = 256 * 129 / 256 = 129; blue 16 + 129 * 200 / 256 = 116; alpha 10 + 128 * 129 / 256 = 74.
  EXPECT_EQ(Blit(0x800000C8, 0x0A000010, 1.0f, LICE_BLIT_USE_ALPHA | LICE_BLIT_MODE_ADD),
            0x4A000074u);
}

TEST_F(BlitSourceAlpha, DodgeAndOverlayStillWorkOnTransparentSource) {
  // w' = 1: the colour stays, but the alpha byte (overlaid with s = 0) still moves.
  EXPECT_EQ(Blit(0x00FFFFFF, 0x80808080, 1.0f, LICE_BLIT_USE_ALPHA | LICE_BLIT_MODE_OVERLAY),
            0x7F808080u);
  EXPECT_EQ(Blit(0x00FFFFFF, 0x80808080, 1.0f, LICE_BLIT_USE_ALPHA | LICE_BLIT_MODE_MUL),
            0x80808080u);
}

// ---- Clipping ----------------------------------------------------------------------------------

class BlitClipping : public ::testing::Test {
protected:
  void SetUp() override {
    src = Filled(9, 7, 0);
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 9; ++x)
        PixelAt(*src, x, y) = 0xFF000000u | (y << 8) | x;
  }
  std::unique_ptr<LICE_MemBitmap> src;
};

TEST_F(BlitClipping, EverySourcePixelLandsWhereItWouldUnclipped) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> coordinate(-12, 14);
  for (int trial = 0; trial < 400; ++trial) {
    const int dstX = coordinate(random), dstY = coordinate(random);
    const LICE_Rect r{coordinate(random), coordinate(random), coordinate(random),
                      coordinate(random)};
    const bool bottomUp = trial % 2 == 1;
    GuardedView dst(11, 6, 0x11111111, bottomUp);
    BlitBitmap(&dst, src.get(), dstX, dstY, &r, 1.0f, 0);
    ASSERT_TRUE(dst.GuardIntact());
    for (int y = 0; y < dst.Height(); ++y)
      for (int x = 0; x < dst.Width(); ++x) {
        const int sx = x - dstX + r.left, sy = y - dstY + r.top;
        const bool covered = sx >= 0 && sy >= 0 && sx < 9 && sy < 7 && sx >= r.left &&
                             sx < r.right && sy >= r.top && sy < r.bottom;
        const LICE_pixel expected = covered ? PixelAt(*src, sx, sy) : 0x11111111u;
        ASSERT_EQ(dst.At(x, y), expected) << "trial " << trial << " at " << x << "," << y;
      }
  }
}

TEST_F(BlitClipping, RectFormDrawsTheSameAsAnExplicitRectangle) {
  GuardedView a(9, 7, 0), b(9, 7, 0);
  const LICE_Rect r{2, 1, 6, 5};
  BlitBitmap(&a, src.get(), 3, 2, &r, 1.0f, 0);
  BlitBitmapRect(&b, src.get(), 3, 2, 2, 1, 4, 4, 1.0f, 0);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 9; ++x)
      EXPECT_EQ(a.At(x, y), b.At(x, y));
}

TEST_F(BlitClipping, ExtremePositionsDrawNothingAndStayInside) {
  GuardedView dst(5, 5, 0x22222222);
  BlitBitmapRect(&dst, src.get(), INT32_MAX, INT32_MIN, INT32_MIN, 0, INT32_MAX, INT32_MAX, 1.0f,
                 0);
  BlitBitmapRect(&dst, src.get(), -2147483647, 0, 0, 0, 9, 7, 0.5f, 0);
  EXPECT_TRUE(dst.GuardIntact());
  EXPECT_EQ(dst.CountNot(0x22222222), 0);
}

TEST_F(BlitClipping, NullOrEmptyBitmapsDrawNothing) {
  LICE_MemBitmap empty;
  auto dst = Filled(2, 2, 5);
  BlitBitmap(dst.get(), &empty, 0, 0, nullptr, 1.0f, 0);
  BlitBitmap(&empty, dst.get(), 0, 0, nullptr, 1.0f, 0);
  BlitBitmap(nullptr, dst.get(), 0, 0, nullptr, 1.0f, 0);
  BlitBitmap(dst.get(), nullptr, 0, 0, nullptr, 1.0f, 0);
  EXPECT_EQ(dst->PixelData()[0], 5u);
}

TEST(CopyBitmap, ResizesTheDestinationAndCopiesEveryPixel) {
  auto src = Filled(5, 3, 0x01020304);
  PixelAt(*src, 4, 2) = 0xDEADBEEF;
  LICE_MemBitmap dst(1, 1, 4);
  CopyBitmap(&dst, src.get());
  ASSERT_EQ(dst.Width(), 5);
  ASSERT_EQ(dst.Height(), 3);
  EXPECT_EQ(PixelAt(dst, 0, 0), 0x01020304u);
  EXPECT_EQ(PixelAt(dst, 4, 2), 0xDEADBEEFu);
}

} // namespace
