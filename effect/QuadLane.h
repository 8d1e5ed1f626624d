#pragma once
// Twice as many lanes as a sample type: the oversampled core of a frame computes its even and its
// odd oversampled sample side by side, one in each half of a doubled lane. One channel (double)
// doubles into a two-lane StereoLane; two lanes double into four: a pair of two-lane values
// (LanePair), or on the AVX2 build one 256-bit register (Avx2Quad). The doubled types offer the
// operations of the lane types (add, subtract, multiply, divide, square root, the positive
// select) and Join, Low and High between a doubled value and its halves. Every operation is
// exactly rounded per lane, so each lane computes what a channel-by-channel scalar computation
// would, bit for bit.

#include "effect/StereoLane.h"

#if TAVO_HAVE_AVX2_PATH
#include <immintrin.h>
#endif

namespace tavo {

// ---- one channel doubled: the two lanes of a StereoLane ----

inline StereoLane Join(double low, double high) {
  return {low, high};
}
inline double Low(StereoLane v) {
  return v.Left();
}
inline double High(StereoLane v) {
  return v.Right();
}

// ---- any lane type doubled: two values of it ----

template <class L> struct LanePair {
  L low, high;

  LanePair() = default;
  LanePair(double all) : low(all), high(all) {} // NOLINT: broadcasting is the point
  LanePair(L lo, L hi) : low(lo), high(hi) {}

  friend LanePair operator+(LanePair a, LanePair b) { return {a.low + b.low, a.high + b.high}; }
  friend LanePair operator-(LanePair a, LanePair b) { return {a.low - b.low, a.high - b.high}; }
  friend LanePair operator*(LanePair a, LanePair b) { return {a.low * b.low, a.high * b.high}; }
  friend LanePair operator/(LanePair a, LanePair b) { return {a.low / b.low, a.high / b.high}; }
};

template <class L> inline LanePair<L> Sqrt(LanePair<L> v) {
  return {Sqrt(v.low), Sqrt(v.high)};
}
template <class L>
inline LanePair<L> SelectPositive(LanePair<L> u, LanePair<L> ifPositive, LanePair<L> otherwise) {
  return {SelectPositive(u.low, ifPositive.low, otherwise.low),
          SelectPositive(u.high, ifPositive.high, otherwise.high)};
}
template <class L> inline LanePair<L> Join(L low, L high) {
  return {low, high};
}
template <class L> inline L Low(LanePair<L> v) {
  return v.low;
}
template <class L> inline L High(LanePair<L> v) {
  return v.high;
}

// ---- two channels doubled in one AVX2 register ----

#if TAVO_HAVE_AVX2_PATH
#define TAVO_AVX2 __attribute__((target("avx2")))

// [left, right] of the low half in the low 128 bits, of the high half in the high 128 bits.
//
// The operations are generated for AVX2 and reached only from the AVX2 build of the stereo loop,
// into which they are inlined. What the baseline needs (setting a value up, taking it apart) is
// written without AVX instructions and always inlined, so it runs wherever it is called.
struct Avx2Quad {
  using Raw = double __attribute__((vector_size(32)));
  Raw v;

  Avx2Quad() = default;
  // Copied as one vector: a copy of the plain record would be generated piece by piece for the
  // baseline, which has no 256-bit moves, even inside the AVX2 loop. Not being trivially copyable
  // also makes every call pass and return the value through memory, whether the code on either
  // side is generated for AVX or for the baseline (which would otherwise disagree: AVX code
  // passes a 256-bit value in a register), as where an unoptimised build does not inline.
  TAVO_ALWAYS_INLINE Avx2Quad(const Avx2Quad& other) : v(other.v) {}
  TAVO_ALWAYS_INLINE Avx2Quad& operator=(const Avx2Quad& other) {
    v = other.v;
    return *this;
  }
  TAVO_ALWAYS_INLINE Avx2Quad(const Raw& raw) : v(raw) {}                 // NOLINT
  TAVO_ALWAYS_INLINE Avx2Quad(double all) : v(Raw{all, all, all, all}) {} // NOLINT: broadcasting

  friend TAVO_AVX2 Avx2Quad operator+(Avx2Quad a, Avx2Quad b) { return _mm256_add_pd(a.v, b.v); }
  friend TAVO_AVX2 Avx2Quad operator-(Avx2Quad a, Avx2Quad b) { return _mm256_sub_pd(a.v, b.v); }
  friend TAVO_AVX2 Avx2Quad operator*(Avx2Quad a, Avx2Quad b) { return _mm256_mul_pd(a.v, b.v); }
  friend TAVO_AVX2 Avx2Quad operator/(Avx2Quad a, Avx2Quad b) { return _mm256_div_pd(a.v, b.v); }
};

TAVO_AVX2 inline Avx2Quad Sqrt(Avx2Quad v) {
  return _mm256_sqrt_pd(v.v);
}
// NaN compares false (ordered, quiet) and takes `otherwise`, as in the two-lane select.
TAVO_AVX2 inline Avx2Quad SelectPositive(Avx2Quad u, Avx2Quad ifPositive, Avx2Quad otherwise) {
  const __m256d positive = _mm256_cmp_pd(u.v, _mm256_setzero_pd(), _CMP_GT_OQ);
  return _mm256_blendv_pd(otherwise.v, ifPositive.v, positive);
}
TAVO_ALWAYS_INLINE inline Avx2Quad Join(Avx2Pair low, Avx2Pair high) {
  return Avx2Quad::Raw{low.Left(), low.Right(), high.Left(), high.Right()};
}
TAVO_ALWAYS_INLINE inline Avx2Pair Low(Avx2Quad q) {
  return {q.v[0], q.v[1]};
}
TAVO_ALWAYS_INLINE inline Avx2Pair High(Avx2Quad q) {
  return {q.v[2], q.v[3]};
}
#endif

// The doubled type of each sample type.
template <class T> struct Doubled { using type = LanePair<T>; };
template <> struct Doubled<double> { using type = StereoLane; };
#if TAVO_HAVE_AVX2_PATH
template <> struct Doubled<Avx2Pair> { using type = Avx2Quad; };
#endif
template <class T> using DoubledLane = typename Doubled<T>::type;

} // namespace tavo
