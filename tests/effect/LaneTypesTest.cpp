// Every lane type and every doubled lane type against plain double arithmetic, lane by lane and
// bit for bit, on values at the edges (signed zeros, subnormals, infinities, NaN), and the
// saturation curve over each of them against the curve over double: lanes never mix, and each
// takes its own branch.

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "effect/OversampledCore.h"
#include "effect/QuadLane.h"
#include "effect/SimdPath.h"

namespace tavo {
namespace {

std::uint64_t Bits(double v) {
  return std::bit_cast<std::uint64_t>(v);
}

// How a test puts values into the lanes of a type and reads them back, through the halves where
// the type is a doubled one, so that Join, Low and High are exercised on the way.
template <class L> struct Lanes;
template <> struct Lanes<ScalarPair> {
  static constexpr int kCount = 2;
  static ScalarPair Make(const double* v) { return {v[0], v[1]}; }
  static void Take(ScalarPair x, double* v) { v[0] = x.Left(), v[1] = x.Right(); }
};
template <LaneIsa Isa> struct Lanes<VectorPair<Isa>> {
  static constexpr int kCount = 2;
  static VectorPair<Isa> Make(const double* v) { return {v[0], v[1]}; }
  static void Take(VectorPair<Isa> x, double* v) { v[0] = x.Left(), v[1] = x.Right(); }
};
template <class L> struct Doubling {
  static constexpr int kCount = 2 * Lanes<L>::kCount;
  template <class W> static W Make(const double* v) {
    return Join(Lanes<L>::Make(v), Lanes<L>::Make(v + Lanes<L>::kCount));
  }
  template <class W> static void Take(const W& x, double* v) {
    Lanes<L>::Take(Low(x), v);
    Lanes<L>::Take(High(x), v + Lanes<L>::kCount);
  }
};
template <class L> struct Lanes<LanePair<L>> : Doubling<L> {
  static LanePair<L> Make(const double* v) { return Doubling<L>::template Make<LanePair<L>>(v); }
  static void Take(const LanePair<L>& x, double* v) { Doubling<L>::Take(x, v); }
};
// The two lanes of a StereoLane are also the doubled form of one channel.
struct OneChannelDoubled {
  using Type = StereoLane;
  static constexpr int kCount = 2;
  static StereoLane Make(const double* v) { return Join(v[0], v[1]); }
  static void Take(StereoLane x, double* v) { v[0] = Low(x), v[1] = High(x); }
};
#if TAVO_HAVE_AVX2_PATH
template <> struct Lanes<Avx2Quad> : Doubling<Avx2Pair> {
  static Avx2Quad Make(const double* v) { return Doubling<Avx2Pair>::Make<Avx2Quad>(v); }
  static void Take(const Avx2Quad& x, double* v) { Doubling<Avx2Pair>::Take(x, v); }
};
#endif
template <class L> struct Of : Lanes<L> { using Type = L; };

template <class Access> class LaneTypes : public ::testing::Test {
protected:
  void SetUp() override {
#if TAVO_HAVE_AVX2_PATH
    constexpr bool kNeedsAvx2 = std::is_same_v<typename Access::Type, Avx2Quad> ||
                                std::is_same_v<typename Access::Type, Avx2Pair>;
    if (kNeedsAvx2 && !SimdPathAvailable(SimdPath::Avx2)) GTEST_SKIP() << "no AVX2 here";
#endif
  }
};
using AllLaneTypes = ::testing::Types<Of<ScalarPair>, Of<LanePair<ScalarPair>>, OneChannelDoubled
#if TAVO_HAVE_SSE2
                                      ,
                                      Of<Sse2Pair>, Of<LanePair<Sse2Pair>>
#endif
#if TAVO_HAVE_AVX2_PATH
                                      ,
                                      Of<Avx2Pair>, Of<Avx2Quad>
#endif
                                      >;
TYPED_TEST_SUITE(LaneTypes, AllLaneTypes);

const double kEdges[] = {0.0,
                         -0.0,
                         std::numeric_limits<double>::denorm_min(),
                         -std::numeric_limits<double>::min(),
                         1e-300,
                         0.3,
                         -0.7,
                         1.0,
                         -2.5,
                         3e200,
                         std::numeric_limits<double>::max(),
                         INFINITY,
                         -INFINITY,
                         std::nan("")};
constexpr int kEdgeCount = sizeof kEdges / sizeof kEdges[0];

TYPED_TEST(LaneTypes, EveryOperationIsThePlainOneInEachLane) {
  using A = TypeParam;
  using L = typename A::Type;
  constexpr int n = A::kCount;
  // Each lane gets its own pair of operands, walking through all pairs of edge values.
  for (int start = 0; start < kEdgeCount * kEdgeCount; start += n) {
    double a[n], b[n];
    for (int k = 0; k < n; ++k) {
      const int pair = (start + k) % (kEdgeCount * kEdgeCount);
      a[k] = kEdges[pair / kEdgeCount];
      b[k] = kEdges[pair % kEdgeCount];
    }
    const L x = A::Make(a), y = A::Make(b);
    double sum[n], difference[n], product[n], quotient[n], root[n], select[n], broadcast[n];
    A::Take(x + y, sum);
    A::Take(x - y, difference);
    A::Take(x * y, product);
    A::Take(x / y, quotient);
    A::Take(Sqrt(x), root);
    A::Take(SelectPositive(x, y, L(5.0)), select);
    A::Take(L(b[0]), broadcast);
    for (int k = 0; k < n; ++k) {
      SCOPED_TRACE(::testing::Message() << "lane " << k << ": " << a[k] << ", " << b[k]);
      EXPECT_EQ(Bits(sum[k]), Bits(a[k] + b[k]));
      EXPECT_EQ(Bits(difference[k]), Bits(a[k] - b[k]));
      EXPECT_EQ(Bits(product[k]), Bits(a[k] * b[k]));
      EXPECT_EQ(Bits(quotient[k]), Bits(a[k] / b[k]));
      EXPECT_EQ(Bits(root[k]), Bits(std::sqrt(a[k])));
      EXPECT_EQ(Bits(select[k]), Bits(a[k] > 0 ? b[k] : 5.0)); // NaN and −0 are not positive
      EXPECT_EQ(Bits(broadcast[k]), Bits(b[0]));
    }
  }
}

TYPED_TEST(LaneTypes, HalvesComeBackWhereTheyWent) {
  using A = TypeParam;
  constexpr int n = A::kCount;
  double in[n], out[n];
  for (int k = 0; k < n; ++k)
    in[k] = k + 0.25;
  A::Take(A::Make(in), out);
  for (int k = 0; k < n; ++k)
    EXPECT_EQ(out[k], in[k]) << "lane " << k;
}

TYPED_TEST(LaneTypes, SaturationCurveRunsEachLaneOnItsOwnBranch) {
  using A = TypeParam;
  using L = typename A::Type;
  constexpr int n = A::kCount;
  const SaturationCurve<double> plain{0.85, 1 / 0.85, 1.1, 1 / 1.1, 0.3};
  const SaturationCurve<L> lanes{0.85, 1 / 0.85, 1.1, 1 / 1.1, 0.3};
  // Neighbouring lanes disagree on the sign of u, and s runs through both signs and the edges.
  const double u[] = {1.0, -1.0, -0.0, std::nan(""), 0.5, 0.0, -2.0, 1e-310};
  for (int start = 0; start < kEdgeCount; ++start) {
    double s[n], uu[n], out[n];
    for (int k = 0; k < n; ++k) {
      s[k] = kEdges[(start + k) % kEdgeCount];
      uu[k] = u[(start + k) % 8];
    }
    A::Take(lanes(A::Make(s), A::Make(uu)), out);
    for (int k = 0; k < n; ++k)
      EXPECT_EQ(Bits(out[k]), Bits(plain(s[k], uu[k]))) << "lane " << k << ": " << s[k];
  }
}

} // namespace
} // namespace tavo
