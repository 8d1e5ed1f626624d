#include "PngTestSupport.h"
#include "TestBitmaps.h"
#include "drawing/LICE_MemBitmap.h"
#include "drawing/LICE_Png.h"
#include "platform/Resources.h"
#include "tests/support/ScopedTempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>

namespace {

using drawing_test::BuildPng;
using drawing_test::Bytes;
using drawing_test::PixelAt;
using drawing_test::PngLayout;

std::unique_ptr<LICE_IBitmap> Load(const Bytes& png) {
  return std::unique_ptr<LICE_IBitmap>(LoadPngFromMemory(png.data(), png.size(), nullptr));
}

// The 3 x 2 RGBA test image that is also embedded as resource 901.
const std::string kEmbeddedPath = std::string(TAVO_DRAWING_TEST_DATA) + "/embedded.png";
const LICE_pixel kEmbeddedPixels[2][3] = {{0xFFFF0000, 0x8000FF00, 0x000000FF},
                                          {0x280A141E, 0xFFFFFFFF, 0xFF000000}};

void ExpectEmbeddedImage(const LICE_IBitmap& bitmap) {
  ASSERT_EQ(bitmap.Width(), 3);
  ASSERT_EQ(bitmap.Height(), 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x)
      EXPECT_EQ(PixelAt(bitmap, x, y), kEmbeddedPixels[y][x]) << x << y;
}

TEST(PngFromMemory, DecodesRgbaIntoStraightAlphaPixelWords) {
  const Bytes png = drawing_test::ReadFile(kEmbeddedPath);
  auto bitmap = Load(png);
  ASSERT_NE(bitmap, nullptr);
  ExpectEmbeddedImage(*bitmap);
  EXPECT_EQ(bitmap->RowSpan(), 4); // created with row alignment 4
}

TEST(PngFromMemory, RefusesShortOrUnsignedData) {
  Bytes png = drawing_test::ReadFile(kEmbeddedPath);
  EXPECT_EQ(LoadPngFromMemory(png.data(), 7, nullptr), nullptr);
  EXPECT_EQ(LoadPngFromMemory(nullptr, 100, nullptr), nullptr);
  png[1] = 'X';
  EXPECT_EQ(Load(png), nullptr);
}

TEST(PngFromMemory, DecodesIntoTheCallersBitmapResizingIt) {
  const Bytes png = drawing_test::ReadFile(kEmbeddedPath);
  LICE_MemBitmap mine(50, 40, 4);
  EXPECT_EQ(LoadPngFromMemory(png.data(), png.size(), &mine), &mine);
  ExpectEmbeddedImage(mine);
}

// A caller's bitmap that will not change size.
class FixedBitmap : public LICE_MemBitmap {
public:
  FixedBitmap() : LICE_MemBitmap(5, 5, 4) {}
  bool Resize(int, int) override { return false; }
};

TEST(PngFromMemory, RefusesACallersBitmapThatCannotTakeTheSize) {
  const Bytes png = drawing_test::ReadFile(kEmbeddedPath);
  FixedBitmap fixed;
  EXPECT_EQ(LoadPngFromMemory(png.data(), png.size(), &fixed), nullptr);
  EXPECT_EQ(fixed.Width(), 5); // still the caller's, untouched in size
}

// ---- Colour types and depths -----------------------------------------------------------------

TEST(PngColourTypes, PaletteWithTransparencyTakesAlphaFromTheChunk) {
  PngLayout layout{2, 1, 8, 3, {0, 0, 1}, {{"PLTE", {255, 0, 0, 0, 0, 255}}, {"tRNS", {64}}}};
  auto bitmap = Load(BuildPng(layout));
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(PixelAt(*bitmap, 0, 0), 0x40FF0000u);
  EXPECT_EQ(PixelAt(*bitmap, 1, 0), 0xFF0000FFu); // beyond the chunk: opaque
}

TEST(PngColourTypes, PaletteWithoutTransparencyIsOpaque) {
  PngLayout layout{2, 1, 8, 3, {0, 0, 1}, {{"PLTE", {255, 0, 0, 0, 0, 255}}}};
  auto bitmap = Load(BuildPng(layout));
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(PixelAt(*bitmap, 0, 0), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(*bitmap, 1, 0), 0xFF0000FFu);
}

TEST(PngColourTypes, SixteenBitRgbaKeepsTheHighBytes) {
  PngLayout layout{1, 1, 16, 6, {0, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0}, {}};
  auto bitmap = Load(BuildPng(layout));
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(PixelAt(*bitmap, 0, 0), 0xDE12569Au);
}

TEST(PngColourTypes, OneBitGreyIsBlackAndWhite) {
  PngLayout layout{10, 1, 1, 0, {0, 0b10100000, 0b01000000}, {}};
  auto bitmap = Load(BuildPng(layout));
  ASSERT_NE(bitmap, nullptr);
  const bool white[10] = {1, 0, 1, 0, 0, 0, 0, 0, 0, 1};
  for (int x = 0; x < 10; ++x)
    EXPECT_EQ(PixelAt(*bitmap, x, 0), white[x] ? 0xFFFFFFFFu : 0xFF000000u) << x;
}

TEST(PngColourTypes, GreyWithTransparentKeyBecomesTransparent) {
  PngLayout layout{2, 1, 8, 0, {0, 0x33, 0x80}, {{"tRNS", {0, 0x33}}}};
  auto bitmap = Load(BuildPng(layout));
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(PixelAt(*bitmap, 0, 0), 0x00333333u);
  EXPECT_EQ(PixelAt(*bitmap, 1, 0), 0xFF808080u);
}

TEST(PngColourTypes, GreyAlphaAndRgbBecomeFourBytePixels) {
  auto grey = Load(BuildPng({1, 1, 8, 4, {0, 0x20, 0x90}, {}}));
  ASSERT_NE(grey, nullptr);
  EXPECT_EQ(PixelAt(*grey, 0, 0), 0x90202020u);
  auto rgb = Load(BuildPng({1, 1, 8, 2, {0, 1, 2, 3}, {}}));
  ASSERT_NE(rgb, nullptr);
  EXPECT_EQ(PixelAt(*rgb, 0, 0), 0xFF010203u);
}

// ---- Broken files -------------------------------------------------------------------------------

class BrokenPng : public ::testing::Test {
protected:
  Bytes good = drawing_test::ReadFile(kEmbeddedPath);
};

TEST_F(BrokenPng, DamagedHeaderChecksumIsRefused) {
  good[29] ^= 0xFF; // last byte of the IHDR checksum
  EXPECT_EQ(Load(good), nullptr);
}

TEST_F(BrokenPng, ImpossibleHeadersAreRefused) {
  EXPECT_EQ(Load(BuildPng({0, 1, 8, 6, {0}, {}})), nullptr);           // zero width
  EXPECT_EQ(Load(BuildPng({1, 1, 8, 1, {0, 0}, {}})), nullptr);        // colour type 1
  EXPECT_EQ(Load(BuildPng({1, 1, 3, 0, {0, 0}, {}})), nullptr);        // depth 3
  EXPECT_EQ(Load(BuildPng({1, 1, 8, 3, {0, 0}, {}})), nullptr);        // palette, no PLTE
  EXPECT_EQ(Load(BuildPng({100000, 100000, 8, 6, {0}, {}})), nullptr); // absurd size
}

TEST_F(BrokenPng, MissingOrCorruptImageDataIsRefused) {
  PngLayout tooShort{4, 4, 8, 6, {0, 1, 2, 3, 4}, {}};
  EXPECT_EQ(Load(BuildPng(tooShort)), nullptr);
  Bytes garbage = good;
  // Overwrite the compressed stream (it starts after IHDR and the IDAT length and type).
  for (size_t i = 41; i < 50 && i < garbage.size(); ++i)
    garbage[i] = 0xEE;
  EXPECT_EQ(Load(garbage), nullptr);
}

TEST_F(BrokenPng, EveryTruncationGivesNullOrTheWholeImage) {
  LICE_MemBitmap reference(0, 0, 4);
  std::mt19937 random(3);
  LICE_MemBitmap source(13, 9, 4);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 13; ++x)
      PixelAt(source, x, y) = random();
  const Bytes png = EncodePng(source);
  ASSERT_FALSE(png.empty());
  int complete = 0;
  for (size_t length = 0; length <= png.size(); ++length) {
    std::unique_ptr<LICE_IBitmap> bitmap(LoadPngFromMemory(png.data(), length, nullptr));
    if (!bitmap) continue;
    ++complete;
    ASSERT_EQ(bitmap->Width(), 13) << length;
    ASSERT_EQ(bitmap->Height(), 9) << length;
    for (int y = 0; y < 9; ++y)
      for (int x = 0; x < 13; ++x)
        ASSERT_EQ(PixelAt(*bitmap, x, y), PixelAt(source, x, y));
  }
  EXPECT_GE(complete, 1); // at least the whole file loads
}

