// TAVO's editor as the host sees it: the layout of the panel, clicks and drags through the real
// controls into the effect, host automation back into the controls, and rendered snapshots.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "drawing/LICE_IBitmap.h"
#include "effect/TAVO.h"
#include "effect/TAVOEditor.h"
#include "graphics/IBitmapControl.h"
#include "graphics/IFaderControl.h"
#include "graphics/IKnobControl.h"
#include "graphics/IRadioButtonsControl.h"
#include "graphics/posix/IGraphicsLinux.h"

namespace tavo {
namespace {

// The effect with every call towards the host and into its change handler recorded.
class RecordingTAVO : public TAVO {
public:
  std::vector<std::string> calls;

  void BeginHostEdit(int idx) override {
    calls.push_back("Begin " + std::to_string(idx));
    TAVO::BeginHostEdit(idx);
  }
  void SetParameterFromGUI(int idx, double normalized) override {
    calls.push_back("FromGUI " + std::to_string(idx) + " " + std::to_string(normalized));
    TAVO::SetParameterFromGUI(idx, normalized);
  }
  void SendParamToHost(int idx, double normalized) override {
    calls.push_back("Send " + std::to_string(idx));
    TAVO::SendParamToHost(idx, normalized);
  }
  void ParamChanged(int idx) override {
    calls.push_back("Changed " + std::to_string(idx));
    TAVO::ParamChanged(idx);
  }
  void EndHostEdit(int idx) override {
    calls.push_back("End " + std::to_string(idx));
    TAVO::EndHostEdit(idx);
  }
};

constexpr MouseMods kLeft{true};

class TAVOEditor : public ::testing::Test {
protected:
  TAVOEditor() {
    editor = dynamic_cast<IGraphicsLinux*>(plug.GetGUI());
    plug.calls.clear();
  }

  std::array<double, TAVO::kNumParams> Values() const {
    std::array<double, TAVO::kNumParams> v{};
    for (int i = 0; i < TAVO::kNumParams; ++i)
      v[static_cast<size_t>(i)] = plug.GetParam(i)->Value();
    return v;
  }
  void Click(int x, int y) {
    editor->OnMouseDown(x, y, kLeft);
    editor->OnMouseUp(x, y, kLeft);
  }
  template <typename T> T* Control(int idx) const {
    return dynamic_cast<T*>(editor->GetControl(idx));
  }

