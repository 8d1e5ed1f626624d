#pragma once
// TAVO's editor: a 304 × 416 bitmap panel with the meter window, the VU mode lamps, six knobs
// and the bypass switch over the meter. The look is entirely in the seven images; the editor
// holds no text controls.

#include <memory>

#include "framework/IPlugBase.h"
#include "graphics/IGraphics.h"

namespace tavo {

// The artwork's resource identifiers and the file names they are known by.
enum TAVOImage : int {
  kImageMeterFace = 101, // "resources/img/VUBG1.png"
  kImageFrontPanel,      // "resources/img/BG1.png"
  kImageLed,             // "resources/img/LED.png"
  kImageLargeKnob,       // "resources/img/KnobS1.png"
  kImageSmallKnob,       // "resources/img/InGain1.png"
  kImageNeedle,          // "resources/img/Needle1.png"
  kImageBypass,          // "resources/img/Bypass.png"
};

// The editor's controls in drawing order (index 0 is the meter face).
enum TAVOControl : int {
  kControlMeterFace = 0,
  kControlNeedle,
  kControlFrontPanel,
  kControlVUMode,
  kControlInputTrim,
  kControlCrosstalkLevel,
  kControlDrive,
  kControlOutputCompensation,
  kControlAsymmetry,
  kControlFreqResponse,
  kControlBypass,
  kNumTAVOControls
};

// [main thread · may block] Builds the editor for the plug-in and stores the needle's control
// index in meterControl. Null where the platform offers no editor.
std::unique_ptr<IGraphics> BuildTAVOEditor(IPlugBase* plug, int* meterControl);

} // namespace tavo
