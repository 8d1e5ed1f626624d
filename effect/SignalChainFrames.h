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

// A block runs in one pass of five stages, each a frame behind the one before: the front of frame
// i (trim, ramp, crossfade amount, crosstalk and the engine's front stage, which carries the drive
// smoother, drift and leveller from frame to frame), the interpolation and shaping of frame i − 1,
// the decimation of frame i − 2, the first half of the engine's post chain for frame i − 3 and,
// for frame i − 4, its second half with mix, clamp, noise floor, ramp, output and meter. Every
// state still sees its frames in order, so the samples are exactly those of a frame-by-frame
// loop. The arrangement lets the processor work on the later stages of earlier frames while the
// leveller's long serial chain of logarithm, exponential, root and division runs for the current
// one: each stage's own chain of dependent operations is short enough to finish within it.
// Frames pass from stage to stage through a ring of a few slots instead of block-long arrays.
//
// The loop is written once over its sample type: double for the mono path (one channel, the left
// records), a lane type for the stereo path (both channels side by side). The two differ only in
// how a frame comes in and goes out, in the crosstalk (stereo only) and in the output flush.

template <class T> SignalChain::WorkingCopy<T>& SignalChain::TakeWorkingCopy() {
  if (auto* copy = std::get_if<WorkingCopy<T>>(&working_)) return *copy;
  SettleWorkingCopy();
  if constexpr (std::is_same_v<T, double>)
    return working_.emplace<WorkingCopy<T>>(WorkingCopy<T>{saturator_.BeginMono(), left_});
  else
    return working_.emplace<WorkingCopy<T>>(
        WorkingCopy<T>{saturator_.BeginStereo<T>(), PackLanes<ChainChannel, T>(left_, right_)});
}

template <class T> void SignalChain::Run(const double* const* in, double* const* out, int frames) {
  constexpr bool kMono = std::is_same_v<T, double>;
  using Kernel = SaturatorKernel<T>;
  WorkingCopy<T>& copy = TakeWorkingCopy<T>();
  Kernel& engine = copy.engine;
  ChainChannel<T>& ch = copy.channels;
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
  const BiquadTaps<T> crosstalkShelf(crosstalkToLeft_.coefficients);
  const T crosstalkLevel = [](const auto& toLeft, const auto& toRight) {
    if constexpr (kMono)
      return 0.0;
    else
      return T(toLeft.level, toRight.level);
  }(crosstalkToLeft_, crosstalkToRight_);
  const BiquadTaps<T> noiseShelf(noiseShelf_);
  const bool meterShowsInput = meter.vuMode() == 0;
  const double* inL = in[0];
  const double* inR = kMono ? nullptr : in[1];
  double* outL = out[0];
  double* outR = kMono ? nullptr : out[1];

  // Frames in flight between the stages, in a ring indexed by frame number: a power of two
  // above the five of the pipeline.
  constexpr int kSlots = 8;
  T dry[kSlots], core[kSlots], early[kSlots];
  typename Kernel::Shaped shaped[kSlots];
  double rampAt[kSlots], wetAt[kSlots];
  typename Kernel::Front front[kSlots];

  const auto frontStage = [&](int i) TAVO_ALWAYS_INLINE {
    const int k = i & (kSlots - 1);
    if (ramp <= 1.0) ramp += kRampStep;
    // The two paths group the trim product differently; each keeps its own rounding.
    const T x = [&] {
      if constexpr (kMono) {
        return SaneOrZero(inL[i] * inputGain * ramp);
      } else {
        const double g = inputGain * ramp;
        return T(SaneOrZero(inL[i] * g), SaneOrZero(inR[i] * g));
      }
    }();
    wet = wet * kWetSmoothing + wetStep;
    dry[k] = x;
    rampAt[k] = ramp;
    wetAt[k] = wet;
    T s = x;
    if constexpr (!kMono) {
      if (crosstalk) {
        // Each channel receives the other one through the shelf: the left lane of the
        // crosstalk state runs on the right input and the right lane on the left input.
        const T c = ProcessBiquad(crosstalkShelf, ch.crosstalk, x.Swapped());
        s = x + crosstalkLevel * c;
      }
    }
    front[k] = engine.ProcessFront(s);
  };
  const auto upStage = [&](int i) TAVO_ALWAYS_INLINE {
    const int k = i & (kSlots - 1);
    shaped[k] = engine.ProcessUp(front[k].w);
  };
  const auto downStage = [&](int i) TAVO_ALWAYS_INLINE {
    const int k = i & (kSlots - 1);
    core[k] = engine.ProcessDown(shaped[k]);
  };
  const auto earlyStage = [&](int i) TAVO_ALWAYS_INLINE {
    const int k = i & (kSlots - 1);
    early[k] = engine.ProcessBackEarly(core[k], front[k]);
  };
  const auto backStage = [&](int i) TAVO_ALWAYS_INLINE {
    const int k = i & (kSlots - 1);
    const T x = dry[k];
    const T y = engine.ProcessBackLate(early[k], front[k]);
    // The dry part is taken before the crosstalk.
    T o = Clamp(y * outputGain * T(wetAt[k]) + x * T(1 - wetAt[k]), -kClamp, kClamp);
    if constexpr (kMono) {
      o = ProcessBiquad(noiseShelf, ch.noiseShelf, noiseL.Next() * noiseLevel) + o;
      // Mono flushes only subnormals and non-finite values.
      o = FlushSubnormalOrNonFinite(o * rampAt[k]);
      outL[i] = o;
      meter.Step(meterShowsInput ? x : o, x, o);
    } else {
      const double nL = noiseL.Next() * noiseLevel;
      const T noise(nL, noiseR.Next() * noiseLevel);
      o = ProcessBiquad(noiseShelf, ch.noiseShelf, noise) + o;
      // Stereo flushes everything below 2^-54 too.
      o = FlushTinyOrNonFinite(o * T(rampAt[k]));
      const double oL = o.Left();
      const double oR = o.Right();
      outL[i] = oL;
      outR[i] = oR;
      const double midIn = (x.Right() + x.Left()) * 0.5;
      const double midOut = (oL + oR) * 0.5;
      meter.Step(meterShowsInput ? midIn : midOut, midIn, midOut);
    }
  };

  // Filling the pipeline, running it full, draining it. Step i takes frame i in and moves each
  // earlier frame one stage on.
  const auto step = [&](int i) {
    if (i < frames) frontStage(i);
    if (i >= 1 && i - 1 < frames) upStage(i - 1);
    if (i >= 2 && i - 2 < frames) downStage(i - 2);
    if (i >= 3 && i - 3 < frames) earlyStage(i - 3);
    if (i >= 4 && i - 4 < frames) backStage(i - 4);
  };
  int i = 0;
  for (; i < 4; ++i)
    step(i);
  for (; i < frames; ++i) {
    frontStage(i);
    upStage(i - 1);
    downStage(i - 2);
    earlyStage(i - 3);
    backStage(i - 4);
  }
  for (; i < frames + 4; ++i)
    step(i);
  meter_ = meter;
  noiseLeft_ = noiseL;
  noiseRight_ = noiseR;
  rampGain_ = ramp;
  wetMix_ = wet;
}

} // namespace tavo
