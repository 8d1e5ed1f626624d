#include "effect/SignalChain.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>

#include "effect/DspConstants.h"

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

// A trimmed input sample as the chain takes it: infinities, NaNs and samples at or above
// kLoudestInput are damaged and taken as silence.
double SaneOrZero(double v) {
  return std::abs(v) < kLoudestInput ? v : 0.0;
}

// VU Mode truncated toward zero; values outside the parameter's range fall back to its ends.
std::int32_t MeterMode(double v) {
  if (!(v >= 0)) return 0;
  if (v >= 2) return 2;
  return static_cast<std::int32_t>(v);
}

} // namespace

SignalChain::SignalChain() = default;

void SignalChain::Reset(double sampleRate) {
  const double fs = UsableSampleRate(sampleRate);
  resetSampleRate_ = fs;
  saturator_.Configure(fs, kResetDriveDb, kResetResponse, kResetDriftBase, kResetAsymmetry);
  setUpValid_ = false; // the engine now holds other coefficients than the last block's
  meter_.ClearDifference();
  rampGain_ = 1.0;
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
  saturator_.Configure(fs, driveDb, s.freqResponse,
                       s.inputTrimDb * kDriftBasePerTrimDb + kDriftBaseAtZeroTrim,
                       s.asymmetry * kAsymmetryKnobScale);
}

