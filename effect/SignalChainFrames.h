#pragma once
// The frame loops of SignalChain. Two units compile this same source: SignalChain.cpp for the
// baseline (mono, scalar and SSE2 lanes) and, on x86-64, SignalChainAvx2.cpp for the AVX2 lanes.
// Include it from nowhere else.

#include <array>
#include <cmath>
#include <type_traits>

#include "effect/DspConstants.h"
#include "effect/SignalChain.h"
#include "effect/SkewedLoop.h"

namespace tavo {

namespace {

// A trimmed input sample as the chain takes it: infinities, NaNs and samples at or above
// kLoudestInput are damaged and taken as silence. Internal to each unit that compiles the loops.
inline double SaneOrZero(double v) {
  return std::abs(v) < kLoudestInput ? v : 0.0;
}

} // namespace

// A block runs in one pass of five stages, each a frame behind the one before (SkewedLoop.h): the
// front of frame i (trim, ramp, crossfade amount, crosstalk and the engine's front stage, which
// carries the drive smoother, drift and leveller from frame to frame), the interpolation and
// shaping of frame i − 1, the decimation of frame i − 2, the first half of the engine's post chain
// for frame i − 3 and, for frame i − 4, its second half with mix, clamp, noise floor, ramp, output
// and meter. The arrangement lets the processor work on the later stages of earlier frames while
// the leveller's long serial chain of power curve and division runs for the current one: each
// stage's own chain of dependent operations is short enough to finish within it.
//
// The loop is written once over its sample type: double for the mono path (one channel, the left
// records), a lane type for the stereo path (both channels side by side). The two differ only in
// how a frame comes in and goes out, in the crosstalk (stereo only) and in the output flush.

// The stages of one block over T, named; Run lists them. Each keeps what it hands to the later
// stages in a ring indexed by frame number, so frames pass from stage to stage through a few slots
// instead of block-long arrays. Block-wide values are copied in at the start so that the frame
// loop works on local state no input or output pointer can alias, and written back by Finish.
template <class T> class SignalChain::FrameStages {
public:
  static constexpr bool kMono = std::is_same_v<T, double>;
  using Kernel = SaturatorKernel<T>;

  // What one frame hands from stage to stage, in a ring indexed by frame number: a power of two
  // above the five frames in flight.
  struct Slot {
    T dry, core, early;
    typename Kernel::Shaped shaped;
    double rampAt, wetAt;
    typename Kernel::Front front;
  };
  static constexpr int kSlots = 8;
  using Ring = std::array<Slot, kSlots>;

  FrameStages(SignalChain& chain, ChainStates::Working<T>& copy, Ring& ring,
              const double* const* in, double* const* out)
      : ring_(ring), chain_(chain), engine_(copy.engine), ch_(copy.channels), meter_(chain.meter_),
        noiseL_(chain.noiseLeft_), noiseR_(chain.noiseRight_), ramp_(chain.rampGain_),
        wet_(chain.wetMix_), inputGain_(chain.inputGain_), outputGain_(chain.outputGain_),
        noiseLevel_(chain.noiseLevel_), wetStep_(chain.bypassed_ ? 0.0 : kWetStep),
        crosstalk_(!kMono && chain.crosstalkEnabled_),
        crosstalkShelf_(chain.crosstalkToLeft_.coefficients),
        crosstalkLevel_(CrosstalkLevels(chain.crosstalkToLeft_, chain.crosstalkToRight_)),
        noiseShelf_(chain.noiseShelf_), meterShowsInput_(meter_.vuMode() == 0), inL_(in[0]),
        inR_(kMono ? nullptr : in[1]), outL_(out[0]), outR_(kMono ? nullptr : out[1]) {}

  // Trim, ramp, crossfade amount, crosstalk and the engine's front stage, which carries the drive
  // smoother, drift and leveller from frame to frame.
  TAVO_ALWAYS_INLINE void Front(int i) {
    const int k = Slot(i);
    if (ramp_ <= 1.0) ramp_ += kRampStep;
    // The two paths group the trim product differently; each keeps its own rounding.
    const T x = [&] {
      if constexpr (kMono) {
        return SaneOrZero(inL_[i] * inputGain_ * ramp_);
      } else {
        const double g = inputGain_ * ramp_;
        return T(SaneOrZero(inL_[i] * g), SaneOrZero(inR_[i] * g));
      }
    }();
    wet_ = wet_ * kWetSmoothing + wetStep_;
    ring_[k].dry = x;
    ring_[k].rampAt = ramp_;
    ring_[k].wetAt = wet_;
    T s = x;
    if constexpr (!kMono) {
      if (crosstalk_) {
        // Each channel receives the other one through the shelf: the left lane of the
        // crosstalk state runs on the right input and the right lane on the left input.
        const T c = ProcessBiquad(crosstalkShelf_, ch_.crosstalk, x.Swapped());
        s = x + crosstalkLevel_ * c;
      }
    }
    ring_[k].front = engine_.ProcessFront(s);
  }

  // Interpolation and shaping.
  TAVO_ALWAYS_INLINE void Shape(int i) {
    const int k = Slot(i);
    ring_[k].shaped = engine_.ProcessUp(ring_[k].front.w);
  }

  TAVO_ALWAYS_INLINE void Decimate(int i) {
    const int k = Slot(i);
    ring_[k].core = engine_.ProcessDown(ring_[k].shaped);
  }

  // The first half of the engine's post chain.
  TAVO_ALWAYS_INLINE void PostEarly(int i) {
    const int k = Slot(i);
    ring_[k].early = engine_.ProcessBackEarly(ring_[k].core, ring_[k].front);
  }

  // The second half of the post chain, mix, clamp, noise floor, ramp, output and meter.
  TAVO_ALWAYS_INLINE void PostLateAndOutput(int i) {
    const int k = Slot(i);
    const T x = ring_[k].dry;
    const T y = engine_.ProcessBackLate(ring_[k].early, ring_[k].front);
    // The dry part is taken before the crosstalk.
    const double wet = ring_[k].wetAt;
    T o = Clamp(y * outputGain_ * T(wet) + x * T(1 - wet), -kClamp, kClamp);
    if constexpr (kMono) {
      o = ProcessBiquad(noiseShelf_, ch_.noiseShelf, noiseL_.Next() * noiseLevel_) + o;
      // Mono flushes only subnormals and non-finite values.
      o = FlushSubnormalOrNonFinite(o * ring_[k].rampAt);
      outL_[i] = o;
      meter_.Step(meterShowsInput_ ? x : o, x, o);
    } else {
      const double nL = noiseL_.Next() * noiseLevel_;
      const T noise(nL, noiseR_.Next() * noiseLevel_);
      o = ProcessBiquad(noiseShelf_, ch_.noiseShelf, noise) + o;
      // Stereo flushes everything below 2^-54 too.
      o = FlushTinyOrNonFinite(o * T(ring_[k].rampAt));
      const double oL = o.Left();
      const double oR = o.Right();
      outL_[i] = oL;
      outR_[i] = oR;
      const double midIn = (x.Right() + x.Left()) * 0.5;
      const double midOut = (oL + oR) * 0.5;
      meter_.Step(meterShowsInput_ ? midIn : midOut, midIn, midOut);
    }
  }

  // Hands the block-wide values back to the chain.
  void Finish() {
    chain_.meter_ = meter_;
    chain_.noiseLeft_ = noiseL_;
    chain_.noiseRight_ = noiseR_;
    chain_.rampGain_ = ramp_;
    chain_.wetMix_ = wet_;
  }

private:
  static int Slot(int frame) { return frame & (kSlots - 1); }

  static T CrosstalkLevels(const CrosstalkFilter& toLeft, const CrosstalkFilter& toRight) {
    if constexpr (kMono)
      return 0.0;
    else
      return T(toLeft.level, toRight.level);
  }

  Ring& ring_;
  SignalChain& chain_;
  Kernel& engine_;
  ChainChannel<T>& ch_;
  VuMeter meter_;
  NoiseSource noiseL_, noiseR_;
  double ramp_, wet_;
  const double inputGain_;
  const T outputGain_;
  const double noiseLevel_, wetStep_;
  const bool crosstalk_;
  const BiquadTaps<T> crosstalkShelf_;
  const T crosstalkLevel_;
  const BiquadTaps<T> noiseShelf_;
  const bool meterShowsInput_;
  const double* inL_;
  const double* inR_;
  double* outL_;
  double* outR_;
};

template <class T> void SignalChain::Run(const double* const* in, double* const* out, int frames) {
  // The ring lives apart from the stages' block-wide values, so that the compiler can keep those in
  // registers rather than beside the ring in memory.
  typename FrameStages<T>::Ring ring;
  FrameStages<T> stages(*this, states_.For<T>(), ring, in, out);
  RunSkewed(
      frames, [&](int i) TAVO_ALWAYS_INLINE { stages.Front(i); },
      [&](int i) TAVO_ALWAYS_INLINE { stages.Shape(i); },
      [&](int i) TAVO_ALWAYS_INLINE { stages.Decimate(i); },
      [&](int i) TAVO_ALWAYS_INLINE { stages.PostEarly(i); },
      [&](int i) TAVO_ALWAYS_INLINE { stages.PostLateAndOutput(i); });
  stages.Finish();
}

} // namespace tavo
