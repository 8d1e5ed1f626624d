#pragma once
// Polyphase IIR half-band low-pass for 2× oversampling: two cascades of six first-order allpass
// sections in the squared variable, one of them delayed by a sample, averaged. Twelfth order and
// steep; one instance interpolates (fed with the zero-stuffed signal), another decimates.
//
// Each allpass section computes y0 = (x − y2) × a + x2 over its own two previous inputs and
// outputs. A section's inputs are the previous section's outputs, so a cascade needs to remember
// only two samples per section plus two of the cascade input; both cascades of a half-band filter
// see the same input and share that history.

#include <array>

#include "effect/StereoLane.h"

namespace tavo {

inline constexpr std::array<double, 6> kHalfBandCoefficientsA = {
    0.036681502163648017, 0.2746317593794541, 0.5610989697879195,
    0.769741833862266,    0.8922608180038789, 0.962094548378084};
inline constexpr std::array<double, 6> kHalfBandCoefficientsB = {
    0.13654762463195771, 0.42313861743656667, 0.6775400499741616,
    0.839889624849638,   0.9315419599631839,  0.9878163707328971};

// One cascade's outputs: y0 (latest) and y1 (the one before) of each section. Input history is
// kept by the owner. Holds nothing but samples.
template <class T> struct AllpassCascade {
  std::array<T, 6> y0{}, y1{};

  // [audio thread · no allocation] x is the new input, x2 the cascade input of two calls ago.
  // No flush here: the owner's dither keeps these states well away from subnormals.
  T Process(const std::array<double, 6>& a, T x, T x2) {
    for (int k = 0; k < 6; ++k) {
      const T y = (x - y1[k]) * T(a[k]) + x2;
      x2 = y1[k]; // this section's output of two calls ago is the next section's x2
      y1[k] = y0[k];
      y0[k] = y;
      x = y;
    }
    return x;
  }
};

// One phase of a cascade. The sections work in z^-2, so the even and the odd samples of the
// oversampled stream form two independent recursions: `y` holds the phase's own previous output
// of each section, x2 the phase's previous cascade input. Used by owners that know one phase to
// be constant or unused (see OversampledCore); the coefficients are doubles, or values of the
// sample type where its lanes run different cascades side by side.
// [audio thread · no allocation]
template <class T, class C>
TAVO_ALWAYS_INLINE inline T ProcessAllpassPhase(const std::array<C, 6>& a, std::array<T, 6>& y, T x,
                                                T x2) {
  for (int k = 0; k < 6; ++k) {
    const T out = (x - y[k]) * T(a[k]) + x2;
    x2 = y[k];
    y[k] = out;
    x = out;
  }
  return x;
}

template <class T> struct HalfBandFilter {
  T x0{}, x1{}; // latest two inputs, shared by both cascades
  AllpassCascade<T> cascadeA, cascadeB;
  T delayed{};

  // [audio thread · no allocation] One call per sample at the oversampled rate.
  T Process(T x) {
    const T a = cascadeA.Process(kHalfBandCoefficientsA, x, x1);
    const T y = (a + delayed) * T(0.5);
    delayed = cascadeB.Process(kHalfBandCoefficientsB, x, x1);
    x1 = x0;
    x0 = x;
    return y;
  }
};

} // namespace tavo
