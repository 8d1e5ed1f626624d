#include "drawing/LICE_MemBitmap.h"
#include "drawing/LICE_SysBitmap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

namespace {

TEST(MemBitmap, PixelsStartOnA64ByteBoundaryAndRowsAlignToFour) {
  for (int width : {1, 3, 4, 5, 17, 304}) {
    LICE_MemBitmap bitmap(width, 7, 4);
    ASSERT_NE(bitmap.PixelData(), nullptr);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(bitmap.PixelData()) % 64, 0u) << width;
    EXPECT_EQ(bitmap.RowSpan(), (width + 3) / 4 * 4) << width;
  }
}

TEST(MemBitmap, RowAlignmentUsesTheLowestSetBitCappedAtSixteen) {
  EXPECT_EQ(LICE_MemBitmap(5, 1, 1).RowSpan(), 5);
  EXPECT_EQ(LICE_MemBitmap(5, 1, 0).RowSpan(), 5);
  EXPECT_EQ(LICE_MemBitmap(5, 1, 6).RowSpan(), 6);   // lowest bit 2
  EXPECT_EQ(LICE_MemBitmap(5, 1, 64).RowSpan(), 16); // capped at 16 pixels
}

TEST(MemBitmap, ResizeToTheCurrentSizeReportsNoChange) {
  LICE_MemBitmap bitmap(10, 10, 4);
  LICE_pixel* pixels = bitmap.PixelData();
  EXPECT_FALSE(bitmap.Resize(10, 10));
  EXPECT_EQ(bitmap.PixelData(), pixels);
}

TEST(MemBitmap, GrowthReservesAQuarterMoreAndNeverShrinks) {
  LICE_MemBitmap bitmap(10, 10, 4); // span 12: 480 bytes
  EXPECT_EQ(bitmap.Capacity(), 480);
  EXPECT_TRUE(bitmap.Resize(20, 20)); // 1600 bytes needed
  EXPECT_EQ(bitmap.Capacity(), 2000);
  EXPECT_TRUE(bitmap.Resize(21, 20)); // 1920 still fits
  EXPECT_EQ(bitmap.Capacity(), 2000);
  EXPECT_TRUE(bitmap.Resize(4, 4));
  EXPECT_EQ(bitmap.Capacity(), 2000);
  EXPECT_EQ(bitmap.Width(), 4);
  EXPECT_EQ(bitmap.RowSpan(), 4);
}

TEST(MemBitmap, ResizeToNothingFreesThePixels) {
  LICE_MemBitmap bitmap(10, 10, 4);
  EXPECT_TRUE(bitmap.Resize(0, 0));
  EXPECT_EQ(bitmap.PixelData(), nullptr);
  EXPECT_EQ(bitmap.Capacity(), 0);
  EXPECT_TRUE(bitmap.Resize(3, 0));
  EXPECT_EQ(bitmap.PixelData(), nullptr);
  EXPECT_EQ(bitmap.Width(), 0);
}

TEST(MemBitmap, NegativeExtentsGiveAnEmptyBitmap) {
  LICE_MemBitmap bitmap(-5, -5, 4);
  EXPECT_EQ(bitmap.PixelData(), nullptr);
  EXPECT_EQ(bitmap.Width(), 0);
  EXPECT_EQ(bitmap.Height(), 0);
}

TEST(MemBitmap, AnImpossibleSizeLeavesAnEmptyBitmapInsteadOfOverflowing) {
  LICE_MemBitmap bitmap(100, 100, 4);
  EXPECT_TRUE(bitmap.Resize(1 << 20, 1 << 20));
  EXPECT_EQ(bitmap.PixelData(), nullptr);
  EXPECT_EQ(bitmap.Width(), 0);
  EXPECT_EQ(bitmap.Height(), 0);
}

TEST(SysBitmap, ShrinkingKeepsTheAllocationAndItsSpan) {
  LICE_SysBitmap bitmap(400, 300);
  LICE_pixel* pixels = bitmap.PixelData();
  ASSERT_NE(pixels, nullptr);
  EXPECT_TRUE(bitmap.Resize(200, 100));
  EXPECT_EQ(bitmap.PixelData(), pixels);
  EXPECT_EQ(bitmap.RowSpan(), 400);
  EXPECT_EQ(bitmap.Width(), 200);
  EXPECT_EQ(bitmap.Height(), 100);
  EXPECT_TRUE(bitmap.Resize(400, 300)); // back within the section: still no reallocation
  EXPECT_EQ(bitmap.PixelData(), pixels);
}

// Any size that fits the current allocation keeps it (and its span); only a larger one replaces
// it, and then the span is the new width rounded up to 4.
TEST(SysBitmap, ResizeKeepsTheSectionWheneverTheSizeFits) {
  std::mt19937 random(21);
  std::uniform_int_distribution<int> extent(1, 120);
  LICE_SysBitmap bitmap(60, 60);
  int allocatedRows = 60;
  for (int step = 0; step < 300; ++step) {
    const LICE_pixel* before = bitmap.PixelData();
    const int span = bitmap.RowSpan();
    const int w = extent(random), h = extent(random);
    const bool fits = w <= span && h <= allocatedRows;
    bitmap.Resize(w, h);
    ASSERT_NE(bitmap.PixelData(), nullptr);
    if (fits) {
      EXPECT_EQ(bitmap.PixelData(), before);
      EXPECT_EQ(bitmap.RowSpan(), span);
    } else {
      EXPECT_EQ(bitmap.RowSpan(), (w + 3) / 4 * 4);
      allocatedRows = h;
    }
    bitmap.PixelData()[bitmap.RowSpan() * (h - 1) + w - 1] = 1; // the corner is addressable
  }
}

TEST(SysBitmap, GrowingAllocatesAWidthRoundedToFour) {
  LICE_SysBitmap bitmap(8, 8);
  EXPECT_TRUE(bitmap.Resize(201, 9));
  EXPECT_EQ(bitmap.RowSpan(), 204);
  ASSERT_NE(bitmap.PixelData(), nullptr);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(bitmap.PixelData()) % 64, 0u);
  bitmap.PixelData()[204 * 9 - 1] = 1; // the whole section is addressable
}

TEST(SysBitmap, UnchangedOrEmptySizesReportFalse) {
  LICE_SysBitmap bitmap(10, 10);
  EXPECT_FALSE(bitmap.Resize(10, 10));
  EXPECT_FALSE(bitmap.Resize(0, 10));
  EXPECT_EQ(bitmap.PixelData(), nullptr);
  LICE_SysBitmap empty;
  EXPECT_EQ(empty.PixelData(), nullptr);
  EXPECT_EQ(empty.DeviceContext(), nullptr);
}

} // namespace
