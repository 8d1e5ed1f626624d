#include "effect/SaturatorEngine.h"

#include <cmath>

#include "effect/DspConstants.h"

namespace tavo {

SaturatorEngine::SaturatorEngine() {
  Configure(44100.0, 0, 0, 0.2, 0.5);
}

void SaturatorEngine::Configure(double fs, double driveDb, double response, double driftBase,
                                double asym) {
  SaturatorCoefficients& c = coefficients_;

  // Time constants. The post-filter undoes the pre-filter's tilt only approximately, which is
  // part of the sound.
  const double p = std::exp(-1 / (fs * 0.0017958 * 2));
  c.preCoeff = p;
  c.preFeedback = 1 - p;
  c.postGain = 1 / std::pow(p, 3.131);
  c.postFeedback = std::pow(1 - p, 3.131);
  c.threshold = 122;
  c.envelopeCoeff = std::exp(-1 / (fs * 0.0008));
  c.slope = -0.5238095238095238; // 1/2.1 − 1: a 2.1:1 ratio
  // The threshold sits at an envelope of exp(−122 / 8.69) ≈ 7.9e-7; 1 % below it the logarithm
  // cannot round across it.
  c.idleBelow = std::exp(-c.threshold / kNepersToDecibels) * 0.99;
  const double idle = 25.0;
  c.idleGain = idle / std::sqrt(idle * idle + 1);

  // Drive. The 14 kHz lift grows with asymmetry and shrinks as the drive rises.
  c.driveTarget = std::exp(driveDb * kDecibelsToNepers);
  c.evenAmount = (driveDb + 40) * 0.0121875 + 0.0125;
  double t = 60 - (driveDb + 40);
  if (t < 0) t = 0;
  c.driveShelf =
      DesignOnePole(14000, fs, OnePoleMode::HighShelf, std::exp(t * asym * 0.17 * 0.115) - 1);

  // Tone: opposite shelves around the shaper, a darker low-pass below 0, air above 0.
  const double r = response;
  c.preEmphasis = DesignHighShelf(std::exp(r * 0.5 * kDecibelsToNepers), 14916.281919244338 / fs,
                                  0.4); // 2π × 2374 Hz
  c.deEmphasis = DesignHighShelf(std::exp(r * 0.5 * -kDecibelsToNepers), 21199.467226423923 / fs,
                                 0.4); // 2π × 3374 Hz
  const double lowpassHz = r > 0 ? 12000 : 12000 - std::pow(std::abs(r) * 0.05, 0.3) * 6000;
  c.toneLowpass = DesignOnePole(lowpassHz, fs, OnePoleMode::Lowpass, 0);
  c.lowPeak = DesignPeak(351.85837720205683 / fs, // 2π × 56 Hz
                         1.8, std::abs(r) * 0.05 + (30 - (driveDb + 40)) * 0.02);
  const double air = r > 0 ? r * 0.7 : 0;
  c.airShelf = DesignOnePole(10000, fs, OnePoleMode::HighShelf, std::exp(air * 0.115) - 1);

  // Drift: among 0.25, 0.5, 0.75 and 1.0 with a 5 ms time constant.
  RandomDrift& drift = shared_.drift;
  drift.steps = 4;
  drift.stepSize = 0.25;
  const double e = std::exp(-1 / (fs * 0.005));
  drift.coeff = e;
  drift.feed = 1 - e;
  c.driftDepth = std::pow(driftBase, 5) * 0.5;

  // Asymmetry.
  c.posScale = 1 - asym * 0.1;
  c.posScaleInv = 1 / c.posScale;
  c.negScale = 1.1 - asym * 0.9;
  c.negScaleInv = 1 / c.negScale;
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
