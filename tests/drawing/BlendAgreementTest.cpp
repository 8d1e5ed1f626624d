// The blit loops against a plain transcription of the blend table, pixel by pixel, over random
// pixels and weights: the optimised operations (branch-free selects, templated loops) must agree
// bit for bit with the table as written.

#include "TestBitmaps.h"
#include "drawing/LICE_Raster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

using drawing_test::Filled;

int B(LICE_pixel p, int i) {
  return static_cast<int>((p >> (8 * i)) & 0xFF);
}
int Cl(int v) {
  return std::clamp(v, 0, 255);
}
LICE_pixel Word(const int c[4]) {
  return static_cast<LICE_pixel>(c[0]) | static_cast<LICE_pixel>(c[1]) << 8 |
         static_cast<LICE_pixel>(c[2]) << 16 | static_cast<LICE_pixel>(c[3]) << 24;
}

// One channel of the operations without source alpha.
int Plain(int op, int d, int s, int w) {
  switch (op) {
  case 0:
    return w >= 256 ? s : s + (d - s) * (256 - w) / 256;
  case 1:
    return Cl(d + w * s / 256);
  case 2: {
    const int t = w * s / 256;
    return t > 254 ? Cl(d * 256) : Cl(d * 256 / (256 - t));
  }
  case 3:
    return (w * s + (256 - w) * 256) * d / 65536;
  default: {
    const int v = w * s + (256 - w) * 128;
    return Cl((d * (32768 - v) / 256 + v) * d / 32768);
  }
  }
}

LICE_pixel Reference(LICE_pixel d, LICE_pixel s, float alpha, int mode) {
  const int w = static_cast<int>(alpha * 256);
  const int op = mode & 0xFF;
  int out[4];
  if (!(mode & LICE_BLIT_USE_ALPHA)) {
    if (op == 0 && alpha == 0.5f) return ((s >> 1) & 0x7F7F7F7F) + ((d >> 1) & 0x7F7F7F7F);
    for (int i = 0; i < 4; ++i)
      out[i] = Plain(op, B(d, i), B(s, i), w);
    return Word(out);
  }
  const int sa = B(s, 3), da = B(d, 3);
  if (op == 0 && w >= 256) {
    if (sa == 0) return d;
    if (sa == 255) return s;
    for (int i = 0; i < 3; ++i)
      out[i] = B(s, i) + (B(d, i) - B(s, i)) * (255 - sa) / 256;
    out[3] = std::min(255, da + sa);
    return Word(out);
  }
  const int ws = w * (sa + 1) / 256;
  switch (op) {
  case 0:
    if (sa == 0) return d;
    for (int i = 0; i < 3; ++i)
      out[i] = B(s, i) + (B(d, i) - B(s, i)) * (256 - ws) / 256;
    out[3] = std::min(255, da + ws);
    return Word(out);
  case 1:
    if (sa == 0) return d;
    for (int i = 0; i < 3; ++i)
      out[i] = Cl(B(d, i) + ws * B(s, i) / 256);
    out[3] = Cl(da + sa * ws / 256);
    return Word(out);
  default:
    if (op == 3 && sa == 0) return d;
    for (int i = 0; i < 3; ++i)
      out[i] = Plain(op, B(d, i), B(s, i), ws);
    out[3] = Plain(op, da, sa, ws);
    return Word(out);
  }
}

class BlendAgreement : public ::testing::TestWithParam<int> {};

TEST_P(BlendAgreement, BlitMatchesTheTableForRandomPixelsAndWeights) {
  const int mode = GetParam();
  std::mt19937 random(static_cast<unsigned>(mode) + 17);
  // Alpha bytes favour the edge cases 0, 1, 254 and 255.
  auto pixel = [&random]() {
    LICE_pixel p = random();
    const int pick = static_cast<int>(random() % 6);
    const LICE_pixel alphas[4] = {0, 1, 254, 255};
    if (pick < 4) p = (p & 0x00FFFFFF) | alphas[pick] << 24;
    return p;
  };
  for (float alpha : {1.0f, 0.5f, 0.25f, 0.75f, 0.1f, 0.999f, 0.004f}) {
    auto src = Filled(37, 11, 0);
    auto dst = Filled(37, 11, 0);
    for (int i = 0; i < 37 * 11; ++i) {
      drawing_test::PixelAt(*src, i % 37, i / 37) = pixel();
      drawing_test::PixelAt(*dst, i % 37, i / 37) = pixel();
    }
    auto before = Filled(37, 11, 0);
    CopyBitmap(before.get(), dst.get());
    BlitBitmap(dst.get(), src.get(), 0, 0, nullptr, alpha, mode);
    for (int y = 0; y < 11; ++y)
      for (int x = 0; x < 37; ++x) {
        const LICE_pixel d = drawing_test::PixelAt(*before, x, y);
        const LICE_pixel s = drawing_test::PixelAt(*src, x, y);
        ASSERT_EQ(drawing_test::PixelAt(*dst, x, y), Reference(d, s, alpha, mode))
            << std::hex << "mode " << mode << " alpha " << alpha << " d " << d << " s " << s;
      }
  }
}

