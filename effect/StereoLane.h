#pragma once
// Two-channel lanes: the stereo path runs the left and the right channel through the same
// operations in the same order, so it is written once over a lane type holding one double per
// channel. `ScalarPair` computes each lane with plain double arithmetic; `Sse2Pair` computes both
// lanes with one SSE2 instruction per operation. Every operation used here is exactly rounded per
// lane (add, subtract, multiply, divide, square root, compare), so both lane types give
// bit-identical results to a channel-by-channel scalar computation.
//
// The same generic helpers are overloaded for plain double, so a filter written over a sample
// type T serves the mono path (T = double) and the stereo path (T = a lane type).

#include <cmath>
#include <cstring>

#include "effect/Flush.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define TAVO_HAVE_SSE2 1
#endif

// For the per-frame stages of the sample loops: the compiler's size heuristics would otherwise
// turn the largest of them into calls, which keeps neighbouring frames from overlapping.
#if defined(__GNUC__)
#define TAVO_ALWAYS_INLINE __attribute__((always_inline))
#else
#define TAVO_ALWAYS_INLINE
#endif

namespace tavo {

// ---- plain double ----

inline double Sqrt(double v) {
  return std::sqrt(v);
}
// u > 0 ? ifPositive : otherwise (NaN counts as not positive).
inline double SelectPositive(double u, double ifPositive, double otherwise) {
  return u > 0 ? ifPositive : otherwise;
}
// Below lo becomes lo, above hi becomes hi; NaN passes.
inline double Clamp(double v, double lo, double hi) {
  v = v < lo ? lo : v;
  return v > hi ? hi : v;
}

// Whether a value is neither infinite nor NaN; lane types below answer for both lanes.
inline bool IsFinite(double v) {
  return AllFinite({v});
}

// ---- two doubles, computed lane by lane ----

struct alignas(16) ScalarPair {
  double l = 0, r = 0;

  ScalarPair() = default;
  ScalarPair(double both) : l(both), r(both) {} // NOLINT: broadcasting is the point
  ScalarPair(double left, double right) : l(left), r(right) {}

  double Left() const { return l; }
  double Right() const { return r; }
  ScalarPair Swapped() const { return {r, l}; }

