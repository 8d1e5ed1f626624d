#pragma once
// The frame loops of SignalChain. Two units compile this same source: SignalChain.cpp for the
// baseline (mono, scalar and SSE2 lanes) and, on x86-64, SignalChainAvx2.cpp for the AVX2 lanes.
// Include it from nowhere else.

#include <cmath>
#include <type_traits>

#include "effect/DspConstants.h"
#include "effect/SignalChain.h"

namespace tavo {

namespace {

// A trimmed input sample as the chain takes it: infinities, NaNs and samples at or above
// kLoudestInput are damaged and taken as silence. Internal to each unit that compiles the loops.
inline double SaneOrZero(double v) {
  return std::abs(v) < kLoudestInput ? v : 0.0;
}

} // namespace

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

} // namespace tavo
