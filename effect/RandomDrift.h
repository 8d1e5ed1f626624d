#pragma once
// The slow random gain drift of the saturator: the value glides with a short time constant
// towards a target that is redrawn among `steps` equally spaced levels whenever the value has
// come close to it.
//
// Each drift owns its random generator, so instances on different threads never share state. A
// drift starts from the seed it is given (each effect instance its own, effect/DriftSeeds.h), or
// from kSeed, so renders are reproducible.

#include <cmath>
#include <cstdint>

#include "effect/DspConstants.h"
#include "effect/Flush.h"

namespace tavo {

// SplitMix64: small, fast and statistically sound; its 31 high output bits give non-negative
// integers whose remainders modulo small powers of two are equally frequent.
class DriftRandom {
public:
  static constexpr std::uint64_t kSeed = 0x5441564F44726966ull;

  DriftRandom() = default;
  explicit DriftRandom(std::uint64_t seed) : state_(seed) {}

  // [audio thread · no allocation] A non-negative integer below 2^31.
  std::int32_t Next() {
    state_ += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<std::int32_t>(z >> 33);
  }

private:
  std::uint64_t state_ = kSeed;
};

struct RandomDrift {
  // `steps` and `stepSize` are rewritten by every Configure with these same values; they start
  // valid so that a step is always defined.
  std::int32_t steps = kDriftSteps;
  double stepSize = kDriftStepSize;
  double coeff = 0;
  double feed = 0;
  double value = 1.0;
  double target = 1.0;
  DriftRandom random;

  // [audio thread · no allocation] One frame; returns the new value.
  double Step() {
    if (std::abs(value - target) <= kDriftRetargetDistance) {
      const std::int32_t n = steps > 0 ? steps : 1;
      target = (random.Next() % n + 1) * stepSize;
    }
    value = FlushTiny(coeff * value + feed * target);
    return value;
  }
};

} // namespace tavo
