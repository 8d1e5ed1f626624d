// TAVO's editor drawn at the display scales a host may ask for: the artwork painted for each
// scale, the same picture in more pixels, and the controls answering in editor pixels.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "drawing/LICE_IBitmap.h"
#include "drawing/LICE_SysBitmap.h"
#include "effect/TAVO.h"
#include "graphics/posix/IGraphicsLinux.h"

namespace tavo {
namespace {

constexpr MouseMods kLeft{true};

// One rendered frame, copied out so frames at two scales can be compared.
struct Frame {
  int width = 0, height = 0;
  std::vector<LICE_pixel> pixels;

  LICE_pixel At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  static int Channel(LICE_pixel p, int shift) { return static_cast<int>((p >> shift) & 0xFF); }

  // Each 2 × 2 block averaged into one pixel (rounded): a 2× frame brought to 1×.
  Frame Halved() const {
    Frame half{width / 2, height / 2, {}};
    half.pixels.resize(static_cast<size_t>(half.width) * half.height);
    for (int y = 0; y < half.height; ++y) {
      for (int x = 0; x < half.width; ++x) {
        LICE_pixel out = 0;
        for (int shift = 0; shift < 32; shift += 8) {
          const int sum = Channel(At(2 * x, 2 * y), shift) + Channel(At(2 * x + 1, 2 * y), shift) +
                          Channel(At(2 * x, 2 * y + 1), shift) +
                          Channel(At(2 * x + 1, 2 * y + 1), shift);
          out |= static_cast<LICE_pixel>((sum + 2) / 4) << shift;
        }
        half.pixels[static_cast<size_t>(y) * half.width + x] = out;
      }
    }
    return half;
  }

  // Mean absolute difference of red, green and blue over a rectangle, in levels of 255.
  double MeanDifference(const Frame& other, const IBounds& r) const {
    double sum = 0.0;
    for (int y = r.T; y < r.B; ++y)
      for (int x = r.L; x < r.R; ++x)
        for (int shift = 0; shift < 24; shift += 8)
          sum += std::abs(Channel(At(x, y), shift) - Channel(other.At(x, y), shift));
    return sum / (3.0 * r.W() * r.H());
  }

  // The share of a rectangle's pixels where some colour channel differs by more than `levels`.
  double ShareDifferingBy(const Frame& other, const IBounds& r, int levels) const {
    int differing = 0;
    for (int y = r.T; y < r.B; ++y) {
      for (int x = r.L; x < r.R; ++x) {
        int most = 0;
        for (int shift = 0; shift < 24; shift += 8)
          most =
              std::max(most, std::abs(Channel(At(x, y), shift) - Channel(other.At(x, y), shift)));
        differing += most > levels;
      }
    }
    return static_cast<double>(differing) / (r.W() * r.H());
  }
};

class TAVOEditorAtScale : public ::testing::Test {
protected:
  TAVOEditorAtScale() { editor = dynamic_cast<IGraphicsLinux*>(plug.GetGUI()); }
  ~TAVOEditorAtScale() override { editor->CloseWindow(); }

  // Opens the window at the scale, sets a recognisable state and draws it.
  Frame Render(float scale, const char* png = nullptr) {
    editor->SetScale(scale);
    editor->OpenWindow(nullptr);
    editor->SetControlFromPlug(plug.MeterControl(), 0.5);
    editor->OnTimerTick();
    if (png) {
      const std::string path = std::string(TAVO_TEST_OUTPUT_DIR) + "/" + png;
      EXPECT_TRUE(editor->SavePresentedFrame(path.c_str())) << path;
    }
    const LICE_IBitmap* shown = editor->PresentedFrame();
    Frame frame{shown->Width(), shown->Height(), {}};
    for (int y = 0; y < frame.height; ++y)
      for (int x = 0; x < frame.width; ++x)
        frame.pixels.push_back(shown->PixelData()[y * shown->RowSpan() + x]);
    return frame;
  }

