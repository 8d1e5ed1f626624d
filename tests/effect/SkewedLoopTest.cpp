// The skewed loop driver with trivial stages that log what they are called with.

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "effect/SkewedLoop.h"

namespace tavo {
namespace {

struct Call {
  int stage, frame;
  bool operator==(const Call&) const = default;
};

// Three stages, each logging itself.
std::vector<Call> LogOf(int frames) {
  std::vector<Call> log;
  const auto stage = [&log](int k) { return [&log, k](int frame) { log.push_back({k, frame}); }; };
  RunSkewed(frames, stage(0), stage(1), stage(2));
  return log;
}

TEST(SkewedLoop, EveryStageSeesEveryFrameOnceAndInOrder) {
  for (int frames : {1, 2, 3, 4, 17}) {
    const std::vector<Call> log = LogOf(frames);
    EXPECT_EQ(log.size(), std::size_t(3 * frames)) << frames;
    for (int k = 0; k < 3; ++k) {
      std::vector<int> seen;
      for (const Call& c : log)
        if (c.stage == k) seen.push_back(c.frame);
      std::vector<int> expected(static_cast<std::size_t>(frames));
      for (int f = 0; f < frames; ++f)
        expected[static_cast<std::size_t>(f)] = f;
      EXPECT_EQ(seen, expected) << "stage " << k << ", " << frames << " frames";
    }
  }
}

TEST(SkewedLoop, FramePassesTheStagesInOrderEachStageAFrameBehind) {
  for (int frames : {1, 2, 5, 40}) {
    const std::vector<Call> log = LogOf(frames);
    // Step i runs frame i on stage 0, i − 1 on stage 1, i − 2 on stage 2, in that order, skipping
    // the frames that do not exist: so a frame meets the stages in order, a step apart.
    std::size_t at = 0;
    for (int step = 0; step < frames + 2; ++step)
      for (int k = 0; k < 3; ++k)
        if (step - k >= 0 && step - k < frames) {
          ASSERT_LT(at, log.size());
          EXPECT_EQ(log[at], (Call{k, step - k})) << "step " << step;
          ++at;
        }
    EXPECT_EQ(at, log.size());
  }
}

TEST(SkewedLoop, NoFramesCallsNoStage) {
  EXPECT_TRUE(LogOf(0).empty());
  EXPECT_TRUE(LogOf(-5).empty());
}

TEST(SkewedLoop, OneStageIsAPlainLoop) {
  std::vector<int> seen;
  RunSkewed(4, [&](int i) { seen.push_back(i); });
  EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3}));
}

} // namespace
} // namespace tavo
