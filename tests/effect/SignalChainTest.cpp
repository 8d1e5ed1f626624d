#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <vector>

#include "effect/SignalChain.h"
#include "tests/effect/TestSignals.h"
#include "tests/support/SignalChainTestAccess.h"

namespace tavo {
namespace {

constexpr double kFs = 44100;
constexpr double kDbToNp = 0.1151292546497;

class SignalChainTest : public ::testing::Test {
protected:
  // Runs whole signals through the chain in blocks of 32 frames.
  void RunMono(const std::vector<double>& in, std::vector<double>& out) {
    out.assign(in.size(), 0);
    for (std::size_t pos = 0; pos < in.size(); pos += 32) {
      const int n = static_cast<int>(std::min<std::size_t>(32, in.size() - pos));
      const double* ins[] = {in.data() + pos};
      double* outs[] = {out.data() + pos};
      chain.Process(settings, kFs, false, ins, outs, n);
    }
  }
  void RunStereo(const std::vector<double>& l, const std::vector<double>& r,
                 std::vector<double>& outL, std::vector<double>& outR) {
    RunStereoOn(chain, l, r, outL, outR);
  }
  void RunStereoOn(SignalChain& c, const std::vector<double>& l, const std::vector<double>& r,
                   std::vector<double>& outL, std::vector<double>& outR) {
    outL.assign(l.size(), 0);
    outR.assign(r.size(), 0);
    for (std::size_t pos = 0; pos < l.size(); pos += 32) {
      const int n = static_cast<int>(std::min<std::size_t>(32, l.size() - pos));
      const double* ins[] = {l.data() + pos, r.data() + pos};
      double* outs[] = {outL.data() + pos, outR.data() + pos};
      c.Process(settings, kFs, true, ins, outs, n);
    }
  }
  // An instance after Reset, with Output Compensation applied as ParamChanged(2) does.
  void Prepare(SignalChain& c) {
    c.Reset(kFs);
    c.SetOutputGain(std::exp(-0.13815510557964));
  }
  void SetUp() override { Prepare(chain); }

