#include <gtest/gtest.h>

#include <cmath>

#include "GraphicsTestSupport.h"
#include "graphics/IBitmapControl.h"
#include "graphics/IPanelControl.h"
#include "graphics/ImageCache.h"
#include "graphics/PaintedScales.h"

namespace tavo {
namespace {

using test::CountingControl;
using test::FrameColour;
using test::FrameOfColour;
using test::TestEditor;
using test::TestPlug;

// ---- Rectangles ----

// A monitor's DPI over 96 is its scale; a window following it draws the painted set nearest.
TEST(PaintedScales, ADisplayScaleDrawsAtTheNearestPaintedSetAndHalfwayAtTheLarger) {
  EXPECT_EQ(NearestPaintedScale(96 / 96.0f), 1.0f);
  EXPECT_EQ(NearestPaintedScale(110 / 96.0f), 1.0f);
  EXPECT_EQ(NearestPaintedScale(120 / 96.0f), 1.5f); // 125 %: halfway
  EXPECT_EQ(NearestPaintedScale(144 / 96.0f), 1.5f);
  EXPECT_EQ(NearestPaintedScale(168 / 96.0f), 2.0f); // 175 %: halfway
  EXPECT_EQ(NearestPaintedScale(192 / 96.0f), 2.0f);
  EXPECT_EQ(NearestPaintedScale(288 / 96.0f), 2.0f); // beyond the largest set
  EXPECT_EQ(NearestPaintedScale(0.5f), 1.0f);
  EXPECT_EQ(NearestPaintedScale(std::nanf("")), 1.0f);
}

TEST(Bounds, RectanglesTouchingOnTheRightEdgeIntersectButAGapDoesNot) {
  EXPECT_TRUE(IBounds(0, 0, 10, 10).Intersects(IBounds(10, 0, 20, 10)));
  EXPECT_FALSE(IBounds(0, 0, 10, 10).Intersects(IBounds(11, 0, 20, 10)));
  EXPECT_TRUE(IBounds(0, 0, 10, 10).Intersects(IBounds(0, 10, 10, 20)));
  EXPECT_FALSE(IBounds(10, 0, 20, 10).Intersects(IBounds(0, 0, 10, 10)));
}

TEST(Bounds, TheEmptyRectangleNeitherContainsNorIntersectsAnything) {
  const IBounds empty;
  EXPECT_FALSE(empty.Contains(0, 0));
  EXPECT_FALSE(empty.Intersects(IBounds(-5, -5, 5, 5)));
  EXPECT_TRUE(IBounds(-5, -5, 5, 5).Intersection(empty).Empty());
}

TEST(Bounds, UnionSkipsAnEmptySideAndOtherwiseSpansBoth) {
  const IBounds a(5, 6, 10, 12), b(1, 8, 7, 20);
  EXPECT_EQ(a.Union(IBounds()), a);
  EXPECT_EQ(IBounds().Union(b), b);
  EXPECT_EQ(a.Union(b), IBounds(1, 6, 10, 20));
  EXPECT_EQ(a.Intersection(b), IBounds(5, 8, 7, 12));
  EXPECT_TRUE(a.Intersection(IBounds(20, 20, 30, 30)).Empty());
}

// ---- Images ----

class ImageLoading : public ::testing::Test {
protected:
  TestPlug plug{1};
  TestEditor editor{&plug};
};

TEST_F(ImageLoading, TheSameIdentifierYieldsTheSameBitmapAndLoadsOnce) {
  const int id = test::FreshImageId();
  editor.Provide(id, {10, 10, 3});
  const IImage first = editor.LoadImage(id, "a.png", 3);
  TestEditor other(&plug);
  const IImage second = other.LoadImage(id, "b.png", 3);
  EXPECT_NE(first.bitmap, nullptr);
  EXPECT_EQ(first.bitmap, second.bitmap);
  EXPECT_EQ(editor.loads + other.loads, 1);
  EXPECT_EQ(ImageCache::Find(id), first.bitmap);
  EXPECT_EQ(first.W, 10);
  EXPECT_EQ(first.H, 30);
  EXPECT_EQ(first.N, 3);
}

TEST_F(ImageLoading, AMissingImageHasNoSizeAndIsAskedForAgainLater) {
  const int id = test::FreshImageId();
  const IImage missing = editor.LoadImage(id, "gone.png", 0);
  EXPECT_EQ(missing.bitmap, nullptr);
  EXPECT_EQ(missing.W, 0);
  EXPECT_EQ(missing.N, 1);
  editor.Provide(id, {4, 4, 1});
  EXPECT_NE(editor.LoadImage(id, "gone.png").bitmap, nullptr);
  EXPECT_EQ(editor.loads, 2);
}

TEST_F(ImageLoading, TheBackgroundGoesAheadOfEveryControlAsAPlainCopy) {
  editor.AttachControl(std::make_unique<CountingControl>(&plug, IBounds(0, 0, 5, 5)));
  const int id = test::FreshImageId();
  editor.Provide(id, {304, 416, 1});
  editor.AttachBackground(id, "bg.png");
  ASSERT_EQ(editor.NControls(), 2);
  auto* background = dynamic_cast<IBitmapControl*>(editor.GetControl(0));
  ASSERT_NE(background, nullptr);
  EXPECT_EQ(background->Rect(), IBounds(0, 0, 304, 416));
  EXPECT_EQ(background->ParamIdx(), -1);
  EXPECT_EQ(background->Blend().method, kBlendCopy);
}

// ---- Drawing helpers ----

class Drawing : public ::testing::Test {
protected:
  Drawing() {
    editor.PrepareSurfaces();
    editor.ClearSurface();
    editor.SetClip(IBounds(0, 0, 304, 416));
  }
  int FrameAt(int x, int y) const { return FrameOfColour(editor.SurfacePixel(x, y)); }

