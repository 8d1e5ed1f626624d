#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <complex>
#include <limits>
#include <numbers>
#include <vector>

#include "effect/Biquad.h"
#include "effect/CrosstalkFilter.h"
#include "effect/Flush.h"
#include "effect/HalfBandFilter.h"
#include "effect/NoiseSource.h"
#include "effect/OnePoleFilter.h"
#include "effect/RandomDrift.h"
#include "tests/effect/TestSignals.h"
#include "tests/support/reference/ReferenceChain.h"

namespace tavo {
namespace {

// Magnitude of a section's response at w radians per sample, from its coefficients.
double Magnitude(const BiquadCoefficients& c, double w) {
  const std::complex<double> z1 = std::polar(1.0, -w);
  const std::complex<double> z2 = z1 * z1;
  return std::abs((c.b0 + c.b1 * z1 + c.b2 * z2) / (1.0 + c.a1 * z1 + c.a2 * z2));
}

TEST(FlushRules, FlushTinyZeroesSubnormalsOnly) {
  EXPECT_EQ(FlushTiny(std::numeric_limits<double>::denorm_min()), 0.0);
  EXPECT_EQ(FlushTiny(std::nextafter(std::numeric_limits<double>::min(), 0.0)), 0.0);
  EXPECT_EQ(FlushTiny(std::numeric_limits<double>::min()), std::numeric_limits<double>::min());
  EXPECT_FALSE(std::signbit(FlushTiny(-0.0)));
  EXPECT_TRUE(std::isnan(FlushTiny(std::nan(""))));
  EXPECT_TRUE(std::isinf(FlushTiny(INFINITY)));
}

TEST(FlushRules, FlushTinyOrNonFiniteZeroesBelowTwoToMinus54AndNonFinite) {
  EXPECT_EQ(FlushTinyOrNonFinite(std::nextafter(0x1p-54, 0.0)), 0.0);
  EXPECT_EQ(FlushTinyOrNonFinite(0x1p-54), 0x1p-54);
  EXPECT_EQ(FlushTinyOrNonFinite(-0x1p-54), -0x1p-54);
  EXPECT_EQ(FlushTinyOrNonFinite(INFINITY), 0.0);
  EXPECT_EQ(FlushTinyOrNonFinite(-INFINITY), 0.0);
  EXPECT_EQ(FlushTinyOrNonFinite(std::nan("")), 0.0);
  EXPECT_EQ(FlushTinyOrNonFinite(std::numeric_limits<double>::max()),
            std::numeric_limits<double>::max());
}

template <class Lane> class LaneFlush : public ::testing::Test {};
#if TAVO_HAVE_SSE2
using LaneTypes = ::testing::Types<ScalarPair, Sse2Pair>;
#else
using LaneTypes = ::testing::Types<ScalarPair>;
#endif
TYPED_TEST_SUITE(LaneFlush, LaneTypes);

TYPED_TEST(LaneFlush, LaneRulesMatchScalarRulesOnBoundaryValues) {
  const double values[] = {0.0,
                           -0.0,
                           std::numeric_limits<double>::denorm_min(),
                           std::nextafter(std::numeric_limits<double>::min(), 0.0),
                           std::numeric_limits<double>::min(),
                           -std::numeric_limits<double>::min(),
                           std::nextafter(0x1p-54, 0.0),
                           0x1p-54,
                           -0x1p-54,
                           1.5,
                           -25.0,
                           std::numeric_limits<double>::max(),
                           INFINITY,
                           -INFINITY,
                           std::nan("")};
  for (double a : values) {
    for (double b : values) {
      const TypeParam v(a, b);
      const auto bits = [](double x) { return std::bit_cast<std::uint64_t>(x); };
      EXPECT_EQ(bits(FlushTiny(v).Left()), bits(FlushTiny(a)));
      EXPECT_EQ(bits(FlushTiny(v).Right()), bits(FlushTiny(b)));
      EXPECT_EQ(bits(FlushTinyOrNonFinite(v).Left()), bits(FlushTinyOrNonFinite(a)));
      EXPECT_EQ(bits(FlushTinyOrNonFinite(v).Right()), bits(FlushTinyOrNonFinite(b)));
      EXPECT_EQ(bits(Clamp(v, -20, 20).Left()), bits(Clamp(a, -20, 20)));
      EXPECT_EQ(bits(Clamp(v, -20, 20).Right()), bits(Clamp(b, -20, 20)));
      EXPECT_EQ(bits(SelectPositive(v, TypeParam(1.0), TypeParam(2.0)).Left()),
                bits(SelectPositive(a, 1.0, 2.0)));
      EXPECT_EQ(bits(SelectPositive(v, TypeParam(1.0), TypeParam(2.0)).Right()),
                bits(SelectPositive(b, 1.0, 2.0)));
    }
  }
}

TEST(NoiseSourceTest, FirstTenSeedsFollowTheRecurrence) {
  NoiseSource noise;
  const std::array<std::int32_t, 10> expected = {29573, 50302,  75003, 102668, 4417,
                                                 78186, 125975, 86296, 75645,  72278};
  const double first = noise.Next();
  EXPECT_EQ(noise.seed, expected[0]);
  EXPECT_NEAR(first, 0.577432, 5e-7);
  EXPECT_EQ(first, 1 - 29573 * 2.0 * 7.144490169181527e-06);
  for (std::size_t i = 1; i < expected.size(); ++i) {
    noise.Next();
    EXPECT_EQ(noise.seed, expected[i]);
  }
}

// From every seed, the next seed and value are those of the plain signed recurrence and the
// flushed 1 − seed × 2 × (1/M), bit for bit, and stay in range.
TEST(NoiseSourceTest, EverySeedStepsAsThePlainFormulaWithinOpenMinusOneToOne) {
  for (std::int32_t from = 0; from < NoiseSource::kModulus; ++from) {
    NoiseSource noise{from};
    const double v = noise.Next();
    const std::int32_t next = (from * 3877 + 29573) % 139968;
    ASSERT_EQ(noise.seed, next);
    const double plain = FlushTiny(1.0 - next * 2.0 * 7.144490169181527e-06);
    ASSERT_EQ(std::bit_cast<std::uint64_t>(v), std::bit_cast<std::uint64_t>(plain)) << from;
    ASSERT_GT(v, -1.0);
    ASSERT_LE(v, 1.0);
  }
}

class ShelfDesign : public ::testing::Test {
protected:
  static constexpr double kDbToNp = 0.1151292546497;
};

TEST_F(ShelfDesign, HighShelfIsFlatAtDcAndASquaredAtNyquist) {
  for (double gainDb : {-14.0, -3.0, 6.0}) {
    const double A = std::exp(gainDb * kDbToNp);
    const BiquadCoefficients c = DesignHighShelf(A, 2 * std::numbers::pi * 850 / 44100, 0.2);
    EXPECT_NEAR(Magnitude(c, 0), 1.0, 1e-12);
    EXPECT_NEAR(testing::Decibels(Magnitude(c, std::numbers::pi)), 2 * gainDb, 1e-9);
    EXPECT_DOUBLE_EQ(c.a0, (A + 1) - (A - 1) * std::cos(2 * std::numbers::pi * 850 / 44100) +
                               std::sqrt(A) / 0.2 * std::sin(2 * std::numbers::pi * 850 / 44100));
  }
}

TEST_F(ShelfDesign, CrosstalkLowShelfLowersLowFrequenciesBySixPointTwoDecibels) {
  CrosstalkFilter f;
  f.DesignLowShelf(867, 44100, 0.24, -3.1, -90);
  EXPECT_NEAR(testing::Decibels(Magnitude(f.coefficients, 0)), -6.2, 1e-9);
  EXPECT_NEAR(Magnitude(f.coefficients, std::numbers::pi), 1.0, 1e-12);
  EXPECT_EQ(f.level, std::exp(-90 * kDbToNp));
}

TEST_F(ShelfDesign, PeakReachesTwiceItsDecibelValueAtTheCentre) {
  // Like the shelves, the peak takes A as the gain of the decibel value itself.
  const double w = 351.85837720205683 / 44100;
  const BiquadCoefficients c = DesignPeak(w, 1.8, 0.6);
  EXPECT_NEAR(testing::Decibels(Magnitude(c, w)), 1.2, 1e-9);
  EXPECT_NEAR(Magnitude(c, 0), 1.0, 1e-12);
  EXPECT_EQ(c.b1, c.a1);
  EXPECT_EQ(c.a0, 1 + (std::sinh(0.6931471805599453 * 0.5 * 1.8 * w / std::sin(w)) * std::sin(w)) /
                          std::exp(0.6 * kDbToNp));
}

TEST(BiquadTest, DecaysToExactZerosInsteadOfSubnormals) {
  Biquad b;
  b.coefficients = DesignHighShelf(2.0, 0.3, 0.7);
  b.Process(1e-300);
  double y = 1;
  for (int i = 0; i < 20000; ++i) {
    y = b.Process(0.0);
    ASSERT_TRUE(y == 0.0 || std::fpclassify(y) == FP_NORMAL) << "frame " << i;
  }
  EXPECT_EQ(y, 0.0);
  EXPECT_EQ(b.state.y1, 0.0);
  EXPECT_EQ(b.state.y2, 0.0);
}

TEST(BiquadTest, ProcessesInDirectFormOne) {
  Biquad b;
  b.coefficients = {0.5, 0.25, 0.125, 1.0, -0.5, 0.25};
  EXPECT_EQ(b.Process(1.0), 0.5);
  EXPECT_EQ(b.Process(0.0), 0.25 + 0.5 * 0.5);
  EXPECT_EQ(b.Process(0.0), 0.125 + 0.5 * 0.5 - 0.25 * 0.5);
}

TEST(OnePoleFilterTest, HighShelfWithZeroAmountPassesInputUnchanged) {
  OnePoleFilter f;
  f.Design(14000, 44100, OnePoleMode::HighShelf, 0);
  const auto in = testing::Sine(3000, 0.7, 44100, 500);
  for (double x : in)
    ASSERT_EQ(f.Process(x), x);
}

TEST(OnePoleFilterTest, LowpassHasUnityDcGainAndHighpassRemovesDc) {
  OnePoleFilter lp, hp;
  lp.Design(1000, 48000, OnePoleMode::Lowpass, 0);
  hp.Design(1000, 48000, OnePoleMode::Highpass, 0);
  double l = 0, h = 0;
  for (int i = 0; i < 20000; ++i) {
    l = lp.Process(1.0);
    h = hp.Process(1.0);
  }
  EXPECT_NEAR(l, 1.0, 1e-12);
  EXPECT_NEAR(h, 0.0, 1e-12);
}

TEST(OnePoleFilterTest, UnknownModeKeepsLastOutput) {
  OnePoleFilter f;
  f.Design(1000, 48000, OnePoleMode::Lowpass, 0);
  const double last = f.Process(1.0);
  f.coefficients.mode = static_cast<OnePoleMode>(3);
  EXPECT_EQ(f.Process(0.5), last);
}

TEST(OnePoleFilterTest, DesignFollowsBilinearFormulas) {
  const OnePoleCoefficients c = DesignOnePole(12000, 44100, OnePoleMode::Lowpass, 0);
  const double K = 12000 * 6.283185307179586;
  EXPECT_EQ(c.a, (44100 * 3 - K) * (1 / (44100 * 3 + K)));
  EXPECT_EQ(c.b, (1 / (44100 * 3 + K)) * K);
}

TEST(HalfBandFilterTest, InterpolateThenDecimatePassesOneKilohertzAtUnityGain) {
  HalfBandFilter<double> up, down;
  const auto in = testing::Sine(1000, 1.0, 44100, 8820);
  std::vector<double> out;
  for (double x : in) {
    out.push_back(down.Process(up.Process(2 * x)));
    down.Process(up.Process(0.0));
  }
  EXPECT_NEAR(testing::SettledGainDb(in, out), 0.0, 0.001);
}

TEST(HalfBandFilterTest, RejectsImagesAboveTheOriginalNyquist) {
  // A tone at 20 kHz zero-stuffed to 88.2 kHz has its image at 68.2 kHz, which the
  // interpolator must remove: decimating the interpolator's odd outputs instead of its even
  // ones must give the same level.
  HalfBandFilter<double> up;
  const auto in = testing::Sine(20000, 1.0, 44100, 8820);
  std::vector<double> even, odd;
  for (double x : in) {
    even.push_back(up.Process(2 * x));
    odd.push_back(up.Process(0.0));
  }
  EXPECT_NEAR(testing::Rms(std::span(even).subspan(4410)),
              testing::Rms(std::span(odd).subspan(4410)), 0.01);
}

TEST(HalfBandFilterTest, SharedInputHistoryMatchesSixStateSections) {
  HalfBandFilter<double> compact;
  reference::HalfBand full;
  NoiseSource noise;
  for (int i = 0; i < 5000; ++i) {
    const double x = noise.Next() * (i % 3 == 0 ? 0.0 : 1.0);
    ASSERT_EQ(std::bit_cast<std::uint64_t>(compact.Process(x)),
              std::bit_cast<std::uint64_t>(full.Process(x)));
  }
}

TEST(DriftRandomTest, IsDeterministicPerInstanceAndNonNegative) {
  DriftRandom a, b;
  for (int i = 0; i < 1000; ++i) {
    const std::int32_t v = a.Next();
    ASSERT_EQ(v, b.Next());
    ASSERT_GE(v, 0);
  }
}

TEST(DriftRandomTest, RemaindersModuloFourAreEquallyFrequent) {
  DriftRandom r;
  std::array<int, 4> counts{};
  constexpr int kDraws = 400000;
  for (int i = 0; i < kDraws; ++i)
    ++counts[static_cast<std::size_t>(r.Next() % 4)];
  for (int c : counts)
    EXPECT_NEAR(c, kDraws / 4, kDraws / 4 * 0.01);
}

TEST(DriftRandomTest, DriftVisitsAllFourLevels) {
  RandomDrift drift;
  const double e = std::exp(-1 / (44100 * 0.005));
  drift.coeff = e;
  drift.feed = 1 - e;
  std::array<bool, 4> seen{};
  for (int i = 0; i < 100000; ++i) {
    drift.Step();
    seen[static_cast<std::size_t>(drift.target / 0.25 - 1 + 0.5)] = true;
    ASSERT_GE(drift.value, 0.25 - 1e-12);
    ASSERT_LE(drift.value, 1.0 + 1e-12);
  }
  for (bool s : seen)
    EXPECT_TRUE(s);
}

} // namespace
} // namespace tavo
