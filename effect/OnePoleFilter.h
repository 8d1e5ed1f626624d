#pragma once
// First-order filter with a choice of outputs taken from one integrator state: low-pass,
// high-pass, low shelf or high shelf.

#include <cstdint>

#include "effect/DspConstants.h"
#include "effect/StereoLane.h"

namespace tavo {

enum class OnePoleMode : std::int32_t { Lowpass = 0, Highpass = 1, LowShelf = 4, HighShelf = 5 };

struct OnePoleCoefficients {
  OnePoleMode mode = OnePoleMode::Lowpass;
  double b = 0; // input coefficient
  double a = 0; // feedback coefficient
  double k = 0; // shelf amount (linear, 0 = flat)
};

template <class T> struct OnePoleState {
  T z{};   // integrator
  T out{}; // last output; kept when the mode is none of the known ones
};

// [any thread · pure] Cutoff fc in Hz. Shelf amounts given in decibel-like units are turned into
// k by the callers as exp(amount × kOnePoleShelfNepers) − 1.
inline OnePoleCoefficients DesignOnePole(double fc, double sampleRate, OnePoleMode mode, double k) {
  const double K = fc * kTwoPi;
  const double inv = 1 / (sampleRate * kOnePoleRateFactor + K);
  OnePoleCoefficients c;
  c.a = (sampleRate * kOnePoleRateFactor - K) * inv;
  c.b = inv * K;
  c.mode = mode;
  c.k = k;
  return c;
}

// [audio thread · no allocation] T is double or a lane type.
template <class T> inline T ProcessOnePole(const OnePoleCoefficients& c, OnePoleState<T>& s, T x) {
  s.z = T(c.b * 2) * x + T(c.a) * s.z;
  switch (c.mode) {
  case OnePoleMode::Lowpass:
    s.out = s.z;
    break;
  case OnePoleMode::Highpass:
    s.out = x - s.z;
    break;
  case OnePoleMode::LowShelf:
    s.out = T(c.k) * s.z + x;
    break;
  case OnePoleMode::HighShelf:
    s.out = (x - s.z) * T(c.k) + x;
    break;
  }
  s.out = FlushTiny(s.out);
  return s.out;
}

// The coefficients of a filter whose mode is known where it is used, in the loop's sample type
// (see BiquadTaps).
template <class T> struct OnePoleTaps {
  T b2, a, k; // b2 = 2 × b

  explicit OnePoleTaps(const OnePoleCoefficients& c) : b2(c.b * 2), a(c.a), k(c.k) {}
};

// [audio thread · no allocation] The same for a filter whose mode is known where it is used;
// the caller guarantees the taps were taken from coefficients of that mode.
template <OnePoleMode Mode, class T>
inline T ProcessOnePoleAs(const OnePoleTaps<T>& c, OnePoleState<T>& s, T x) {
  s.z = c.b2 * x + c.a * s.z;
  if constexpr (Mode == OnePoleMode::Lowpass) s.out = s.z;
  if constexpr (Mode == OnePoleMode::Highpass) s.out = x - s.z;
  if constexpr (Mode == OnePoleMode::LowShelf) s.out = c.k * s.z + x;
  if constexpr (Mode == OnePoleMode::HighShelf) s.out = (x - s.z) * c.k + x;
  s.out = FlushTiny(s.out);
  return s.out;
}

// A complete single-channel filter: coefficients followed by their states.
struct OnePoleFilter {
  OnePoleCoefficients coefficients;
  OnePoleState<double> state;

  // [main or audio thread · no allocation]
  void Design(double fc, double sampleRate, OnePoleMode mode, double k) {
    coefficients = DesignOnePole(fc, sampleRate, mode, k);
  }
  // [audio thread · no allocation]
  double Process(double x) { return ProcessOnePole(coefficients, state, x); }
};

} // namespace tavo
