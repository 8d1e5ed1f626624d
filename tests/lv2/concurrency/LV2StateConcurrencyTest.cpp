// The host's audio thread runs the LV2 plug-in while its main thread saves and restores the state
// chunk, as LV2 allows for save (and a careless host for restore). Run under ThreadSanitizer (the
// linux-tsan preset) this proves the processing lock keeps the block and the state apart.

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

#include "tests/lv2/LV2HostFixture.h"

namespace tavo::test {
namespace {

using enum TAVOParams::Param;

TEST(LV2StateConcurrency, RunningSurvivesStateSavedAndRestoredAlongside) {
  LV2Host host(64);
  LV2Instance inst(host, 2, 44100.0, 512);
  ASSERT_TRUE(inst.Valid());
  inst.Run(32);
  auto saved = inst.Save();
  ASSERT_EQ(64u, saved.bytes.size());

  std::atomic<bool> stop{false};
  std::atomic<int> blocks{0};
  std::thread audio([&] {
    for (int block = 0; !stop.load() || block < 50; ++block) {
      for (int i = 0; i < 512; ++i)
        inst.In(0)[i] = inst.In(1)[i] = static_cast<float>(0.5 * std::sin(0.01 * (i + block)));
      inst.Param(kDrive) = static_cast<float>(block % 10); // the host moves a port between runs
      inst.Run(block % 2 ? 512 : 37);
      blocks.fetch_add(1);
    }
  });
  for (int round = 0; round < 200; ++round) {
    auto now = inst.Save();
    EXPECT_EQ(64u, now.bytes.size());
    EXPECT_EQ(LV2_STATE_SUCCESS, inst.Restore(round % 2 ? now : saved));
  }
  stop.store(true);
  audio.join();
  EXPECT_GE(blocks.load(), 50);
  for (float v : inst.Out(0))
    ASSERT_TRUE(std::isfinite(v));
}

} // namespace
} // namespace tavo::test