  TestPlug plug{1};
  TestEditor editor{&plug};
};

TEST_F(Drawing, FilmStripFramesComeFromTheRightOffsetDownTheStrip) {
  const IImage knob = editor.Strip(20, 20, 128);
  editor.DrawBitmapFrame(knob, IBounds(0, 0, 20, 20), 1);
  EXPECT_EQ(FrameAt(10, 10), 1);
  editor.DrawBitmapFrame(knob, IBounds(0, 0, 20, 20), 65);
  EXPECT_EQ(FrameAt(0, 0), 65);
  EXPECT_EQ(FrameAt(19, 19), 65);
  editor.DrawBitmapFrame(knob, IBounds(0, 0, 20, 20), 128);
  EXPECT_EQ(FrameAt(19, 19), 128);
}

TEST_F(Drawing, HorizontalStripsStepAcross) {
  const IImage strip = editor.Strip(8, 6, 4, true);
  EXPECT_EQ(strip.W, 32);
  editor.DrawBitmapFrame(strip, IBounds(10, 10, 18, 16), 3);
  EXPECT_EQ(FrameAt(10, 10), 3);
  EXPECT_EQ(FrameAt(17, 15), 3);
}

TEST_F(Drawing, ASingleFrameImageAlwaysShowsItsTopAndAFramePastTheEndShowsTheLast) {
  const IImage single = editor.Strip(10, 10, 1);
  editor.DrawBitmapFrame(single, IBounds(0, 0, 10, 10), 5);
  EXPECT_EQ(FrameAt(5, 5), 1);
  const IImage pair = editor.Strip(10, 10, 2);
  editor.DrawBitmapFrame(pair, IBounds(0, 0, 10, 10), 9);
  EXPECT_EQ(FrameAt(9, 9), 2);
}

TEST_F(Drawing, FilmStripFrameRoundsToTheNearestFrameAndStaysInRange) {
  EXPECT_EQ(FilmStripFrame(128, 0.0), 1);
  EXPECT_EQ(FilmStripFrame(128, 0.5), 65);
  EXPECT_EQ(FilmStripFrame(128, 1.0), 128);
  EXPECT_EQ(FilmStripFrame(2, 0.49), 1);
  EXPECT_EQ(FilmStripFrame(2, 0.5), 2);
  EXPECT_EQ(FilmStripFrame(51, 7.0), 51);
  EXPECT_EQ(FilmStripFrame(51, -3.0), 1);
  EXPECT_EQ(FilmStripFrame(51, std::nan("")), 1);
  EXPECT_EQ(FilmStripFrame(1, 0.9), 1);
}

TEST_F(Drawing, BitmapsAreClippedToTheRedrawsClipRectangle) {
  const IImage strip = editor.Strip(20, 20, 2);
  editor.SetClip(IBounds(5, 5, 10, 10));
  editor.DrawBitmapFrame(strip, IBounds(0, 0, 20, 20), 2);
  EXPECT_EQ(FrameAt(4, 4), 0);
  EXPECT_EQ(FrameAt(5, 5), 2);
  EXPECT_EQ(FrameAt(9, 9), 2);
  EXPECT_EQ(FrameAt(10, 10), 0);
}

TEST_F(Drawing, AGrayedControlDrawsAtAQuarterOfItsWeight) {
  IPanelControl control(&plug, IBounds(0, 0, 10, 10), IColorRGBA(255, 255, 255, 255));
  control.GrayOut(true);
  EXPECT_FLOAT_EQ(control.Blend().weight, 0.25f);
  // White at a quarter weight over black lands a quarter of the way up.
  control.Draw(&editor);
  EXPECT_NEAR(static_cast<int>((editor.SurfacePixel(5, 5) >> 16) & 0xFF), 64, 1);
  editor.ClearSurface(0xFF000000u);
  editor.FillRect(IColorRGBA(255, 255, 255, 255), IBounds(0, 0, 10, 10), &control.Blend());
  const int red = static_cast<int>((editor.SurfacePixel(5, 5) >> 16) & 0xFF);
  EXPECT_NEAR(red, 64, 1);
  control.GrayOut(false);
  EXPECT_FLOAT_EQ(control.Blend().weight, 1.0f);
}

TEST_F(Drawing, LinesAndOutlinesLandOnTheirPixels) {
  const IColorRGBA red(255, 255, 0, 0);
  editor.DrawRectOutline(red, IBounds(10, 10, 20, 20));
  EXPECT_EQ(editor.SurfacePixel(10, 10), 0xFFFF0000u);
  EXPECT_EQ(editor.SurfacePixel(20, 15), 0xFFFF0000u);
  EXPECT_EQ(editor.SurfacePixel(15, 20), 0xFFFF0000u);
  EXPECT_EQ(editor.SurfacePixel(15, 15), 0xFF000000u);
  // Angle 0 points up: a radial line from the centre reaches straight above it.
  editor.DrawRadialLine(red, 50.0f, 50.0f, 0.0f, 0.0f, 10.0f);
  EXPECT_EQ(editor.SurfacePixel(50, 40), 0xFFFF0000u);
  EXPECT_EQ(editor.SurfacePixel(50, 60), 0xFF000000u);
  // A quarter turn clockwise points right.
  editor.DrawRadialLine(red, 50.0f, 80.0f, 1.5707964f, 0.0f, 10.0f);
  EXPECT_EQ(editor.SurfacePixel(59, 80), 0xFFFF0000u);
}

TEST_F(Drawing, WithoutASurfaceHelpersDrawNothingAndStillSucceed) {
  TestEditor bare(&plug);
  const IImage strip = bare.Strip(4, 4, 1);
  EXPECT_TRUE(bare.DrawBitmapFrame(strip, IBounds(0, 0, 4, 4), 1));
  EXPECT_TRUE(bare.FillRect(IColorRGBA(), IBounds(0, 0, 4, 4)));
  EXPECT_TRUE(bare.DrawLine(IColorRGBA(), 0, 0, 3, 3));
}

// ---- Redrawing ----

class Redrawing : public ::testing::Test {
protected:
  Redrawing() {
    background = Add(IBounds(0, 0, 100, 100));
    left = Add(IBounds(0, 0, 40, 40));
    overlapping = Add(IBounds(30, 30, 60, 60));
    apart = Add(IBounds(70, 70, 90, 90));
    editor.PrepareSurfaces();
    editor.OpenWindow(nullptr);
    editor.Draw(IBounds(0, 0, 100, 100));
    Reset();
  }
  CountingControl* Add(const IBounds& r) {
    auto c = std::make_unique<CountingControl>(&plug, r);
    CountingControl* raw = c.get();
    editor.AttachControl(std::move(c));
    return raw;
  }
  void Reset() {
    for (CountingControl* c : {background, left, overlapping, apart})
      c->draws = 0;
  }

