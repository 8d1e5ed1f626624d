#pragma once
// TAVO's editor as an LV2 UI (ui:X11UI): the same editor as every format, on a TAVO instance of
// its own that only holds the parameters the controls show, in a real X11 window embedded in the
// host's. A knob drag writes the control port between gesture begin and end (where the host
// offers ui:touch); port events from the host move the controls without writing anything back;
// the needle follows the level output port. The host drives redrawing through ui:idleInterface.

#include <lv2/ui/ui.h>

#include <cstdint>

#include "lv2/PortLayout.h"

namespace tavo {

// [any thread] The UI descriptor at index 0; null beyond.
const LV2UI_Descriptor* TAVOLV2UIDescriptor(uint32_t index);

} // namespace tavo
