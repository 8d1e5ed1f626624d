#pragma once
// Each instance drifts from a seed of its own, so two instances alive at once render differently
// at any Drive. A test that compares two instances sample for sample says that they drift alike:
// DriftTestAccess::DriftAlike(a, b) before either renders.

#include <cstdint>
#include <mutex>

#include "effect/TAVO.h"
#include "tests/support/SignalChainTestAccess.h"

namespace tavo {

struct DriftTestAccess {
  template <class P> static std::uint64_t SeedOf(const TAVOPlug<P>& plug) {
    return Inspect(plug.Chain()).driftSeed();
  }
  // [main thread · takes the processing lock] The instance starts over as a new one that drifts
  // from `seed` (ClearHistory, which also ends the start-up ramp as Reset does).
  template <class P> static void StartOverFrom(TAVOPlug<P>& plug, std::uint64_t seed) {
    std::lock_guard guard(plug.lock);
    SignalChainTestAccess::SetDriftSeed(plug.core_.chain_, seed);
    plug.ClearHistory();
  }
  // Both start over as new instances drifting from the first one's seed.
  template <class P, class Q> static void DriftAlike(TAVOPlug<P>& a, TAVOPlug<Q>& b) {
    const std::uint64_t seed = SeedOf(a);
    StartOverFrom(a, seed);
    StartOverFrom(b, seed);
  }
};

} // namespace tavo
