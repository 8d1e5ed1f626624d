#include "framework/LatencyDelay.h"

#include <algorithm>

namespace tavo {

LatencyDelay::LatencyDelay(int nIn, int nOut, int length)
    : nIn_(std::max(nIn, 0)), nOut_(std::max(nOut, 0)) {
  Configure(length);
}

void LatencyDelay::Configure(int length) {
  length_ = std::max(length, 0);
  ring_.ResizeZeroed(length_ * nIn_);
  writePos_ = 0;
}

void LatencyDelay::Process(const double* const* inputs, double* const* outputs, int frames) {
  const int channels = std::min(nIn_, nOut_);
  if (length_ == 0) {
    for (int i = 0; i < channels; ++i)
      std::copy_n(inputs[i], std::max(frames, 0), outputs[i]);
    return;
  }
  double* ring = ring_.Data();
  for (int f = 0; f < frames; ++f) {
    for (int i = 0; i < channels; ++i) {
      double& cell = ring[i * length_ + writePos_];
      const double in = inputs[i][f]; // read first: input and output may share a buffer
      outputs[i][f] = cell;
      cell = in;
    }
    writePos_ = (writePos_ + 1) % length_;
  }
}

} // namespace tavo