  TestPlug plug{1};
  TestEditor editor{&plug, 100, 100};
  CountingControl *background, *left, *overlapping, *apart;
};

TEST_F(Redrawing, AfterARedrawNothingIsDirty) {
  IBounds area;
  EXPECT_FALSE(editor.IsDirty(area));
  EXPECT_TRUE(area.Empty());
}

TEST_F(Redrawing, IsDirtyGathersTheUnionOfTheDirtyControls) {
  left->SetDirty(false);
  apart->SetDirty(false);
  IBounds area;
  EXPECT_TRUE(editor.IsDirty(area));
  EXPECT_EQ(area, IBounds(0, 0, 90, 90));
}

TEST_F(Redrawing, StrictDrawingDrawsWhatMeetsTheUpdateRectangleAndCleansEverything) {
  apart->SetDirty(false);
  editor.Draw(IBounds(0, 0, 35, 35));
  EXPECT_EQ(background->draws, 1);
  EXPECT_EQ(left->draws, 1);
  EXPECT_EQ(overlapping->draws, 1);
  EXPECT_EQ(apart->draws, 0);
  EXPECT_FALSE(apart->IsDirty());
}

TEST_F(Redrawing, StrictDrawingSkipsHiddenControls) {
  left->Hide(true);
  editor.Draw(IBounds(0, 0, 100, 100));
  EXPECT_EQ(left->draws, 0);
  // Hiding keeps the control dirty through one more redraw so that what was under it returns.
  EXPECT_TRUE(left->IsDirty());
  editor.Draw(IBounds(0, 0, 100, 100));
  EXPECT_FALSE(left->IsDirty());
}

TEST_F(Redrawing, LooseDrawingRepaintsOnlyTheDirtyControlAndWhatMeetsIt) {
  editor.SetStrictDrawing(false);
  editor.Draw(IBounds(0, 0, 100, 100));
  Reset();
  left->SetDirty(false);
  editor.Draw(IBounds(0, 0, 40, 40));
  EXPECT_EQ(background->draws, 1);
  EXPECT_EQ(left->draws, 1);
  EXPECT_EQ(overlapping->draws, 1);
  EXPECT_EQ(apart->draws, 0);
  EXPECT_FALSE(left->IsDirty());
}

TEST_F(Redrawing, LooseDrawingWithADirtyBackgroundRepaintsTheWholeStack) {
  editor.SetStrictDrawing(false);
  editor.Draw(IBounds(0, 0, 100, 100));
  Reset();
  background->SetDirty(false);
  editor.Draw(IBounds(0, 0, 100, 100));
  for (CountingControl* c : {background, left, overlapping, apart})
    EXPECT_EQ(c->draws, 1);
}

TEST_F(Redrawing, AValueFromThePlugInStaysDirtyForExactlyOneMoreRedraw) {
  left->SetValueFromPlug(0.3); // first value: the default, no redraw needed
  left->SetValueFromPlug(0.6);
  editor.Draw(IBounds(0, 0, 100, 100));
  EXPECT_TRUE(left->IsDirty());
  editor.Draw(IBounds(0, 0, 100, 100));
  EXPECT_FALSE(left->IsDirty());
}

TEST_F(Redrawing, ResizeDropsTheControlsAndTellsThePlugIn) {
  editor.OnMouseDown(10, 10, {true});
  editor.Resize(200, 150);
  EXPECT_EQ(editor.NControls(), 0);
  EXPECT_EQ(editor.CapturedControl(), -1);
  EXPECT_EQ(editor.Surface()->Width(), 200);
  EXPECT_EQ(editor.Surface()->Height(), 150);
  EXPECT_EQ(editor.PresentedFrame()->Width(), 200);
  EXPECT_EQ(plug.calls.back(), "Resize 200x150");
}

TEST_F(Redrawing, ADrawWithoutControlsSucceedsAtOnce) {
  TestEditor empty(&plug);
  EXPECT_TRUE(empty.Draw(IBounds(0, 0, 10, 10)));
}

} // namespace
} // namespace tavo
