#include "TestBitmaps.h"
#include "drawing/LICE_Raster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

using drawing_test::Filled;
using drawing_test::GuardedView;
using drawing_test::PixelAt;

// Against a pixel-by-pixel search, over opaque bitmaps sprinkled with a few translucent pixels
// (alpha 254 counts as translucent, 255 alone as opaque), in both row orders and over areas
// anywhere inside the bitmap, empty ones included.
TEST(TranslucentBounds, HoldsExactlyThePixelsBelowFullAlpha) {
  std::mt19937 random(11);
  for (int trial = 0; trial < 300; ++trial) {
    GuardedView bitmap(13, 9, 0xFF102030u, trial % 2 == 1);
    const int sprinkled = trial % 4;
    for (int k = 0; k < sprinkled; ++k) {
      const LICE_pixel alpha = std::uniform_int_distribution<LICE_pixel>(0, 254)(random);
      bitmap.At(static_cast<int>(random() % 13), static_cast<int>(random() % 9)) =
          (alpha << 24) | 0x405060u;
    }
    const int l = static_cast<int>(random() % 14), t = static_cast<int>(random() % 10);
    const LICE_Rect area{l, t, l + static_cast<int>(random() % (14 - l)),
                         t + static_cast<int>(random() % (10 - t))};
    LICE_Rect expected{};
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x)
        if (bitmap.At(x, y) < 0xFF000000u) {
          expected =
              expected.right == 0
                  ? LICE_Rect{x, y, x + 1, y + 1}
                  : LICE_Rect{std::min(expected.left, x), std::min(expected.top, y),
                              std::max(expected.right, x + 1), std::max(expected.bottom, y + 1)};
        }
    LICE_Rect found{-1, -1, -1, -1};
    ASSERT_TRUE(TranslucentBounds(&bitmap, area, &found)) << "trial " << trial;
    EXPECT_EQ(found.left, expected.left) << "trial " << trial;
    EXPECT_EQ(found.top, expected.top) << "trial " << trial;
    EXPECT_EQ(found.right, expected.right) << "trial " << trial;
    EXPECT_EQ(found.bottom, expected.bottom) << "trial " << trial;
  }
}

TEST(TranslucentBounds, AnAreaReachingOutsideTheBitmapCannotBeAnswered) {
  auto bitmap = Filled(6, 4, 0xFFFFFFFFu);
  LICE_Rect found{};
  EXPECT_TRUE(TranslucentBounds(bitmap.get(), {0, 0, 6, 4}, &found));
  for (const LICE_Rect area : {LICE_Rect{-1, 0, 6, 4}, LICE_Rect{0, -1, 6, 4},
                               LICE_Rect{0, 0, 7, 4}, LICE_Rect{0, 0, 6, 5}, LICE_Rect{4, 0, 3, 4}})
    EXPECT_FALSE(TranslucentBounds(bitmap.get(), area, &found));
  LICE_MemBitmap empty;
  EXPECT_FALSE(TranslucentBounds(&empty, {0, 0, 0, 0}, &found));
  EXPECT_FALSE(TranslucentBounds(nullptr, {0, 0, 0, 0}, &found));
  EXPECT_FALSE(TranslucentBounds(bitmap.get(), {0, 0, 1, 1}, nullptr));
}

} // namespace
