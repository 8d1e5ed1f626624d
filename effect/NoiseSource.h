#pragma once
// A tiny linear congruential noise generator: cheap, fully deterministic and identical on every
// platform, which keeps renders reproducible bit for bit.

#include <cstdint>

#include "effect/DspConstants.h"
#include "effect/Flush.h"

namespace tavo {

struct NoiseSource {
  static constexpr std::int32_t kModulus = kNoiseModulus;
  static constexpr double kTwiceInverseModulus = 2.0 * kNoiseInverseModulus;

  // Stays in 0 … kModulus − 1, so seed × kNoiseMultiplier never overflows 32 bits.
  std::int32_t seed = 0;

  // [audio thread] Advances the seed; returns a value in (−1, 1], flushed as every other
  // recursive value is: 1 − 2·seed/M. Written for few instructions, with the same results: the
  // seed arithmetic is unsigned (no sign fix-up in the remainder), seed × (2/M) rounds exactly as
  // (seed × 2) × (1/M) because doubling is exact, and the flush is left out because no seed gives
  // a subnormal value (the smallest magnitudes are exactly 0 at seed M/2 and otherwise far above
  // 2^-1022). NoiseSourceTest checks all of this over every seed.
  double Next() {
    seed = static_cast<std::int32_t>(
        (static_cast<std::uint32_t>(seed) * std::uint32_t{kNoiseMultiplier} + kNoiseIncrement) %
        std::uint32_t{kModulus});
    return 1.0 - seed * kTwiceInverseModulus;
  }
};

} // namespace tavo
