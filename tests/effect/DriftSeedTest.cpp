#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <numeric>
#include <set>
#include <vector>

#include "effect/DriftSeeds.h"
#include "effect/TAVO.h"
#include "tests/effect/TestSignals.h"
#include "tests/support/DriftTestAccess.h"
#include "tests/support/SignalChainTestAccess.h"

namespace tavo {
namespace {

constexpr double kRate = 44100;
constexpr int kSeconds = 3;
constexpr int kFrames = kSeconds * static_cast<int>(kRate);
constexpr int kBlock = 64; // the drift glides with a 5 ms time constant: 220 frames

// Fowler–Noll–Vo (FNV-1a, 64 bits) over the bytes of the output.
std::uint64_t Fnv1a(const std::vector<float>& samples) {
  std::uint64_t h = 0xCBF29CE484222325ull;
  for (float s : samples) {
    unsigned char bytes[sizeof s];
    std::memcpy(bytes, &s, sizeof s);
    for (unsigned char b : bytes)
      h = (h ^ b) * 0x100000001B3ull;
  }
  return h;
}

// A few seconds of two tones through `plug` at Drive 10, mono or stereo (the left channel's output,
// then the right's). With `drift`, the drift's value after each block is appended to it.
std::vector<float> RenderAtFullDrive(TAVO& plug, int channels,
                                     std::vector<double>* drift = nullptr) {
  plug.ConnectInputs(1, 1, channels == 2);
  plug.ConnectOutputs(1, 1, channels == 2);
  plug.ConfigureSampleRate(kRate);
  plug.Reset();
  plug.GetParam(TAVO::kDrive)->SetValue(10);
  for (int i = 0; i < plug.NParams(); ++i)
    plug.ParamChanged(i);
  const std::vector<double> low = testing::Sine(110, 0.5, kRate, kFrames);
  const std::vector<double> high = testing::Sine(1760, 0.25, kRate, kFrames);
  std::vector<float> left(kFrames), right(kFrames), outLeft(kFrames), outRight(kFrames);
  for (int i = 0; i < kFrames; ++i) {
    left[i] = static_cast<float>(low[i] + high[i]);
    right[i] = static_cast<float>(low[i] - high[i]);
  }
  for (int at = 0; at < kFrames; at += kBlock) {
    const int n = std::min(kBlock, kFrames - at);
    float* in[2] = {left.data() + at, right.data() + at};
    float* out[2] = {outLeft.data() + at, outRight.data() + at};
    std::lock_guard guard(plug.lock);
    plug.BindInputsFloat(0, channels, in, n);
    plug.BindOutputsFloat(0, channels, out);
    plug.RunProcess(n);
    if (drift) drift->push_back(Inspect(plug.Chain()).states().shared.drift.value);
  }
  if (channels == 2) outLeft.insert(outLeft.end(), outRight.begin(), outRight.end());
  return outLeft;
}

// Pearson's correlation coefficient.
double Correlation(const std::vector<double>& a, const std::vector<double>& b) {
  const double n = static_cast<double>(a.size());
  const double meanA = std::accumulate(a.begin(), a.end(), 0.0) / n;
  const double meanB = std::accumulate(b.begin(), b.end(), 0.0) / n;
  double ab = 0, aa = 0, bb = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    ab += (a[i] - meanA) * (b[i] - meanB);
    aa += (a[i] - meanA) * (a[i] - meanA);
    bb += (b[i] - meanB) * (b[i] - meanB);
  }
  return ab / std::sqrt(aa * bb);
}

TEST(DriftSeeds, TheFirstInstanceOfAProcessDriftsAsALoneInstanceAlwaysHas) {
  EXPECT_EQ(DriftSeedAt(0), DriftRandom::kSeed);
  // FNV-1a of three seconds at Drive 10 through the first instance, as a lone instance renders
  // them.
  const std::uint64_t golden[] = {0x165FDF12FAF35127ull, 0x81DA7B53DAC81FF6ull};
  for (int channels : {1, 2}) {
    auto plug = MakeTAVO();
    ASSERT_EQ(DriftTestAccess::SeedOf(*plug), DriftRandom::kSeed) << "another instance is alive";
    EXPECT_EQ(Fnv1a(RenderAtFullDrive(*plug, channels)), golden[channels - 1]) << channels;
  }
}

TEST(DriftSeeds, TwoInstancesAliveTogetherDriftOnTheirOwn) {
  auto first = MakeTAVO();
  auto second = MakeTAVO();
  for (int channels : {1, 2}) {
    std::vector<double> firstDrift, secondDrift;
    const std::vector<float> a = RenderAtFullDrive(*first, channels, &firstDrift);
    const std::vector<float> b = RenderAtFullDrive(*second, channels, &secondDrift);
    EXPECT_NE(a, b) << channels;
    EXPECT_NE(firstDrift, secondDrift) << channels;
    EXPECT_LT(std::abs(Correlation(firstDrift, secondDrift)), 0.1) << channels;
  }
}

TEST(DriftSeeds, AHundredInstancesHoldAHundredSeedsAndAFreedSeedIsTakenAgain) {
  std::vector<std::unique_ptr<TAVO>> plugs;
  std::set<std::uint64_t> seeds;
  for (int i = 0; i < 100; ++i) {
    plugs.push_back(MakeTAVO());
    seeds.insert(DriftTestAccess::SeedOf(*plugs.back()));
  }
  EXPECT_EQ(seeds.size(), 100u);
  // A new instance takes the lowest seed no living instance holds: a deleted one's.
  const std::uint64_t freed = DriftTestAccess::SeedOf(*plugs[37]);
  plugs[37].reset();
  EXPECT_EQ(DriftTestAccess::SeedOf(*MakeTAVO()), freed);
  plugs.clear();
  EXPECT_EQ(DriftTestAccess::SeedOf(*MakeTAVO()), DriftRandom::kSeed);
}

TEST(DriftSeeds, AnInstanceThatNeverRendersLeavesTheSequenceAlone) {
  auto editorModel = MakeTAVO();
  editorModel->GiveBackDriftSeed();
  auto rendering = MakeTAVO();
  EXPECT_EQ(DriftTestAccess::SeedOf(*rendering), DriftRandom::kSeed);
  // Deleting the first gives back nothing more: the first seed stays the rendering instance's.
  editorModel.reset();
  auto next = MakeTAVO();
  EXPECT_NE(DriftTestAccess::SeedOf(*next), DriftRandom::kSeed);
}

TEST(DriftSeeds, MoreInstancesThanReusablePlacesStillHoldDistinctSeeds) {
  std::vector<std::unique_ptr<DriftSeedPlace>> places;
  std::set<std::uint64_t> seeds;
  const size_t count = DriftSeedPlace::kReusedPlaces + 100;
  for (size_t i = 0; i < count; ++i) {
    places.push_back(std::make_unique<DriftSeedPlace>());
    seeds.insert(places.back()->Seed());
  }
  EXPECT_EQ(seeds.size(), count);
}

TEST(DriftSeeds, ClearHistoryStartsTheDriftOverFromTheInstancesOwnSeed) {
  auto other = MakeTAVO(); // so that `plug` holds a seed other than the first
  auto plug = MakeTAVO();
  std::vector<double> drift;
  const std::vector<float> fresh = RenderAtFullDrive(*plug, 2, &drift);
  plug->ClearHistory();
  std::vector<double> again;
  EXPECT_EQ(RenderAtFullDrive(*plug, 2, &again), fresh);
  EXPECT_EQ(again, drift);
}

} // namespace
} // namespace tavo
