#include "TestBitmaps.h"
#include "drawing/LICE_Raster.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

using drawing_test::Filled;
using drawing_test::GuardedView;
using drawing_test::PixelAt;

// Source pixels carry their own coordinates: blue = x + 10 * y, opaque.
class ScaledBlit : public ::testing::Test {
protected:
  std::unique_ptr<LICE_MemBitmap> Numbered(int width, int height) {
    auto bitmap = Filled(width, height, 0);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        PixelAt(*bitmap, x, y) = 0xFF000000u | static_cast<LICE_pixel>(x + 10 * y);
    return bitmap;
  }
  static int BlueAt(const GuardedView& v, int x, int y) { return v.At(x, y) & 0xFF; }
};

TEST_F(ScaledBlit, SameSizeIsAPlainBlitOfTheRoundedSourceRectangle) {
  auto src = Numbered(6, 5);
  GuardedView a(4, 4, 0), b(4, 4, 0);
  BlitBitmapScaled(&a, src.get(), 0, 0, 4, 4, 1.4f, 0.6f, 4.0f, 4.0f, 1.0f, 0);
  BlitBitmapRect(&b, src.get(), 0, 0, 1, 1, 4, 4, 1.0f, 0);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(a.At(x, y), b.At(x, y));
}

TEST_F(ScaledBlit, DoublingRepeatsEverySourcePixel) {
  auto src = Numbered(3, 2);
  GuardedView dst(6, 4, 0);
  BlitBitmapScaled(&dst, src.get(), 0, 0, 6, 4, 0, 0, 3, 2, 1.0f, 0);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x)
      EXPECT_EQ(BlueAt(dst, x, y), x / 2 + 10 * (y / 2));
  EXPECT_TRUE(dst.GuardIntact());
}

TEST_F(ScaledBlit, NegativeWidthMirrorsOntoTheSameSourcePixels) {
  auto src = Numbered(5, 1);
  GuardedView dst(5, 1, 0);
  BlitBitmapScaled(&dst, src.get(), 5, 0, -5, 1, 0, 0, 5, 1, 1.0f, 0);
  for (int x = 0; x < 5; ++x)
    EXPECT_EQ(BlueAt(dst, x, 0), 4 - x);
  GuardedView halved(3, 1, 0);
  BlitBitmapScaled(&halved, src.get(), 2, 0, -2, 1, 0, 0, 4, 1, 1.0f, 0);
  EXPECT_EQ(BlueAt(halved, 0, 0), 2);
  EXPECT_EQ(BlueAt(halved, 1, 0), 0);
  EXPECT_EQ(halved.At(2, 0), 0u);
}

TEST_F(ScaledBlit, LeftAndTopClippingAdvancesTheSource) {
  auto src = Numbered(3, 3);
  GuardedView dst(4, 4, 0);
  BlitBitmapScaled(&dst, src.get(), -2, -1, 6, 6, 0, 0, 3, 3, 1.0f, 0);
  EXPECT_EQ(BlueAt(dst, 0, 0), 1);  // destination column -2 was source column 0
  EXPECT_EQ(BlueAt(dst, 0, 1), 11); // row 0 here is destination row 1 of the scaled image
  EXPECT_TRUE(dst.GuardIntact());
}

TEST_F(ScaledBlit, SamplesBeyondTheSourceAreCut) {
  auto src = Numbered(3, 3);
  GuardedView dst(8, 8, 0x12345678);
  BlitBitmapScaled(&dst, src.get(), 0, 0, 8, 8, 1, 1, 4, 4, 1.0f, 0); // reaches past column 2
  EXPECT_EQ(BlueAt(dst, 0, 0), 11);
  EXPECT_EQ(dst.At(7, 0), 0x12345678u);
  EXPECT_EQ(dst.At(0, 7), 0x12345678u);
}

TEST_F(ScaledBlit, HalfWeightNearestAveragesWordHalves) {
  auto src = Filled(2, 2, 0xFFFFFFFF);
  GuardedView dst(4, 4, 0x02020202);
  BlitBitmapScaled(&dst, src.get(), 0, 0, 4, 4, 0, 0, 2, 2, 0.5f, 0);
  EXPECT_EQ(dst.At(3, 3), 0x80808080u);
}

TEST_F(ScaledBlit, NearHalfWeightNearestAveragesWordHalvesButBilinearBlendsBytes) {
  auto src = Filled(2, 2, 0xFFFFFFFF);
  GuardedView nearest(4, 4, 0x01010101), bilinear(4, 4, 0x01010101);
  BlitBitmapScaled(&nearest, src.get(), 0, 0, 4, 4, 0, 0, 2, 2, 0.501f, 0);
  BlitBitmapScaled(&bilinear, src.get(), 0, 0, 4, 4, 0, 0, 2, 2, 0.501f, LICE_BLIT_FILTER_BILINEAR);
  EXPECT_EQ(nearest.At(1, 1), 0x7F7F7F7Fu);  // H(s) + H(d)
  EXPECT_EQ(bilinear.At(1, 1), 0x80808080u); // 255 + (1 - 255) * 128 / 256
}

