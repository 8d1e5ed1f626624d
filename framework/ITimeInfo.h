#pragma once
// The host's transport as the plug-in sees it.

#include <cstdint>

namespace tavo {

struct ITimeInfo {
  double tempo = 0.0;
  double samplePos = 0.0;
  double ppqPos = 0.0; // position in quarter notes
  double lastBarPos = 0.0;
  double cycleStart = 0.0;
  double cycleEnd = 0.0;
  int32_t numerator = 0;
  int32_t denominator = 0;
  bool transportRunning = false;
  bool loopEnabled = false;
};

} // namespace tavo
