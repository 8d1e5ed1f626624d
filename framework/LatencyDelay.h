#pragma once
// The delay ring a bypassed plug-in runs its audio through, so that switching bypass does not
// move the signal in time against the plug-in's reported latency.

#include <cstdint>

#include "base/GrowableBuffer.h"

namespace tavo {

class LatencyDelay {
public:
  // [main thread] A zeroed ring of `length` frames for each of nIn channels.
  LatencyDelay(int nIn, int nOut, int length);

  // [main thread · processing lock held] New length; the ring is cleared.
  void Configure(int length);

  // [audio thread · processing lock held · no allocation] Output i lags input i by exactly
  // `length` frames, across blocks; outputs without a matching input are not written. A length
  // of 0 copies the block straight through.
  void Process(const double* const* inputs, double* const* outputs, int frames);

  int Length() const { return length_; }

private:
  GrowableArray<double> ring_;
  int32_t writePos_ = 0;
  int32_t nIn_ = 0;
  int32_t nOut_ = 0;
  int32_t length_ = 0;
};

} // namespace tavo
