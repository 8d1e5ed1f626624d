#pragma once
// The level detectors behind the editor's needle and the mapping from detector value to needle
// position. Mode 0 shows the ballistic level of the trimmed input, mode 2 that of the output,
// mode 1 the RMS level of the output minus that of the input, in dB.
//
// The detectors run once per frame inside the signal chain. The values derived from them (the
// RMS levels, their difference and the value the needle starts from) are read only between
// blocks, so they are derived once per block by Settle() from the last frame's detector states:
// the same numbers, without two logarithms per frame.

#include <cstdint>

#include "effect/DspConstants.h"
#include "effect/Flush.h"

namespace tavo {

class VuMeter {
public:
  static constexpr double kNeedleRest = tavo::kNeedleRest; // silence in the level modes
  static constexpr double kNeedleMax = tavo::kNeedleMax;
  static constexpr double kKnee = kNeedleKnee; // above it the needle moves at 0.43 of the rate

  // [audio thread · processing lock held] Coefficients for the sample rate, once per block.
  void SetSampleRate(double fs);
  // [audio thread · processing lock held] 0 input, 1 RMS difference, 2 output.
  void SetMode(std::int32_t mode) { vuMode_ = mode; }

  // [audio thread · processing lock held · no allocation] One frame: VU sample m, RMS input
  // sample a, RMS output sample b.
  void Step(double m, double a, double b) {
    vuRectifier_ = vuRectifier_ * rectifierFeedback_ + (m < 0 ? -m : m) * (rectifierInput_ * 2);
    // With attack and release equal the level covers 99 % of a step in 300 ms either way. Asking
    // that first keeps a branch the processor cannot predict (rising or falling?) out of the
    // frame loop; the coefficient is the same either way.
    const double coeff = vuAttack_ == vuRelease_   ? vuAttack_
                         : vuRectifier_ > vuLevel_ ? vuAttack_
                                                   : vuRelease_;
    vuLevel_ = FlushTiny((vuLevel_ - vuRectifier_) * coeff + vuRectifier_);
    rmsInPower_ = a * (1 - rmsCoeff_) * a + rmsInPower_ * rmsCoeff_;
    rmsOutPower_ = b * (1 - rmsCoeff_) * b + rmsOutPower_ * rmsCoeff_;
  }

  // [audio thread · processing lock held] After the last frame of a block that had frames.
  void Settle();

  // [audio thread · processing lock held] Resets the RMS difference to 0 (instance reset).
  void ClearDifference() { rmsDifference_ = 0; }

  // [audio thread · processing lock held] Whether the recursive detector states are finite, and
  // putting every detector back where a new meter starts (coefficients and mode stay).
  bool DetectorsFinite() const {
    return AllFinite({vuRectifier_, vuLevel_, rmsInPower_, rmsOutPower_});
  }
  void ClearDetectors() {
    vuRectifier_ = vuLevel_ = rmsInPower_ = rmsOutPower_ = 0;
    rmsIn_ = rmsOut_ = rmsDifference_ = meterValue_ = 0;
  }

  // [audio thread · processing lock held] Maps the chosen detector to a needle position in
  // [0.015, 0.98] and returns it.
  double UpdateNeedle();

  std::int32_t vuMode() const { return vuMode_; }
  double vuRectifier() const { return vuRectifier_; }
  double vuLevel() const { return vuLevel_; }
  double rmsIn() const { return rmsIn_; }
  double rmsOut() const { return rmsOut_; }
  double rmsDifference() const { return rmsDifference_; }
  double meterValue() const { return meterValue_; }
  double rectifierFeedback() const { return rectifierFeedback_; }
  double rectifierInput() const { return rectifierInput_; }
  double vuAttack() const { return vuAttack_; }
  double rmsCoeff() const { return rmsCoeff_; }

private:
  double rectifierFeedback_ = 0, rectifierInput_ = 0;
  double vuRectifier_ = 0;
  double vuLevel_ = 0;
  double vuAttack_ = 0, vuRelease_ = 0;
  double rmsCoeff_ = 0;
  double rmsInPower_ = 0, rmsOutPower_ = 0;
  double rmsIn_ = 0, rmsOut_ = 0;
  double rmsDifference_ = 0;
  double meterValue_ = 0;
  std::int32_t vuMode_ = 0;
};

} // namespace tavo
