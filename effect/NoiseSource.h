#pragma once
// A tiny linear congruential noise generator: cheap, fully deterministic and identical on every
// platform, which keeps renders reproducible bit for bit.

#include <cstdint>

#include "effect/DspConstants.h"
#include "effect/Flush.h"

namespace tavo {

struct NoiseSource {
  static constexpr std::int32_t kModulus = kNoiseModulus;

  // Stays in 0 … kModulus − 1, so seed × kNoiseMultiplier never overflows 32 bits.
  std::int32_t seed = 0;

  // [audio thread] Advances the seed; returns a value in (−1, 1].
  double Next() {
    seed = (seed * kNoiseMultiplier + kNoiseIncrement) % kModulus;
    return FlushTiny(1.0 - seed * 2.0 * kNoiseInverseModulus);
  }
};

} // namespace tavo
