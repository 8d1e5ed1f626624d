#include "TestBitmaps.h"
#include "drawing/LICE_Raster.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <set>

namespace {

using drawing_test::GuardedView;

constexpr LICE_pixel kWhite = 0xFFFFFFFF;

class LineOnBlack : public ::testing::Test {
protected:
  GuardedView canvas{16, 12, 0};
};

TEST_F(LineOnBlack, HorizontalLineIsOrderedAndInclusive) {
  DrawLine(&canvas, 5, 3, 2, 3, kWhite, 1.0f, 0, false);
  EXPECT_EQ(canvas.CountNot(0), 4);
  for (int x = 2; x <= 5; ++x)
    EXPECT_EQ(canvas.At(x, 3), kWhite) << x;
}

TEST_F(LineOnBlack, VerticalLineIsOrderedAndInclusive) {
  DrawLine(&canvas, 4, 9, 4, 1, 0x80112233, 1.0f, LICE_BLIT_USE_ALPHA, false);
  EXPECT_EQ(canvas.CountNot(0), 9);
  EXPECT_EQ(canvas.At(4, 1), 0x80112233u); // the source-alpha bit is ignored by lines
}

TEST_F(LineOnBlack, LineEntirelyLeftOfTheBitmapDrawsNothing) {
  DrawLine(&canvas, -5, 0, -1, 11, kWhite, 1.0f, 0, false);
  DrawLine(&canvas, -5, 3, -9, 3, kWhite, 1.0f, 0, true);
  EXPECT_EQ(canvas.CountNot(0), 0);
}

TEST_F(LineOnBlack, ExactQuarterWeightsUseWordAverages) {
  canvas.At(0, 0) = 0x03030303;
  canvas.At(1, 0) = 0x03030303;
  DrawLine(&canvas, 0, 0, 0, 0, kWhite, 0.25f, 0, false);
  DrawLine(&canvas, 1, 0, 1, 0, kWhite, 0.75f, 0, false);
  EXPECT_EQ(canvas.At(0, 0), 0x40404040u);
  EXPECT_EQ(canvas.At(1, 0), 0xBEBEBEBEu);
}

TEST_F(LineOnBlack, HalfWeightNotExactlyOneHalfAveragesPerByte) {
  canvas.At(0, 0) = 0x01010101;
  canvas.At(1, 0) = 0x01010101;
  DrawLine(&canvas, 0, 0, 0, 0, kWhite, 0.5f, 0, false);    // H(c) + H(d)
  DrawLine(&canvas, 1, 0, 1, 0, kWhite, 0.5001f, 0, false); // (c + d) >> 1
  EXPECT_EQ(canvas.At(0, 0), 0x7F7F7F7Fu);
  EXPECT_EQ(canvas.At(1, 0), 0x80808080u);
}

TEST_F(LineOnBlack, WeightedAddAppliesToTheColourAlphaToo) {
  canvas.At(2, 2) = 0x10101010;
  DrawLine(&canvas, 2, 2, 2, 2, 0x80808080, 0.5f, LICE_BLIT_MODE_ADD, false);
  EXPECT_EQ(canvas.At(2, 2), 0x50505050u);
}

TEST_F(LineOnBlack, GeneralLineStepsFromBothEnds) {
  DrawLine(&canvas, 0, 0, 4, 1, kWhite, 1.0f, 0, false);
  EXPECT_EQ(canvas.CountNot(0), 5);
  for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}})
    EXPECT_EQ(canvas.At(x, y), kWhite) << x << "," << y;
}

TEST_F(LineOnBlack, AntialiasedGeneralLineSharesWeightWithTheMinorNeighbour) {
  DrawLine(&canvas, 0, 0, 4, 1, kWhite, 1.0f, 0, true);
  EXPECT_EQ(canvas.At(0, 0), kWhite);
  EXPECT_EQ(canvas.At(4, 1), kWhite);
  EXPECT_EQ(canvas.At(1, 0), 0xBFBFBFBFu); // weight 191
  EXPECT_EQ(canvas.At(1, 1), 0x40404040u); // weight 64
  EXPECT_EQ(canvas.At(3, 1), 0xBFBFBFBFu);
  EXPECT_EQ(canvas.At(3, 0), 0x40404040u);
  EXPECT_EQ(canvas.At(2, 0), 0x7F7F7F7Fu); // weight 127: the line passes half way
  EXPECT_EQ(canvas.At(2, 1), 0x80808080u); // weight 128
  EXPECT_EQ(canvas.CountNot(0), 8);
}