  SignalChain chain;
  ChainSettings settings;
};

TEST_F(SignalChainTest, DefaultChainIsWithinFiveHundredthsOfADecibelOfUnity) {
  const auto in = testing::Sine(1000, 0.001, kFs, 4 * 44100);
  std::vector<double> out;
  RunMono(in, out);
  EXPECT_NEAR(testing::SettledGainDb(in, out), 0.0, 0.05);

  SignalChain stereo;
  Prepare(stereo);
  std::vector<double> outL, outR;
  RunStereoOn(stereo, in, in, outL, outR);
  EXPECT_NEAR(testing::SettledGainDb(in, outL), 0.0, 0.05);
  EXPECT_NEAR(testing::SettledGainDb(in, outR), 0.0, 0.05);
}

TEST_F(SignalChainTest, ResetPutsTheRampAtItsEndWithOneStepLeft) {
  EXPECT_EQ(Inspect(chain).rampGain(), 1.0);
  const std::vector<double> in(64, 0.0);
  std::vector<double> out;
  RunMono(in, out);
  EXPECT_EQ(Inspect(chain).rampGain(), 1.0 + 0.0001);
}

TEST(SignalChainStartUp, OutputFadesInFromConstructionWithoutReset) {
  SignalChain chain;
  ChainSettings settings;
  EXPECT_EQ(Inspect(chain).rampGain(), 0.0);
  EXPECT_EQ(Inspect(chain).wetMix(), 0.0);
  EXPECT_EQ(Inspect(chain).noiseLevel(), 0.000030517578125);
  EXPECT_EQ(Inspect(chain).resetSampleRate(), 44100.0);
  std::vector<double> in(5000, 0.5), out(5000);
  const double* ins[] = {in.data()};
  double* outs[] = {out.data()};
  chain.Process(settings, kFs, false, ins, outs, 5000);
  EXPECT_NEAR(Inspect(chain).rampGain(), 0.5, 1e-9);
  EXPECT_LT(std::abs(out[9]), std::abs(out[4999]));
  EXPECT_NEAR(Inspect(chain).wetMix(), 1.0, 1e-12); // time constant about 100 frames
}

TEST_F(SignalChainTest, BlockSetUpDerivesNoiseLevelFromTheTrim) {
  settings.inputTrimDb = 10;
  double* outs[] = {nullptr};
  const double* ins[] = {nullptr};
  chain.Process(settings, kFs, false, ins, outs, 0);
  EXPECT_DOUBLE_EQ(Inspect(chain).noiseLevel(), std::exp(-89 * kDbToNp));
}

TEST_F(SignalChainTest, BlockSetUpFollowsSettingsAndComesBackAfterReset) {
  const double* ins[] = {nullptr};
  double* outs[] = {nullptr};
  settings.drive = 5;
  chain.Process(settings, kFs, false, ins, outs, 0);
  EXPECT_DOUBLE_EQ(Inspect(chain).coefficients().driveTarget, std::exp(-10 * kDbToNp));
  settings.drive = 10;
  chain.Process(settings, kFs, false, ins, outs, 0);
  const double drive10 = Inspect(chain).coefficients().driveTarget;
  EXPECT_NEAR(drive10, 10.0, 1e-9);
  // Reset configures the engine with 0 dB of drive gain; the next block with unchanged settings
  // must put Drive 10 back.
  chain.Reset(kFs);
  EXPECT_EQ(Inspect(chain).coefficients().driveTarget, 1.0);
  chain.Process(settings, kFs, false, ins, outs, 0);
  EXPECT_EQ(Inspect(chain).coefficients().driveTarget, drive10);
  // A new sample rate alone is a change too.
  const double before = Inspect(chain).meter().rmsCoeff();
  chain.Process(settings, 96000, false, ins, outs, 0);
  EXPECT_NE(Inspect(chain).meter().rmsCoeff(), before);
}

TEST_F(SignalChainTest, CallWithoutFramesWritesNothingAndKeepsStates) {
  std::vector<double> in(8, 0.5), out(8, 123.0);
  const double* ins[] = {in.data(), in.data()};
  double* outs[] = {out.data(), out.data()};
  const double ramp = Inspect(chain).rampGain();
  chain.Process(settings, kFs, true, ins, outs, 0);
  chain.Process(settings, kFs, true, ins, outs, -5);
  for (double v : out)
    EXPECT_EQ(v, 123.0);
  EXPECT_EQ(Inspect(chain).rampGain(), ramp);
  EXPECT_EQ(Inspect(chain).noiseLeft().seed, 0);
}

TEST_F(SignalChainTest, MonoPathNeverTouchesTheSecondOutput) {
  std::vector<double> in(100, 0.3), out0(100), out1(100, -42.0);
  const double* ins[] = {in.data(), in.data()};
  double* outs[] = {out0.data(), out1.data()};
  chain.Process(settings, kFs, false, ins, outs, 100);
  for (double v : out1)
    ASSERT_EQ(v, -42.0);
  EXPECT_NE(out0[99], 0.0);
  EXPECT_EQ(Inspect(chain).noiseRight().seed, 0);
}

class SignalChainCrosstalk : public SignalChainTest {
protected:
  // Level, in dB, that a 1 kHz tone of amplitude 0.5 in one channel leaves in the other, with
  // the same render without the tone subtracted (noise and dither are deterministic).
  double LeakDb(double crosstalkDb, bool fromLeft) {
    settings.crosstalkDb = crosstalkDb;
    const auto tone = testing::Sine(1000, 0.5, kFs, 44100);
    const std::vector<double> silence(tone.size(), 0.0);
    SignalChain withTone, without;
    Prepare(withTone);
    Prepare(without);
    std::vector<double> l1, r1, l0, r0;
    RunStereoOn(withTone, fromLeft ? tone : silence, fromLeft ? silence : tone, l1, r1);
    RunStereoOn(without, silence, silence, l0, r0);
    const std::vector<double>& a = fromLeft ? r1 : l1;
    const std::vector<double>& b = fromLeft ? r0 : l0;
    std::vector<double> leak(a.size());
    for (std::size_t i = 0; i < a.size(); ++i)
      leak[i] = a[i] - b[i];
    return testing::Decibels(testing::Rms(std::span(leak).subspan(22050)) /
                             testing::Rms(std::span(tone).subspan(22050)));
  }
};

TEST_F(SignalChainCrosstalk, AtMinusOneTwentyTheChannelsDoNotInteract) {
  EXPECT_LT(LeakDb(-120, true), -180);
  EXPECT_FALSE(Inspect(chain).crosstalkEnabled());
}

TEST_F(SignalChainCrosstalk, JustAboveMinusOneTwentyEachChannelReceivesTheOther) {
  const double leftToRight = LeakDb(-119.9, true);
  const double rightToLeft = LeakDb(-119.9, false);
  // −118.9 dB and −119.9 dB levels, lowered a little more by the shelf at 1 kHz.
  EXPECT_GT(leftToRight, -125);
  EXPECT_LT(leftToRight, -118);
  EXPECT_NEAR(leftToRight - rightToLeft, 1.0, 0.05);
}

TEST_F(SignalChainCrosstalk, LevelsAreOneDecibelApart) {
  settings.crosstalkDb = -80;
  const double* ins[] = {nullptr, nullptr};
  double* outs[] = {nullptr, nullptr};
  chain.Process(settings, kFs, true, ins, outs, 0);
  EXPECT_TRUE(Inspect(chain).crosstalkEnabled());
  EXPECT_EQ(Inspect(chain).crosstalkToLeft().level, std::exp(-80 * kDbToNp));
  EXPECT_EQ(Inspect(chain).crosstalkToRight().level, std::exp(-79 * kDbToNp));
}

TEST_F(SignalChainTest, SilenceInStereoGivesTheShapedNoiseFloor) {
  const std::vector<double> silence(44100, 0.0);
  std::vector<double> l, r;
  RunStereo(silence, silence, l, r);
  // What remains is the noise through its shelf, plus the engine's response to its 1e-11 dither.
  NoiseSource noise;
  Biquad shelf;
  shelf.coefficients = Inspect(chain).noiseShelf();
  EXPECT_EQ(shelf.coefficients.b0,
            DesignHighShelf(std::exp(-24 * kDbToNp), 5340.707511102648 / kFs, 0.2).b0);
  double peak = 0;
  for (std::size_t i = 0; i < l.size(); ++i) {
    const double expected = shelf.Process(noise.Next() * std::exp(-90 * kDbToNp)) * 1.0001;
    if (i < 10000) continue; // the drive smoother starts from 0, magnifying the dither at first
    ASSERT_NEAR(l[i], expected, 1e-8) << i;
    ASSERT_NEAR(r[i], expected, 1e-8) << i; // both generators start from seed 0
    peak = std::max(peak, std::abs(expected));
  }
  EXPECT_GT(peak, 1e-6);
  EXPECT_LT(peak, std::exp(-90 * kDbToNp));
}

TEST_F(SignalChainTest, BypassFadesTheEngineOutAndLeavesTrimmedInputPlusNoise) {
  const auto tone = testing::Sine(220, 0.5, kFs, 3000);
  settings.drive = 10;
  std::vector<double> out;
  RunMono(tone, out);
  const double wetBefore = Inspect(chain).wetMix();
  chain.SetBypassed(true);
  const double* ins[] = {tone.data()};
  double* outs[] = {out.data()};
  chain.Process(settings, kFs, false, ins, outs, 1);
  EXPECT_EQ(Inspect(chain).wetMix(), wetBefore * 0.99);
  RunMono(tone, out);
  for (std::size_t i = 2000; i < tone.size(); ++i)
    ASSERT_NEAR(out[i], tone[i] * 1.0001, 1e-4) << i;
}

TEST_F(SignalChainTest, OutputIsClampedToTwentyBeforeNoiseAndRamp) {
  settings.inputTrimDb = 20;
  chain.SetInputGain(std::exp(20 * kDbToNp));
  chain.SetBypassed(true);
  const std::vector<double> loud(2000, 100.0);
  std::vector<double> l, r;
  RunStereo(loud, loud, l, r);
  for (std::size_t i = 1000; i < l.size(); ++i) {
    ASSERT_LE(std::abs(l[i]), (20 + 1e-3) * 1.0001);
    ASSERT_GT(std::abs(l[i]), 19.9);
  }
}

class SignalChainBadInput : public SignalChainTest {
protected:
  static std::vector<double> Poisoned(std::vector<double> v) {
    for (std::size_t i = 100; i < v.size(); i += 97)
      v[i] = std::nan("");
    v[5] = std::numeric_limits<double>::infinity();
    v[6] = -std::numeric_limits<double>::infinity();
    return v;
  }
  static std::vector<double> Zeroed(std::vector<double> v) {
    for (std::size_t i = 100; i < v.size(); i += 97)
      v[i] = 0;
    v[5] = v[6] = 0;
    return v;
  }
};

TEST_F(SignalChainBadInput, NonFiniteMonoSamplesActAsSilenceAndTheInstanceRecovers) {
  const auto tone = testing::Sine(1000, 0.5, kFs, 4000);
  SignalChain clean;
  Prepare(clean);
  std::vector<double> out, expect;
  RunMono(Poisoned(tone), out);
  std::swap(chain, clean);
  RunMono(Zeroed(tone), expect);
  for (std::size_t i = 0; i < out.size(); ++i)
    ASSERT_EQ(std::bit_cast<std::uint64_t>(out[i]), std::bit_cast<std::uint64_t>(expect[i])) << i;
}

TEST_F(SignalChainBadInput, NonFiniteStereoSamplesActAsSilenceAndTheInstanceRecovers) {
  const auto tone = testing::Sine(1000, 0.5, kFs, 4000);
  settings.crosstalkDb = -70;
  SignalChain clean;
  Prepare(clean);
  std::vector<double> l, r, el, er;
  RunStereoOn(chain, Poisoned(tone), tone, l, r);
  RunStereoOn(clean, Zeroed(tone), tone, el, er);
  for (std::size_t i = 0; i < l.size(); ++i) {
    ASSERT_EQ(std::bit_cast<std::uint64_t>(l[i]), std::bit_cast<std::uint64_t>(el[i])) << i;
    ASSERT_EQ(std::bit_cast<std::uint64_t>(r[i]), std::bit_cast<std::uint64_t>(er[i])) << i;
  }
  EXPECT_TRUE(std::isfinite(Inspect(chain).states().shared.envelope));
}

TEST_F(SignalChainBadInput, LargestFloatSamplesAtFullTrimAndDriveDoNotPoisonTheStates) {
  // The loudest a 32-bit host can send, trimmed by +20 dB into Drive 10 at full brightness.
  settings.inputTrimDb = 20;
  settings.drive = 10;
  settings.freqResponse = 10;
  settings.crosstalkDb = -60;
  chain.SetInputGain(std::exp(20 * kDbToNp));
  std::vector<double> loud(4096);
  for (std::size_t i = 0; i < loud.size(); ++i)
    loud[i] = (i % 2 ? 1 : -1) * static_cast<double>(std::numeric_limits<float>::max());
  const auto tone = testing::Sine(1000, 0.1, kFs, 44100);
  std::vector<double> l, r;
  RunStereo(loud, loud, l, r);
  for (double v : l)
    ASSERT_TRUE(std::isfinite(v));
  RunStereo(tone, tone, l, r);
  for (double v : l)
    ASSERT_TRUE(std::isfinite(v));
  EXPECT_GT(testing::Rms(std::span(l).subspan(22050)), 0.01); // the engine is audible again
  EXPECT_TRUE(std::isfinite(Inspect(chain).states().shared.envelope));
}

TEST_F(SignalChainBadInput, UnusableSampleRateDoesNotPoisonTheStates) {
  const auto tone = testing::Sine(1000, 0.5, kFs, 256);
  std::vector<double> out(tone.size());
  for (double fs : {0.0, -48000.0, std::nan(""), std::numeric_limits<double>::infinity()}) {
    const double* ins[] = {tone.data()};
    double* outs[] = {out.data()};
    chain.Reset(fs);
    chain.Process(settings, fs, false, ins, outs, 256);
    for (double v : out)
      ASSERT_TRUE(std::isfinite(v));
  }
  EXPECT_EQ(Inspect(chain).resetSampleRate(), 44100.0);
}

TEST_F(SignalChainBadInput, MissingChannelPointersWriteNothing) {
  std::vector<double> in(32, 0.5), out(32, 7.0);
  const double* ins[] = {in.data(), nullptr};
  double* outs[] = {out.data(), nullptr};
  chain.Process(settings, kFs, true, ins, outs, 32);
  for (double v : out)
    EXPECT_EQ(v, 7.0);
}

TEST_F(SignalChainTest, NeedleRestsInSilenceAndFollowsTheChosenMode) {
  const std::vector<double> silence(4410, 0.0);
  std::vector<double> out;
  RunMono(silence, out);
  EXPECT_EQ(chain.UpdateNeedle(), 0.015);
  settings.vuMode = 1;
  const auto tone = testing::Sine(1000, 0.01, kFs, 4 * 44100);
  RunMono(tone, out);
  // The chain is near unity, so input and output RMS agree and the needle sits near 0.6346.
  EXPECT_NEAR(chain.UpdateNeedle(), 0.6346, 0.005);
}

// The states move between their forms (records, the mono copy, a copy per stereo build) without
// losing a bit: a chain whose states are taken out as a snapshot and put back between any two
// blocks, on every path and with the settings and the rate changing under a live copy, renders
// exactly as its twin that is left alone.
TEST(ChainStatesTest, SnapshotPutBackBetweenBlocksChangesNoSample) {
  constexpr int kN = 64;
  std::vector<double> left(kN), right(kN);
  SignalChain chain, twin;
  chain.Reset(kFs);
  twin.Reset(kFs);
  int block = 0;
  for (SimdPath path : kAllSimdPaths) {
    for (bool stereo : {true, false, true}) {
      for (int i = 0; i < 6; ++i, ++block) {
        for (int k = 0; k < kN; ++k) {
          left[static_cast<size_t>(k)] = 0.7 * std::sin(0.05 * (block * kN + k));
          right[static_cast<size_t>(k)] = -0.4 * std::sin(0.021 * (block * kN + k));
        }
        ChainSettings s;
        s.drive = block % 11;
        s.asymmetry = (block * 3) % 11;
        s.crosstalkDb = -60;
        std::vector<double> a[2] = {std::vector<double>(kN), std::vector<double>(kN)};
        std::vector<double> b[2] = {std::vector<double>(kN), std::vector<double>(kN)};
        const double* ins[] = {left.data(), right.data()};
        double* outA[] = {a[0].data(), a[1].data()};
        double* outB[] = {b[0].data(), b[1].data()};
        if (i % 2 == 1) SignalChainTestAccess::RewriteStates(chain, [](ChainStateRecords&) {});
        const double fs = block % 4 == 1 ? 48000 : kFs;
        chain.ProcessOn(path, s, fs, stereo, ins, outA, kN);
        twin.ProcessOn(path, s, fs, stereo, ins, outB, kN);
        for (int c = 0; c < (stereo ? 2 : 1); ++c)
          for (int k = 0; k < kN; ++k)
            ASSERT_EQ(std::bit_cast<std::uint64_t>(a[c][static_cast<size_t>(k)]),
                      std::bit_cast<std::uint64_t>(b[c][static_cast<size_t>(k)]))
                << SimdPathName(path) << (stereo ? " stereo" : " mono") << ", block " << block
                << ", channel " << c << ", frame " << k;
      }
    }
  }
}

} // namespace
} // namespace tavo
