#pragma once
// TAVO's class identifiers. Host projects store them to find the plug-in again: written here
// once, never to be changed. Their text form is 6A0C1F523B9E4D71A2C85E1347D06B29 (processor)
// and 1D5B7E84C6324F0A9E71B3D528FA4C61 (controller) on every target.

#include "vst3/abi/Uid.h"

namespace tavo::vst3 {

inline constexpr Uid kProcessorCid = MakeUid(0x6A0C1F52, 0x3B9E4D71, 0xA2C85E13, 0x47D06B29);
inline constexpr Uid kControllerCid = MakeUid(0x1D5B7E84, 0xC6324F0A, 0x9E71B3D5, 0x28FA4C61);

} // namespace tavo::vst3
