#include "effect/SignalChain.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "effect/DspConstants.h"
#include "effect/SignalChainFrames.h"

namespace tavo {

namespace {

// A sample rate the filter designs can use. Anything but a positive finite number would turn every
// coefficient, and then every state, into NaN for good, and it is served as 44100 Hz. Below the
// lowest supported rate the 3374 Hz de-emphasis and the 850 Hz noise shelf would lie above the
// Nyquist frequency and turn unstable (the pre-filter's inverse grows without bound towards 1 Hz);
// far above the highest the designs degenerate into silence. Rates outside the range are served
// as the nearest supported rate.
double UsableSampleRate(double fs) {
  if (!(fs > 0) || !std::isfinite(fs)) return kDefaultSampleRate;
  if (fs < SignalChain::kLowestSampleRate) return SignalChain::kLowestSampleRate;
  if (fs > SignalChain::kHighestSampleRate) return SignalChain::kHighestSampleRate;
  return fs;
}

// VU Mode truncated toward zero; values outside the parameter's range fall back to its ends.
std::int32_t MeterMode(double v) {
  if (!(v >= 0)) return 0;
  if (v >= 2) return 2;
  return static_cast<std::int32_t>(v);
}

} // namespace

SignalChain::SignalChain(std::uint64_t driftSeed) : states_(driftSeed), driftSeed_(driftSeed) {}

void SignalChain::Reset(double sampleRate) {
  const double fs = UsableSampleRate(sampleRate);
  resetSampleRate_ = fs;
  states_.Configure(fs, kResetDriveDb, kResetResponse, kResetDriftBase, kResetAsymmetry);
  setUpValid_ = false; // the engine now holds other coefficients than the last block's
  meter_.ClearDifference();
  rampGain_ = 1.0;
}

void SignalChain::ClearHistory(double sampleRate) {
  StartOver();
  Reset(sampleRate);
}

void SignalChain::SetUp(const ChainSettings& s, double fs) {
  // Every coefficient is a pure function of the settings and the two sample rates, so when they
  // are bit for bit those of the previous block the previous coefficients stand.
  const SetUpInputs inputs{s, fs, resetSampleRate_};
  if (setUpValid_ && std::memcmp(&inputs, &setUpInputs_, sizeof inputs) == 0) return;
  setUpInputs_ = inputs;
  setUpValid_ = true;

  meter_.SetSampleRate(fs);

  const double driveDb = DriveToDb(s.drive);
  // −90 dB plus a tenth of the input trim.
  noiseLevel_ = std::exp(s.inputTrimDb * kNoiseTrimShare * kDecibelsToNepers - kNoiseFloorNepers);

  // The noise is flat at low frequencies and lower at the top: by 48 dB at Drive 0, by 18 dB at
  // Drive 10.
  const double shelfGain =
      std::exp((driveDb * kNoiseShelfDbPerDriveDb - kNoiseShelfDbOffset) * kDecibelsToNepers);
  noiseShelf_ =
      DesignHighShelf(shelfGain, kNoiseShelfRadiansPerSecond / resetSampleRate_, kNoiseShelfQ);

  // The right-to-left path is 1 dB quieter than the left-to-right one. Both shelves share their
  // coefficients; only the levels differ.
  crosstalkToLeft_.DesignLowShelf(kCrosstalkShelfHz, resetSampleRate_, kCrosstalkShelfQ,
                                  kCrosstalkShelfDb, s.crosstalkDb);
  crosstalkToRight_.DesignLowShelf(kCrosstalkShelfHz, resetSampleRate_, kCrosstalkShelfQ,
                                   kCrosstalkShelfDb, s.crosstalkDb + kCrosstalkIntoRightExtraDb);
  crosstalkEnabled_ = s.crosstalkDb > kCrosstalkOff;

  meter_.SetMode(MeterMode(s.vuMode));
  states_.Configure(fs, driveDb, s.freqResponse,
                    s.inputTrimDb * kDriftBasePerTrimDb + kDriftBaseAtZeroTrim,
                    s.asymmetry * kAsymmetryKnobScale);
}

bool SignalChain::StatesFinite() const {
  return states_.Finite() && meter_.DetectorsFinite();
}

void SignalChain::StartOver() {
  states_.StartOver(driftSeed_);
  noiseLeft_ = noiseRight_ = {};
  meter_.ClearDetectors();
  rampGain_ = 1.0; // as after Reset
  wetMix_ = 0;     // the engine's share fades in again
  setUpValid_ = false;
}

void SignalChain::ProcessOn(SimdPath path, const ChainSettings& s, double sampleRate, bool stereo,
                            const double* const* in, double* const* out, int frames) {
  SetUp(s, UsableSampleRate(sampleRate));
  if (frames <= 0 || in == nullptr || out == nullptr || in[0] == nullptr || out[0] == nullptr)
    return;
  if (stereo) {
    if (in[1] == nullptr || out[1] == nullptr) return;
    switch (path) {
    case SimdPath::Avx2:
#if TAVO_HAVE_AVX2_PATH
      if (SimdPathAvailable(SimdPath::Avx2)) {
        RunStereoAvx2(*this, in, out, frames);
        break;
      }
#endif
      [[fallthrough]];
    case SimdPath::Sse2:
#if TAVO_HAVE_SSE2
      Run<Sse2Pair>(in, out, frames);
      break;
#endif
      [[fallthrough]];
    case SimdPath::Scalar:
      Run<ScalarPair>(in, out, frames);
      break;
    }
  } else {
    Run<double>(in, out, frames);
  }
  // The last line of defence, checked once per block. Nothing that reaches the chain should make
  // a state infinite or NaN, but one that did would stay so for good: the block is then silenced
  // and the chain starts over as a new instance would.
  if (!StatesFinite()) {
    StartOver();
    std::fill_n(out[0], frames, 0.0);
    if (stereo) std::fill_n(out[1], frames, 0.0);
  }
  meter_.Settle();
}

} // namespace tavo
