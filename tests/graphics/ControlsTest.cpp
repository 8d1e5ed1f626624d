#include <gtest/gtest.h>

#include <cmath>

#include "GraphicsTestSupport.h"
#include "graphics/IBitmapControl.h"
#include "graphics/IFaderControl.h"
#include "graphics/IInvisibleSwitchControl.h"
#include "graphics/IKnobControl.h"
#include "graphics/IPanelControl.h"
#include "graphics/IRadioButtonsControl.h"
#include "graphics/IURLControl.h"

namespace tavo {
namespace {

using test::FrameOfColour;
using test::ScriptedResponder;
using test::TestEditor;
using test::TestPlug;

constexpr MouseMods kLeft{true};
constexpr MouseMods kRight{false, true};
constexpr MouseMods kLeftShift{true, false, true};
constexpr MouseMods kLeftCtrl{true, false, false, true};

// A plug-in with a continuous, an enumerated and a switch parameter, and an editor attached.
class Controls : public ::testing::Test {
protected:
  Controls() : plug(3, "1-1", 1) {
    plug.GetParam(0)->InitDouble("Gain", 0, -20, 20, 0.1, "dB");
    plug.GetParam(1)->InitEnum("Mode", 1, 3);
    plug.GetParam(1)->SetDisplayText(0, "Soft");
    plug.GetParam(1)->SetDisplayText(1, "Warm");
    plug.GetParam(1)->SetDisplayText(2, "Hot");
    plug.GetParam(2)->InitBool("On", false);
    auto owned = std::make_unique<TestEditor>(&plug);
    editor = owned.get();
    editor->SetResponder(&responder);
    plug.AttachEditor(std::move(owned));
  }

  template <typename T> T* Attach(std::unique_ptr<T> control) {
    T* raw = control.get();
    editor->AttachControl(std::move(control));
    return raw;
  }
  // Press at (x, y), drag by dy in one step, release.
  void DragBy(int x, int y, int dy, const MouseMods& mods = kLeft) {
    editor->OnMouseDown(x, y, mods);
    editor->OnMouseDrag(x, y + dy, mods);
    editor->OnMouseUp(x, y + dy, mods);
  }