TEST_F(BrokenPng, TruncatedIntoACallersBitmapReturnsNull) {
  LICE_MemBitmap mine(1, 1, 4);
  EXPECT_EQ(LoadPngFromMemory(good.data(), good.size() - 20, &mine), nullptr);
}

// ---- Files and resources ------------------------------------------------------------------------

class PngFiles : public ::testing::Test {
protected:
  tavo_test::ScopedTempDir scratch;
  const std::filesystem::path& dir = scratch.Path();
  std::string Copy(const std::string& name) {
    const std::string path = (dir / name).string();
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::filesystem::copy_file(kEmbeddedPath, path);
    return path;
  }
};

TEST_F(PngFiles, ExtensionCheckAcceptsPngInAnyCaseOnly) {
  std::unique_ptr<LICE_IBitmap> upper(LoadPngFromFile(Copy("a.PnG").c_str(), true, nullptr));
  ASSERT_NE(upper, nullptr);
  ExpectEmbeddedImage(*upper);
  EXPECT_EQ(LoadPngFromFile(Copy("b.jpg").c_str(), true, nullptr), nullptr);
  EXPECT_EQ(LoadPngFromFile(Copy("c.png.bak").c_str(), true, nullptr), nullptr);
  EXPECT_EQ(LoadPngFromFile(Copy("d.png/e").c_str(), true, nullptr), nullptr);
  std::unique_ptr<LICE_IBitmap> unchecked(LoadPngFromFile(Copy("f.jpg").c_str(), false, nullptr));
  EXPECT_NE(unchecked, nullptr);
}

