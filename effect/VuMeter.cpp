#include "effect/VuMeter.h"

#include <cmath>

#include "effect/DspConstants.h"
#include "effect/Flush.h"

namespace tavo {

void VuMeter::SetSampleRate(double fs) {
  vuAttack_ = vuRelease_ = std::pow(0.01, 1 / (fs * 0.001 * 300));
  const double s = 1 / (fs * 3 + kTwoPi);
  rectifierFeedback_ = (fs * 3 - kTwoPi) * s;
  rectifierInput_ = s * kTwoPi;
  rmsCoeff_ = std::exp(-1 / (fs * 0.6));
}

void VuMeter::Settle() {
  meterValue_ = vuLevel_;
  rmsIn_ = std::sqrt(rmsInPower_);
  rmsOut_ = std::sqrt(rmsOutPower_);
  if (rmsOut_ < 1e-06) rmsOut_ = 0;
  // A zero level gives an infinite or undefined difference, which the needle treats as out of
  // range.
  rmsDifference_ = FlushTiny(std::log(std::abs(rmsOut_)) * kNepersToDecibels -
                             std::log(std::abs(rmsIn_)) * kNepersToDecibels);
}

double VuMeter::UpdateNeedle() {
  static const double kPlus18Db = std::exp(2.0723265836946);
  double v;
  if (vuMode_ == 0 || vuMode_ == 2) {
    // From the detector itself rather than from meterValue: after a block without frames
    // meterValue still holds the last mapped position, and scaling that again would walk the
    // needle up by 18 dB per empty block.
    v = kPlus18Db * vuLevel_;
  } else if (std::abs(rmsDifference_) < 50) {
    v = std::exp((rmsDifference_ - 3.95) * kDecibelsToNepers); // 3.95 dB reads 1.0
  } else {
    v = kKnee;
  }
  meterValue_ = v;
  if (v > kKnee) {
    v = (v - kKnee) * 0.43 + kKnee;
    meterValue_ = v;
  }
  if (v < kNeedleRest) v = kNeedleRest;
  if (v > kNeedleMax) v = kNeedleMax;
  return v;
}

} // namespace tavo
