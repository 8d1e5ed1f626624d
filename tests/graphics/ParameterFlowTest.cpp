#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/HeadlessGraphics.h"
#include "tests/support/TestPlug.h"

namespace tavo {
namespace {

using test::HeadlessGraphics;
using test::PlainControl;
using test::TestPlug;
using Calls = std::vector<std::string>;

class ParameterFlow : public ::testing::Test {
protected:
  ParameterFlow() : plug(4, "1-1", 1) {
    plug.GetParam(0)->InitDouble("Gain", 0, -20, 20, 0.1, "dB");
    plug.GetParam(1)->InitEnum("Mode", 0, 3);
    plug.GetParam(1)->SetDisplayText(0, "A");
    plug.GetParam(1)->SetDisplayText(1, "B");
    plug.GetParam(1)->SetDisplayText(2, "C");
    plug.GetParam(2)->InitBool("On", false);
    plug.GetParam(3)->InitDouble("Mix", 5, 0, 10, 0.01);
    auto g = std::make_unique<HeadlessGraphics>(&plug);
    graphics = g.get();
    gain = Attach(IBounds(0, 0, 50, 50), 0);
    mode = Attach(IBounds(50, 0, 100, 50), 1);
    loose = Attach(IBounds(100, 0, 150, 50), -1);
    stray = Attach(IBounds(150, 0, 200, 50), 42);
    mixA = Attach(IBounds(0, 50, 50, 100), 3);
    mixB = Attach(IBounds(50, 50, 100, 100), 3);
    gain->AddAuxParam(3);
    plug.AttachEditor(std::move(g));
    plug.calls.clear();
  }
  PlainControl* Attach(const IBounds& r, int param) {
    auto c = std::make_unique<PlainControl>(&plug, r, param);
    PlainControl* raw = c.get();
    graphics->AttachControl(std::move(c));
    return raw;
  }
  // A press, one drag step and a release at the control's centre.
  void Drag(IControl* c, int dy) {
    const int x = (c->Rect().L + c->Rect().R) / 2, y = (c->Rect().T + c->Rect().B) / 2;
    graphics->OnMouseDown(x, y, {true});
    graphics->OnMouseDrag(x, y + dy, {true});
    graphics->OnMouseUp(x, y + dy, {true});
  }