  TestPlug plug;
  TestEditor* editor = nullptr;
  ScriptedResponder responder;
};

// ---- Knobs ----

class Knobs : public Controls {
protected:
  Knobs() {
    knob = Attach(std::make_unique<IKnobMultiControl>(&plug, 0, 0, 0, editor->Strip(50, 50, 128),
                                                      IKnobControl::kVertical, 4.0));
    knob->SetValueFromPlug(0.5);
  }
  IKnobMultiControl* knob = nullptr;
};

TEST_F(Knobs, TenPixelsUpOnAFiftyPixelKnobGainsAFortieth) {
  DragBy(25, 25, -10);
  EXPECT_NEAR(knob->Value(), 0.55, 1e-12);
  EXPECT_NEAR(plug.GetParam(0)->Value(), 2.0, 1e-9);
}

TEST_F(Knobs, ShiftOrCtrlGearsTheDragDownTenfold) {
  DragBy(25, 25, -10, kLeftShift);
  EXPECT_NEAR(knob->Value(), 0.505, 1e-12);
  DragBy(25, 25, 10, kLeftCtrl);
  EXPECT_NEAR(knob->Value(), 0.5, 1e-12);
}

TEST_F(Knobs, HorizontalKnobsFollowTheDragAcross) {
  auto* across = Attach(std::make_unique<IKnobMultiControl>(
      &plug, 100, 0, 0, editor->Strip(40, 40, 51), IKnobControl::kHorizontal, 2.0));
  across->SetValueFromPlug(0.5);
  editor->OnMouseDown(120, 20, kLeft);
  editor->OnMouseDrag(128, 25, kLeft);
  editor->OnMouseUp(128, 25, kLeft);
  EXPECT_NEAR(across->Value(), 0.6, 1e-12);
}

TEST_F(Knobs, DraggingPastEitherEndHoldsAtTheParametersLimits) {
  DragBy(25, 25, -1000);
  EXPECT_EQ(knob->Value(), 1.0);
  EXPECT_EQ(plug.GetParam(0)->Value(), 20.0);
  DragBy(25, 25, 5000);
  EXPECT_EQ(knob->Value(), 0.0);
  EXPECT_EQ(plug.GetParam(0)->Value(), -20.0);
}

TEST_F(Knobs, TheFrameShownFollowsTheValue) {
  editor->PrepareSurfaces();
  editor->OpenWindow(nullptr);
  editor->OnTimerTick();
  EXPECT_EQ(FrameOfColour(editor->SurfacePixel(25, 25)), 65);
  knob->SetValueFromPlug(1.0);
  editor->OnTimerTick();
  EXPECT_EQ(FrameOfColour(editor->SurfacePixel(25, 25)), 128);
}

TEST_F(Knobs, WheelNotchesStepByAHundredthOrAThousandthWithModifiers) {
  editor->OnMouseWheel(25, 25, {}, 1);
  EXPECT_NEAR(knob->Value(), 0.51, 1e-12);
  editor->OnMouseWheel(25, 25, {false, false, true}, -2);
  EXPECT_NEAR(knob->Value(), 0.508, 1e-12);
  knob->SetValueFromPlug(0.05);
  editor->OnMouseWheel(25, 25, {}, -10);
  EXPECT_EQ(knob->Value(), 0.0);
}

TEST_F(Knobs, DoubleClickRestoresTheFirstValueFromThePlugIn) {
  DragBy(25, 25, -20);
  EXPECT_FALSE(editor->OnMouseDblClick(25, 25, kLeft));
  EXPECT_EQ(knob->Value(), 0.5);
  EXPECT_EQ(plug.GetParam(0)->Value(), 0.0);
}

TEST_F(Knobs, ARightClickOnAnEnumKnobOffersItsTextsWithTheCurrentOneChecked) {
  auto* mode =
      Attach(std::make_unique<IKnobMultiControl>(&plug, 100, 100, 1, editor->Strip(40, 40, 3)));
  mode->SetValueFromPlug(0.5);
  responder.menuAnswer = 2;
  editor->OnMouseDown(120, 120, kRight);
  ASSERT_EQ(responder.menus.size(), 1u);
  const IPopupMenu& menu = responder.menus[0];
  ASSERT_EQ(menu.items.size(), 3u);
  EXPECT_EQ(menu.items[0].text, "Soft");
  EXPECT_EQ(menu.items[1].text, "Warm");
  EXPECT_EQ(menu.items[2].text, "Hot");
  EXPECT_FALSE(menu.items[0].IsChecked());
  EXPECT_TRUE(menu.items[1].IsChecked());
  EXPECT_FALSE(menu.items[2].IsChecked());
  EXPECT_EQ(responder.menuRect, mode->Rect());
  EXPECT_EQ(mode->Value(), 1.0);
  EXPECT_EQ(plug.GetParam(1)->Value(), 2.0);
}

TEST_F(Knobs, ARightClickOnAContinuousKnobOpensASmallEntryBoxAndReadsTheNumber) {
  responder.entryAnswer = "-1.5abc";
  editor->OnMouseDown(25, 25, kRight);
  ASSERT_EQ(responder.entryTexts.size(), 1u);
  EXPECT_EQ(responder.entryRect, IBounds(10, 17, 40, 33));
  EXPECT_EQ(responder.entryMaxLength, 7);
  EXPECT_NEAR(plug.GetParam(0)->Value(), -1.5, 1e-9);
  EXPECT_NEAR(knob->Value(), 18.5 / 40.0, 1e-12);
}

TEST_F(Knobs, ATypedEntryIsCutToTheControlsEntryLength) {
  responder.entryAnswer = "12.3456789";
  editor->OnMouseDown(25, 25, kRight);
  EXPECT_NEAR(plug.GetParam(0)->Value(), 12.3456, 1e-9);
}

TEST_F(Knobs, ACancelledEntryChangesNothing) {
  responder.entryAnswer = nullptr;
  editor->OnMouseDown(25, 25, kRight);
  EXPECT_EQ(knob->Value(), 0.5);
  EXPECT_EQ(plug.GetParam(0)->Value(), 0.0);
}

TEST_F(Knobs, AGrayedKnobIsNotHit) {
  knob->GrayOut(true);
  EXPECT_EQ(editor->ControlIndexAt(25, 25), -1);
  knob->SetMouseOverWhenGrayed(true);
  EXPECT_EQ(editor->ControlIndexAt(25, 25, true), 0);
  EXPECT_EQ(editor->ControlIndexAt(25, 25, false), -1);
}

TEST_F(Knobs, ALineKnobPointsFromMinimumToMaximumAngle) {
  editor->PrepareSurfaces();
  IKnobLineControl line(&plug, IBounds(100, 100, 141, 141), 0, IColorRGBA(255, 255, 255, 255), 0.0f,
                        0.0f, -1.5707964f, 1.5707964f);
  editor->ClearSurface();
  editor->SetClip(IBounds(0, 0, 304, 416));
  line.SetValueFromPlug(0.5); // straight up
  line.Draw(editor);
  EXPECT_EQ(editor->SurfacePixel(120, 102) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(editor->SurfacePixel(120, 130) & 0xFFFFFF, 0u);
}

// ---- Switches ----

TEST_F(Controls, ATwoFrameSwitchTogglesAndShowsTheMatchingFrame) {
  auto* sw = Attach(std::make_unique<ISwitchControl>(&plug, 0, 0, 2, editor->Strip(30, 20, 2)));
  EXPECT_EQ(sw->Rect(), IBounds(0, 0, 30, 20));
  editor->OnMouseDown(5, 5, kLeft);
  editor->OnMouseUp(5, 5, kLeft);
  EXPECT_EQ(sw->Value(), 1.0);
  EXPECT_EQ(plug.GetParam(2)->Value(), 1.0);
  editor->OnMouseDblClick(5, 5, kLeft);
  EXPECT_EQ(sw->Value(), 0.0);
  EXPECT_EQ(FilmStripFrame(2, 0.49), 1);
  EXPECT_EQ(FilmStripFrame(2, 0.5), 2);
}

TEST_F(Controls, AThreeFrameSwitchStepsThroughItsFramesAndWraps) {
  ISwitchControl sw(&plug, 0, 0, -1, editor->Strip(10, 10, 3));
  std::vector<double> seen;
  for (int i = 0; i < 4; ++i) {
    sw.OnMouseDown(1, 1, kLeft);
    seen.push_back(sw.Value());
  }
  EXPECT_EQ(seen, (std::vector<double>{0.5, 1.0, 0.0, 0.5}));
}

TEST_F(Controls, AnInvisibleSwitchTogglesAndNeverPrompts) {
  auto* sw = Attach(std::make_unique<IInvisibleSwitchControl>(&plug, IBounds(0, 0, 10, 10), 1));
  sw->SetValueFromPlug(0.4);
  editor->OnMouseDown(5, 5, kLeft);
  EXPECT_EQ(sw->Value(), 1.0);
  sw->PromptUserInput();
  EXPECT_TRUE(responder.menus.empty());
  EXPECT_EQ(sw->Blend().method, kBlendCopy);
}

// ---- Radio buttons ----

class RadioButtons : public Controls {
protected:
  IImage Led() { return editor->Strip(48, 18, 2); }
};

TEST_F(RadioButtons, ThreeLampsShareTheRowWithEvenGaps) {
  IRadioButtonsControl radio(&plug, IBounds(105, 16, 261, 34), 1, 3, Led(), 1, false);
  ASSERT_EQ(radio.NButtons(), 3);
  EXPECT_EQ(radio.Button(0), IBounds(105, 16, 153, 34));
  EXPECT_EQ(radio.Button(1), IBounds(159, 16, 207, 34));
  EXPECT_EQ(radio.Button(2), IBounds(213, 16, 261, 34));
}

TEST_F(RadioButtons, ReversedAndVerticalLayoutsStartFromTheOtherEnd) {
  IRadioButtonsControl reversed(&plug, IBounds(105, 16, 261, 34), 1, 3, Led(), 1, true);
  EXPECT_EQ(reversed.Button(0), IBounds(213, 16, 261, 34));
  EXPECT_EQ(reversed.Button(2), IBounds(105, 16, 153, 34));
  IRadioButtonsControl column(&plug, IBounds(0, 0, 48, 74), 1, 3, Led(), 0, false);
  EXPECT_EQ(column.Button(1), IBounds(0, 28, 48, 46));
  IRadioButtonsControl up(&plug, IBounds(0, 0, 48, 74), 1, 3, Led(), 0, true);
  EXPECT_EQ(up.Button(0), IBounds(0, 56, 48, 74));
}

TEST_F(RadioButtons, ASingleButtonSitsAtTheStartAndAClickSelectsIt) {
  auto* one = Attach(
      std::make_unique<IRadioButtonsControl>(&plug, IBounds(10, 10, 100, 28), 1, 1, Led(), 1));
  ASSERT_EQ(one->NButtons(), 1);
  EXPECT_EQ(one->Button(0), IBounds(10, 10, 58, 28));
  editor->OnMouseDown(20, 20, kLeft);
  EXPECT_EQ(one->Value(), 0.0);
  EXPECT_FALSE(std::isnan(one->Value()));
  EXPECT_EQ(one->SelectedButton(), 0);
  IRadioButtonsControl reversed(&plug, IBounds(10, 10, 100, 28), 1, 1, Led(), 1, true);
  EXPECT_EQ(reversed.Button(0), IBounds(52, 10, 100, 28));
  IRadioButtonsControl none(&plug, IBounds(10, 10, 100, 28), 1, 0, Led(), 1);
  EXPECT_EQ(none.NButtons(), 0);
}

TEST_F(RadioButtons, ClickingTheSecondOfThreeSelectsAHalfAndTheThirdOne) {
  auto* radio = Attach(std::make_unique<IRadioButtonsControl>(&plug, IBounds(105, 16, 261, 34), 1,
                                                              3, Led(), 1, false));
  editor->OnMouseDown(170, 20, kLeft);
  EXPECT_EQ(radio->Value(), 0.5);
  EXPECT_EQ(plug.GetParam(1)->Value(), 1.0);
  editor->OnMouseDown(220, 20, kLeft);
  EXPECT_EQ(radio->Value(), 1.0);
  editor->OnMouseDown(156, 20, kLeft); // in the gap
  EXPECT_EQ(radio->Value(), 1.0);
  editor->OnMouseDown(110, 20, kLeft);
  EXPECT_EQ(radio->Value(), 0.0);
}

TEST_F(RadioButtons, OnlyTheSelectedLampIsLit) {
  auto* radio = Attach(std::make_unique<IRadioButtonsControl>(&plug, IBounds(105, 16, 261, 34), 1,
                                                              3, Led(), 1, false));
  radio->SetValueFromPlug(0.0);
  radio->SetValueFromPlug(1.0);
  editor->PrepareSurfaces();
  editor->OpenWindow(nullptr);
  editor->OnTimerTick();
  EXPECT_EQ(FrameOfColour(editor->SurfacePixel(110, 20)), 1);
  EXPECT_EQ(FrameOfColour(editor->SurfacePixel(165, 20)), 1);
  EXPECT_EQ(FrameOfColour(editor->SurfacePixel(220, 20)), 2);
}

// ---- Faders ----

class Faders : public Controls {
protected:
  Faders() {
    needle = Attach(std::make_unique<IFaderControl>(&plug, 55, 42, 202, 0, editor->Strip(12, 37, 1),
                                                    IFaderControl::kHorizontal, true));
  }
  IFaderControl* needle = nullptr;
};

TEST_F(Faders, TheRectangleSpansTheTrackAndTheHandleIsTheImageWidth) {
  EXPECT_EQ(needle->Rect(), IBounds(55, 42, 257, 79));
  EXPECT_EQ(needle->HandleSize(), 12);
  EXPECT_EQ(needle->HandleRect(0.0), IBounds(55, 42, 67, 79));
  EXPECT_EQ(needle->HandleRect(1.0), IBounds(245, 42, 257, 79));
  EXPECT_EQ(needle->HandleRect(0.015).L, 57);
  EXPECT_EQ(needle->HandleRect(0.98).L, 241);
}

TEST_F(Faders, APressSnapsTheHandleCentreToThePointer) {
  needle->SetValueFromPlug(0.2);
  editor->OnMouseDown(100, 50, kLeft); // on the handle, 7 pixels right of its centre
  EXPECT_NEAR(needle->Value(), 39.0 / 190.0, 1e-12);
  editor->OnMouseDrag(61 + 95, 50, kLeft);
  EXPECT_NEAR(needle->Value(), 0.5, 1e-12);
  editor->OnMouseDrag(0, 50, kLeft);
  EXPECT_EQ(needle->Value(), 0.0);
  editor->OnMouseUp(0, 50, kLeft);
}

TEST_F(Faders, OnlyTheHandleTakesTheMouseWhenAskedTo) {
  needle->SetValueFromPlug(0.0);
  EXPECT_TRUE(needle->IsHit(60, 50));
  EXPECT_FALSE(needle->IsHit(200, 50));
}

TEST_F(Faders, AVerticalFaderHasOneAtTheTop) {
  IFaderControl fader(&plug, 0, 0, 100, -1, editor->Strip(20, 10, 1));
  EXPECT_EQ(fader.Rect(), IBounds(0, 0, 20, 100));
  EXPECT_EQ(fader.HandleRect(1.0), IBounds(0, 0, 20, 10));
  EXPECT_EQ(fader.HandleRect(0.0), IBounds(0, 90, 20, 100));
  fader.OnMouseDown(10, 5, kLeft);
  EXPECT_EQ(fader.Value(), 1.0);
}

TEST_F(Faders, AHandleAsLongAsItsTrackStaysPut) {
  IFaderControl stuck(&plug, 0, 0, 12, -1, editor->Strip(12, 10, 1), IFaderControl::kHorizontal);
  stuck.OnMouseDown(3, 3, kLeft);
  EXPECT_EQ(stuck.Value(), 0.0);
}

// ---- Panels and links ----

TEST_F(Controls, APanelFillsItsRectangle) {
  editor->PrepareSurfaces();
  editor->ClearSurface();
  IPanelControl panel(&plug, IBounds(2, 2, 6, 6), IColorRGBA(255, 10, 20, 30));
  panel.Draw(editor);
  EXPECT_EQ(editor->SurfacePixel(2, 2), 0xFF0A141Eu);
  EXPECT_EQ(editor->SurfacePixel(6, 6), 0xFF000000u);
}

TEST_F(Controls, ALinkFallsBackToTheSecondAddressWhenTheFirstFails) {
  IURLControl link(&plug, IBounds(0, 0, 10, 10), "http://a", "http://b", "Help");
  link.OnMouseDown(1, 1, kLeft);
  EXPECT_EQ(responder.urls, (std::vector<std::string>{"http://a", "http://b"}));
  responder.urls.clear();
  responder.urlOpens["http://a"] = true;
  link.OnMouseDown(1, 1, kLeft);
  EXPECT_EQ(responder.urls, (std::vector<std::string>{"http://a"}));
}

TEST_F(Controls, LinkTextsAreCutToTheirFields) {
  const std::string longUrl(400, 'u');
  IURLControl link(&plug, IBounds(0, 0, 10, 10), longUrl.c_str(), nullptr, nullptr);
  EXPECT_EQ(std::string(link.Url()).size(), 255u);
  EXPECT_STREQ(link.SecondUrl(), "");
  link.OnMouseDown(1, 1, kLeft);
  EXPECT_EQ(responder.urls.size(), 1u);
}

} // namespace
} // namespace tavo