  RecordingTAVO plug;
  IGraphicsLinux* editor = nullptr;
};

// ---- Layout ----

TEST_F(TAVOEditor, HoldsTheBackgroundAndTheTenControlsOfThePanel) {
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->Width(), 304);
  EXPECT_EQ(editor->Height(), 416);
  EXPECT_EQ(editor->FPS(), 25);
  EXPECT_EQ(editor->TimerPeriodMs(), 40);
  ASSERT_EQ(editor->NControls(), kNumTAVOControls);
  EXPECT_EQ(plug.MeterControl(), 1);
  EXPECT_NE(Control<IBitmapControl>(kControlMeterFace), nullptr);
  EXPECT_NE(Control<IFaderControl>(kControlNeedle), nullptr);
  EXPECT_NE(Control<IBitmapControl>(kControlFrontPanel), nullptr);
  EXPECT_NE(Control<IRadioButtonsControl>(kControlVUMode), nullptr);
  for (int i = kControlInputTrim; i <= kControlFreqResponse; ++i)
    EXPECT_NE(Control<IKnobMultiControl>(i), nullptr) << i;
  EXPECT_NE(Control<ISwitchControl>(kControlBypass), nullptr);
}

TEST_F(TAVOEditor, ControlsSitWhereThePanelPrintsThem) {
  struct Expected {
    int idx;
    IBounds rect;
    int param;
  };
  for (const Expected& e :
       {Expected{0, {0, 0, 304, 416}, -1}, Expected{1, {55, 42, 257, 79}, -1},
        Expected{2, {0, 0, 304, 416}, -1}, Expected{3, {105, 16, 261, 34}, TAVO::kVUMode},
        Expected{4, {13, 47, 53, 87}, TAVO::kInputTrim},
        Expected{5, {252, 47, 292, 87}, TAVO::kCrosstalkLevel},
        Expected{6, {34, 118, 134, 218}, TAVO::kDrive},
        Expected{7, {169, 118, 269, 218}, TAVO::kOutputCompensation},
        Expected{8, {34, 246, 134, 346}, TAVO::kAsymmetry},
        Expected{9, {169, 246, 269, 346}, TAVO::kFreqResponse},
        Expected{10, {57, 41, 249, 79}, TAVO::kBypass}}) {
    EXPECT_EQ(editor->GetControl(e.idx)->Rect(), e.rect) << e.idx;
    EXPECT_EQ(editor->GetControl(e.idx)->ParamIdx(), e.param) << e.idx;
  }
}

TEST_F(TAVOEditor, BlendsDirectionsAndGearingsFollowTheTable) {
  EXPECT_EQ(editor->GetControl(kControlMeterFace)->Blend().method, kBlendCopy);
  EXPECT_EQ(editor->GetControl(kControlFrontPanel)->Blend().method, kBlendSourceAlpha);
  EXPECT_EQ(editor->GetControl(kControlBypass)->Blend().method, kBlendSourceAlpha);
  for (int i = kControlInputTrim; i <= kControlFreqResponse; ++i) {
    auto* knob = Control<IKnobMultiControl>(i);
    EXPECT_EQ(knob->Direction(), IKnobControl::kVertical);
    EXPECT_EQ(knob->Gearing(), 4.0);
    EXPECT_EQ(knob->Image().N, i <= kControlCrosstalkLevel ? 51 : 128);
  }
  EXPECT_EQ(Control<IFaderControl>(kControlNeedle)->HandleSize(), 12);
  auto* radio = Control<IRadioButtonsControl>(kControlVUMode);
  ASSERT_EQ(radio->NButtons(), 3);
  EXPECT_EQ(radio->Button(0).L, 105);
  EXPECT_EQ(radio->Button(1).L, 159);
  EXPECT_EQ(radio->Button(2).L, 213);
}

TEST_F(TAVOEditor, TheNeedleNeverTakesTheMouse) {
  for (int x = 55; x < 257; x += 7)
    EXPECT_NE(editor->ControlIndexAt(x, 45), kControlNeedle);
}

TEST_F(TAVOEditor, TheNeedleSpansItsTravelBetweenRestAndFullScale) {
  auto* needle = Control<IFaderControl>(kControlNeedle);
  editor->SetControlFromPlug(plug.MeterControl(), 0.015);
  EXPECT_EQ(needle->HandleRect(needle->Value()).L, 57);
  editor->SetControlFromPlug(plug.MeterControl(), 0.98);
  EXPECT_EQ(needle->HandleRect(needle->Value()).R, 253);
}

// ---- Clicks and drags ----

TEST_F(TAVOEditor, AClickOnTheMeterTogglesBypass) {
  Click(100, 60);
  EXPECT_EQ(plug.GetParam(TAVO::kBypass)->Value(), 1.0);
  Click(100, 60);
  EXPECT_EQ(plug.GetParam(TAVO::kBypass)->Value(), 0.0);
}

TEST_F(TAVOEditor, AClickOnBarePanelChangesNothing) {
  const auto before = Values();
  Click(5, 400);
  EXPECT_EQ(Values(), before);
  EXPECT_TRUE(plug.calls.empty());
}

TEST_F(TAVOEditor, TheHostSeesNoAutomationParameterOverTheBackground) {
  EXPECT_EQ(editor->NoteAutomationParamAt(5, 400), -1);
  EXPECT_EQ(editor->NoteAutomationParamAt(84, 168), TAVO::kDrive);
  EXPECT_EQ(editor->TakeAutomationParam(), TAVO::kDrive);
  EXPECT_EQ(editor->TakeAutomationParam(), -1);
}

TEST_F(TAVOEditor, TheVUModeLampsSelectTheMeterSource) {
  Click(230, 25);
  EXPECT_EQ(plug.GetParam(TAVO::kVUMode)->Value(), 2.0);
  Click(120, 25);
  EXPECT_EQ(plug.GetParam(TAVO::kVUMode)->Value(), 0.0);
}

TEST_F(TAVOEditor, DraggingDriveTellsTheHostAndTheEffectInOrder) {
  editor->OnMouseDown(84, 168, kLeft);
  editor->OnMouseDrag(84, 148, kLeft); // 20 px up on a 100 px knob geared 4: +0.05
  editor->OnMouseUp(84, 148, kLeft);
  const std::vector<std::string> expected{"Begin 1", "FromGUI 1 0.050000", "Send 1", "Changed 1",
                                          "End 1"};
  EXPECT_EQ(plug.calls, expected);
  EXPECT_NEAR(plug.GetParam(TAVO::kDrive)->Value(), 0.5, 1e-9);
  EXPECT_NEAR(editor->GetControl(kControlDrive)->Value(), 0.05, 1e-12);
}

TEST_F(TAVOEditor, HostAutomationMovesTheKnobWithoutEcho) {
  plug.SetParameterFromHost(TAVO::kDrive, 7.5);
  EXPECT_NEAR(editor->GetControl(kControlDrive)->Value(), 0.75, 1e-12);
  EXPECT_TRUE(editor->GetControl(kControlDrive)->IsDirty());
  const std::vector<std::string> expected{"Changed 1"};
  EXPECT_EQ(plug.calls, expected);
}

TEST_F(TAVOEditor, HostSettingVUModeTwoLightsTheThirdLamp) {
  plug.SetParameterFromHost(TAVO::kVUMode, 2);
  EXPECT_EQ(Control<IRadioButtonsControl>(kControlVUMode)->SelectedButton(), 2);
}

TEST_F(TAVOEditor, DoubleClickingAKnobRestoresItsStartingValue) {
  editor->OnMouseDown(219, 296, kLeft);
  editor->OnMouseDrag(219, 250, kLeft);
  editor->OnMouseUp(219, 250, kLeft);
  EXPECT_NE(plug.GetParam(TAVO::kFreqResponse)->Value(), 0.0);
  editor->OnMouseDblClick(219, 296, kLeft);
  EXPECT_NEAR(plug.GetParam(TAVO::kFreqResponse)->Value(), 0.0, 1e-9);
}

// ---- Snapshots ----

class TAVOEditorSnapshot : public TAVOEditor {
protected:
  TAVOEditorSnapshot() { editor->OpenWindow(nullptr); }
  ~TAVOEditorSnapshot() override { editor->CloseWindow(); }

