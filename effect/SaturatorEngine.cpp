#include "effect/SaturatorEngine.h"

#include <cmath>

#include "effect/DspConstants.h"

namespace tavo {

SaturatorEngine::SaturatorEngine(std::uint64_t driftSeed) {
  shared_.drift.random = DriftRandom(driftSeed);
  Configure(kDefaultSampleRate, kResetDriveDb, kResetResponse, kResetDriftBase, kResetAsymmetry);
}

void SaturatorEngine::Configure(double fs, double driveDb, double response, double driftBase,
                                double asym) {
  SaturatorCoefficients& c = coefficients_;

  // Time constants. The post-filter undoes the pre-filter's tilt only approximately, which is
  // part of the sound.
  const double p = std::exp(-1 / (fs * kPreFilterSeconds * kOversampling));
  c.preCoeff = p;
  c.preFeedback = 1 - p;
  c.postGain = 1 / std::pow(p, kPostFilterExponent);
  c.postFeedback = std::pow(1 - p, kPostFilterExponent);
  c.envelopeCoeff = std::exp(-1 / (fs * kLevellerSeconds));
  c.envelopeFeed = 1 - c.envelopeCoeff;
  // The threshold sits at an envelope of exp(−122 / 8.69) ≈ 7.9e-7; 1 % below it the power curve
  // cannot round across it.
  c.idleBelow = std::exp(-kLevellerThreshold / kNepersToDecibels) * kLevellerIdleMargin;

  // Drive. The 14 kHz lift grows with asymmetry and shrinks as the drive rises.
  c.driveTarget = std::exp(driveDb * kDecibelsToNepers);
  const double driveAboveFloor = DriveAboveFloorDb(driveDb);
  c.evenAmount = driveAboveFloor * kEvenAmountPerDb + kEvenAmountAtZero;
  double t = kDriveShelfFadeDb - driveAboveFloor;
  if (t < 0) t = 0;
  c.driveShelf =
      DesignOnePole(kDriveShelfHz, fs, OnePoleMode::HighShelf,
                    std::exp(t * asym * kDriveShelfPerAsymmetry * kOnePoleShelfNepers) - 1);

  // Tone: opposite shelves around the shaper, a darker low-pass below 0, air above 0.
  const double r = response;
  c.preEmphasis = DesignHighShelf(std::exp(r * kEmphasisShare * kDecibelsToNepers),
                                  kPreEmphasisRadiansPerSecond / fs, kEmphasisQ);
  c.deEmphasis = DesignHighShelf(std::exp(r * kEmphasisShare * -kDecibelsToNepers),
                                 kDeEmphasisRadiansPerSecond / fs, kEmphasisQ);
  const double lowpassHz =
      r > 0
          ? kToneLowpassHz
          : kToneLowpassHz - std::pow(std::abs(r) * kToneLowpassResponseScale, kToneLowpassCurve) *
                                 kToneLowpassDropHz;
  c.toneLowpass = DesignOnePole(lowpassHz, fs, OnePoleMode::Lowpass, 0);
  c.lowPeak = DesignPeak(kLowPeakRadiansPerSecond / fs, kLowPeakOctaves,
                         std::abs(r) * kLowPeakDbPerResponse +
                             (kLowPeakDriveOffsetDb - driveAboveFloor) * kLowPeakDbPerDriveDb);
  const double air = r > 0 ? r * kAirShelfPerResponse : 0;
  c.airShelf = DesignOnePole(kAirShelfHz, fs, OnePoleMode::HighShelf,
                             std::exp(air * kOnePoleShelfNepers) - 1);

  // Drift: among 0.25, 0.5, 0.75 and 1.0 with a 5 ms time constant.
  const double e = std::exp(-1 / (fs * kDriftSeconds));
  c.driftCoeff = e;
  c.driftFeed = 1 - e;
  TuneDrift(c, shared_.drift);
  c.driftDepth = std::pow(driftBase, kDriftDepthExponent) * kDriftDepthScale;

  // Asymmetry.
  c.posScale = 1 - asym * kPosScaleDrop;
  c.posScaleInv = 1 / c.posScale;
  c.negScale = kNegScaleAtZero - asym * kNegScaleDrop;
  c.negScaleInv = 1 / c.negScale;
  c.negScaleInvEven = c.negScaleInv * c.evenAmount;
}

double SaturatorEngine::ProcessMono(double x) {
  SaturatorKernel<double> k = BeginMono();
  const double y = k.Process(x);
  EndMono(k);
  return y;
}

void SaturatorEngine::ProcessStereo(double xL, double xR, double& yL, double& yR) {
  SaturatorKernel<StereoLane> k = BeginStereo<StereoLane>();
  const StereoLane y = k.Process(StereoLane(xL, xR));
  EndStereo(k);
  yL = y.Left();
  yR = y.Right();
}

} // namespace tavo
