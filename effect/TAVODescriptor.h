#pragma once
// TAVO's identity and its parameters' indices: what the effect, its editor and every host format
// that registers it read, written once.

#include <cstdint>

#include "base/FourCharCode.h"
#include "framework/PlugDescriptor.h"

namespace tavo {

// The processing types: 'TAV1' for the mono layout, 'TAV2' for the stereo one.
inline constexpr int32_t kTAVOTypeIDs[] = {FourCharCode("TAV1"), FourCharCode("TAV2")};

inline constexpr PlugDescriptor kTAVODescriptor{
    .effectName = "TAVO",
    .productName = "",
    .makerName = "Quenstrel",
    .effectNameVariants = "TAVO\nTAVO",
    .makerNameVariants = "Quenstrel\nQuenstrel\nQnSl",
    .uniqueID = FourCharCode("TAVO"),
    .makerID = FourCharCode("QnSl"),
    .channelIO = "1-1 2-2",
    .typeIDs = kTAVOTypeIDs,
    .category = "Harmonic",
    .version = 0x10000, // 1.0.0
    .latency = 6,       // frames
    .nPresets = 1,
    .editorWidth = 304,
    .editorHeight = 416,
};

// The parameters, in the order the host numbers them and the state chunk stores them.
struct TAVOParams {
  enum Param : int {
    kInputTrim = 0,
    kDrive,
    kOutputCompensation,
    kAsymmetry,
    kFreqResponse,
    kCrosstalkLevel,
    kVUMode,
    kBypass,
    kNumParams
  };
};

} // namespace tavo
