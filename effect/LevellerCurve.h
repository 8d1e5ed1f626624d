#pragma once
// The leveller's power curve: R(e) = 625 × (e / threshold envelope)^S, the square of its gain
// ratio for a power envelope e, S = 2 × (1/2.1 − 1) for a 2.1:1 ratio. Written as
// exp(S ln e + O) it is a logarithm whose result feeds an exponential, the longest serial chain in
// the frame loop; here it is one table-driven power instead, within about half an ulp of the
// exact value (LevellerCurveTest counts the errors), bit for bit the same on every platform and
// build: only IEEE additions, multiplications and integer operations on the bits, no fused
// multiply-add (the project compiles with -ffp-contract=off), no C library call.
//
// e = 2^k × z with z in [√½, √2), z in one of 128 intervals with a centre c whose reciprocal has
// 27 bits, and z = c (1 + r). Then R = exp(S k ln 2 + O) × c^S × (1 + r)^S: the first two factors
// come from tables (LevellerTables.h) as high parts whose product is exact and relative tails, the
// third is a polynomial in r. r = z/c − 1 is taken as rHi + rLo: z's high 26 bits times 1/c is
// exact, and so is the product minus 1; z's low bits times 1/c are too small to matter rounded.

#include <cstdint>
#include <cstring>

#include "effect/DspConstants.h"
#include "effect/LevellerTables.h"
#include "effect/StereoLane.h" // TAVO_ALWAYS_INLINE

namespace tavo {

// The tables were computed for the effect's constants.
static_assert(leveller_tables::kSlope ==
              2 * kLevellerSlope * kDecibelsToNepers * kNepersToDecibels);
static_assert(kLevellerThreshold == 122 && kLevellerRatio == 25);

namespace leveller_detail {

inline std::uint64_t Bits(double v) {
  std::uint64_t b;
  std::memcpy(&b, &v, sizeof b);
  return b;
}
inline double FromBits(std::uint64_t b) {
  double v;
  std::memcpy(&v, &b, sizeof v);
  return v;
}

// Envelopes outside the table of powers of two: far below the threshold (R above 625), beyond
// 2^943 (R below 2^-990, taken as 0; so is an infinite envelope) or NaN (taken as below the
// threshold, as the leveller has always taken it).
[[gnu::noinline, gnu::cold]] inline double LevelRatioBeyondTables(double e, std::int64_t k) {
  if (e != e) return kLevellerRatio * kLevellerRatio;
  return k < leveller_tables::kFirstK ? kLevellerRatio * kLevellerRatio * 16384 : 0.0;
}

} // namespace leveller_detail

// [any thread · no allocation] R(e) for an envelope e >= 0 (+0 included). Where R is 625 or more
// (the envelope at or below the threshold) the caller takes 625.
TAVO_ALWAYS_INLINE inline double LevelRatioCurve(double e) {
  using namespace leveller_tables;
  using leveller_detail::Bits;
  using leveller_detail::FromBits;
  const std::uint64_t ix = Bits(e);
  const std::uint64_t tmp = ix - kOffset;
  const std::int64_t k = std::int64_t(tmp) >> 52;
  // Unsigned, so that k below kFirstK wraps beyond the end too.
  if (std::uint64_t(k - kFirstK) > std::uint64_t(kLastK - kFirstK))
    return leveller_detail::LevelRatioBeyondTables(e, k);
  const IntervalRow& c = kIntervals[(tmp >> (52 - kIntervalBits)) & ((1u << kIntervalBits) - 1)];
  const PowerRow& p = kPowers[k - kFirstK];

  const double z = FromBits(ix - (tmp & (0xFFFull << 52)));
  const double zHi = FromBits(Bits(z) & ~((std::uint64_t(1) << 27) - 1));
  const double rHi = zHi * c.invc - 1.0; // exact
  const double rLo = (z - zHi) * c.invc;
  const double r = rHi + rLo;

  // The tails T of the two factors, (1 + T)(1 + r)^S − 1 = T + (1 + T)(S r + c2 r² + …), with
  // (1 + T) applied to the terms where T × term is not below 2^-60 (T < 2^-26), before r is known.
  const double t = (p.tail + c.tail) + p.tail * c.tail;
  const double s1 = kSlope + kSlope * t;
  const double c2 = kBinomial[0] + kBinomial[0] * t;
  const double c3 = kBinomial[1] + kBinomial[1] * t;
  const double c4 = kBinomial[2] + kBinomial[2] * t;
  // … = T + s1 r + r²((c2 + c3 r) + r²(c4 + c5 r) + r⁴(c6 + c7 r)), in parts that run at once.
  const double r2 = r * r;
  const double r4 = r2 * r2;
  const double a = c2 + r * c3;
  const double b = c4 + r * kBinomial[3];
  const double d = kBinomial[4] + r * kBinomial[5];
  const double q = (t + s1 * r) + r2 * ((a + r2 * b) + r4 * d);
  const double power = p.power * c.power; // exact: 27 and 26 bits
  return power + power * q;
}

} // namespace tavo
