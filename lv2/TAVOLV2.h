#pragma once
// TAVO as LV2 hosts load it: the effect on the LV2 plug-in base, TAVOPlug<IPlugLV2> → IPlugLV2 →
// IPlugBase, and the two plug-in descriptors, mono (index 0) and stereo (index 1), that the
// bundle's binary exports.

#include <lv2/core/lv2.h>

#include <cstdint>

#include "effect/TAVO.h"
#include "lv2/IPlugLV2.h"

namespace tavo {

using TAVOLV2 = TAVOPlug<IPlugLV2>;
extern template class TAVOPlug<IPlugLV2>;

// [any thread] The descriptor at index 0 (mono) or 1 (stereo); null beyond.
const LV2_Descriptor* TAVOLV2Descriptor(uint32_t index);

} // namespace tavo
