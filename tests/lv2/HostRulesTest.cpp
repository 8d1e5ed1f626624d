// The plug-ins under what the LV2 rules ask of a plug-in and allow a host: activation after
// deactivation forgets what was played, control ports a host never connects leave the defaults,
// and a URI map that cannot map leaves no state to save.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "LV2HostFixture.h"
#include "tests/support/DriftTestAccess.h"

namespace tavo::test {
namespace {

using enum TAVOParams::Param;

constexpr int kBlock = 512;
constexpr int kBlocks = 16;

// Runs `blocks` blocks of a sine of the given amplitude; answers every output sample, channel
// after channel within each block, and the level port after each block.
struct Rendered {
  std::vector<float> samples;
  std::vector<float> levels;
};
Rendered RunSine(LV2Instance& inst, int channels, double amplitude, int blocks) {
  Rendered r;
  for (int b = 0; b < blocks; ++b) {
    for (int c = 0; c < channels; ++c)
      for (int i = 0; i < kBlock; ++i)
        inst.In(c)[i] =
            static_cast<float>(amplitude * std::sin(2 * std::numbers::pi * (330.0 + 110 * c) *
                                                    (b * kBlock + i) / 44100.0));
    inst.Run(kBlock);
    for (int c = 0; c < channels; ++c)
      r.samples.insert(r.samples.end(), inst.Out(c).begin(), inst.Out(c).begin() + kBlock);
    r.levels.push_back(inst.Level());
  }
  return r;
}

class LV2HostRulesTest : public ::testing::TestWithParam<int> {
protected:
  int Channels() const { return GetParam(); }
  LV2Host host_{kBlock};
};

TEST_P(LV2HostRulesTest, ActivationAfterDeactivationRendersAsANewInstance) {
  LV2Instance inst(host_, Channels());
  ASSERT_TRUE(inst.Valid());
  inst.Param(kDrive) = 5.0f;
  inst.Param(kVUMode) = 2.0f; // the output's level
  const Rendered fresh = RunSine(inst, Channels(), 0.05, kBlocks);

  // A loud passage at another Drive, then the Drive back, and the host switches the plug-in off
  // and on: the filters, the leveller, the drive smoother, the drift and the needle start over.
  inst.Param(kDrive) = 10.0f;
  RunSine(inst, Channels(), 0.9, kBlocks);
  inst.Param(kDrive) = 5.0f;
  inst.DeactivateAndActivate();
  const Rendered again = RunSine(inst, Channels(), 0.05, kBlocks);

  const size_t perBlock = static_cast<size_t>(kBlock * Channels());
  for (size_t b = 0; b < kBlocks; ++b) {
    double difference = 0, level = 0;
    for (size_t i = b * perBlock; i < (b + 1) * perBlock; ++i) {
      difference += std::pow(again.samples[i] - fresh.samples[i], 2);
      level += std::pow(fresh.samples[i], 2);
    }
    EXPECT_LE(10 * std::log10(difference / level), -40.0) << "block " << b;
    EXPECT_NEAR(again.levels[b], fresh.levels[b], 0.02) << "block " << b;
  }
}

TEST_P(LV2HostRulesTest, ControlPortsNeverConnectedRunAtTheDefaults) {
  // Two instances: one whose host connects only the audio ports, one with every control port at
  // its default. They drift alike and must render alike, Output Compensation included.
  LV2Instance bare(host_, Channels(), 44100.0, 8192, false), wired(host_, Channels());
  ASSERT_TRUE(bare.Valid() && wired.Valid());
  DriftTestAccess::DriftAlike(*bare.Plug(), *wired.Plug());
  const Rendered b = RunSine(bare, Channels(), 0.3, 4);
  const Rendered w = RunSine(wired, Channels(), 0.3, 4);
  EXPECT_EQ(b.samples, w.samples);
}

INSTANTIATE_TEST_SUITE_P(MonoAndStereo, LV2HostRulesTest, ::testing::Values(1, 2),
                         [](const auto& info) { return info.param == 1 ? "Mono" : "Stereo"; });

TEST(LV2HostRules, AMapThatCannotMapLeavesNoStateToSaveOrRestore) {
  LV2Host host;
  host.mapAnswersZero = true;
  LV2Instance inst(host, 2);
  ASSERT_TRUE(inst.Valid());
  inst.Run(16);
  int stores = 0;
  const auto store = [](LV2_State_Handle h, uint32_t, const void*, size_t, uint32_t, uint32_t) {
    ++*static_cast<int*>(h);
    return LV2_STATE_SUCCESS;
  };
  EXPECT_EQ(LV2_STATE_ERR_NO_FEATURE,
            inst.State()->save(inst.Plug(), store, &stores, LV2_STATE_IS_POD, nullptr));
  EXPECT_EQ(0, stores);
  int retrieves = 0;
  const auto retrieve = [](LV2_State_Handle h, uint32_t, size_t*, uint32_t*,
                           uint32_t*) -> const void* {
    ++*static_cast<int*>(h);
    return nullptr;
  };
  EXPECT_EQ(LV2_STATE_ERR_NO_FEATURE,
            inst.State()->restore(inst.Plug(), retrieve, &retrieves, 0, nullptr));
  EXPECT_EQ(0, retrieves);
}

} // namespace
} // namespace tavo::test
