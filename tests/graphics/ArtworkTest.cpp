// The generated artwork keeps the sizes, frames and transparency the editor's layout relies on.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "drawing/LICE_Png.h"

namespace tavo {
namespace {

class Artwork : public ::testing::Test {
protected:
  static std::unique_ptr<LICE_IBitmap> Load(const char* name) {
    const std::string path = std::string(TAVO_SOURCE_DIR) + "/resources/img/" + name;
    return std::unique_ptr<LICE_IBitmap>(LoadPngFromFile(path.c_str(), true, nullptr));
  }
  static LICE_pixel At(const LICE_IBitmap& b, int x, int y) {
    return b.PixelData()[y * b.RowSpan() + x];
  }
  static int Alpha(const LICE_IBitmap& b, int x, int y) { return At(b, x, y) >> 24; }
  static int Luma(LICE_pixel p) {
    return (static_cast<int>((p >> 16) & 0xFF) * 3 + static_cast<int>((p >> 8) & 0xFF) * 6 +
            static_cast<int>(p & 0xFF)) /
           10;
  }
  static bool InMeter(int x, int y) { return x >= 48 && x < 255 && y >= 32 && y < 87; }
};

TEST_F(Artwork, EveryImageHasItsSize) {
  struct Size {
    const char* name;
    int w, h;
  };
  for (const Size& s :
       {Size{"VUBG1.png", 304, 416}, Size{"BG1.png", 304, 416}, Size{"LED.png", 48, 36},
        Size{"KnobS1.png", 100, 12800}, Size{"InGain1.png", 40, 2040}, Size{"Needle1.png", 12, 37},
        Size{"Bypass.png", 192, 76}}) {
    auto image = Load(s.name);
    ASSERT_NE(image, nullptr) << s.name;
    EXPECT_EQ(image->Width(), s.w) << s.name;
    EXPECT_EQ(image->Height(), s.h) << s.name;
  }
}

// The sets painted at 1.5 and 2 are the same pictures in more pixels: each side times the scale
// (rounded), and every film strip still divides into whole frames, so a frame's top lands on a
// pixel row at every scale.
TEST_F(Artwork, EveryPaintedScaleHasTheScaledSizeInWholeFrames) {
  struct Image {
    const char* stem;
    int w, h, frames;
  };
  for (const char* suffix : {"@1.5x", "@2x"}) {
    const double k = std::string(suffix) == "@2x" ? 2.0 : 1.5;
    for (const Image& i :
         {Image{"VUBG1", 304, 416, 1}, Image{"BG1", 304, 416, 1}, Image{"LED", 48, 36, 2},
          Image{"KnobS1", 100, 12800, 128}, Image{"InGain1", 40, 2040, 51},
          Image{"Needle1", 12, 37, 1}, Image{"Bypass", 192, 76, 2}}) {
      const std::string name = std::string(i.stem) + suffix + ".png";
      auto image = Load(name.c_str());
      ASSERT_NE(image, nullptr) << name;
      EXPECT_EQ(image->Width(), std::lround(i.w * k)) << name;
      EXPECT_EQ(image->Height(), std::lround(i.h * k)) << name;
      EXPECT_EQ(image->Height() % i.frames, 0) << name;
    }
  }
}

TEST_F(Artwork, TheMeterFaceAtTwiceTheScaleIsOpaqueOnlyInTheScaledWindow) {
  auto face = Load("VUBG1@2x.png");
  ASSERT_NE(face, nullptr);
  for (int y = 0; y < 832; ++y)
    for (int x = 0; x < 608; ++x)
      ASSERT_EQ(Alpha(*face, x, y), InMeter(x / 2, y / 2) ? 255 : 0) << x << "," << y;
}

TEST_F(Artwork, TheMeterFaceIsOpaqueOnlyInTheMeterWindow) {
  auto face = Load("VUBG1.png");
  ASSERT_NE(face, nullptr);
  for (int y = 0; y < 416; ++y)
    for (int x = 0; x < 304; ++x)
      ASSERT_EQ(Alpha(*face, x, y), InMeter(x, y) ? 255 : 0) << x << "," << y;
}

TEST_F(Artwork, ThePanelIsOpaqueButForATranslucentMeterWindowWithAPrintedScale) {
  auto panel = Load("BG1.png");
  ASSERT_NE(panel, nullptr);
  int window = 0, translucent = 0, printed = 0;
  for (int y = 0; y < 416; ++y) {
    for (int x = 0; x < 304; ++x) {
      const int a = Alpha(*panel, x, y);
      if (!InMeter(x, y)) {
        ASSERT_EQ(a, 255) << x << "," << y;
        continue;
      }
      ++window;
      translucent += a >= 33 && a <= 83;
      printed += a > 150;
    }
  }
  EXPECT_GT(translucent, window * 8 / 10);
  EXPECT_GT(printed, 150); // ticks, numerals and the red zone
}

TEST_F(Artwork, TheLampIsUnlitAboveAndLitBelowWithClearSurroundings) {
  auto led = Load("LED.png");
  ASSERT_NE(led, nullptr);
  for (int frame = 0; frame < 2; ++frame) {
    const int top = frame * 18;
    EXPECT_EQ(Alpha(*led, 0, top), 0);
    EXPECT_EQ(Alpha(*led, 47, top + 17), 0);
    EXPECT_EQ(Alpha(*led, 24, top + 9), 255);
  }
  EXPECT_GT(Luma(At(*led, 24, 27)), Luma(At(*led, 24, 9)) + 80);
}

// The pointer's cream line stands out at the minimum end in frame 1 and the maximum end last.
void ExpectKnobTurnsFromMinimumToMaximum(const LICE_IBitmap& strip, int size, int frames) {
  const double kSweep = 135.0 * 3.14159265358979 / 180.0;
  const double r = 0.39 * size, c = size * 0.5;
  const int minX = static_cast<int>(c - std::sin(kSweep) * r);
  const int maxX = static_cast<int>(c + std::sin(kSweep) * r);
  const int endY = static_cast<int>(c - std::cos(kSweep) * r);
  auto luma = [&](int frame, int x, int y) {
    const LICE_pixel p = strip.PixelData()[(frame * size + y) * strip.RowSpan() + x];
    return (static_cast<int>((p >> 16) & 0xFF) * 3 + static_cast<int>((p >> 8) & 0xFF) * 6 +
            static_cast<int>(p & 0xFF)) /
           10;
  };
  EXPECT_GT(luma(0, minX, endY), 150);
  EXPECT_LT(luma(0, maxX, endY), 100);
  EXPECT_GT(luma(frames - 1, maxX, endY), 150);
  EXPECT_LT(luma(frames - 1, minX, endY), 100);
  for (int f = 0; f < frames; ++f) {
    const int top = f * size;
    ASSERT_EQ(strip.PixelData()[top * strip.RowSpan()] >> 24, 0u) << f; // corner clear
    ASSERT_EQ(strip.PixelData()[(top + size / 2) * strip.RowSpan() + size / 2] >> 24, 255u) << f;
  }
}

TEST_F(Artwork, TheLargeKnobTurnsThrough128Steps) {
  auto knob = Load("KnobS1.png");
  ASSERT_NE(knob, nullptr);
  ExpectKnobTurnsFromMinimumToMaximum(*knob, 100, 128);
}

TEST_F(Artwork, TheSmallKnobTurnsThrough51Steps) {
  auto knob = Load("InGain1.png");
  ASSERT_NE(knob, nullptr);
  ExpectKnobTurnsFromMinimumToMaximum(*knob, 40, 51);
}

TEST_F(Artwork, TheNeedleIsASoftEdgedLineOnClearGround) {
  auto needle = Load("Needle1.png");
  ASSERT_NE(needle, nullptr);
  EXPECT_EQ(Alpha(*needle, 0, 0), 0);
  EXPECT_EQ(Alpha(*needle, 11, 0), 0);
  EXPECT_GT(Alpha(*needle, 5, 20) + Alpha(*needle, 6, 20), 300);
  int partial = 0;
  for (int y = 0; y < 37; ++y)
    for (int x = 0; x < 12; ++x)
      partial += Alpha(*needle, x, y) > 0 && Alpha(*needle, x, y) < 255;
  EXPECT_GT(partial, 20);
}

TEST_F(Artwork, TheBypassOverlayIsClearAboveAndCrackedGlassBelow) {
  auto bypass = Load("Bypass.png");
  ASSERT_NE(bypass, nullptr);
  int covered = 0, bright = 0;
  for (int y = 0; y < 76; ++y) {
    for (int x = 0; x < 192; ++x) {
      if (y < 38) {
        ASSERT_EQ(Alpha(*bypass, x, y), 0) << x << "," << y;
      } else {
        covered += Alpha(*bypass, x, y) > 0;
        bright += Alpha(*bypass, x, y) > 150 && Luma(At(*bypass, x, y)) > 200;
      }
    }
  }
  EXPECT_GT(covered, 192 * 38 * 9 / 10); // frosted all over
  EXPECT_GT(bright, 200);                // the cracks themselves
}

} // namespace
} // namespace tavo
