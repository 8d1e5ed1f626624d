#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <vector>

#include "effect/SaturatorEngine.h"
#include "tests/effect/TestSignals.h"
#include "tests/support/reference/ReferenceChain.h"

namespace tavo {
namespace {

constexpr double kFs = 44100;

class SaturatorEngineGain : public ::testing::Test {
protected:
  // Gain of ProcessMono for a 4 s, 1 kHz tone, over the settled second half, at Freq Response 0
  // and Asymmetry 5.
  static double GainDb(double drive, double amplitude) {
    SaturatorEngine engine;
    engine.Configure(kFs, DriveToDb(drive), 0, 0.2, 0.5);
    const auto in = testing::Sine(1000, amplitude, kFs, 4 * 44100);
    std::vector<double> out;
    out.reserve(in.size());
    for (double x : in)
      out.push_back(engine.ProcessMono(x));
    return testing::SettledGainDb(in, out);
  }
};

TEST_F(SaturatorEngineGain, SmallSignalGainIsAboutPlusOnePointTwoWhateverTheDrive) {
  EXPECT_NEAR(GainDb(0, 0.001), 1.16, 0.01);
  EXPECT_NEAR(GainDb(10, 0.001), 1.12, 0.01);
}

TEST_F(SaturatorEngineGain, LoudSignalIsCompressedMoreAsDriveRises) {
  EXPECT_NEAR(GainDb(0, 0.5), 1.16, 0.01);
  EXPECT_NEAR(GainDb(5, 0.5), -0.6, 0.1);
  EXPECT_NEAR(GainDb(10, 0.5), -21, 0.5);
}

class SaturatorEngineConfigure : public ::testing::Test {
protected:
  SaturatorEngine engine;
};

TEST_F(SaturatorEngineConfigure, DriveEndsGiveDocumentedEvenAmountAndDriveTarget) {
  engine.Configure(kFs, DriveToDb(0), 0, 0.2, 0.5);
  EXPECT_DOUBLE_EQ(engine.coefficients().evenAmount, 0.0125);
  EXPECT_NEAR(engine.coefficients().driveTarget, 0.01, 1e-15);
  engine.Configure(kFs, DriveToDb(10), 0, 0.2, 0.5);
  EXPECT_DOUBLE_EQ(engine.coefficients().evenAmount, 0.74375);
  EXPECT_NEAR(engine.coefficients().driveTarget, 10, 1e-12);
  EXPECT_EQ(engine.coefficients().driveShelf.k, 0.0); // the lift vanishes at Drive 10
}

TEST_F(SaturatorEngineConfigure, FlatResponseLeavesOnlyPeakAndDriveShelf) {
  engine.Configure(kFs, DriveToDb(5), 0, 0.2, 0.5);
  const SaturatorCoefficients& c = engine.coefficients();
  // A = 1: the shelves are identities.
  EXPECT_EQ(c.preEmphasis.b0, 1.0);
  EXPECT_EQ(c.preEmphasis.b1, c.preEmphasis.a1);
  EXPECT_EQ(c.deEmphasis.b2, c.deEmphasis.a2);
  EXPECT_EQ(c.toneLowpass.b, DesignOnePole(12000, kFs, OnePoleMode::Lowpass, 0).b);
  EXPECT_EQ(c.airShelf.k, 0.0);
  EXPECT_EQ(c.lowPeak.a0, DesignPeak(351.85837720205683 / kFs, 1.8, 0.6 - 0.12 * 5).a0);
  EXPECT_GT(c.driveShelf.k, 0.0);
}

TEST_F(SaturatorEngineConfigure, DarkResponseLowersLowpassToAboutSevenKilohertz) {
  engine.Configure(kFs, -40, -10, 0.2, 0.5);
  const double expected = 12000 - std::pow(0.5, 0.3) * 6000;
  EXPECT_NEAR(expected, 7126.5, 0.1);
  EXPECT_EQ(engine.coefficients().toneLowpass.b,
            DesignOnePole(expected, kFs, OnePoleMode::Lowpass, 0).b);
}

TEST_F(SaturatorEngineConfigure, NoAsymmetryMeansNoDriveShelf) {
  engine.Configure(kFs, -40, 0, 0.2, 0.0);
  EXPECT_EQ(engine.coefficients().driveShelf.k, 0.0);
  EXPECT_EQ(engine.coefficients().posScale, 1.0);
  EXPECT_DOUBLE_EQ(engine.coefficients().negScale, 1.1);
}

TEST_F(SaturatorEngineConfigure, LevellerGainIsAtMostTwentyFiveOverRootSixTwentySix) {
  // The gain is the root of R / (R + 1) with R = 25²: 25/√626 to the last bit or one beside it.
  EXPECT_EQ(engine.LevelGain(0.0), std::sqrt(625 / 626.0));
  EXPECT_NEAR(engine.LevelGain(0.0), 25 / std::sqrt(626.0), 2e-16);
  // A steady power of 1 is 122 dB above the threshold on the leveller's scale; 2.1:1 takes
  // 63.9 dB off it.
  double g = 1;
  for (int i = 0; i < 2000; ++i)
    g = engine.LevelGain(1.0);
  const double r = 25 * std::pow(10.0, -0.5238095238095238 * 122 / 20);
  EXPECT_NEAR(g, r / std::sqrt(r * r + 1), 1e-9);
}

TEST_F(SaturatorEngineConfigure, LevellerAgreesWithTheFullFormulaAroundItsThreshold) {
  // The gain below the threshold is taken without the curve; sweep the envelope through the
  // threshold (≈ 7.94e-7) in fine steps and compare with the formula evaluated every time.
  reference::Engine ref;
  for (double p = 1e-9; p < 1e-4; p *= 1.0005) {
    ASSERT_EQ(std::bit_cast<std::uint64_t>(engine.LevelGain(p)),
              std::bit_cast<std::uint64_t>(ref.LevelGain(p)))
        << p;
  }
  for (double p : {0.0, 7.94e-7, 7.943282347242815e-7, 1e300, std::nan("")}) {
    ASSERT_EQ(std::bit_cast<std::uint64_t>(engine.LevelGain(p)),
              std::bit_cast<std::uint64_t>(ref.LevelGain(p)))
        << p;
  }
}

TEST(SaturatorEngineProcess, SilenceGivesOnlyTheDithersTinyResponse) {
  SaturatorEngine engine;
  engine.Configure(kFs, -10, 0, 0.2, 0.5);
  double peak = 0;
  for (int i = 0; i < 44100; ++i) {
    const double y = engine.ProcessMono(0.0);
    if (i > 22050) peak = std::max(peak, std::abs(y)); // after the drive smoother settled
  }
  EXPECT_GT(peak, 0.0);
  EXPECT_LT(peak, 1e-9);
}

TEST(SaturatorEngineProcess, EqualStereoInputsGiveEqualOutputs) {
  SaturatorEngine engine;
  engine.Configure(kFs, -10, 3, 0.2, 0.7);
  const auto in = testing::Sine(440, 0.8, kFs, 4000);
  for (double x : in) {
    double l = 0, r = 0;
    engine.ProcessStereo(x, x, l, r);
    // The two dither generators run in lock step, so even the dither is equal.
    ASSERT_EQ(l, r);
  }
}

TEST(SaturatorEngineProcess, MonoLeavesTheRightChannelAndItsDitherAlone) {
  SaturatorEngine engine;
  engine.Configure(kFs, -10, 3, 0.2, 0.7);
  for (int i = 0; i < 100; ++i)
    engine.ProcessMono(0.3);
  EXPECT_EQ(engine.shared().ditherRight.seed, 0);
  EXPECT_EQ(engine.right().dc, 0.0);
  EXPECT_EQ(engine.right().up.delayed, 0.0);
  EXPECT_NE(engine.left().dc, 0.0);
}

TEST(SaturatorEngineProcess, MonoMatchesTheStraightforwardTranscription) {
  SaturatorEngine engine;
  reference::Engine ref;
  const auto in = testing::Sine(997, 2.0, kFs, 20000);
  for (int block = 0; block < 4; ++block) {
    const double driveDb = block * 20 - 40;
    engine.Configure(kFs, driveDb, block * 3 - 5, 0.3, 0.25 * block);
    ref.Configure(kFs, driveDb, block * 3 - 5, 0.3, 0.25 * block);
    for (int i = 0; i < 5000; ++i) {
      const double x = in[static_cast<std::size_t>(block * 5000 + i)] * (i % 700) / 700;
      ASSERT_EQ(std::bit_cast<std::uint64_t>(engine.ProcessMono(x)),
                std::bit_cast<std::uint64_t>(ref.ProcessMono(x)))
          << "block " << block << " frame " << i;
    }
  }
}

TEST(SaturatorEngineProcess, TwoEnginesRenderIdentically) {
  SaturatorEngine a, b;
  a.Configure(kFs, 0, 0, 0.6, 0.5);
  b.Configure(kFs, 0, 0, 0.6, 0.5);
  for (int i = 0; i < 20000; ++i) {
    const double x = std::sin(i * 0.05);
    ASSERT_EQ(a.ProcessMono(x), b.ProcessMono(x));
  }
}

} // namespace
} // namespace tavo