  friend ScalarPair operator+(ScalarPair a, ScalarPair b) { return {a.l + b.l, a.r + b.r}; }
  friend ScalarPair operator-(ScalarPair a, ScalarPair b) { return {a.l - b.l, a.r - b.r}; }
  friend ScalarPair operator*(ScalarPair a, ScalarPair b) { return {a.l * b.l, a.r * b.r}; }
  friend ScalarPair operator/(ScalarPair a, ScalarPair b) { return {a.l / b.l, a.r / b.r}; }
};

inline ScalarPair Sqrt(ScalarPair v) {
  return {std::sqrt(v.l), std::sqrt(v.r)};
}
inline ScalarPair FlushTiny(ScalarPair v) {
  return {FlushTiny(v.l), FlushTiny(v.r)};
}
inline ScalarPair FlushTinyOrNonFinite(ScalarPair v) {
  return {FlushTinyOrNonFinite(v.l), FlushTinyOrNonFinite(v.r)};
}
inline ScalarPair SelectPositive(ScalarPair u, ScalarPair ifPositive, ScalarPair otherwise) {
  return {u.l > 0 ? ifPositive.l : otherwise.l, u.r > 0 ? ifPositive.r : otherwise.r};
}
inline ScalarPair Clamp(ScalarPair v, double lo, double hi) {
  return {Clamp(v.l, lo, hi), Clamp(v.r, lo, hi)};
}
inline bool IsFinite(ScalarPair v) {
  return AllFinite({v.l, v.r});
}

// ---- two doubles in one SSE2 register ----

#if TAVO_HAVE_SSE2
// The instruction set a lane type is generated for. The same operations on __m128d run in the
// baseline (SSE2) and, on x86-64, in one function generated for AVX2 (three-operand VEX forms,
// see SignalChainAvx2.cpp). Each has its own lane type, so the AVX2 loop is an instantiation of
// its own rather than a second use of the baseline's.
enum class LaneIsa { Sse2, Avx2 };

template <LaneIsa Isa> struct alignas(16) VectorPair {
  __m128d v;

  VectorPair() : v(_mm_setzero_pd()) {}
  VectorPair(__m128d raw) : v(raw) {}               // NOLINT
  VectorPair(double both) : v(_mm_set1_pd(both)) {} // NOLINT: broadcasting is the point
  VectorPair(double left, double right) : v(_mm_set_pd(right, left)) {}

  double Left() const { return _mm_cvtsd_f64(v); }
  double Right() const { return _mm_cvtsd_f64(_mm_unpackhi_pd(v, v)); }
  VectorPair Swapped() const { return _mm_shuffle_pd(v, v, 1); }

  friend VectorPair operator+(VectorPair a, VectorPair b) { return _mm_add_pd(a.v, b.v); }
  friend VectorPair operator-(VectorPair a, VectorPair b) { return _mm_sub_pd(a.v, b.v); }
  friend VectorPair operator*(VectorPair a, VectorPair b) { return _mm_mul_pd(a.v, b.v); }
  friend VectorPair operator/(VectorPair a, VectorPair b) { return _mm_div_pd(a.v, b.v); }
};

using Sse2Pair = VectorPair<LaneIsa::Sse2>;

template <LaneIsa Isa> inline VectorPair<Isa> Sqrt(VectorPair<Isa> v) {
  return _mm_sqrt_pd(v.v);
}
// |v| < 2^-1022 is exactly "biased exponent 0"; NaN compares false and is kept, as in FlushTiny.
template <LaneIsa Isa> inline VectorPair<Isa> FlushTiny(VectorPair<Isa> v) {
  const __m128d m = _mm_and_pd(v.v, _mm_castsi128_pd(_mm_set1_epi64x(0x7FFFFFFFFFFFFFFFll)));
  const __m128d tiny = _mm_cmplt_pd(m, _mm_set1_pd(0x1p-1022));
  return _mm_andnot_pd(tiny, v.v);
}
// Kept only when 2^-54 <= |v| <= largest finite; NaN fails both compares and is flushed.
template <LaneIsa Isa> inline VectorPair<Isa> FlushTinyOrNonFinite(VectorPair<Isa> v) {
  const __m128d m = _mm_and_pd(v.v, _mm_castsi128_pd(_mm_set1_epi64x(0x7FFFFFFFFFFFFFFFll)));
  const __m128d keep = _mm_and_pd(_mm_cmpge_pd(m, _mm_set1_pd(0x1p-54)),
                                  _mm_cmple_pd(m, _mm_set1_pd(1.7976931348623157e308)));
  return _mm_and_pd(keep, v.v);
}
template <LaneIsa Isa>
inline VectorPair<Isa> SelectPositive(VectorPair<Isa> u, VectorPair<Isa> ifPositive,
                                      VectorPair<Isa> otherwise) {
  const __m128d positive = _mm_cmpgt_pd(u.v, _mm_setzero_pd());
  return _mm_or_pd(_mm_and_pd(positive, ifPositive.v), _mm_andnot_pd(positive, otherwise.v));
}

// max(a, b) answers a > b ? a : b and min(a, b) a < b ? a : b, so a NaN in b passes, as above.
template <LaneIsa Isa> inline VectorPair<Isa> Clamp(VectorPair<Isa> v, double lo, double hi) {
  return _mm_min_pd(_mm_set1_pd(hi), _mm_max_pd(_mm_set1_pd(lo), v.v));
}

template <LaneIsa Isa> inline bool IsFinite(VectorPair<Isa> v) {
  return AllFinite({v.Left(), v.Right()});
}

// The lane type the product's stereo path uses where no other is chosen.
using StereoLane = Sse2Pair;
#else
using StereoLane = ScalarPair;
#endif

// The AVX2 build of the frame loop exists on x86-64 with a compiler that can generate one
// function for it (effect/SignalChainAvx2.cpp); 32-bit builds keep SSE2 alone.
#if TAVO_HAVE_SSE2 && defined(__x86_64__) && defined(__GNUC__)
#define TAVO_HAVE_AVX2_PATH 1
using Avx2Pair = VectorPair<LaneIsa::Avx2>;
#endif

// List<Before..., every two-lane type this build has>: for code that keeps one thing per build of
// the stereo path.
template <template <class...> class List, class... Before>
using WithStereoLanes = List<Before..., ScalarPair
#if TAVO_HAVE_SSE2
                             ,
                             Sse2Pair
#endif
#if TAVO_HAVE_AVX2_PATH
                             ,
                             Avx2Pair
#endif
                             >;

// Packs the same-named states of a left and a right state record into one record of lanes and
// back. The records hold nothing but values of their sample type (no padding, no coefficients),
// so they can be viewed as plain arrays of that type.
template <template <class> class Record, class Lane>
Record<Lane> PackLanes(const Record<double>& left, const Record<double>& right) {
  static_assert(sizeof(Record<double>) % sizeof(double) == 0);
  constexpr std::size_t n = sizeof(Record<double>) / sizeof(double);
  static_assert(sizeof(Record<Lane>) == n * sizeof(Lane), "state records must hold only samples");
  double l[n];
  double r[n];
  std::memcpy(l, &left, sizeof l);
  std::memcpy(r, &right, sizeof r);
  Lane lanes[n];
  for (std::size_t i = 0; i < n; ++i)
    lanes[i] = Lane(l[i], r[i]);
  Record<Lane> out;
  std::memcpy(static_cast<void*>(&out), lanes, sizeof lanes);
  return out;
}

template <template <class> class Record, class Lane>
void UnpackLanes(const Record<Lane>& lanes, Record<double>& left, Record<double>& right) {
  constexpr std::size_t n = sizeof(Record<double>) / sizeof(double);
  static_assert(sizeof(Record<Lane>) == n * sizeof(Lane), "state records must hold only samples");
  Lane v[n];
  std::memcpy(v, static_cast<const void*>(&lanes), sizeof v);
  double l[n];
  double r[n];
  for (std::size_t i = 0; i < n; ++i) {
    l[i] = v[i].Left();
    r[i] = v[i].Right();
  }
  std::memcpy(static_cast<void*>(&left), l, sizeof l);
  std::memcpy(static_cast<void*>(&right), r, sizeof r);
}

} // namespace tavo
