#include "effect/TAVOEditor.h"

#include "effect/TAVODescriptor.h"
#include "graphics/GraphicsFactory.h"
#include "graphics/IBitmapControl.h"
#include "graphics/IFaderControl.h"
#include "graphics/IKnobControl.h"
#include "graphics/IRadioButtonsControl.h"

namespace tavo {

namespace {

// Knobs sweep their range over four times their height; Shift or Ctrl gears that down tenfold.
constexpr double kKnobGearing = 4.0;
constexpr int kVUModeButtons = 3;
// The needle travels the meter window from x 55 to 257.
constexpr int kNeedleX = 55, kNeedleY = 42, kNeedleTravel = 202;

struct KnobPlace {
  int x, y, param;
  TAVOImage image;
};

} // namespace

std::unique_ptr<IGraphics> BuildTAVOEditor(IPlugBase* plug, int* meterControl) {
  auto editor = MakeGraphics(plug, kTAVODescriptor.editorWidth, kTAVODescriptor.editorHeight, 0);
  if (!editor) return nullptr;

  editor->AttachBackground(kImageMeterFace, "resources/img/VUBG1.png");
  const IImage panel = editor->LoadImage(kImageFrontPanel, "resources/img/BG1.png", 1, false);
  const IImage led = editor->LoadImage(kImageLed, "resources/img/LED.png", 2, false);
  const IImage largeKnob =
      editor->LoadImage(kImageLargeKnob, "resources/img/KnobS1.png", 128, false);
  const IImage smallKnob =
      editor->LoadImage(kImageSmallKnob, "resources/img/InGain1.png", 51, false);
  const IImage needle = editor->LoadImage(kImageNeedle, "resources/img/Needle1.png", 1, false);
  const IImage bypass = editor->LoadImage(kImageBypass, "resources/img/Bypass.png", 2, false);

  // The needle lies under the front panel, whose translucent window shows it through the scale;
  // the panel covers it for the mouse too, so only the signal chain moves it.
  const int needleIdx = editor->AttachControl(std::make_unique<IFaderControl>(
      plug, kNeedleX, kNeedleY, kNeedleTravel, -1, needle, IFaderControl::kHorizontal, true));
  if (meterControl) *meterControl = needleIdx;
  editor->AttachControl(std::make_unique<IBitmapControl>(plug, 0, 0, -1, panel, kBlendSourceAlpha));
  editor->AttachControl(std::make_unique<IRadioButtonsControl>(
      plug, IBounds(105, 16, 261, 34), TAVOParams::kVUMode, kVUModeButtons, led, 1, false));

  constexpr KnobPlace kKnobs[] = {
      {13, 47, TAVOParams::kInputTrim, kImageSmallKnob},
      {252, 47, TAVOParams::kCrosstalkLevel, kImageSmallKnob},
      {34, 118, TAVOParams::kDrive, kImageLargeKnob},
      {169, 118, TAVOParams::kOutputCompensation, kImageLargeKnob},
      {34, 246, TAVOParams::kAsymmetry, kImageLargeKnob},
      {169, 246, TAVOParams::kFreqResponse, kImageLargeKnob},
  };
  for (const KnobPlace& k : kKnobs) {
    editor->AttachControl(std::make_unique<IKnobMultiControl>(
        plug, k.x, k.y, k.param, k.image == kImageSmallKnob ? smallKnob : largeKnob,
        IKnobControl::kVertical, kKnobGearing));
  }

  // Drawn last: with Bypass on, cracked glass lies over the whole meter window.
  editor->AttachControl(std::make_unique<ISwitchControl>(plug, 57, 41, TAVOParams::kBypass, bypass,
                                                         kBlendSourceAlpha));
  return editor;
}

} // namespace tavo