TEST_F(LineOnBlack, AntialiasedDiagonalFeathersBothSides) {
  DrawLine(&canvas, 0, 0, 2, 2, kWhite, 1.0f, 0, true);
  EXPECT_EQ(canvas.At(0, 0), 0xBEBEBEBEu);
  EXPECT_EQ(canvas.At(1, 1), 0xBEBEBEBEu + 0x00000000u);
  EXPECT_EQ(canvas.At(2, 2), 0xBEBEBEBEu);
  EXPECT_EQ(canvas.At(1, 0), 0x3F3F3F3Fu);
  EXPECT_EQ(canvas.At(0, 1), 0x3F3F3F3Fu);
  EXPECT_EQ(canvas.At(2, 1), 0x3F3F3F3Fu);
  EXPECT_EQ(canvas.At(1, 2), 0x3F3F3F3Fu);
  EXPECT_EQ(canvas.CountNot(0), 7);
}

TEST_F(LineOnBlack, DiagonalWithoutAntialiasingSetsOnePixelPerStep) {
  DrawLine(&canvas, 5, 1, 1, 5, kWhite, 1.0f, 0, false);
  EXPECT_EQ(canvas.CountNot(0), 5);
  for (int i = 0; i <= 4; ++i)
    EXPECT_EQ(canvas.At(5 - i, 1 + i), kWhite);
}

TEST_F(LineOnBlack, ClippedLineKeepsItsCourseInsideTheBitmap) {
  DrawLine(&canvas, -10, 5, 30, 5, kWhite, 1.0f, 0, false);
  EXPECT_EQ(canvas.CountNot(0), 16);
  DrawLine(&canvas, 0, 0, 40, 20, kWhite, 1.0f, 0, false);
  EXPECT_EQ(canvas.At(0, 0), kWhite);
  EXPECT_TRUE(canvas.GuardIntact());
}

TEST(LineBottomUp, RowsAreMirroredToTheStoredOrder) {
  GuardedView up(6, 5, 0, true);
  DrawLine(&up, 0, 0, 3, 0, kWhite, 1.0f, 0, false);
  EXPECT_EQ(up.At(0, 0), kWhite); // logical row 0 is the last stored row
  EXPECT_EQ(up.PixelData()[4 * up.RowSpan()], kWhite);
  EXPECT_TRUE(up.GuardIntact());
}

// A general line of major extent D plots D + 1 pixels, one per major coordinate, both end
// points included, and never touches anything outside the bitmap.
TEST(LineProperties, GeneralLinePlotsExtentPlusOnePixels) {
  std::mt19937 random(11);
  std::uniform_int_distribution<int> coord(0, 39);
  for (int trial = 0; trial < 500; ++trial) {
    const int x1 = coord(random), y1 = coord(random), x2 = coord(random), y2 = coord(random);
    const int dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
    if (dx == dy || dx == 0 || dy == 0) continue;
    GuardedView canvas(40, 40, 0, trial % 3 == 0);
    DrawLine(&canvas, x1, y1, x2, y2, kWhite, 1.0f, 0, false);
    const int extent = std::max(dx, dy);
    ASSERT_EQ(canvas.CountNot(0), extent + 1) << x1 << "," << y1 << " " << x2 << "," << y2;
    EXPECT_EQ(canvas.At(x1, y1), kWhite);
    EXPECT_EQ(canvas.At(x2, y2), kWhite);
    std::set<int> majors;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x)
        if (canvas.At(x, y)) majors.insert(dx > dy ? x : y);
    EXPECT_EQ(static_cast<int>(majors.size()), extent + 1);
    ASSERT_TRUE(canvas.GuardIntact());
  }
}

TEST(LineProperties, WildLinesNeverWriteOutsideTheBitmap) {
  std::mt19937 random(5);
  std::uniform_int_distribution<int> coord(-200, 200);
  std::uniform_int_distribution<int> modes(0, 5);
  for (int trial = 0; trial < 2000; ++trial) {
    GuardedView canvas(23, 17, 0x10203040, trial % 2 == 0);
    const float alpha = (trial % 5) * 0.3f;
    DrawLine(&canvas, coord(random), coord(random), coord(random), coord(random), 0xC0FFEE11, alpha,
             modes(random), trial % 3 != 0);
    ASSERT_TRUE(canvas.GuardIntact()) << trial;
  }
  GuardedView canvas(23, 17, 0);
  DrawLine(&canvas, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, kWhite, 1.0f, 0, true);
  DrawLine(&canvas, INT32_MAX, 3, INT32_MIN, 4, kWhite, 1.0f, 0, false);
  EXPECT_TRUE(canvas.GuardIntact());
}

} // namespace
