#pragma once
// The oversampled core of the stereo path on the AVX2 build: both channels and both polyphase
// halves of a frame side by side in one 256-bit register, [left, right] of the first half in the
// low 128 bits and of the second half in the high 128 bits.
//
// The interpolator's two cascades take the same input and are independent, as are the
// decimator's two (one runs on the even oversampled sample, the other on the odd one); the shaper
// works on the even and the odd sample of a frame independently once the one-pole pre-filter,
// whose recursion runs from the even into the odd sample, has given both its outputs. Every lane
// performs exactly the operations, in the same order, that SaturatorKernel's two-lane core
// performs, so the samples are bit for bit the same; four lanes per instruction only halve the
// number of instructions, divisions and square roots among them.
//
// Every function here is generated for AVX2 only and reached only from the AVX2 build of the
// stereo loop. The states are kept as plain doubles between calls, so no 256-bit value ever
// passes through code generated for the baseline.

#include "effect/StereoLane.h"

#if TAVO_HAVE_AVX2_PATH
#include <immintrin.h>

#include <array>

#include "effect/HalfBandFilter.h"

#define TAVO_AVX2 __attribute__((target("avx2")))

namespace tavo {

class WideCore {
public:
  // Takes the states from a channel record of two-lane states and the coefficients from the
  // engine's coefficient record.
  template <class Coefficients, class Channel>
  TAVO_AVX2 WideCore(const Coefficients& c, const Channel& ch) {
    for (int k = 0; k < 6; ++k) {
      Store(halfBand_[k],
            Join(_mm_set1_pd(kHalfBandCoefficientsA[k]), _mm_set1_pd(kHalfBandCoefficientsB[k])));
      Store(upY_[k], Join(ch.up.cascadeA.y1[k].v, ch.up.cascadeB.y1[k].v));
      Store(downY_[k], Join(ch.down.cascadeA.y1[k].v, ch.down.cascadeB.y0[k].v));
    }
    Store(upX2_, Join(ch.up.x1.v, ch.up.x1.v));
    Store(upDelayed_, Join(ch.up.delayed.v, _mm_setzero_pd()));
    Store(downX2_, Join(ch.down.x1.v, ch.down.x0.v));
    _mm_store_pd(downDelayed_.data(), ch.down.delayed.v);
    _mm_store_pd(preState_.data(), ch.preState.v);
    _mm_store_pd(shapedPrev_.data(), ch.shapedPrev.v);
    preCoeff_ = c.preCoeff;
    preFeedback_ = c.preFeedback;
    postGain_ = c.postGain;
    postFeedback_ = c.postFeedback;
    posScale_ = c.posScale;
    posScaleInv_ = c.posScaleInv;
    negScale_ = c.negScale;
    negScaleInv_ = c.negScaleInv;
    evenAmount_ = c.evenAmount;
  }

  // Writes the states back into the channel record they were taken from.
  template <class Channel> TAVO_AVX2 void StoreTo(Channel& ch) const {
    for (int k = 0; k < 6; ++k) {
      const __m256d up = Load(upY_[k]);
      ch.up.cascadeA.y1[k].v = Low(up);
      ch.up.cascadeB.y1[k].v = High(up);
      const __m256d down = Load(downY_[k]);
      ch.down.cascadeA.y1[k].v = Low(down);
      ch.down.cascadeB.y0[k].v = High(down);
    }
    ch.up.x1.v = Low(Load(upX2_));
    ch.down.x1.v = Low(Load(downX2_));
    ch.down.x0.v = High(Load(downX2_));
    ch.down.delayed.v = _mm_load_pd(downDelayed_.data());
    ch.preState.v = _mm_load_pd(preState_.data());
    ch.shapedPrev.v = _mm_load_pd(shapedPrev_.data());
  }

  // The two shaped oversampled samples of a frame, [even, odd] of both channels, between the two
  // halves of the core.
  struct Shaped {
    alignas(32) std::array<double, 4> v;
  };

  // [audio thread · no allocation] One frame: the pre-emphasised, leveled input of both channels
  // in, the decimated shaper output out; whole or in its two halves (interpolation and shaping,
  // then the pre-filter's inverse and decimation), each depending on earlier frames only through
  // its own states.
  TAVO_AVX2 __m128d Process(__m128d w) { return Decimate(Shape(w)); }

  TAVO_AVX2 Shaped Shape(__m128d w) {
    const __m128d v = _mm_mul_pd(_mm_set1_pd(2.0), w);
    const __m256d x = Join(v, v);
    // [even, odd]: `delayed` is the interpolator's odd phase of B, and the odd phase of A is +0.
    const __m256d up = Cascade(upY_, x, Load(upX2_));
    Store(upX2_, x);
    const __m256d u = _mm256_mul_pd(_mm256_add_pd(up, Load(upDelayed_)), _mm256_set1_pd(0.5));

    // The pre-filter runs from the even sample into the odd one.
    const __m256d p = _mm256_mul_pd(_mm256_set1_pd(preCoeff_), u);
    const __m128d feedback = _mm_set1_pd(preFeedback_);
    const __m128d even = _mm_add_pd(Low(p), _mm_mul_pd(feedback, _mm_load_pd(preState_.data())));
    const __m128d odd = _mm_add_pd(High(p), _mm_mul_pd(feedback, even));
    _mm_store_pd(preState_.data(), odd);
    Shaped shaped;
    Store(shaped.v, Nonlinearity(Join(even, odd), u));
    return shaped;
  }