  // A left-button drag as a window delivers it: one event per device pixel, each position
  // brought to editor pixels by the editor's scale.
  void DragDevicePixels(int x, int y, int dy) {
    editor->OnMouseDown(editor->ToLogical(x), editor->ToLogical(y), kLeft);
    const int step = dy < 0 ? -1 : 1;
    for (int moved = step; moved != dy + step; moved += step)
      editor->OnMouseDrag(editor->ToLogical(x), editor->ToLogical(y + moved), kLeft);
    editor->OnMouseUp(editor->ToLogical(x), editor->ToLogical(y + dy), kLeft);
  }

  TAVO plug;
  IGraphicsLinux* editor = nullptr;
};

TEST_F(TAVOEditorAtScale, EachScaleShowsTheWholePanelInScaledPixels) {
  struct Case {
    float scale;
    const char* png;
  };
  for (const Case& c : {Case{1.0f, "tavo-editor-1x.png"}, Case{1.5f, "tavo-editor-1.5x.png"},
                        Case{2.0f, "tavo-editor-2x.png"}, Case{1.25f, "tavo-editor-1.25x.png"}}) {
    SCOPED_TRACE(c.scale);
    const Frame frame = Render(c.scale, c.png);
    ASSERT_EQ(frame.width, std::lround(304 * c.scale));
    ASSERT_EQ(frame.height, std::lround(416 * c.scale));
    // The first lamp glows at its place in editor pixels, the third does not.
    auto at = [&](int x, int y) {
      return frame.At(static_cast<int>(x * c.scale), static_cast<int>(y * c.scale));
    };
    EXPECT_GT(Frame::Channel(at(129, 25), 16), 200);
    EXPECT_LT(Frame::Channel(at(237, 25), 16), 120);
    // No hole anywhere: every pixel of the panel is opaque.
    for (int y = 0; y < frame.height; y += 7)
      for (int x = 0; x < frame.width; x += 5)
        ASSERT_EQ(frame.At(x, y) >> 24, 0xFFu) << x << "," << y;
    editor->CloseWindow();
  }
}

// The 2× pictures are painted from the same drawing with four times the pixels. Averaged back
// 2:1 they differ from the 1× ones only where sampling differs: antialiased edges sampled at twice
// the density, and text that the font's hinting shapes anew at twice the size, whose strokes
// land a pixel apart. Over any control that stays below 2.5 levels of 255 on average, and below
// 1.5 % of its pixels off by more than a quarter of the range (measured: at most 1.6 levels and
// 1 %, the worst being the full panel with all its legends). A control drawn from the wrong frame,
// the wrong place or the wrong set breaks both: the last check turns Drive from 3 to 10, which
// moves only its pointer, and needs both bounds to be passed.
TEST_F(TAVOEditorAtScale, TwiceTheScaleHalvedMatchesTheOriginalOnEveryControl) {
  constexpr double kMeanLevels = 2.5;
  constexpr int kQuarterRange = 64;
  constexpr double kShareOff = 0.015;
  plug.SetParameterFromHost(TAVO::kDrive, 3.0);
  plug.SetParameterFromHost(TAVO::kVUMode, 1.0);
  const Frame once = Render(1.0f);
  editor->CloseWindow();
  const Frame halved = Render(2.0f).Halved();
  ASSERT_EQ(halved.width, once.width);
  ASSERT_EQ(halved.height, once.height);
  for (int i = 0; i < editor->NControls(); ++i) {
    const IBounds r = editor->GetControl(i)->Rect();
    EXPECT_LT(once.MeanDifference(halved, r), kMeanLevels) << "control " << i;
    EXPECT_LT(once.ShareDifferingBy(halved, r, kQuarterRange), kShareOff) << "control " << i;
  }

  editor->CloseWindow();
  plug.SetParameterFromHost(TAVO::kDrive, 10.0);
  const Frame turned = Render(1.0f);
  const IBounds drive = editor->GetControl(6)->Rect();
  EXPECT_GT(once.MeanDifference(turned, drive), kMeanLevels);
  EXPECT_GT(once.ShareDifferingBy(turned, drive, kQuarterRange), kShareOff);
}

TEST_F(TAVOEditorAtScale, TheSameDragInEditorPixelsMovesDriveAlikeAtEveryScale) {
  for (float scale : {1.0f, 1.5f, 2.0f}) {
    SCOPED_TRACE(scale);
    plug.SetParameterFromHost(TAVO::kDrive, 0.0);
    editor->SetScale(scale);
    // Up by 20 editor pixels on a 100-pixel knob geared 4: a twentieth of the range.
    DragDevicePixels(static_cast<int>(84 * scale), static_cast<int>(168 * scale),
                     -static_cast<int>(std::lround(20 * scale)));
    EXPECT_NEAR(plug.GetParam(TAVO::kDrive)->GetNormalized(), 0.05, 1e-9);
    // The lamps are hit where they are drawn.
    editor->OnMouseDown(editor->ToLogical(static_cast<int>(237 * scale)),
                        editor->ToLogical(static_cast<int>(25 * scale)), kLeft);
    editor->OnMouseUp(0, 0, kLeft);
    EXPECT_EQ(plug.GetParam(TAVO::kVUMode)->Value(), 2.0);
    plug.SetParameterFromHost(TAVO::kVUMode, 0.0);
  }
}

// A redraw leaves out the meter face and the needle where the front panel covers them. At every
// scale, with the needle at rest, at full scale (partly under the panel) and with the cracked
// glass, the picture is the one the whole stack gives when every control is drawn in full.
TEST_F(TAVOEditorAtScale, AFullRedrawEqualsEveryControlDrawnInFull) {
  const IBounds all(0, 0, 304, 416);
  auto surface = [this] {
    const LICE_IBitmap* s = editor->Surface();
    std::vector<LICE_pixel> pixels;
    for (int y = 0; y < s->Height(); ++y)
      pixels.insert(pixels.end(), s->PixelData() + y * s->RowSpan(),
                    s->PixelData() + y * s->RowSpan() + s->Width());
    return pixels;
  };
  for (float scale : {1.0f, 1.25f, 1.5f, 2.0f}) {
    editor->SetScale(scale);
    editor->OpenWindow(nullptr);
    for (const double meter : {0.015, 1.0}) {
      for (const double bypass : {0.0, 1.0}) {
        SCOPED_TRACE(testing::Message() << scale << " " << meter << " " << bypass);
        plug.SetParameterFromHost(TAVO::kBypass, bypass);
        editor->SetControlFromPlug(plug.MeterControl(), meter);
        editor->SetAllControlsDirty();
        editor->Draw(all);
        const std::vector<LICE_pixel> redrawn = surface();
        // The top control is clipped to the whole update; so, now, is every control drawn here.
        ASSERT_EQ(editor->DrawClip(), all);
        for (int i = 0; i < editor->NControls(); ++i)
          if (!editor->GetControl(i)->IsHidden()) editor->GetControl(i)->Draw(editor);
        ASSERT_TRUE(surface() == redrawn);
      }
    }
    editor->CloseWindow();
  }
}

TEST_F(TAVOEditorAtScale, AScaleOutsideTheRangeIsBroughtIntoIt) {
  editor->SetScale(0.5f);
  EXPECT_EQ(editor->Scale(), 1.0f);
  editor->SetScale(std::nanf(""));
  EXPECT_EQ(editor->Scale(), 1.0f);
  editor->SetScale(9.0f);
  EXPECT_EQ(editor->Scale(), 4.0f);
  EXPECT_EQ(editor->SurfaceWidth(), 304 * 4);
  // The editor keeps its size in editor pixels; a device pixel maps back into the one holding it.
  EXPECT_EQ(editor->Width(), 304);
  EXPECT_EQ(editor->ToLogical(7), 1);
}

} // namespace
} // namespace tavo
