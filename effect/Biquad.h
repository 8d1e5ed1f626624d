#pragma once
// Second-order sections in direct form I. Coefficients and states are kept apart so that two
// channels designed alike can share one coefficient set while their states run side by side in
// one lane (see StereoLane.h).

#include <cmath>

#include "effect/DspConstants.h"
#include "effect/StereoLane.h"

namespace tavo {

// b0, b1, b2, a1, a2 are already divided by the normaliser; a0 keeps the normaliser itself for
// reference and takes no part in processing.
struct BiquadCoefficients {
  double b0 = 0, b1 = 0, b2 = 0, a0 = 0, a1 = 0, a2 = 0;
};

// Past inputs and outputs of one section. Holds nothing but samples (see PackLanes).
template <class T> struct BiquadState { T y1{}, y2{}, x1{}, x2{}; };

// The coefficients in the form the frame loops use them: each already in the loop's sample type
// (for a lane type, one copy per lane), taken once per block so that the loop multiplies by them
// straight from memory instead of spreading each one across the lanes on every use.
template <class T> struct BiquadTaps {
  T b0, b1, b2, a1, a2;

  explicit BiquadTaps(const BiquadCoefficients& c)
      : b0(c.b0), b1(c.b1), b2(c.b2), a1(c.a1), a2(c.a2) {}
};

// [audio thread · no allocation] One sample through one section; T is double or a lane type.
template <class T> inline T ProcessBiquad(const BiquadTaps<T>& c, BiquadState<T>& s, T x) {
  T y = c.b1 * s.x1 + c.b0 * x + c.b2 * s.x2 - c.a1 * s.y1 - c.a2 * s.y2;
  y = FlushTiny(y);
  s.x2 = s.x1;
  s.x1 = x;
  s.y2 = s.y1;
  s.y1 = y;
  return y;
}
template <class T> inline T ProcessBiquad(const BiquadCoefficients& c, BiquadState<T>& s, T x) {
  return ProcessBiquad(BiquadTaps<T>(c), s, x);
}

// A complete single-channel section: coefficients followed by their states.
struct Biquad {
  BiquadCoefficients coefficients;
  BiquadState<double> state;

  // [audio thread · no allocation]
  double Process(double x) { return ProcessBiquad(coefficients, state, x); }
};

// High shelf for a linear factor A (of the shelf's decibel value itself, not of half of it): the
// response is 1 at 0 Hz and A² at the Nyquist frequency. w in radians per sample.
// [any thread · pure]
inline BiquadCoefficients DesignHighShelf(double A, double w, double q) {
  const double s = std::sin(w);
  const double c = std::cos(w);
  const double beta = std::sqrt(A) / q * s;
  BiquadCoefficients k;
  k.a0 = (A + 1) - (A - 1) * c + beta;
  k.b0 = A * ((A + 1) + (A - 1) * c + beta) / k.a0;
  k.b1 = -2 * A * ((A + 1) * c + (A - 1)) / k.a0;
  k.b2 = A * ((A + 1) + (A - 1) * c - beta) / k.a0;
  k.a1 = 2 * ((A - 1) - (A + 1) * c) / k.a0;
  k.a2 = ((A + 1) - (A - 1) * c - beta) / k.a0;
  return k;
}

// Peaking section: w in radians per sample, bandwidth in octaves, gain in dB at the centre.
// [any thread · pure]
inline BiquadCoefficients DesignPeak(double w, double bandwidthOctaves, double gainDb) {
  constexpr double kLn2 = 0.6931471805599453;
  const double s = std::sin(w);
  const double c = std::cos(w);
  const double alpha = std::sinh(kLn2 * 0.5 * bandwidthOctaves * w / s) * s;
  const double A = std::exp(gainDb * kDecibelsToNepers);
  const double d = 1 + alpha / A;
  BiquadCoefficients k;
  k.b0 = (1 + alpha * A) / d;
  k.b1 = -2 * c / d;
  k.b2 = (1 - alpha * A) / d;
  k.a0 = d;
  k.a1 = -2 * c / d;
  k.a2 = (1 - alpha / A) / d;
  return k;
}

} // namespace tavo