template <class Lane>
void SignalChain::ProcessWith(const ChainSettings& s, double sampleRate, bool stereo,
                              const double* const* in, double* const* out, int frames) {
  SetUp(s, UsableSampleRate(sampleRate));
  if (frames <= 0 || in == nullptr || out == nullptr || in[0] == nullptr || out[0] == nullptr)
    return;
  if (stereo) {
    if (in[1] == nullptr || out[1] == nullptr) return;
    Run<Lane>(in, out, frames);
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

bool SignalChain::StatesFinite() const {
  const auto finite = [](const ChainChannel<double>& c) {
    return AllFinite({c.crosstalk.y1, c.crosstalk.y2, c.crosstalk.x1, c.crosstalk.x2,
                      c.noiseShelf.y1, c.noiseShelf.y2, c.noiseShelf.x1, c.noiseShelf.x2});
  };
  return saturator_.StatesFinite() && meter_.DetectorsFinite() && finite(left_) && finite(right_);
}

void SignalChain::StartOver() {
  saturator_ = SaturatorEngine();
  left_ = right_ = {};
  noiseLeft_ = noiseRight_ = {};
  meter_.ClearDetectors();
  rampGain_ = 1.0; // as after Reset
  wetMix_ = 0;     // the engine's share fades in again
  setUpValid_ = false;
}

// Both paths run a block in runs of up to kRun frames, each run in two passes: first the per-frame
// front (trim, ramp, crossfade amount, crosstalk and the engine's front stage, which carries the
// drive smoother, drift and leveller from frame to frame) interleaved with the engine's
// oversampled core one frame behind, then the back (the engine's post chain, mix, clamp, noise,
// ramp, meter). Every state still sees its frames in order, so the samples are exactly those of a
// frame-by-frame loop; the arrangement only lets the processor overlap long computations of
// neighbouring frames.
//
// The loop is written once over its sample type: double for the mono path (one channel, the left
// records), a lane type for the stereo path (both channels side by side). The two differ only in
// how a frame comes in and goes out, in the crosstalk (stereo only) and in the output flush.
constexpr int kRun = kChainRunFrames;

template <class T> void SignalChain::Run(const double* const* in, double* const* out, int frames) {
  constexpr bool kMono = std::is_same_v<T, double>;
  using Kernel = SaturatorKernel<T>;
  Kernel engine = [this] {
    if constexpr (kMono)
      return saturator_.BeginMono();
    else
      return saturator_.BeginStereo<T>();
  }();
  ChainChannel<T> ch = [this] {
    if constexpr (kMono)
      return left_;
    else
      return PackLanes<ChainChannel, T>(left_, right_);
  }();
  VuMeter meter = meter_;
  NoiseSource noiseL = noiseLeft_;
  NoiseSource noiseR = noiseRight_;
  double ramp = rampGain_;
  double wet = wetMix_;
  const double inputGain = inputGain_;
  const T outputGain(outputGain_);
  const double noiseLevel = noiseLevel_;
  const double wetStep = bypassed_ ? 0.0 : kWetStep;
  const bool crosstalk = !kMono && crosstalkEnabled_;
  const BiquadCoefficients crosstalkShelf = crosstalkToLeft_.coefficients;
  const T crosstalkLevel = [](const auto& toLeft, const auto& toRight) {
    if constexpr (kMono)
      return 0.0;
    else
      return T(toLeft.level, toRight.level);
  }(crosstalkToLeft_, crosstalkToRight_);
  const BiquadCoefficients noiseShelf = noiseShelf_;
  const bool meterShowsInput = meter.vuMode() == 0;
  const double* inL = in[0];
  const double* inR = kMono ? nullptr : in[1];
  double* outL = out[0];
  double* outR = kMono ? nullptr : out[1];

  for (int start = 0; start < frames; start += kRun) {
    const int n = frames - start < kRun ? frames - start : kRun;
    T dry[kRun], core[kRun];
    double rampAt[kRun], wetAt[kRun];
    typename Kernel::Front front[kRun];

    for (int i = 0; i < n; ++i) {
      if (ramp <= 1.0) ramp += kRampStep;
      T x;
      // The two paths group the trim product differently; each keeps its own rounding.
      if constexpr (kMono) {
        x = SaneOrZero(inL[start + i] * inputGain * ramp);
      } else {
        const double g = inputGain * ramp;
        x = T(SaneOrZero(inL[start + i] * g), SaneOrZero(inR[start + i] * g));
      }
      wet = wet * kWetSmoothing + wetStep;
      dry[i] = x;
      rampAt[i] = ramp;
      wetAt[i] = wet;
      T s = x;
      if constexpr (!kMono) {
        if (crosstalk) {
          // Each channel receives the other one through the shelf: the left lane of the
          // crosstalk state runs on the right input and the right lane on the left input.
          const T c = ProcessBiquad(crosstalkShelf, ch.crosstalk, x.Swapped());
          s = x + crosstalkLevel * c;
        }
      }
      front[i] = engine.ProcessFront(s);
      // The previous frame's core is independent of this frame's front: interleaved, the
      // leveller's long serial chain of logarithm, exponential, root and division overlaps
      // with the oversampled core's arithmetic.
      if (i > 0) core[i - 1] = engine.ProcessCore(front[i - 1].w);
    }
    core[n - 1] = engine.ProcessCore(front[n - 1].w);
    for (int i = 0; i < n; ++i) {
      const T x = dry[i];
      const T y = engine.ProcessBack(core[i], front[i]);
      // The dry part is taken before the crosstalk.
      T o = Clamp(y * outputGain * T(wetAt[i]) + x * T(1 - wetAt[i]), -kClamp, kClamp);
      T noise;
      if constexpr (kMono) {
        noise = noiseL.Next() * noiseLevel;
      } else {
        const double nL = noiseL.Next() * noiseLevel;
        noise = T(nL, noiseR.Next() * noiseLevel);
      }
      o = ProcessBiquad(noiseShelf, ch.noiseShelf, noise) + o;
      // Mono flushes only subnormals and non-finite values, stereo everything below 2^-54 too.
      if constexpr (kMono) {
        o = FlushSubnormalOrNonFinite(o * rampAt[i]);
        outL[start + i] = o;
        meter.Step(meterShowsInput ? x : o, x, o);
      } else {
        o = FlushTinyOrNonFinite(o * T(rampAt[i]));
        const double oL = o.Left();
        const double oR = o.Right();
        outL[start + i] = oL;
        outR[start + i] = oR;
        const double midIn = (x.Right() + x.Left()) * 0.5;
        const double midOut = (oL + oR) * 0.5;
        meter.Step(meterShowsInput ? midIn : midOut, midIn, midOut);
      }
    }
  }

  if constexpr (kMono) {
    saturator_.EndMono(engine);
    left_ = ch;
  } else {
    saturator_.EndStereo(engine);
    UnpackLanes<ChainChannel, T>(ch, left_, right_);
  }
  meter_ = meter;
  noiseLeft_ = noiseL;
  noiseRight_ = noiseR;
  rampGain_ = ramp;
  wetMix_ = wet;
}

template void SignalChain::ProcessWith<ScalarPair>(const ChainSettings&, double, bool,
                                                   const double* const*, double* const*, int);
#if TAVO_HAVE_SSE2
template void SignalChain::ProcessWith<Sse2Pair>(const ChainSettings&, double, bool,
                                                 const double* const*, double* const*, int);
#endif

} // namespace tavo
