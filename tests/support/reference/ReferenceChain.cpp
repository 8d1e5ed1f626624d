#include "tests/support/reference/ReferenceChain.h"

#include <cmath>

#include "effect/Biquad.h"
#include "effect/CrosstalkFilter.h"
#include "effect/Flush.h"
// The leveller's power curve is the product's own: it rounds alike on every platform, which the C
// library's logarithm and exponential do not (LevellerCurveTest checks it against them).
#include "effect/LevellerCurve.h"
#include "effect/OnePoleFilter.h"

namespace tavo::reference {

Engine::Engine() {
  Configure(44100.0, 0, 0, 0.2, 0.5);
}

void Engine::Configure(double fs, double driveDb, double r, double driftBase, double asym) {
  oversampling = 2;
  const double p = std::exp(-1 / (fs * 0.0017958 * 2));
  preCoeff = p;
  preFeedback = 1 - p;
  postGain = 1 / std::pow(p, 3.131);
  postFeedback = std::pow(1 - p, 3.131);
  threshold = 122;
  envelopeCoeff = std::exp(-1 / (fs * 0.0008));
  slope = -0.5238095238095238;
  driveTarget = std::exp(driveDb * 0.1151292546497);
  evenAmount = (driveDb + 40) * 0.0121875 + 0.0125;
  double t = 60 - (driveDb + 40);
  if (t < 0) t = 0;
  const auto drive =
      DesignOnePole(14000, fs, OnePoleMode::HighShelf, std::exp(t * asym * 0.17 * 0.115) - 1);
  driveShelfLeft.Set(drive);
  driveShelfRight.Set(drive);
  const auto pre =
      DesignHighShelf(std::exp(r * 0.5 * 0.1151292546497), 14916.281919244338 / fs, 0.4);
  preEmphasisLeft.Set(pre);
  preEmphasisRight.Set(pre);
  const auto de =
      DesignHighShelf(std::exp(r * 0.5 * -0.1151292546497), 21199.467226423923 / fs, 0.4);
  deEmphasisLeft.Set(de);
  deEmphasisRight.Set(de);
  const double J = r > 0 ? 12000 : 12000 - std::pow(std::abs(r) * 0.05, 0.3) * 6000;
  const auto lp = DesignOnePole(J, fs, OnePoleMode::Lowpass, 0);
  toneLowpassLeft.Set(lp);
  toneLowpassRight.Set(lp);
  const auto peak =
      DesignPeak(351.85837720205683 / fs, 1.8, std::abs(r) * 0.05 + (30 - (driveDb + 40)) * 0.02);
  lowPeakLeft.Set(peak);
  lowPeakRight.Set(peak);
  const double amount = r > 0 ? r * 0.7 : 0;
  const auto air = DesignOnePole(10000, fs, OnePoleMode::HighShelf, std::exp(amount * 0.115) - 1);
  airShelfLeft.Set(air);
  airShelfRight.Set(air);
  steps = 4;
  stepSize = 0.25;
  const double e = std::exp(-1 / (fs * 0.005));
  coeff = e;
  feed = 1 - e;
  driftDepth = std::pow(driftBase, 5) * 0.5;
  posScale = 1 - asym * 0.1;
  posScaleInv = 1 / posScale;
  negScale = 1.1 - asym * 0.9;
  negScaleInv = 1 / negScale;
}

// R = r² for r = 25 × exp(slope × L dB), L = 8.69 ln envelope + threshold when above 0.
double Engine::LevelRatio(double added) {
  envelope = envelope * envelopeCoeff + added;
  const double R = LevelRatioCurve(std::abs(envelope));
  return R < 625 ? R : 625;
}

double Engine::LevelGain(double p) {
  const double R = LevelRatio(p * (1 - envelopeCoeff));
  return std::sqrt(R / (R + 1));
}

double Engine::Shape(double s, bool positive) const {
  const double q = s * s;
  if (positive) {
    const double t = posScale * s;
    return t / std::sqrt(t * t + 1) * posScaleInv - q / std::sqrt(q * q + 1) * evenAmount;
  }
  const double h = negScale * q;
  return s / std::sqrt(q + 1) - h / std::sqrt(h * h + 1) * (negScaleInv * evenAmount);
}

void Engine::Drift() {
  if (std::abs(value - target) <= 0.1) target = (random.Next() % steps + 1) * stepSize;
  value = coeff * value + feed * target;
  value = FlushTiny(value);
}

double Engine::Oversampled(double w, HalfBand& up, HalfBand& down, double& preState,
                           double& shapedPrev) {
  double y = 0;
  for (int i = 0; i < oversampling; ++i) {
    double u = i == 0 ? oversampling * w : 0;
    u = up.Process(u);
    preState = preCoeff * u + preFeedback * preState;
    const double D = Shape(preState, u > 0);
    const double e = (D - postFeedback * shapedPrev) * postGain;
    shapedPrev = D;
    const double v = down.Process(e);
    if (i == 0) y = v;
  }
  return y;
}

void Engine::ProcessStereo(double xL, double xR, double& outL, double& outR) {
  driveGain = driveTarget * 0.0010000000000000009 + driveGain * 0.999;
  makeup = 0.28061551207734 / driveGain;
  double wL = driveGain * xL + ditherLeft.Next() * 1e-11;
  double wR = driveGain * xR + ditherRight.Next() * 1e-11;
  wL = preEmphasisLeft.Process(wL);
  wR = preEmphasisRight.Process(wR);
  Drift();
  const double m = driftDepth * value + 1;
  driftGainLeft = driftGainRight = m;
  wL = wL * m;
  wR = wR * m;
  const double R = LevelRatio(pending);
  const double g = std::sqrt(R / (R + 1));
  // The leveller hears 0.05 × (wR + wL) × g: its power is (0.05 × (wR + wL))² × R / (R + 1).
  const double f = (wR + wL) * 0.05;
  pending = f * f * (1 - envelopeCoeff) * R / (R + 1);
  wL = wL * g * 4;
  wR = wR * g * 4;
  double yL = Oversampled(wL, upLeft, downLeft, preStateLeft, shapedPrevLeft);
  double yR = Oversampled(wR, upRight, downRight, preStateRight, shapedPrevRight);
  yL = yL * makeup;
  yR = yR * makeup;
  yL = driveShelfLeft.Process(airShelfLeft.Process(
      lowPeakLeft.Process(toneLowpassLeft.Process(deEmphasisLeft.Process(yL)))));
  yR = driveShelfRight.Process(airShelfRight.Process(
      lowPeakRight.Process(toneLowpassRight.Process(deEmphasisRight.Process(yR)))));
  yR = yR / driftGainRight;
  yL = yL / driftGainLeft;
  dcLeft = dcLeft * 0.999 + yL - dcPrevLeft;
  dcPrevLeft = yL;
  dcLeft = FlushTiny(dcLeft);
  yL = dcLeft;
  dcRight = dcRight * 0.999 + yR - dcPrevRight;
  dcPrevRight = yR;
  dcRight = FlushTiny(dcRight);
  yR = dcRight;
  outL = FlushTiny(yL);
  outR = FlushTiny(yR);
}

double Engine::ProcessMono(double x) {
  driveGain = driveTarget * 0.0010000000000000009 + driveGain * 0.999;
  makeup = 0.28061551207734 / driveGain;
  double w = driveGain * x + ditherLeft.Next() * 1e-11;
  w = preEmphasisLeft.Process(w);
  Drift();
  const double m = driftDepth * value + 1;
  driftGainLeft = m;
  w = w * m;
  const double R = LevelRatio(pending);
  const double g = std::sqrt(R / (R + 1));
  const double f = 0.1 * w;
  pending = f * f * (1 - envelopeCoeff) * R / (R + 1);
  w = (w * g) * 4;
  double y = Oversampled(w, upLeft, downLeft, preStateLeft, shapedPrevLeft);
  y = y * makeup;
  y = driveShelfLeft.Process(airShelfLeft.Process(
      lowPeakLeft.Process(toneLowpassLeft.Process(deEmphasisLeft.Process(y)))));
  y = y / driftGainLeft;
  dcLeft = dcLeft * 0.999 + y - dcPrevLeft;
  dcPrevLeft = y;
  dcLeft = FlushTiny(dcLeft);
  return FlushTiny(dcLeft);
}

void Chain::Reset(double fs) {
  resetSampleRate = fs;
  saturator.Configure(fs, 0, 0, 0.2, 0.5);
  rmsDifference = 0;
  rampGain = 1.0;
}

void Chain::MeterStep(double m, double a, double b) {
  vuRectifier = vuRectifier * cA + std::abs(m) * (cB * 2);
  if (vuRectifier > vuLevel)
    vuLevel = (vuLevel - vuRectifier) * vuAttack + vuRectifier;
  else
    vuLevel = (vuLevel - vuRectifier) * vuRelease + vuRectifier;
  vuLevel = FlushTiny(vuLevel);
  meterValue = vuLevel;
  rmsInPower = a * (1 - rmsCoeff) * a + rmsInPower * rmsCoeff;
  rmsIn = std::sqrt(rmsInPower);
  rmsOutPower = b * (1 - rmsCoeff) * b + rmsOutPower * rmsCoeff;
  rmsOut = std::sqrt(rmsOutPower);
  if (rmsOut < 1e-06) rmsOut = 0;
  rmsDifference = std::log(std::abs(rmsOut)) * 8.685889638065037 -
                  std::log(std::abs(rmsIn)) * 8.685889638065037;
  rmsDifference = FlushTiny(rmsDifference);
}

void Chain::Process(const ChainSettings& s, double fs, bool stereo, const double* const* in,
                    double* const* out, int frames) {
  vuAttack = vuRelease = std::pow(0.01, 1 / (fs * 0.001 * 300));
  const double S = 1 / (fs * 3 + 6.283185307179586);
  cA = (fs * 3 - 6.283185307179586) * S;
  cB = S * 6.283185307179586;
  rmsCoeff = std::exp(-1 / (fs * 0.6));
  const double driveDb = DriveToDb(s.drive);
  noiseLevel = std::exp(s.inputTrimDb * 0.1 * 0.1151292546497 - 10.361632918473001);
  const auto shelf = DesignHighShelf(std::exp((driveDb * 0.25 - 14) * 0.1151292546497),
                                     5340.707511102648 / resetSampleRate, 0.2);
  noiseShelfLeft.Set(shelf);
  noiseShelfRight.Set(shelf);
  CrosstalkFilter toLeft, toRight;
  toLeft.DesignLowShelf(867, resetSampleRate, 0.24, -3.1, s.crosstalkDb);
  toRight.DesignLowShelf(867, resetSampleRate, 0.24, -3.1, s.crosstalkDb + 1);
  crosstalkToLeft.Set(toLeft.coefficients);
  crosstalkToRight.Set(toRight.coefficients);
  levelToLeft = toLeft.level;
  levelToRight = toRight.level;
  vuMode = static_cast<int>(s.vuMode);
  saturator.Configure(fs, driveDb, s.freqResponse, s.inputTrimDb * 0.01 + 0.2, s.asymmetry * 0.1);

  for (int i = 0; i < frames; ++i) {
    if (rampGain <= 1.0) rampGain = rampGain + 0.0001;
    const double wetStep = bypassed ? 0 : 0.010000000000000009;
    if (!stereo) {
      double x = in[0][i] * inputGain * rampGain;
      if (!std::isfinite(x)) x = 0;
      wetMix = wetMix * 0.99 + wetStep;
      const double y = saturator.ProcessMono(x);
      double o = y * outputGain * wetMix + (1 - wetMix) * x;
      if (o < -20) o = -20;
      if (o > 20) o = 20;
      const double n = noiseLeft.Next() * noiseLevel;
      const double f = noiseShelfLeft.Process(n);
      o = (f + o) * rampGain;
      o = FlushTiny(o);
      out[0][i] = o;
      MeterStep(vuMode == 0 ? x : o, x, o);
      continue;
    }
    const double g = inputGain * rampGain;
    double xL = in[0][i] * g;
    double xR = in[1][i] * g;
    if (!std::isfinite(xL)) xL = 0;
    if (!std::isfinite(xR)) xR = 0;
    wetMix = wetMix * 0.99 + wetStep;
    double sL = xL, sR = xR;
    if (s.crosstalkDb > -120) {
      const double cR = crosstalkToRight.Process(xL);
      sR = xR + levelToRight * cR;
      const double cL = crosstalkToLeft.Process(xR);
      sL = xL + levelToLeft * cL;
    }
    double yL, yR;
    saturator.ProcessStereo(sL, sR, yL, yR);
    double oL = yL * outputGain * wetMix + xL * (1 - wetMix);
    double oR = outputGain * yR * wetMix + xR * (1 - wetMix);
    if (oL < -20) oL = -20;
    if (oL > 20) oL = 20;
    if (oR < -20) oR = -20;
    if (oR > 20) oR = 20;
    oL = noiseShelfLeft.Process(noiseLeft.Next() * noiseLevel) + oL;
    oR = noiseShelfRight.Process(noiseRight.Next() * noiseLevel) + oR;
    oL = oL * rampGain;
    oR = oR * rampGain;
    oL = FlushTinyOrNonFinite(oL);
    oR = FlushTinyOrNonFinite(oR);
    out[0][i] = oL;
    out[1][i] = oR;
    const double midIn = (xR + xL) * 0.5;
    const double midOut = (oL + oR) * 0.5;
    MeterStep(vuMode == 0 ? midIn : midOut, midIn, midOut);
  }
}

} // namespace tavo::reference
