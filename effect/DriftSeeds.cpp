#include "effect/DriftSeeds.h"

#include <atomic>
#include <bit>

#include "effect/RandomDrift.h"

namespace tavo {

namespace {

constexpr std::size_t kPlacesPerWord = 64;
constexpr std::size_t kWords = DriftSeedPlace::kReusedPlaces / kPlacesPerWord;
static_assert(kWords * kPlacesPerWord == DriftSeedPlace::kReusedPlaces);

// One bit per reusable place, set while an instance holds it. Constant-initialised and trivially
// destructible, so instances created or deleted while the module loads or unloads find it whole.
constinit std::atomic<std::uint64_t> gTaken[kWords] = {};
constinit std::atomic<std::size_t> gNextUnshared{DriftSeedPlace::kReusedPlaces};

// The finaliser of a well-known 64-bit hash (MurmurHash3's fmix64): a bijection that maps 0 to 0
// and scatters neighbouring inputs across all 64 bits.
constexpr std::uint64_t Scramble(std::uint64_t z) {
  z = (z ^ (z >> 33)) * 0xFF51AFD7ED558CCDull;
  z = (z ^ (z >> 33)) * 0xC4CEB9FE1A85EC53ull;
  return z ^ (z >> 33);
}
static_assert(Scramble(0) == 0, "place 0 keeps the drift's own seed");

std::size_t ClaimPlace() {
  for (std::size_t w = 0; w < kWords; ++w) {
    std::uint64_t taken = gTaken[w].load(std::memory_order_relaxed);
    while (taken != ~std::uint64_t{0}) {
      const std::uint64_t lowestFree = ~taken & (taken + 1);
      if (gTaken[w].compare_exchange_weak(taken, taken | lowestFree, std::memory_order_acq_rel,
                                          std::memory_order_relaxed))
        return w * kPlacesPerWord + static_cast<std::size_t>(std::countr_zero(lowestFree));
    }
  }
  return gNextUnshared.fetch_add(1, std::memory_order_relaxed);
}

} // namespace

std::uint64_t DriftSeedAt(std::size_t index) {
  return DriftRandom::kSeed ^ Scramble(index);
}

DriftSeedPlace::DriftSeedPlace() : index_(ClaimPlace()) {}

DriftSeedPlace::~DriftSeedPlace() {
  GiveBack();
}

void DriftSeedPlace::GiveBack() {
  if (!held_) return; // the place may already be another instance's
  held_ = false;
  if (index_ >= kReusedPlaces) return;
  const std::uint64_t bit = std::uint64_t{1} << (index_ % kPlacesPerWord);
  gTaken[index_ / kPlacesPerWord].fetch_and(~bit, std::memory_order_release);
}

} // namespace tavo