  // Redraws what is dirty, keeps the frame as a PNG under the build folder.
  void Render(const char* name) {
    editor->OnTimerTick();
    const std::string path = std::string(TAVO_TEST_OUTPUT_DIR) + "/" + name;
    EXPECT_TRUE(editor->SavePresentedFrame(path.c_str())) << path;
  }
  LICE_pixel Pixel(int x, int y) const {
    const LICE_IBitmap* frame = editor->PresentedFrame();
    return frame->PixelData()[y * frame->RowSpan() + x];
  }
  static int Red(LICE_pixel p) { return static_cast<int>((p >> 16) & 0xFF); }
  static int Green(LICE_pixel p) { return static_cast<int>((p >> 8) & 0xFF); }
  static int Luma(LICE_pixel p) {
    return (Red(p) * 3 + Green(p) * 6 + static_cast<int>(p & 0xFF)) / 10;
  }
  // The column of the meter window that stands out darkest against its neighbours on one row:
  // where the needle is.
  int NeedleColumn(int y) const {
    int column = -1, best = 1 << 30;
    for (int x = 52; x < 252; ++x) {
      const int contrast = 2 * Luma(Pixel(x, y)) - Luma(Pixel(x - 3, y)) - Luma(Pixel(x + 3, y));
      if (contrast < best) best = contrast, column = x;
    }
    return column;
  }
  // How many pixels of the meter window are lighter than in the other frame by more than delta.
  int LighterThan(const std::vector<LICE_pixel>& before, int delta) const {
    int lighter = 0;
    size_t i = 0;
    for (int y = 42; y < 78; ++y)
      for (int x = 58; x < 248; ++x, ++i)
        lighter += Luma(Pixel(x, y)) > Luma(before[i]) + delta;
    return lighter;
  }
};

TEST_F(TAVOEditorSnapshot, DefaultSettingsShowTheNeedleAtRestAndTheInputLampLit) {
  editor->SetControlFromPlug(plug.MeterControl(), 0.015);
  Render("tavo-editor-default.png");
  // Needle handle at 57..69: its line runs down the middle, x 63, below the printed scale.
  EXPECT_NEAR(NeedleColumn(70), 63, 1);
  // The first lamp glows, the other two are dark.
  EXPECT_GT(Red(Pixel(129, 25)), 200);
  EXPECT_LT(Red(Pixel(183, 25)), 120);
  EXPECT_LT(Red(Pixel(237, 25)), 120);
  // Every pixel of the panel is opaque.
  for (int y = 0; y < 416; y += 13)
    for (int x = 0; x < 304; x += 11)
      ASSERT_EQ(Pixel(x, y) >> 24, 0xFFu) << x << "," << y;
}

TEST_F(TAVOEditorSnapshot, BypassCracksTheGlassAndModeTwoLightsTheLastLamp) {
  editor->SetControlFromPlug(plug.MeterControl(), 0.98);
  Render("tavo-editor-clear.png");
  EXPECT_NEAR(NeedleColumn(70), 247, 1); // handle at 241..253
  std::vector<LICE_pixel> clear;
  for (int y = 42; y < 78; ++y)
    for (int x = 58; x < 248; ++x)
      clear.push_back(Pixel(x, y));

  plug.SetParameterFromHost(TAVO::kBypass, 1.0);
  plug.SetParameterFromHost(TAVO::kVUMode, 2.0);
  Render("tavo-editor-bypass-mode2.png");
  EXPECT_GT(Red(Pixel(237, 25)), 200);
  EXPECT_LT(Red(Pixel(129, 25)), 120);
  // Cracks and frost: a good part of the window turns markedly lighter than the clear glass.
  EXPECT_GT(LighterThan(clear, 20), 250);
}

} // namespace
} // namespace tavo
