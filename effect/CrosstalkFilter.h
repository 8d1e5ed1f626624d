#pragma once
// The path through which one channel leaks into the other: a low shelf followed by a level.

#include <cmath>

#include "effect/Biquad.h"
#include "effect/DspConstants.h"

namespace tavo {

struct CrosstalkFilter {
  BiquadCoefficients coefficients;
  double level = 0; // linear factor applied after the shelf

  // [any thread · pure apart from *this] Low shelf at f Hz: the response is A² at 0 Hz and 1 at
  // the Nyquist frequency, A being the linear gain of gainDb; level is the gain of levelDb.
  void DesignLowShelf(double f, double sampleRate, double q, double gainDb, double levelDb) {
    const double w = f * kTwoPi / sampleRate;
    const double A = std::exp(gainDb * kDecibelsToNepers);
    const double s = std::sin(w);
    const double c = std::cos(w);
    const double beta = std::sqrt(A) / q * s;
    BiquadCoefficients& k = coefficients;
    k.a0 = (A + 1) + (A - 1) * c + beta;
    k.b0 = A * ((A + 1) - (A - 1) * c + beta) / k.a0;
    k.b1 = 2 * A * ((A - 1) - (A + 1) * c) / k.a0;
    k.b2 = A * ((A + 1) - (A - 1) * c - beta) / k.a0;
    k.a1 = -2 * ((A + 1) * c + (A - 1)) / k.a0;
    k.a2 = ((A + 1) + (A - 1) * c - beta) / k.a0;
    level = std::exp(levelDb * kDecibelsToNepers);
  }
};

} // namespace tavo
