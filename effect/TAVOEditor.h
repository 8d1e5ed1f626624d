#pragma once
// TAVO's editor: a 304 × 416 bitmap panel with the meter window, the VU mode lamps, six knobs
// and the bypass switch over the meter.

#include <memory>

#include "graphics/IGraphics.h"

namespace tavo {

class TAVO;

// [main thread] Builds the editor for the plug-in; stores the needle's control index in
// meterControl. Null where the platform offers no editor.
std::unique_ptr<IGraphics> BuildTAVOEditor(TAVO* plug, int* meterControl);

} // namespace tavo