TEST_F(ScaledBlit, BilinearMixesNeighboursAndTakesTheLastColumnAsIs) {
  auto src = Filled(2, 1, 0);
  PixelAt(*src, 1, 0) = 0xFFFFFFFF;
  GuardedView dst(4, 1, 0x55555555);
  BlitBitmapScaled(&dst, src.get(), 0, 0, 4, 1, 0, 0, 2, 1, 1.0f, LICE_BLIT_FILTER_BILINEAR);
  EXPECT_EQ(dst.At(0, 0), 0x00000000u);
  EXPECT_EQ(dst.At(1, 0), 0x7F7F7F7Fu); // 255 * 32768 / 65536, truncated
  EXPECT_EQ(dst.At(2, 0), 0xFFFFFFFFu);
  EXPECT_EQ(dst.At(3, 0), 0xFFFFFFFFu);
}

TEST_F(ScaledBlit, BilinearKeepsAFlatColourExact) {
  auto src = Filled(7, 5, 0xC8641E0A);
  std::mt19937 random(2);
  std::uniform_real_distribution<float> offset(0.0f, 3.0f);
  for (int trial = 0; trial < 50; ++trial) {
    GuardedView dst(13, 11, 0);
    BlitBitmapScaled(&dst, src.get(), 0, 0, 13, 11, offset(random), offset(random), 3.3f, 2.1f,
                     1.0f, LICE_BLIT_FILTER_BILINEAR);
    for (int y = 0; y < 11; ++y)
      for (int x = 0; x < 13; ++x)
        ASSERT_EQ(dst.At(x, y), 0xC8641E0Au);
  }
}

TEST_F(ScaledBlit, StrongReductionAveragesAThreeByThreeNeighbourhood) {
  auto src = Numbered(6, 6);
  GuardedView dst(2, 2, 0);
  BlitBitmapScaled(&dst, src.get(), 0, 0, 2, 2, 0, 0, 6, 6, 1.0f, LICE_BLIT_FILTER_BILINEAR);
  EXPECT_EQ(dst.At(0, 0), 0xFF000005u); // taps (0..1) x (0..1): (0 + 1 + 10 + 11) / 4
  EXPECT_EQ(dst.At(1, 0), 0xFF000008u); // taps (2..4) x (0..1): 48 / 6
}

TEST_F(ScaledBlit, StepsAboveThreeAverageFiveByFive) {
  auto src = Numbered(8, 8);
  GuardedView dst(2, 2, 0);
  BlitBitmapScaled(&dst, src.get(), 0, 0, 2, 2, 0, 0, 8, 8, 1.0f, LICE_BLIT_FILTER_BILINEAR);
  EXPECT_EQ(dst.At(1, 1), 0xFF000000u | 44u); // taps (2..6) x (2..6): 1100 / 25
}

TEST_F(ScaledBlit, ExtremeArgumentsDrawNothingOutsideTheBitmap) {
  auto src = Numbered(4, 4);
  GuardedView dst(5, 5, 0);
  BlitBitmapScaled(&dst, src.get(), INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN, 0, 0, 4, 4, 1.0f,
                   0);
  BlitBitmapScaled(&dst, src.get(), 0, 0, 5, 5, NAN, 0, 4, 4, 1.0f, 0);
  BlitBitmapScaled(&dst, src.get(), -3, -3, 100000, 3, -1e30f, 0, 1e30f, 4, 1.0f,
                   LICE_BLIT_FILTER_BILINEAR);
  EXPECT_TRUE(dst.GuardIntact());
}

class RotatedBlit : public ScaledBlit {};

TEST_F(RotatedBlit, NoTurnIsACopy) {
  auto src = Numbered(4, 4);
  for (int mode : {0, LICE_BLIT_FILTER_BILINEAR}) {
    GuardedView dst(4, 4, 0);
    BlitBitmapRotated(&dst, src.get(), 0, 0, 4, 4, 0, 0, 4, 4, 0.0f, false, 1.0f, mode, 0, 0);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x)
        EXPECT_EQ(BlueAt(dst, x, y), x + 10 * y) << mode;
  }
}

TEST_F(RotatedBlit, HalfTurnFlipsBothAxes) {
  auto src = Numbered(4, 3);
  GuardedView dst(4, 3, 0);
  BlitBitmapRotated(&dst, src.get(), 0, 0, 4, 3, 0, 0, 4, 3, static_cast<float>(M_PI), false, 1.0f,
                    0, 0, 0);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(BlueAt(dst, x, y), (3 - x) + 10 * (2 - y));
}

TEST_F(RotatedBlit, QuarterTurnOfASquare) {
  auto src = Numbered(4, 4);
  GuardedView dst(4, 4, 0);
  BlitBitmapRotated(&dst, src.get(), 0, 0, 4, 4, 0, 0, 4, 4, static_cast<float>(M_PI / 2), false,
                    1.0f, 0, 0, 0);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(BlueAt(dst, x, y), y + 10 * (3 - x));
}

TEST_F(RotatedBlit, ClipToSourceNeverSamplesOutsideTheRectangle) {
  auto src = Filled(8, 8, 0xFF0000FF);
  for (int y = 2; y < 6; ++y)
    for (int x = 2; x < 6; ++x)
      PixelAt(*src, x, y) = 0xFFFF0000;
  GuardedView dst(8, 8, 0);
  BlitBitmapRotated(&dst, src.get(), 0, 0, 8, 8, 2, 2, 4, 4, 0.7f, true, 1.0f,
                    LICE_BLIT_FILTER_BILINEAR, 0.5f, -0.5f);
  int red = 0;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      EXPECT_NE(dst.At(x, y), 0xFF0000FFu);
      red += dst.At(x, y) == 0xFFFF0000u;
    }
  EXPECT_GT(red, 20);
  EXPECT_TRUE(dst.GuardIntact());
}

} // namespace
