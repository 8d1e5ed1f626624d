// The PNG conformance images that ship in libpng's source: every valid image must load and match
// an independent decode made with libpng's simplified API; damaged ones must never crash and
// never load differently from what that decode accepts.

#include "PngTestSupport.h"
#include "TestBitmaps.h"
#include "drawing/LICE_Png.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using drawing_test::Bytes;
using drawing_test::PixelAt;

struct Reference {
  int width = 0;
  int height = 0;
  std::vector<LICE_pixel> pixels;
  std::vector<bool> colourComparable;
};

// The file without its colour-space chunks (gAMA, cHRM, sRGB, iCCP). Our loader ignores them;
// the simplified decoder would convert to sRGB by them, so they are taken out of its input.
Bytes WithoutColourSpace(const Bytes& file) {
  if (file.size() < 8) return file;
  Bytes out(file.begin(), file.begin() + 8);
  size_t at = 8;
  while (at + 12 <= file.size()) {
    const size_t length = (size_t{file[at]} << 24) | (size_t{file[at + 1]} << 16) |
                          (size_t{file[at + 2]} << 8) | size_t{file[at + 3]};
    if (length > file.size() - at - 12) break;
    const std::string type(file.begin() + at + 4, file.begin() + at + 8);
    if (type != "gAMA" && type != "cHRM" && type != "sRGB" && type != "iCCP")
      out.insert(out.end(), file.begin() + at, file.begin() + at + 12 + length);
    at += 12 + length;
  }
  out.insert(out.end(), file.begin() + at, file.end());
  return out;
}

// libpng's simplified decoder, as 0xAARRGGBB words with straight alpha. Files with 16-bit
// samples are read as 16-bit linear values (the simplified decoder's only exact path for them),
// which it premultiplies by alpha: their colour is then comparable only where alpha is full.
bool DecodeWithSimplifiedApi(const Bytes& original, Reference& out) {
  const Bytes file = WithoutColourSpace(original);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, file.data(), file.size())) return false;
  if (static_cast<unsigned long long>(image.width) * image.height > (1u << 24)) {
    png_image_free(&image);
    return false;
  }
  const bool sixteenBit = (image.format & PNG_FORMAT_FLAG_LINEAR) != 0;
  image.format = PNG_FORMAT_ARGB | (sixteenBit ? PNG_FORMAT_FLAG_LINEAR : 0);
  std::vector<unsigned char> bytes(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr)) {
    png_image_free(&image);
    return false;
  }
  out.width = static_cast<int>(image.width);
  out.height = static_cast<int>(image.height);
  const size_t count = static_cast<size_t>(out.width) * out.height;
  out.pixels.resize(count);
  out.colourComparable.assign(count, true);
  for (size_t i = 0; i < count; ++i) {
    unsigned channel[4];
    for (int c = 0; c < 4; ++c) {
      if (sixteenBit) {
        std::uint16_t v;
        std::memcpy(&v, bytes.data() + 8 * i + 2 * c, 2);
        channel[c] = v >> 8;
        if (c == 0 && v != 65535) out.colourComparable[i] = false;
      } else {
        channel[c] = bytes[4 * i + c];
      }
    }
    out.pixels[i] = (channel[0] << 24) | (channel[1] << 16) | (channel[2] << 8) | channel[3];
  }
  return true;
}

std::vector<fs::path> ImagesIn(const fs::path& dir) {
  std::vector<fs::path> found;
  if (!fs::is_directory(dir)) return found;
  for (const auto& entry : fs::directory_iterator(dir))
    if (entry.path().extension() == ".png") found.push_back(entry.path());
  std::sort(found.begin(), found.end());
  return found;
}

class LibpngImages : public ::testing::Test {
protected:
  void SetUp() override {
    if (*TAVO_LIBPNG_UNAVAILABLE)
      GTEST_SKIP() << "libpng's conformance images are not available: " TAVO_LIBPNG_UNAVAILABLE;
    root = TAVO_LIBPNG_IMAGES;
  }
  fs::path root;
};

TEST_F(LibpngImages, EveryValidImageLoadsAndMatchesTheSimplifiedDecoder) {
  int loaded = 0, compared = 0;
  for (const char* collection : {"pngsuite", "testpngs"}) {
    for (const fs::path& path : ImagesIn(root / collection)) {
      SCOPED_TRACE(path.string());
      const Bytes file = drawing_test::ReadFile(path.string());
      std::unique_ptr<LICE_IBitmap> bitmap(LoadPngFromMemory(file.data(), file.size(), nullptr));
      ASSERT_NE(bitmap, nullptr);
      ++loaded;
      Reference reference;
      ASSERT_TRUE(DecodeWithSimplifiedApi(file, reference));
      ASSERT_EQ(bitmap->Width(), reference.width);
      ASSERT_EQ(bitmap->Height(), reference.height);
      ++compared;
      int mismatches = 0;
      for (int y = 0; y < reference.height; ++y)
        for (int x = 0; x < reference.width; ++x) {
          const size_t i = static_cast<size_t>(y) * reference.width + x;
          const LICE_pixel mask = reference.colourComparable[i] ? 0xFFFFFFFFu : 0xFF000000u;
          mismatches += (PixelAt(*bitmap, x, y) & mask) != (reference.pixels[i] & mask);
        }
      EXPECT_EQ(mismatches, 0);
    }
  }
  EXPECT_GE(loaded, 150);
  EXPECT_GE(compared, 40);
}

// These files carry damaged chunks (bad checksums, lengths near 2 GiB). Whatever libpng makes
// of each, the loader must come back promptly with null or a whole image of the header's size.
TEST_F(LibpngImages, DamagedImagesNeverCrashAndNeverComeBackPartial) {
  int seen = 0;
  for (const fs::path& path : ImagesIn(root / "testpngs" / "crashers")) {
    SCOPED_TRACE(path.string());
    ++seen;
    const Bytes file = drawing_test::ReadFile(path.string());
    std::unique_ptr<LICE_IBitmap> bitmap(LoadPngFromMemory(file.data(), file.size(), nullptr));
    if (bitmap) {
      ASSERT_GE(file.size(), 24u);
      const int width = (file[16] << 24) | (file[17] << 16) | (file[18] << 8) | file[19];
      const int height = (file[20] << 24) | (file[21] << 16) | (file[22] << 8) | file[23];
      EXPECT_EQ(bitmap->Width(), width);
      EXPECT_EQ(bitmap->Height(), height);
      EXPECT_NE(bitmap->PixelData(), nullptr);
    }
  }
  EXPECT_GE(seen, 20);
}

} // namespace
