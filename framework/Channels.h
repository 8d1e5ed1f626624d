#pragma once
// The records through which host audio reaches the effect: one legal channel configuration, and
// one record per input and output channel. Each channel's `slot` points at its own entry of the
// base's pointer arrays; the effect reads and writes only through those arrays.

#include <cstdint>

#include "base/GrowableBuffer.h"

namespace tavo {

struct IOConfig {
  int32_t nIn = 0;
  int32_t nOut = 0;
};

struct InputChannel {
  bool connected = false;
  double** slot = nullptr;
  GrowableArray<double> scratch; // blockSize doubles
  GrowableText label;
  // Where the block's samples come from, kept so a block longer than the scratch buffer can be
  // converted piece by piece.
  const float* floatSource = nullptr;
  double* doubleSource = nullptr;
};

struct OutputChannel {
  bool connected = false;
  double** slot = nullptr;
  float* floatDest = nullptr;
  GrowableArray<double> scratch; // blockSize doubles
  GrowableText label;
  double* doubleDest = nullptr;
};

} // namespace tavo
