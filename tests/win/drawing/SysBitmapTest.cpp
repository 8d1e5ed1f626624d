// The system bitmap over a DIB section, checked through GDI itself: what GDI draws into the
// device context is what the pixel pointer shows, top row first.

#include "drawing/LICE_SysBitmap.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

LICE_pixel PixelAt(const LICE_IBitmap& bitmap, int x, int y) {
  return bitmap.PixelData()[static_cast<std::ptrdiff_t>(bitmap.RowSpan()) * y + x];
}

TEST(SysBitmap, IsATopDownSectionThatGdiDrawsInto) {
  LICE_SysBitmap bitmap(6, 3);
  ASSERT_NE(bitmap.DeviceContext(), nullptr);
  ASSERT_NE(bitmap.PixelData(), nullptr);
  EXPECT_EQ(bitmap.RowSpan(), 8);
  HDC dc = static_cast<HDC>(bitmap.DeviceContext());
  const RECT topRow{0, 0, 6, 1};
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(dc, &topRow, red);
  DeleteObject(red);
  GdiFlush();
  EXPECT_EQ(PixelAt(bitmap, 5, 0) & 0xFFFFFF, 0xFF0000u); // 0xRRGGBB in memory order B, G, R
  EXPECT_EQ(PixelAt(bitmap, 5, 2) & 0xFFFFFF, 0u);
}

TEST(SysBitmap, TheSectionOnlyGrowsAndEmptyOrUnallocatableSizesLeaveNoPixels) {
  LICE_SysBitmap bitmap(400, 300);
  LICE_pixel* const bits = bitmap.PixelData();
  EXPECT_FALSE(bitmap.Resize(400, 300));
  EXPECT_TRUE(bitmap.Resize(200, 100));
  EXPECT_EQ(bitmap.PixelData(), bits);
  EXPECT_EQ(bitmap.RowSpan(), 400);
  EXPECT_FALSE(bitmap.Resize(0, 16));
  EXPECT_EQ(bitmap.PixelData(), nullptr);
  // Four bytes a pixel would pass the int range: refused as a failed section, not wrapped.
  EXPECT_TRUE(bitmap.Resize(0x7FFFFFFF, 2));
  EXPECT_EQ(bitmap.PixelData(), nullptr);
  EXPECT_EQ(bitmap.Width(), 0);
  EXPECT_TRUE(bitmap.Resize(401, 10));
  EXPECT_EQ(bitmap.RowSpan(), 404);
  bitmap.PixelData()[404 * 10 - 1] = 1; // the whole new section is writable
}

} // namespace