// Artwork comes in stretches: long opaque and transparent runs with translucent edges between
// them. The full-weight source-alpha copy treats such stretches whole, so the pixels here come
// in runs of every length from 1 to 20 (around the group size the blit classifies at once),
// starting at every offset, with rows of odd widths whose ends are shorter than a group.
TEST(BlendAgreementInStretches, SourceAlphaCopyMatchesTheTableOverRunsOfEveryLength) {
  std::mt19937 random(4242);
  constexpr LICE_pixel kAlphas[] = {0xFF000000u, 0x00000000u, 0x80000000u, 0xFE000000u,
                                    0x01000000u};
  for (int width : {1, 3, 7, 8, 9, 15, 16, 17, 61, 304}) {
    constexpr int kHeight = 9;
    auto src = Filled(width, kHeight, 0);
    auto dst = Filled(width, kHeight, 0);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < width;) {
        const int run = 1 + static_cast<int>(random() % 20);
        const LICE_pixel alpha = kAlphas[random() % 5];
        for (int i = 0; i < run && x < width; ++i, ++x) {
          // A translucent run varies its alpha pixel by pixel, as an antialiased edge does.
          const LICE_pixel a =
              alpha == 0x80000000u ? static_cast<LICE_pixel>(random() % 256) << 24 : alpha;
          drawing_test::PixelAt(*src, x, y) = (random() & 0x00FFFFFFu) | a;
          drawing_test::PixelAt(*dst, x, y) = random();
        }
      }
    }
    auto before = Filled(width, kHeight, 0);
    CopyBitmap(before.get(), dst.get());
    BlitBitmap(dst.get(), src.get(), 0, 0, nullptr, 1.0f, LICE_BLIT_USE_ALPHA);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < width; ++x) {
        const LICE_pixel d = drawing_test::PixelAt(*before, x, y);
        const LICE_pixel s = drawing_test::PixelAt(*src, x, y);
        ASSERT_EQ(drawing_test::PixelAt(*dst, x, y), Reference(d, s, 1.0f, LICE_BLIT_USE_ALPHA))
            << std::hex << "width " << std::dec << width << " at " << x << "," << y;
      }
  }
}

// A bitmap blitted onto itself, shifted: each pixel is blended in reading order, left to right
// and top to bottom, with whatever the earlier pixels already wrote, whether the run is opaque,
// transparent or translucent.
TEST(BlendAgreementInStretches, OverlappingSourceAlphaCopyBlendsInReadingOrder) {
  constexpr int kWidth = 40, kHeight = 6;
  for (int shift : {1, 3, 9}) {
    auto bitmap = Filled(kWidth, kHeight, 0);
    std::mt19937 random(static_cast<unsigned>(shift));
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        const LICE_pixel a = x < 12 ? 0xFF000000u : x < 24 ? 0u : (random() % 256) << 24;
        drawing_test::PixelAt(*bitmap, x, y) = (random() & 0x00FFFFFFu) | a;
      }
    std::vector<LICE_pixel> expected(bitmap->PixelData(), bitmap->PixelData() + kWidth * kHeight);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x + shift < kWidth; ++x) {
        LICE_pixel& d = expected[static_cast<size_t>(y * kWidth + x + shift)];
        d = Reference(d, expected[static_cast<size_t>(y * kWidth + x)], 1.0f, LICE_BLIT_USE_ALPHA);
      }
    BlitBitmap(bitmap.get(), bitmap.get(), shift, 0, nullptr, 1.0f, LICE_BLIT_USE_ALPHA);
    for (int i = 0; i < kWidth * kHeight; ++i)
      ASSERT_EQ(bitmap->PixelData()[i], expected[static_cast<size_t>(i)])
          << "shift " << shift << " at " << i % kWidth << "," << i / kWidth;
  }
}

INSTANTIATE_TEST_SUITE_P(EveryBlend, BlendAgreement,
                         ::testing::Values(0, 1, 2, 3, 4, 0x10000, 0x10001, 0x10002, 0x10003,
                                           0x10004));

} // namespace
