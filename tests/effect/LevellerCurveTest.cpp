// The leveller's power curve against the C library's logarithm and exponential in extended
// precision, over every envelope the leveller takes it for, counted in ulps.
#include "effect/LevellerCurve.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "effect/DspConstants.h"

namespace tavo {
namespace {

// The slope and the scale as the tables take them: rounded to double.
const double kTwiceSlope = 2 * kLevellerSlope * kDecibelsToNepers;
const double kScale = kTwiceSlope * kNepersToDecibels;

// The exponent of R(e) = 625 × exp(2 slope (8.69 ln e + 122) dB in nepers), in long double.
long double Exponent(double e) {
  return kScale * std::log(static_cast<long double>(e)) +
         (static_cast<long double>(kTwiceSlope) * kLevellerThreshold + std::log(625.0L));
}

// |got − exact| in ulps of the double nearest the exact value.
double UlpError(double got, long double exact) {
  const double nearest = static_cast<double>(exact);
  const double ulp = std::nextafter(nearest, std::numeric_limits<double>::infinity()) - nearest;
  return static_cast<double>(std::abs(static_cast<long double>(got) - exact) / ulp);
}

// The envelope at the threshold, exp(−122 / 8.69): R is 625 there, and below it R is not used.
const double kThresholdEnvelope = std::exp(-kLevellerThreshold / kNepersToDecibels);

TEST(LevellerCurve, WithinHalfAnUlpOverEveryEnvelopeAboveTheThreshold) {
  if (std::numeric_limits<long double>::digits < 64)
    GTEST_SKIP() << "long double is no wider than double here";
  // The reference's own error: its exponent x is off by up to 4 long double roundings of |x|
  // (2^-64 each), and exp adds one more relative to R; that is |x|/512 + 1/1024 ulps of a double.
  // The curve is within 0.505 ulps of the exact value (checked once against 50-digit arithmetic).
  // Envelopes spread evenly in logarithm from just below the threshold to 2^943, beyond which R
  // is below 2^-990 and taken as 0, plus every interval boundary of the reduced argument in a few
  // octaves (where the tables change row).
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> octaves(std::log2(kThresholdEnvelope) - 0.1, 943.0);
  int count = 0, beyond = 0, halfUlp = 0;
  double worstExcess = -1, worstAt = 0;
  auto check = [&](double e) {
    const long double x = Exponent(e);
    const double error = UlpError(LevelRatioCurve(e), std::exp(x));
    const double referenceError = static_cast<double>(std::abs(x)) / 512 + 1.0 / 1024;
    ++count;
    halfUlp += error <= 0.5 + referenceError;
    if (error - referenceError > worstExcess) {
      worstExcess = error - referenceError;
      worstAt = e;
    }
    beyond += error > 0.505 + referenceError;
  };
  for (int i = 0; i < 300000; ++i)
    check(std::exp2(octaves(random)));
  for (int octave : {-20, -3, 0, 1, 40, 900})
    for (int row = 0; row < 128; ++row) {
      const double boundary = std::ldexp(std::exp2(row / 128.0) * std::sqrt(0.5), octave);
      for (double e : {std::nextafter(boundary, 0.0), boundary, std::nextafter(boundary, 2.0)})
        check(e);
    }
  EXPECT_EQ(beyond, 0) << "worst " << worstExcess << " ulp beyond the reference's error, at "
                       << worstAt;
  // All but a few are within half an ulp of the exact value, that is the nearest double.
  EXPECT_GT(halfUlp, count - count / 500) << halfUlp << " of " << count;
}

TEST(LevellerCurve, IsTwentyFiveSquaredAtTheThresholdAndFallsAtTwoPointOneToOne) {
  EXPECT_NEAR(LevelRatioCurve(kThresholdEnvelope), 625.0, 625.0 * 1e-13);
  // Ten times the power (10 dB) takes 2 × 10 × (1 − 1/2.1) dB off the squared ratio.
  const double e = kThresholdEnvelope * 1000;
  const double dropDb = 10 * std::log10(LevelRatioCurve(e) / LevelRatioCurve(e * 10));
  EXPECT_NEAR(dropDb, 20 * (1 - 1 / 2.1), 1e-6);
}

TEST(LevellerCurve, EnvelopesBeyondTheTablesAndDamagedOnes) {
  // Far below the threshold: above 625, which the leveller takes as 625.
  for (double e : {0.0, 1e-300, std::numeric_limits<double>::denorm_min(), 1e-9, 5e-8})
    EXPECT_GE(LevelRatioCurve(e), 625.0) << e;
  // Beyond 2^943: 0, as for an infinite envelope; just below it a value under 2^-980.
  EXPECT_GT(LevelRatioCurve(std::ldexp(1.4, 943)), 0.0);
  EXPECT_LT(LevelRatioCurve(std::ldexp(1.4, 943)), std::ldexp(1.0, -980));
  EXPECT_EQ(LevelRatioCurve(std::ldexp(1.0, 944)), 0.0);
  EXPECT_EQ(LevelRatioCurve(std::numeric_limits<double>::max()), 0.0);
  EXPECT_EQ(LevelRatioCurve(std::numeric_limits<double>::infinity()), 0.0);
  // NaN is taken as below the threshold, as the leveller has always taken it; the chain's guard
  // then starts over.
  EXPECT_EQ(LevelRatioCurve(std::numeric_limits<double>::quiet_NaN()), 625.0);
}

} // namespace
} // namespace tavo
