// The optimised stereo path (lanes, working copies, once-per-block meter arithmetic) against the
// straightforward scalar transcription, bit for bit, over signals that reach every branch: both
// shaper branches (and lanes that disagree on the sign), the leveller above and below its
// threshold, crosstalk on and off, bypass fades in both directions, the safety clamp, silence,
// non-finite input and blocks of odd sizes, including empty ones.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#include "effect/SignalChain.h"
#include "tests/support/SignalChainTestAccess.h"
#include "tests/support/reference/ReferenceChain.h"

namespace tavo {
namespace {

constexpr double kFs = 44100;

std::uint64_t Bits(double v) {
  return std::bit_cast<std::uint64_t>(v);
}

// Deterministic stimulus: different tones in the two channels, a level that sweeps from
// −80 dB to +14 dB and back, stretches of silence, and a few NaN/inf samples.
struct Stimulus {
  std::vector<double> left, right;
  explicit Stimulus(int frames) {
    std::uint32_t lcg = 12345;
    for (int i = 0; i < frames; ++i) {
      lcg = lcg * 1664525u + 1013904223u;
      const double noise = (static_cast<double>(lcg >> 8) / (1 << 24)) * 2 - 1;
      const double phase = static_cast<double>(i % 30000) / 30000;
      const double levelDb = -80 + 94 * (phase < 0.5 ? phase * 2 : 2 - phase * 2);
      const double amp = std::pow(10.0, levelDb / 20);
      double l = amp * std::sin(i * 0.1424) + 0.01 * amp * noise;
      double r = amp * 0.7 * std::sin(i * 0.0371 + 1) - 0.2 * amp * noise;
      if (i % 30000 > 27000) l = r = 0; // silence
      if (i % 9001 == 17) l = std::nan("");
      if (i % 12007 == 5) r = INFINITY;
      left.push_back(l);
      right.push_back(r);
    }
  }
};

struct BlockPlan {
  int frames;
  ChainSettings settings;
  bool bypass;
};

std::vector<BlockPlan> Plan(int totalFrames) {
  std::vector<BlockPlan> plan;
  const int sizes[] = {32, 1, 7, 0, 64, 32, 13, 32, -3, 32};
  int done = 0;
  for (int b = 0; done < totalFrames; ++b) {
    BlockPlan p;
    p.frames = sizes[b % 10];
    if (p.frames > totalFrames - done) p.frames = totalFrames - done;
    const int era = done / 6000; // settings change every 6000 frames
    p.settings.drive = (era * 3) % 11;
    p.settings.inputTrimDb = era % 4 == 3 ? 20 : (era % 3) * 5 - 5;
    p.settings.asymmetry = (era * 7) % 11;
    p.settings.freqResponse = (era % 5) * 5 - 10;
    p.settings.crosstalkDb = era % 2 == 0 ? -120 : -60 - era;
    p.settings.vuMode = era % 3;
    p.bypass = (done / 2500) % 3 == 2;
    plan.push_back(p);
    done += p.frames > 0 ? p.frames : 0;
  }
  return plan;
}

// Every build of the stereo kernels, each where this build and this processor have it.
template <SimdPath P> struct On { static constexpr SimdPath kPath = P; };
template <class Path> class StereoPathAgreement : public ::testing::Test {
protected:
  void SetUp() override {
    if (!SimdPathAvailable(Path::kPath))
      GTEST_SKIP() << "the " << SimdPathName(Path::kPath)
                   << " path is not available in this build or on this processor";
  }
};
using Paths = ::testing::Types<On<SimdPath::Sse2>, On<SimdPath::Scalar>, On<SimdPath::Avx2>>;
TYPED_TEST_SUITE(StereoPathAgreement, Paths);

TYPED_TEST(StereoPathAgreement, OptimisedStereoPathMatchesScalarTranscriptionBitForBit) {
  constexpr int kFrames = 90000;
  const Stimulus in(kFrames);
  SignalChain chain;
  reference::Chain ref;
  chain.Reset(kFs);
  ref.Reset(kFs);
  chain.SetOutputGain(std::exp(-1.2 * 0.1151292546497));
  ref.outputGain = std::exp(-1.2 * 0.1151292546497);

  std::vector<double> outL(kFrames, -7), outR(kFrames, -7), refL(kFrames, -7), refR(kFrames, -7);
  int pos = 0;
  bool sawPositive = false, sawNegative = false, sawMixedSigns = false;
  bool sawAboveThreshold = false, sawBelowThreshold = false, sawClamp = false;
  for (const BlockPlan& p : Plan(kFrames)) {
    const double inputGain = std::exp(p.settings.inputTrimDb * 0.1151292546497);
    chain.SetInputGain(inputGain);
    ref.inputGain = inputGain;
    chain.SetBypassed(p.bypass);
    ref.bypassed = p.bypass;
    const double* ins[] = {in.left.data() + pos, in.right.data() + pos};
    double* outs[] = {outL.data() + pos, outR.data() + pos};
    double* refs[] = {refL.data() + pos, refR.data() + pos};
    chain.ProcessOn(TypeParam::kPath, p.settings, kFs, true, ins, outs, p.frames);
    ref.Process(p.settings, kFs, true, ins, refs, p.frames);
    const int n = p.frames > 0 ? p.frames : 0;
    for (int i = pos; i < pos + n; ++i) {
      ASSERT_EQ(Bits(outL[static_cast<std::size_t>(i)]), Bits(refL[static_cast<std::size_t>(i)]))
          << "left, frame " << i;
      ASSERT_EQ(Bits(outR[static_cast<std::size_t>(i)]), Bits(refR[static_cast<std::size_t>(i)]))
          << "right, frame " << i;
    }
    const ChainStateRecords states = Inspect(chain).states();
    const SaturatorChannel<double>& l = states.saturatorLeft;
    const SaturatorChannel<double>& r = states.saturatorRight;
    sawPositive |= l.preState > 0;
    sawNegative |= l.preState < 0;
    sawMixedSigns |= (l.up.x1 > 0) != (r.up.x1 > 0); // last non-stuffed inputs
    const double level = std::log(std::abs(states.shared.envelope)) * 8.685889638065037 + 122;
    sawAboveThreshold |= level > 0;
    sawBelowThreshold |= level <= 0;
    sawClamp |= p.bypass && n > 0 && std::abs(outL[static_cast<std::size_t>(pos + n - 1)]) > 19;
    pos += n;

    // Everything the chain exposes between blocks agrees too.
    ASSERT_EQ(Bits(Inspect(chain).rampGain()), Bits(ref.rampGain));
    ASSERT_EQ(Bits(Inspect(chain).wetMix()), Bits(ref.wetMix));
    ASSERT_EQ(Bits(Inspect(chain).meter().vuLevel()), Bits(ref.vuLevel));
    ASSERT_EQ(Bits(Inspect(chain).meter().rmsIn()), Bits(ref.rmsIn));
    ASSERT_EQ(Bits(Inspect(chain).meter().rmsOut()), Bits(ref.rmsOut));
    if (!std::isnan(ref.rmsDifference)) {
      ASSERT_EQ(Bits(Inspect(chain).meter().rmsDifference()), Bits(ref.rmsDifference));
    }
    ASSERT_EQ(Bits(states.shared.pending), Bits(ref.saturator.pending));
    ASSERT_EQ(Bits(states.shared.drift.value), Bits(ref.saturator.value));
  }
  EXPECT_TRUE(sawPositive);
  EXPECT_TRUE(sawNegative);
  EXPECT_TRUE(sawMixedSigns);
  EXPECT_TRUE(sawAboveThreshold);
  EXPECT_TRUE(sawBelowThreshold);
  EXPECT_TRUE(sawClamp);
}

TEST(MonoPathAgreement, MonoPathMatchesScalarTranscriptionBitForBit) {
  constexpr int kFrames = 40000;
  const Stimulus in(kFrames);
  SignalChain chain;
  reference::Chain ref; // no Reset: the start-up ramp runs as well
  std::vector<double> out(kFrames), expect(kFrames);
  int pos = 0;
  for (const BlockPlan& p : Plan(kFrames)) {
    chain.SetBypassed(p.bypass);
    ref.bypassed = p.bypass;
    const double* ins[] = {in.left.data() + pos};
    double* outs[] = {out.data() + pos};
    double* refs[] = {expect.data() + pos};
    chain.Process(p.settings, kFs, false, ins, outs, p.frames);
    ref.Process(p.settings, kFs, false, ins, refs, p.frames);
    pos += p.frames > 0 ? p.frames : 0;
  }
  for (int i = 0; i < kFrames; ++i)
    ASSERT_EQ(Bits(out[static_cast<std::size_t>(i)]), Bits(expect[static_cast<std::size_t>(i)]))
        << "frame " << i;
}

TEST(MonoPathAgreement, SwitchingBetweenMonoAndStereoContinuesEveryState) {
  // A mono block uses and advances only the left channel's states; a later stereo block
  // continues from them. Alternate the two every few blocks against the transcription, the
  // stereo blocks on each build of the kernels in turn and one reset on the way: each switch
  // hands the states from one working copy to the next.
  constexpr int kFrames = 20000;
  const Stimulus in(kFrames);
  SignalChain chain;
  reference::Chain ref;
  chain.Reset(kFs);
  ref.Reset(kFs);
  std::vector<double> outL(kFrames, 0), outR(kFrames, 0), refL(kFrames, 0), refR(kFrames, 0);
  int pos = 0;
  int block = 0;
  for (const BlockPlan& p : Plan(kFrames)) {
    const bool stereo = (block++ / 5) % 2 == 1;
    const double* ins[] = {in.left.data() + pos, in.right.data() + pos};
    double* outs[] = {outL.data() + pos, outR.data() + pos};
    double* refs[] = {refL.data() + pos, refR.data() + pos};
    if (block == 200) {
      chain.Reset(kFs);
      ref.Reset(kFs);
    }
    chain.ProcessOn(kAllSimdPaths[block % 3], p.settings, kFs, stereo, ins, outs, p.frames);
    ref.Process(p.settings, kFs, stereo, ins, refs, p.frames);
    pos += p.frames > 0 ? p.frames : 0;
  }
  for (int i = 0; i < kFrames; ++i) {
    ASSERT_EQ(Bits(outL[static_cast<std::size_t>(i)]), Bits(refL[static_cast<std::size_t>(i)]))
        << "left, frame " << i;
    ASSERT_EQ(Bits(outR[static_cast<std::size_t>(i)]), Bits(refR[static_cast<std::size_t>(i)]))
        << "right, frame " << i;
  }
}

} // namespace
} // namespace tavo