  TestPlug plug;
  HeadlessGraphics* graphics = nullptr;
  PlainControl *gain, *mode, *loose, *stray, *mixA, *mixB;
};

TEST_F(ParameterFlow, AttachingTheEditorPushesNormalizedValuesAsDefaults) {
  EXPECT_EQ(gain->Value(), 0.5);
  EXPECT_EQ(gain->DefaultValue(), 0.5);
  EXPECT_EQ(mixA->Value(), 0.5);
  EXPECT_EQ(gain->GetAuxParam(0)->value, 0.5); // the aux entry follows parameter 3
  EXPECT_EQ(loose->DefaultValue(), -1.0);
  EXPECT_NE(graphics->Surface(), nullptr);
  EXPECT_EQ(plug.GetGUI(), graphics);
}

TEST_F(ParameterFlow, DraggingAKnobReportsBeginValueChangeAndEndInOrder) {
  Drag(gain, -10); // ten pixels up
  EXPECT_DOUBLE_EQ(gain->Value(), 0.6);
  EXPECT_NEAR(plug.GetParam(0)->Value(), 4.0, 1e-12);
  EXPECT_EQ(plug.calls, (Calls{"Begin 0", "Send 0 0.600000", "ParamChanged 0", "End 0"}));
}

TEST_F(ParameterFlow, EnumStoresTheRoundedValueButReportsTheControlsValue) {
  mode->SetValue(0.6);
  mode->SetDirty(true);
  EXPECT_EQ(plug.GetParam(1)->Value(), 1.0);
  EXPECT_EQ(plug.calls, (Calls{"Send 1 0.600000", "ParamChanged 1"}));
}

TEST_F(ParameterFlow, UnboundControlNeverCallsThePlugIn) {
  Drag(loose, -20);
  EXPECT_DOUBLE_EQ(loose->Value(), 0.2);
  EXPECT_TRUE(loose->IsDirty());
  EXPECT_TRUE(plug.calls.empty());
}

TEST_F(ParameterFlow, ControlBeyondTheParametersStillSendsItsGestures) {
  Drag(stray, -20);
  EXPECT_EQ(plug.calls, (Calls{"Begin 42", "End 42"}));
}

TEST_F(ParameterFlow, ValuesFromThePlugInMoveEveryBoundControlWithoutEcho) {
  graphics->SetParameterFromPlug(3, 2.5, false);
  EXPECT_EQ(mixA->Value(), 0.25);
  EXPECT_EQ(mixB->Value(), 0.25);
  EXPECT_EQ(gain->GetAuxParam(0)->value, 0.25);
  EXPECT_TRUE(mixA->PendingRedraw());
  EXPECT_TRUE(plug.calls.empty());
  // The default stays the first value the plug-in gave.
  EXPECT_EQ(mixA->DefaultValue(), 0.5);
  mixA->OnMouseDblClick(0, 0, {});
  EXPECT_EQ(mixA->Value(), 0.5);
  EXPECT_EQ(plug.GetParam(3)->Value(), 5.0);
}

TEST_F(ParameterFlow, TheSameValueFromThePlugInLeavesAControlClean) {
  mixA->SetClean();
  mixA->SetClean();
  ASSERT_FALSE(mixA->IsDirty());
  mixA->SetValueFromPlug(0.5);
  EXPECT_FALSE(mixA->IsDirty());
  mixA->SetValueFromPlug(0.7);
  EXPECT_TRUE(mixA->IsDirty());
  mixA->SetClean(); // pending redraw keeps it dirty for one more redraw
  EXPECT_TRUE(mixA->IsDirty());
  mixA->SetClean();
  EXPECT_FALSE(mixA->IsDirty());
}

TEST_F(ParameterFlow, SetControlFromPlugIgnoresIndicesOutsideTheList) {
  graphics->SetControlFromPlug(0, 0.9);
  EXPECT_EQ(gain->Value(), 0.9);
  graphics->SetControlFromPlug(99, 0.1);
  graphics->SetControlFromPlug(-1, 0.1);
  EXPECT_TRUE(plug.calls.empty());
}

TEST_F(ParameterFlow, RefreshAfterAPresetMovesControlsToPlainValues) {
  plug.MakeDefaultPresets("p", 1);
  plug.GetParam(0)->SetValue(10);
  ASSERT_TRUE(plug.RestorePreset(0)); // loads the saved state and refreshes the editor
  EXPECT_EQ(gain->Value(), 0.5);
  plug.GetParam(0)->SetValue(-20);
  plug.RefreshEditorParams();
  EXPECT_EQ(gain->Value(), 0.0);
}

TEST_F(ParameterFlow, WheelAndClampsKeepTheValueInRange) {
  mixA->SetValue(0.05);
  for (int i = 0; i < 10; ++i)
    mixA->OnMouseWheel(0, 0, {}, -1);
  EXPECT_EQ(mixA->Value(), 0.0);
  mixA->OnMouseWheel(0, 0, MouseMods{false, false, true}, 3);
  EXPECT_NEAR(mixA->Value(), 0.003, 1e-12);
}

TEST_F(ParameterFlow, PromptOffersAMenuOfDisplayTextsWithTheCurrentOneChecked) {
  plug.GetParam(1)->SetValue(2);
  graphics->menuAnswer = 1;
  mode->OnMouseDown(60, 10, MouseMods{false, true});
  ASSERT_EQ(graphics->lastMenu.items.size(), 3u);
  EXPECT_EQ(graphics->lastMenu.items[2].text, "C");
  EXPECT_TRUE(graphics->lastMenu.items[2].IsChecked());
  EXPECT_FALSE(graphics->lastMenu.items[0].IsChecked());
  EXPECT_EQ(plug.GetParam(1)->Value(), 1.0); // the chosen item went through the plug-in
}

TEST_F(ParameterFlow, PromptForADoubleOpensTextEntryAndReadsTheAnswer) {
  gain->OnMouseDown(10, 10, MouseMods{false, true});
  EXPECT_EQ(graphics->lastEntryText, "0.0");
  graphics->SetFromStringAfterPrompt(gain, "-10");
  EXPECT_EQ(plug.GetParam(0)->Value(), -10.0);
  EXPECT_EQ(gain->Value(), 0.25);
}

TEST_F(ParameterFlow, RoutingPicksTheLaterOfOverlappingControlsAndSkipsHiddenOnes) {
  auto over = std::make_unique<PlainControl>(&plug, IBounds(25, 0, 75, 50), -1);
  PlainControl* top = over.get();
  graphics->AttachControl(std::move(over));
  EXPECT_EQ(graphics->ControlIndexAt(40, 10), 6);
  top->Hide(true);
  EXPECT_EQ(graphics->ControlIndexAt(40, 10), 0);
  gain->GrayOut(true);
  EXPECT_EQ(graphics->ControlIndexAt(40, 10), -1);
  EXPECT_EQ(gain->Blend().weight, 0.25f);
  EXPECT_EQ(graphics->NoteAutomationParamAt(60, 10), 1);
  EXPECT_EQ(graphics->TakeAutomationParam(), 1);
  EXPECT_EQ(graphics->TakeAutomationParam(), -1);
  EXPECT_EQ(graphics->NoteAutomationParamAt(500, 500), -1);
}

} // namespace
} // namespace tavo