  TAVO_AVX2 __m128d Decimate(const Shaped& s) {
    const __m256d shaped = Load(s.v);
    // The approximate inverse of the pre-filter: each sample with the shaped sample before it.
    const __m256d before = Join(_mm_load_pd(shapedPrev_.data()), Low(shaped));
    _mm_store_pd(shapedPrev_.data(), High(shaped));
    const __m256d e =
        _mm256_mul_pd(_mm256_sub_pd(shaped, _mm256_mul_pd(_mm256_set1_pd(postFeedback_), before)),
                      _mm256_set1_pd(postGain_));

    // Decimation: A on the even sample, B on the odd one; B's output is used one frame later.
    const __m256d down = Cascade(downY_, e, Load(downX2_));
    Store(downX2_, e);
    const __m128d y =
        _mm_mul_pd(_mm_add_pd(Low(down), _mm_load_pd(downDelayed_.data())), _mm_set1_pd(0.5));
    _mm_store_pd(downDelayed_.data(), High(down));
    return y;
  }

private:
  using Quad = std::array<double, 4>;
  using Pair = std::array<double, 2>;

  static TAVO_AVX2 __m256d Load(const Quad& q) { return _mm256_load_pd(q.data()); }
  static TAVO_AVX2 void Store(Quad& q, __m256d v) { _mm256_store_pd(q.data(), v); }
  static TAVO_AVX2 __m256d Join(__m128d low, __m128d high) {
    return _mm256_insertf128_pd(_mm256_castpd128_pd256(low), high, 1);
  }
  static TAVO_AVX2 __m128d Low(__m256d v) { return _mm256_castpd256_pd128(v); }
  static TAVO_AVX2 __m128d High(__m256d v) { return _mm256_extractf128_pd(v, 1); }

  // Six allpass sections in z^-2 on both cascades at once (see ProcessAllpassPhase).
  TAVO_AVX2 __m256d Cascade(std::array<Quad, 6>& y, __m256d x, __m256d x2) const {
    for (int k = 0; k < 6; ++k) {
      const __m256d yk = Load(y[k]);
      const __m256d out =
          _mm256_add_pd(_mm256_mul_pd(_mm256_sub_pd(x, yk), Load(halfBand_[k])), x2);
      x2 = yk;
      Store(y[k], out);
      x = out;
    }
    return x;
  }

  // The asymmetric nonlinearity with each lane taking its own branch, as the two-lane core does.
  TAVO_AVX2 __m256d Nonlinearity(__m256d s, __m256d u) const {
    const __m256d one = _mm256_set1_pd(1.0);
    const __m256d positive = _mm256_cmp_pd(u, _mm256_setzero_pd(), _CMP_GT_OQ);
    const auto select = [positive](__m256d ifPositive, __m256d otherwise)
                            TAVO_AVX2 { return _mm256_blendv_pd(otherwise, ifPositive, positive); };
    const __m256d q = _mm256_mul_pd(s, s);
    const __m256d t = _mm256_mul_pd(_mm256_set1_pd(posScale_), s);
    const __m256d h = _mm256_mul_pd(_mm256_set1_pd(negScale_), q);
    const __m256d n1 = select(t, s);
    const __m256d d1 = select(_mm256_add_pd(_mm256_mul_pd(t, t), one), _mm256_add_pd(q, one));
    const __m256d n2 = select(q, h);
    const __m256d d2 =
        select(_mm256_add_pd(_mm256_mul_pd(q, q), one), _mm256_add_pd(_mm256_mul_pd(h, h), one));
    const __m256d even = _mm256_set1_pd(evenAmount_);
    const __m256d k1 = select(_mm256_set1_pd(posScaleInv_), one);
    const __m256d k2 = select(even, _mm256_set1_pd(negScaleInv_));
    const __m256d k3 = select(one, even);
    const __m256d first = _mm256_mul_pd(_mm256_div_pd(n1, _mm256_sqrt_pd(d1)), k1);
    const __m256d second =
        _mm256_mul_pd(_mm256_mul_pd(_mm256_div_pd(n2, _mm256_sqrt_pd(d2)), k2), k3);
    return _mm256_sub_pd(first, second);
  }

  alignas(32) std::array<Quad, 6> halfBand_;
  alignas(32) std::array<Quad, 6> upY_, downY_;
  alignas(32) Quad upX2_, upDelayed_, downX2_;
  alignas(16) Pair downDelayed_, preState_, shapedPrev_;
  double preCoeff_, preFeedback_, postGain_, postFeedback_;
  double posScale_, posScaleInv_, negScale_, negScaleInv_, evenAmount_;
};

} // namespace tavo
#endif
