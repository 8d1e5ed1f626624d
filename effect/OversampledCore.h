#pragma once
// The 2× oversampled heart of the saturator: interpolation, the one-pole pre-filter, the
// asymmetric nonlinearity, the pre-filter's approximate inverse and decimation. Written once over
// the sample type T (double for one channel, a lane type for two) and computed over its doubled
// type (QuadLane.h): the even and the odd oversampled sample of a frame side by side, one in each
// half.
//
// The half-band cascades run in z^-2, so even and odd oversampled samples are independent
// recursions, and the interpolator's two cascades take the same input: both run at once, the
// low half on cascade A, the high half on B. The interpolator's odd phase is fed only zeros from a
// zero state and so stays exactly +0 for ever: only its even phase is computed, A giving the even
// sample and B, one call later, the odd one. Of the decimator only the even phase of A (on the
// even sample) and the odd phase of B (on the odd one) ever reach the output; the other two are
// never computed. Only the pre-filter's recursion, from the even into the odd sample, and its
// inverse, from the odd sample into the next frame's even one, cross the halves. The samples come
// out bit for bit as from two calls of HalfBandFilter::Process per frame with the filters and the
// nonlinearity between them.

#include <array>

#include "effect/DspConstants.h"
#include "effect/HalfBandFilter.h"
#include "effect/QuadLane.h"

namespace tavo {

// The asymmetric nonlinearity over any lane type, each lane taking its own branch. Both branches
// behave as s − evenAmount × s² for small s; the branch follows the sign of the oversampled input
// u, not of the pre-filtered s. The operands of both branches are chosen per lane first, so only
// two square roots and two divisions are needed, each of the form n / √(n² + 1); multiplying by an
// exact 1 where a branch has no factor keeps every lane's arithmetic that of its branch:
//   positive: (t / √(t² + 1)) × posScaleInv − (q / √(q² + 1)) × evenAmount
//   negative: (s / √(s² + 1)) × 1 − (h / √(h² + 1)) × negScaleInvEven
// with q = s², t = posScale × s, h = negScale × q and negScaleInvEven = negScaleInv × evenAmount.
template <class L> struct SaturationCurve {
  L posScale, posScaleInv, negScale, evenAmount, negScaleInvEven;

  TAVO_ALWAYS_INLINE L operator()(L s, L u) const {
    const L q = s * s;
    const L t = posScale * s;
    const L h = negScale * q;
    const L one(1.0);
    const L n1 = SelectPositive(u, t, s);
    const L n2 = SelectPositive(u, q, h);
    const L k1 = SelectPositive(u, posScaleInv, one);
    const L k2 = SelectPositive(u, evenAmount, negScaleInvEven);
    return n1 / Sqrt(n1 * n1 + one) * k1 - n2 / Sqrt(n2 * n2 + one) * k2;
  }
};

template <class T> class OversampledCore {
public:
  using Wide = DoubledLane<T>;

  // The two shaped oversampled samples of a frame, [even, odd], between the two halves.
  struct Shaped {
    Wide v;
  };

  // Takes the coefficients from the engine's coefficient record and the states from a channel
  // record of T.
  template <class Coefficients, class Channel>
  OversampledCore(const Coefficients& c, const Channel& ch) {
    Retune(c);
    for (int k = 0; k < 6; ++k) {
      halfBand_[k] = Join(T(kHalfBandCoefficientsA[k]), T(kHalfBandCoefficientsB[k]));
      upY_[k] = Join(ch.up.cascadeA.y1[k], ch.up.cascadeB.y1[k]);
      downY_[k] = Join(ch.down.cascadeA.y1[k], ch.down.cascadeB.y0[k]);
    }
    upX2_ = Join(ch.up.x1, ch.up.x1);
    upDelayed_ = Join(ch.up.delayed, T(0.0));
    downX2_ = Join(ch.down.x1, ch.down.x0);
    downDelayed_ = ch.down.delayed;
    preState_ = ch.preState;
    shapedPrev_ = ch.shapedPrev;
  }

  // Takes other coefficients; the states stay.
  template <class Coefficients> void Retune(const Coefficients& c) {
    curve_ = {c.posScale, c.posScaleInv, c.negScale, c.evenAmount, c.negScaleInvEven};
    preCoeff_ = c.preCoeff;
    preFeedback_ = c.preFeedback;
    postGain_ = c.postGain;
    postFeedback_ = c.postFeedback;
  }

  // Writes the states back into a channel record.
  template <class Channel> void StoreTo(Channel& ch) const {
    for (int k = 0; k < 6; ++k) {
      ch.up.cascadeA.y1[k] = Low(upY_[k]);
      ch.up.cascadeB.y1[k] = High(upY_[k]);
      ch.down.cascadeA.y1[k] = Low(downY_[k]);
      ch.down.cascadeB.y0[k] = High(downY_[k]);
    }
    ch.up.x1 = Low(upX2_);
    ch.down.x1 = Low(downX2_);
    ch.down.x0 = High(downX2_);
    ch.down.delayed = downDelayed_;
    ch.preState = preState_;
    ch.shapedPrev = shapedPrev_;
  }

  // [audio thread · no allocation] One frame, whole or in its two halves (interpolation and
  // shaping, then the pre-filter's inverse and decimation), each depending on earlier frames only
  // through its own states.
  TAVO_ALWAYS_INLINE T Process(T w) { return Decimate(Shape(w)); }

  TAVO_ALWAYS_INLINE Shaped Shape(T w) {
    const T v = T(double(kOversampling)) * w;
    const Wide x = Join(v, v);
    // [even, odd]: `delayed` is the interpolator's odd phase of B, and the odd phase of A is +0.
    const Wide up = ProcessAllpassPhase(halfBand_, upY_, x, upX2_);
    upX2_ = x;
    const Wide u = (up + upDelayed_) * Wide(0.5);

    // The pre-filter runs from the even sample into the odd one.
    const Wide p = Wide(preCoeff_) * u;
    const T feedback(preFeedback_);
    const T even = Low(p) + feedback * preState_;
    const T odd = High(p) + feedback * even;
    preState_ = odd;
    return {curve_(Join(even, odd), u)};
  }

  TAVO_ALWAYS_INLINE T Decimate(const Shaped& s) {
    // The approximate inverse of the pre-filter: each sample with the shaped sample before it.
    const Wide before = Join(shapedPrev_, Low(s.v));
    shapedPrev_ = High(s.v);
    const Wide e = (s.v - Wide(postFeedback_) * before) * Wide(postGain_);

    // Decimation: A on the even sample, B on the odd one; B's output is used one frame later.
    const Wide down = ProcessAllpassPhase(halfBand_, downY_, e, downX2_);
    downX2_ = e;
    const T y = (Low(down) + downDelayed_) * T(0.5);
    downDelayed_ = High(down);
    return y;
  }

private:
  SaturationCurve<Wide> curve_;
  // A's coefficients in the low half, B's in the high: each half runs its own cascade.
  std::array<Wide, 6> halfBand_;
  std::array<Wide, 6> upY_, downY_;
  Wide upX2_, upDelayed_, downX2_;
  T downDelayed_, preState_, shapedPrev_;
  double preCoeff_, preFeedback_, postGain_, postFeedback_;
};

} // namespace tavo
