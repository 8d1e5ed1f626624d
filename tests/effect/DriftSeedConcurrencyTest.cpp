// Instances created and deleted on several threads at once each take a drift seed of their own.
// Run under ThreadSanitizer (the linux-tsan preset) this also proves the lock-free claiming of
// seeds leaves no data race.

#include <gtest/gtest.h>

#include <latch>
#include <memory>
#include <set>
#include <thread>
#include <vector>

#include "effect/DriftSeeds.h"

namespace tavo {
namespace {

TEST(DriftSeedConcurrency, InstancesCreatedOnManyThreadsAtOnceHoldDistinctSeeds) {
  constexpr int kThreads = 8;
  constexpr int kPerThread = 64;
  std::vector<std::vector<std::unique_ptr<DriftSeedPlace>>> held(kThreads);
  std::latch start(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      std::vector<std::unique_ptr<DriftSeedPlace>>& mine = held[t];
      start.arrive_and_wait();
      // Every other instance is deleted at once, so claims race with places coming back.
      for (int i = 0; i < kPerThread; ++i) {
        mine.push_back(std::make_unique<DriftSeedPlace>());
        if (i % 2 == 1) mine.erase(mine.end() - 2);
      }
      for (int i = 0; i < kPerThread / 2; ++i)
        mine.push_back(std::make_unique<DriftSeedPlace>());
    });
  }
  for (std::thread& t : threads)
    t.join();

  std::set<std::uint64_t> seeds;
  size_t alive = 0;
  for (const auto& mine : held)
    for (const auto& place : mine) {
      seeds.insert(place->Seed());
      ++alive;
    }
  EXPECT_EQ(alive, static_cast<size_t>(kThreads * kPerThread));
  EXPECT_EQ(seeds.size(), alive);
  // Nothing beyond the reusable places was needed: every place that came back was taken again.
  for (const auto& mine : held)
    for (const auto& place : mine)
      EXPECT_LT(place->Index(), DriftSeedPlace::kReusedPlaces);
}

} // namespace
} // namespace tavo