TEST_F(PngFiles, MissingFileGivesNull) {
  EXPECT_EQ(LoadPngFromFile((dir / "absent.png").c_str(), true, nullptr), nullptr);
  EXPECT_EQ(LoadPngFromFile(nullptr, false, nullptr), nullptr);
}

TEST_F(PngFiles, WriterRoundTripsEveryPixelIncludingBottomUpBitmaps) {
  std::mt19937 random(9);
  drawing_test::GuardedView source(17, 5, 0, true);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 17; ++x)
      source.At(x, y) = random();
  const std::string path = (dir / "round.png").string();
  ASSERT_TRUE(WritePngToFile(path.c_str(), source));
  std::unique_ptr<LICE_IBitmap> back(LoadPngFromFile(path.c_str(), true, nullptr));
  ASSERT_NE(back, nullptr);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 17; ++x)
      ASSERT_EQ(PixelAt(*back, x, y), source.At(x, y));
  LICE_MemBitmap empty;
  EXPECT_FALSE(WritePngToFile((dir / "empty.png").c_str(), empty));
  EXPECT_TRUE(EncodePng(empty).empty());
}

TEST(PngResources, EmbeddedResourceLoadsByTypeAndId) {
  std::unique_ptr<LICE_IBitmap> bitmap(
      LoadPngFromResource(tavo::platform::CurrentModule(), 901, nullptr));
  ASSERT_NE(bitmap, nullptr);
  ExpectEmbeddedImage(*bitmap);
  std::unique_ptr<LICE_IBitmap> anyModule(LoadPngFromResource(nullptr, 901, nullptr));
  EXPECT_NE(anyModule, nullptr);
}

TEST(PngResources, UnknownIdsTypesAndModulesGiveNothing) {
  EXPECT_EQ(LoadPngFromResource(tavo::platform::CurrentModule(), 902, nullptr), nullptr);
  EXPECT_TRUE(tavo::platform::FindModuleResource(nullptr, "JPG", 901).empty());
  static const char elsewhere = 0;
  EXPECT_TRUE(
      tavo::platform::FindModuleResource(
          reinterpret_cast<tavo::platform::ModuleHandle>(const_cast<char*>(&elsewhere)), "PNG", 901)
          .empty());
  EXPECT_EQ(tavo::platform::FindModuleResource(nullptr, "PNG", 901).size(),
            drawing_test::ReadFile(kEmbeddedPath).size());
}

TEST(PngResources, FileTypeDescriptionIsTheDialogText) {
  EXPECT_STREQ(PngFileTypeDescription(), "PNG files (*.PNG)");
}

} // namespace
