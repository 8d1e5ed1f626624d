// A redraw leaves out what a control drawn later covers whole: the controls under a cover are
// still asked to draw, but clipped to the part one sees through it.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "GraphicsTestSupport.h"
#include "graphics/IBitmapControl.h"

namespace tavo {
namespace {

using test::FrameColour;
using test::FreshImageId;
using test::TestEditor;
using test::TestPlug;

class ClipRecorder : public IControl {
public:
  using IControl::IControl;
  bool Draw(IGraphics* graphics) override {
    clips.push_back(graphics->DrawClip());
    return true;
  }
  std::vector<IBounds> clips;
};

// Half-transparent red: what lies under the window still shows, tinted.
constexpr LICE_pixel kWindowPixel = 0x80FF0000u;

void PunchWindow(LICE_IBitmap* bitmap, int x, int y, int w, int h) {
  FillRectangle(bitmap, x, y, w, h, kWindowPixel, 1.0f, LICE_BLIT_MODE_COPY);
}

// A 100 x 100 editor: an opaque background, a control under the cover, and the cover, a
// two-frame switch whose first frame has a translucent window at (20, 30)-(50, 45) and whose
// second is opaque throughout.
class CoveredDrawing : public ::testing::Test {
protected:
  CoveredDrawing() {
    const int background = FreshImageId();
    editor.Provide(background, {100, 100, 1});
    editor.AttachBackground(background, "bg.png");
    auto recorder = std::make_unique<ClipRecorder>(&plug, IBounds(10, 10, 90, 90));
    under = recorder.get();
    editor.AttachControl(std::move(recorder));
    coverId = FreshImageId();
    editor.Provide(coverId, {100, 100, 2});
    const IImage image = editor.LoadImage(coverId, "cover.png", 2);
    PunchWindow(image.bitmap, 20, 30, 30, 15);
    auto switchControl = std::make_unique<ISwitchControl>(&plug, 0, 0, -1, image);
    cover = switchControl.get();
    editor.AttachControl(std::move(switchControl));
    editor.PrepareSurfaces();
    editor.OpenWindow(nullptr);
  }
  IBounds UnderClipAfterFullRedraw() {
    under->clips.clear();
    editor.SetAllControlsDirty();
    editor.Draw(kAll);
    EXPECT_EQ(under->clips.size(), 1u);
    return under->clips.empty() ? IBounds() : under->clips.back();
  }

  static constexpr IBounds kAll{0, 0, 100, 100};
  static constexpr IBounds kWindow{20, 30, 50, 45};
  TestPlug plug{1};
  TestEditor editor{&plug, 100, 100};
  ClipRecorder* under = nullptr;
  ISwitchControl* cover = nullptr;
  int coverId = 0;
};

TEST_F(CoveredDrawing, AFullRedrawDrawsUnderTheCoverOnlyInsideItsWindowAndLosesNoPixel) {
  EXPECT_EQ(UnderClipAfterFullRedraw(), kWindow);
  // Through the window: the background tinted by the window; elsewhere the cover.
  auto background = std::make_unique<LICE_MemBitmap>(1, 1);
  background->PixelData()[0] = FrameColour(1);
  auto window = std::make_unique<LICE_MemBitmap>(1, 1);
  window->PixelData()[0] = kWindowPixel;
  BlitBitmap(background.get(), window.get(), 0, 0, nullptr, 1.0f,
             LICE_BLIT_MODE_COPY | LICE_BLIT_USE_ALPHA);
  EXPECT_EQ(editor.SurfacePixel(20, 30), background->PixelData()[0]);
  EXPECT_EQ(editor.SurfacePixel(49, 44), background->PixelData()[0]);
  EXPECT_EQ(editor.SurfacePixel(19, 30), FrameColour(1));
  EXPECT_EQ(editor.SurfacePixel(50, 44), FrameColour(1));
}

TEST_F(CoveredDrawing, ADirtyControlUnderTheCoverRedrawsOnlyWhatTheWindowShows) {
  editor.SetStrictDrawing(false);
  editor.Draw(kAll);
  under->clips.clear();
  under->SetDirty(false);
  editor.Draw(under->Rect());
  ASSERT_EQ(under->clips.size(), 1u);
  EXPECT_EQ(under->clips.back(), kWindow);
}

TEST_F(CoveredDrawing, AnOpaqueFrameLeavesNothingToDrawUnderItButStillAsks) {
  cover->SetValue(1.0);
  const IBounds clip = UnderClipAfterFullRedraw();
  EXPECT_TRUE(clip.W() <= 0 || clip.H() <= 0);
  cover->SetValue(0.0);
  EXPECT_EQ(UnderClipAfterFullRedraw(), kWindow);
}

TEST_F(CoveredDrawing, AHiddenGrayedOrNarrowerCoverHidesNothing) {
  cover->Hide(true);
  EXPECT_EQ(UnderClipAfterFullRedraw(), kAll);
  cover->Hide(false);
  cover->GrayOut(true); // a quarter of its weight: everything under shows through
  EXPECT_EQ(UnderClipAfterFullRedraw(), kAll);
  cover->GrayOut(false);
  EXPECT_EQ(UnderClipAfterFullRedraw(), kWindow);
  // An opaque patch on top that does not span the redraw leaves the cover's window as it was.
  const int patch = FreshImageId();
  editor.Provide(patch, {30, 30, 1});
  editor.AttachControl(std::make_unique<IBitmapControl>(
      &plug, 0, 0, -1, editor.LoadImage(patch, "patch.png"), kBlendCopy));
  EXPECT_EQ(UnderClipAfterFullRedraw(), kWindow);
}

// The painted 2x set has its own window, found in device pixels and widened to whole editor
// pixels; a scale drawn by resampling (1.25 from the enlarged 1x set here) hides nothing, since
// the filtered edges of the window are not known in advance.
TEST_F(CoveredDrawing, AtAPaintedScaleTheWindowComesFromThatSetRoundedOutwards) {
  editor.Provide(coverId + 2000, {200, 200, 2});
  PunchWindow(editor.LoadImage(coverId + 2000, "cover@2x.png", 2).bitmap, 41, 61, 58, 28);
  editor.SetScale(2.0f);
  EXPECT_EQ(UnderClipAfterFullRedraw(), kWindow);
  editor.SetScale(1.25f);
  EXPECT_EQ(UnderClipAfterFullRedraw(), kAll);
}

} // namespace
} // namespace tavo
