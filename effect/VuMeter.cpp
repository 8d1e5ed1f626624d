#include "effect/VuMeter.h"

#include <cmath>

#include "effect/DspConstants.h"
#include "effect/Flush.h"

namespace tavo {

void VuMeter::SetSampleRate(double fs) {
  vuAttack_ = vuRelease_ =
      std::pow(kVuRemainder, 1 / (fs * kSecondsPerMillisecond * kVuMilliseconds));
  // The rectifier is a one-pole smoother at 1 Hz, designed as the one-pole filters are.
  const double s = 1 / (fs * kOnePoleRateFactor + kTwoPi);
  rectifierFeedback_ = (fs * kOnePoleRateFactor - kTwoPi) * s;
  rectifierInput_ = s * kTwoPi;
  rmsCoeff_ = std::exp(-1 / (fs * kRmsSeconds));
}

void VuMeter::Settle() {
  meterValue_ = vuLevel_;
  rmsIn_ = std::sqrt(rmsInPower_);
  rmsOut_ = std::sqrt(rmsOutPower_);
  if (rmsOut_ < kRmsFloor) rmsOut_ = 0;
  // A zero level gives an infinite or undefined difference, which the needle treats as out of
  // range.
  rmsDifference_ = FlushTiny(std::log(std::abs(rmsOut_)) * kNepersToDecibels -
                             std::log(std::abs(rmsIn_)) * kNepersToDecibels);
}

double VuMeter::UpdateNeedle() {
  static const double kPlus18Db = std::exp(kNeedleGainNepers);
  double v;
  if (vuMode_ == 0 || vuMode_ == 2) {
    // From the detector itself rather than from meterValue: after a block without frames
    // meterValue still holds the last mapped position, and scaling that again would walk the
    // needle up by 18 dB per empty block.
    v = kPlus18Db * vuLevel_;
  } else if (std::abs(rmsDifference_) < kDifferenceRangeDb) {
    v = std::exp((rmsDifference_ - kDifferenceAtUnityDb) * kDecibelsToNepers);
  } else {
    v = kKnee;
  }
  meterValue_ = v;
  if (v > kKnee) {
    v = (v - kKnee) * kNeedleRateAboveKnee + kKnee;
    meterValue_ = v;
  }
  if (v < kNeedleRest) v = kNeedleRest;
  if (v > kNeedleMax) v = kNeedleMax;
  return v;
}

} // namespace tavo
