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

// The stereo path runs a block in one pass of three stages, each a frame behind the one before: the
// per-frame front of frame i (trim, ramp, crossfade amount, crosstalk and the engine's front
// stage, which carries the drive smoother, drift and leveller from frame to frame), the engine's
// oversampled core of frame i − 1 and the back of frame i − 2 (the engine's post chain, mix,
// clamp, noise, ramp, meter). Every state still sees its frames in order, so the samples are
// exactly those of a frame-by-frame loop; the arrangement only lets the processor work on the
// core and the back of earlier frames while the leveller's long serial chain of logarithm,
// exponential, root and division runs for the current one, and hands each frame from stage to
// stage through a few registers' worth of ring buffer instead of block-long arrays. The mono
// path interleaves only the front and the core, and runs the back in a second pass per run.
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

  if constexpr (kMono) {
    // One channel: runs of kMonoRun frames, the front interleaved with the core one frame
    // behind, then the back in a second pass. Measured faster for one channel than the stereo
    // path's single pass.
    constexpr int kMonoRun = 32;
    for (int start = 0; start < frames; start += kMonoRun) {
      const int n = frames - start < kMonoRun ? frames - start : kMonoRun;
      double dry[kMonoRun], core[kMonoRun], rampAt[kMonoRun], wetAt[kMonoRun];
      typename Kernel::Front front[kMonoRun];
      for (int i = 0; i < n; ++i) {
        if (ramp <= 1.0) ramp += kRampStep;
        const double x = SaneOrZero(inL[start + i] * inputGain * ramp);
        wet = wet * kWetSmoothing + wetStep;
        dry[i] = x;
        rampAt[i] = ramp;
        wetAt[i] = wet;
        front[i] = engine.ProcessFront(x);
        if (i > 0) core[i - 1] = engine.ProcessCore(front[i - 1].w);
      }
      core[n - 1] = engine.ProcessCore(front[n - 1].w);
      for (int i = 0; i < n; ++i) {
        const double x = dry[i];
        const double y = engine.ProcessBack(core[i], front[i]);
        double o = Clamp(y * outputGain * wetAt[i] + x * (1 - wetAt[i]), -kClamp, kClamp);
        o = ProcessBiquad(noiseShelf, ch.noiseShelf, noiseL.Next() * noiseLevel) + o;
        // Mono flushes only subnormals and non-finite values.
        o = FlushSubnormalOrNonFinite(o * rampAt[i]);
        outL[start + i] = o;
        meter.Step(meterShowsInput ? x : o, x, o);
      }
    }
  } else {
    // Frames in flight between the stages, in a ring indexed by frame number: a power of two
    // above the three of the pipeline.
    constexpr int kSlots = 4;
    T dry[kSlots], core[kSlots];
    double rampAt[kSlots], wetAt[kSlots];
    typename Kernel::Front front[kSlots];

    const auto frontStage = [&](int i) TAVO_ALWAYS_INLINE {
      const int k = i & (kSlots - 1);
      if (ramp <= 1.0) ramp += kRampStep;
      // The stereo path groups the trim product differently from the mono path; each keeps its
      // own rounding.
      const double g = inputGain * ramp;
      const T x(SaneOrZero(inL[i] * g), SaneOrZero(inR[i] * g));
      wet = wet * kWetSmoothing + wetStep;
      dry[k] = x;
      rampAt[k] = ramp;
      wetAt[k] = wet;
      T s = x;
      if (crosstalk) {
        // Each channel receives the other one through the shelf: the left lane of the
        // crosstalk state runs on the right input and the right lane on the left input.
        const T c = ProcessBiquad(crosstalkShelf, ch.crosstalk, x.Swapped());
        s = x + crosstalkLevel * c;
      }
      front[k] = engine.ProcessFront(s);
    };
    const auto coreStage = [&](int i) TAVO_ALWAYS_INLINE {
      const int k = i & (kSlots - 1);
      core[k] = engine.ProcessCore(front[k].w);
    };
    const auto backStage = [&](int i) TAVO_ALWAYS_INLINE {
      const int k = i & (kSlots - 1);
      const T x = dry[k];
      const T y = engine.ProcessBack(core[k], front[k]);
      // The dry part is taken before the crosstalk.
      T o = Clamp(y * outputGain * T(wetAt[k]) + x * T(1 - wetAt[k]), -kClamp, kClamp);
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
    };

    // Filling the pipeline, running it full, draining it.
    frontStage(0);
    if (frames > 1) {
      frontStage(1);
      coreStage(0);
    }
    for (int i = 2; i < frames; ++i) {
      frontStage(i);
      coreStage(i - 1);
      backStage(i - 2);
    }
    coreStage(frames - 1);
    if (frames > 1) backStage(frames - 2);
    backStage(frames - 1);
  }

  meter_ = meter;
  noiseLeft_ = noiseL;
  noiseRight_ = noiseR;
  rampGain_ = ramp;
  wetMix_ = wet;
}

} // namespace tavo
