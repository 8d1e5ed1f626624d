#pragma once
// The sound of the effect: drive gain, pre-emphasis, a slow random gain drift, a feedback
// leveller, a 2× oversampled asymmetric nonlinearity between a one-pole pre-filter and a
// post-filter that approximately inverts it, inverse make-up gain, a post-filter chain
// (de-emphasis, low-pass, low peak, two high shelves) and a DC blocker.
//
// The engine keeps coefficients (rewritten by every Configure), the state both channels share
// (drive smoother, drift, leveller, dither generators) and one record of filter states per
// channel. Processing runs in a `SaturatorKernel`: a working copy of all of that, taken at the
// start of a block and written back at its end, so the frame loop works on local state that no
// input or output pointer can alias. The kernel is written once over its sample type: double for
// one channel, a lane type (StereoLane.h) for two channels side by side; its oversampled core
// (OversampledCore.h) computes over the doubled type (QuadLane.h).

#include <cstdint>
#include <type_traits>

#include "effect/Biquad.h"
#include "effect/DspConstants.h"
#include "effect/HalfBandFilter.h"
#include "effect/LevellerCurve.h"
#include "effect/NoiseSource.h"
#include "effect/OnePoleFilter.h"
#include "effect/OversampledCore.h"
#include "effect/RandomDrift.h"
#include "effect/StereoLane.h"

namespace tavo {

struct SaturatorCoefficients {
  static constexpr int kOversampling = tavo::kOversampling;

  double preCoeff = 0, preFeedback = 0;       // one-pole pre-filter
  double postGain = 0, postFeedback = 0;      // its approximate inverse after the shaper
  double envelopeCoeff = 0, envelopeFeed = 0; // feedback leveller: the envelope's glide, 1 − it
  double idleBelow = 0;   // envelope under which the leveller is surely below its threshold
  double driveTarget = 0; // linear drive gain the smoother approaches
  double evenAmount = 0;  // weight of the even-order term
  double posScale = 1, posScaleInv = 1, negScale = 1, negScaleInv = 1; // asymmetry
  double negScaleInvEven = 0; // negScaleInv × evenAmount: the negative branch's even weight
  double driftDepth = 0;
  double driftCoeff = 0, driftFeed = 0; // the drift's glide towards its target (see TuneDrift)
  OnePoleCoefficients toneLowpass, airShelf, driveShelf;
  BiquadCoefficients preEmphasis, deEmphasis, lowPeak;
};

// Shared by both channels of the stereo path.
struct SaturatorShared {
  RandomDrift drift;
  NoiseSource ditherLeft, ditherRight;
  double driveGain = 0; // smoothed drive gain; rises from 0 after construction
  double makeup = 0;    // inverse make-up gain of the current frame
  double driftGain = 1; // drift gain applied in the current frame
  double envelope = 0;  // leveller's power envelope
  double pending = 0;   // what the next frame adds to it: its input's power × envelopeFeed
};

// The filter states of one channel (or, with a lane type, of both). Holds nothing but samples.
template <class T> struct SaturatorChannel {
  HalfBandFilter<T> up, down; // interpolator, decimator
  OnePoleState<T> toneLowpass, airShelf, driveShelf;
  BiquadState<T> preEmphasis, deEmphasis, lowPeak;
  T dc{}, dcPrev{}; // DC blocker
  T preState{};     // one-pole pre-filter
  T shapedPrev{};   // previous shaper output
};

// [audio thread · no allocation] Gives a drift the time constant and levels of the coefficients;
// its value, target and random generator stay.
inline void TuneDrift(const SaturatorCoefficients& c, RandomDrift& drift) {
  drift.steps = kDriftSteps;
  drift.stepSize = kDriftStepSize;
  drift.coeff = c.driftCoeff;
  drift.feed = c.driftFeed;
}

// [audio thread · no allocation] The leveller: advances the power envelope by `pending` and
// returns R, the square of its gain ratio: 625 below the threshold, falling smoothly (2.1:1) once
// the envelope passes it. The gain is √(R / (R + 1)), at most 25/√626 ≈ 0.9992.
//
// It is the square that the next frame needs: the leveller hears a share of its own gained input,
// whose power is the ungained input's power times R / (R + 1). Handing that on spares the frame's
// long serial chain (envelope, power curve, division, envelope) the square root and the gain's
// multiplication; the gain itself is taken beside it. The curve (LevellerCurve.h) is the same bits
// on every platform.
TAVO_ALWAYS_INLINE inline double LevelRatio(const SaturatorCoefficients& c, double& envelope,
                                            double pending) {
  envelope = envelope * c.envelopeCoeff + pending;
  // Well below the threshold R is the constant 625; deciding that without the curve changes no
  // result.
  if (std::abs(envelope) < c.idleBelow) return kLevellerRatio * kLevellerRatio;
  const double ratio = LevelRatioCurve(std::abs(envelope));
  return ratio < kLevellerRatio * kLevellerRatio ? ratio : kLevellerRatio * kLevellerRatio;
}

// What the leveller adds to its envelope in the next frame: the power of the ungained share f it
// hears, times R / (R + 1) as the gain squared, times the envelope's feed.
TAVO_ALWAYS_INLINE inline double LevelPending(const SaturatorCoefficients& c, double f,
                                              double ratio) {
  return f * f * c.envelopeFeed * ratio / (ratio + 1);
}

template <class T> class SaturatorKernel {
public:
  static constexpr bool kMono = std::is_same_v<T, double>;

  SaturatorKernel(const SaturatorCoefficients& c, const SaturatorShared& s,
                  const SaturatorChannel<T>& channels)
      : c_(c), t_(c), s_(s), ch_(channels), core_(c, channels) {}

  const SaturatorShared& shared() const { return s_; }

  // [audio thread · no allocation] Takes other coefficients (from the engine's Configure) and goes
  // on from the same states, exactly as a kernel begun afresh from the engine would.
  void Retune(const SaturatorCoefficients& c) {
    c_ = c;
    t_ = Taps(c);
    core_.Retune(c);
    TuneDrift(c, s_.drift);
  }

  // The judgement of SaturatorEngine::StatesFinite, made on this working copy.
  bool StatesFinite() const {
    return IsFinite(ch_.dc) && IsFinite(ch_.dcPrev) &&
           AllFinite({s_.envelope, s_.pending, s_.driveGain, s_.drift.value, s_.drift.target});
  }
  SaturatorChannel<T> channels() const {
    SaturatorChannel<T> ch = ch_;
    core_.StoreTo(ch);
    return ch;
  }

  // What the first stage of a frame hands to the later ones.
  struct Front {
    T w;           // leveled, drifted, pre-emphasised input of the oversampled core
    double makeup; // inverse make-up gain of this frame
    double drift;  // drift gain of this frame
  };

  // [audio thread · no allocation] One frame of one channel (T = double) or of two channels
  // (T = a lane type).
  T Process(T x) {
    const Front f = ProcessFront(x);
    return ProcessBack(ProcessCore(f.w), f);
  }

  // The same frame in three stages, front, core and back, the last two each also in two halves.
  // Only the front stage depends on the frames before it through shared state (drive smoother,
  // drift, leveller); the others depend on earlier frames only through their own filter states.
  // A caller may therefore run each stage or half a few frames behind the one before: the results
  // are the same, and the processor can overlap the long per-frame computations of consecutive
  // frames.
  // [audio thread · no allocation]
  TAVO_ALWAYS_INLINE Front ProcessFront(T x) {
    const SaturatorCoefficients& c = c_;
    s_.driveGain = c.driveTarget * kDriveSmootherStep + s_.driveGain * kDriveSmoothing;
    s_.makeup = kMakeupGain / s_.driveGain;

    T dither;
    if constexpr (kMono) {
      dither = s_.ditherLeft.Next();
    } else {
      const double left = s_.ditherLeft.Next();
      dither = T(left, s_.ditherRight.Next());
    }
    T w = T(s_.driveGain) * x + dither * T(kDitherLevel);
    w = ProcessBiquad(t_.preEmphasis, ch_.preEmphasis, w);

    const double m = c.driftDepth * s_.drift.Step() + 1;
    s_.driftGain = m;
    w = w * T(m);

    const double ratio = LevelRatio(c, s_.envelope, s_.pending);
    const T wg = w * T(std::sqrt(ratio / (ratio + 1)));
    // The leveller hears one tenth of its gained input (in stereo, of the mean of the two
    // channels).
    double f;
    if constexpr (kMono)
      f = kLevellerFeedbackShare * w;
    else
      f = (w.Right() + w.Left()) * kLevellerFeedbackShareOfSum;
    s_.pending = LevelPending(c, f, ratio);
    return {wg * T(kShaperInputGain), s_.makeup, m};
  }

  using Shaped = typename OversampledCore<T>::Shaped;

  // [audio thread · no allocation] 2× oversampled shaping (OversampledCore.h), whole or in its
  // two halves: interpolation and shaping, then decimation. Each half depends on earlier frames
  // only through its own states.
  TAVO_ALWAYS_INLINE T ProcessCore(T w) { return core_.Process(w); }
  TAVO_ALWAYS_INLINE Shaped ProcessUp(T w) { return core_.Shape(w); }
  TAVO_ALWAYS_INLINE T ProcessDown(const Shaped& s) { return core_.Decimate(s); }

  // [audio thread · no allocation] Make-up gain, post-filter chain, drift removal, DC blocker;
  // whole or in two halves, each depending on earlier frames only through its own states.
  TAVO_ALWAYS_INLINE T ProcessBack(T y, const Front& f) {
    return ProcessBackLate(ProcessBackEarly(y, f), f);
  }
  TAVO_ALWAYS_INLINE T ProcessBackEarly(T y, const Front& f) {
    const Taps& t = t_;
    SaturatorChannel<T>& ch = ch_;
    y = y * T(f.makeup);
    y = ProcessBiquad(t.deEmphasis, ch.deEmphasis, y);
    // Configure designs these three with fixed modes.
    y = ProcessOnePoleAs<OnePoleMode::Lowpass>(t.toneLowpass, ch.toneLowpass, y);
    return ProcessBiquad(t.lowPeak, ch.lowPeak, y);
  }
  TAVO_ALWAYS_INLINE T ProcessBackLate(T y, const Front& f) {
    const Taps& t = t_;
    SaturatorChannel<T>& ch = ch_;
    y = ProcessOnePoleAs<OnePoleMode::HighShelf>(t.airShelf, ch.airShelf, y);
    y = ProcessOnePoleAs<OnePoleMode::HighShelf>(t.driveShelf, ch.driveShelf, y);
    y = y / T(f.drift);

    ch.dc = ch.dc * T(kDcBlockerPole) + y - ch.dcPrev;
    ch.dcPrev = y;
    ch.dc = FlushTiny(ch.dc);
    return ch.dc; // already flushed: flushing twice changes nothing
  }

private:
  // The coefficients the frame stages multiply by, in the sample type (see BiquadTaps).
  struct Taps {
    explicit Taps(const SaturatorCoefficients& c)
        : preEmphasis(c.preEmphasis), deEmphasis(c.deEmphasis), lowPeak(c.lowPeak),
          toneLowpass(c.toneLowpass), airShelf(c.airShelf), driveShelf(c.driveShelf) {}

    BiquadTaps<T> preEmphasis, deEmphasis, lowPeak;
    OnePoleTaps<T> toneLowpass, airShelf, driveShelf;
  };

  SaturatorCoefficients c_;
  Taps t_;
  SaturatorShared s_;
  SaturatorChannel<T> ch_; // all but the oversampled states, which core_ holds
  OversampledCore<T> core_;
};

class SaturatorEngine {
public:
  // Coefficients start as configured for 44100 Hz at Drive 0; every state starts at zero, the
  // drift at 1.0, its random generator at `driftSeed`.
  explicit SaturatorEngine(std::uint64_t driftSeed = DriftRandom::kSeed);

  // [audio thread · processing lock held · no allocation] Rewrites coefficients only. driveDb is
  // DriveToDb(Drive) = Drive × 6 − 40, response the Freq Response (−10 … 10), driftBase Input Trim
  // × 0.01 + 0.2 and asym Asymmetry × 0.1 (0 … 1).
  void Configure(double sampleRate, double driveDb, double response, double driftBase, double asym);

  // [audio thread · processing lock held · no allocation] One frame of the left channel.
  double ProcessMono(double x);
  // [audio thread · processing lock held · no allocation] One frame of both channels.
  void ProcessStereo(double xL, double xR, double& yL, double& yR);

  // [audio thread · processing lock held · no allocation] The leveller on the engine's envelope,
  // given its input's power p: its gain.
  double LevelGain(double p) {
    const double ratio =
        LevelRatio(coefficients_, shared_.envelope, p * coefficients_.envelopeFeed);
    return std::sqrt(ratio / (ratio + 1));
  }

  // [audio thread · processing lock held · no allocation] Every state replaced.
  void SetStates(const SaturatorShared& shared, const SaturatorChannel<double>& left,
                 const SaturatorChannel<double>& right) {
    shared_ = shared;
    left_ = left;
    right_ = right;
  }

  // Working copies for a block of frames; End* writes the states back.
  // [audio thread · processing lock held · no allocation]
  SaturatorKernel<double> BeginMono() const { return {coefficients_, shared_, left_}; }
  void EndMono(const SaturatorKernel<double>& k) {
    shared_ = k.shared();
    left_ = k.channels();
  }
  template <class Lane> SaturatorKernel<Lane> BeginStereo() const {
    return {coefficients_, shared_, PackLanes<SaturatorChannel, Lane>(left_, right_)};
  }
  template <class Lane> void EndStereo(const SaturatorKernel<Lane>& k) {
    shared_ = k.shared();
    UnpackLanes<SaturatorChannel, Lane>(k.channels(), left_, right_);
  }

  // [audio thread · processing lock held · no allocation] Whether every state is finite, judged
  // from the few that all others feed. An infinity or a NaN anywhere in a channel's filters
  // reaches that channel's DC blocker in the same frame: every stage on the way passes it on
  // through arithmetic, which never turns it finite again (not even a multiplication by 0). Only
  // the leveller decides by comparisons; its envelope and the feedback that feeds it are looked
  // at directly, as are the shared drive smoother and drift.
  bool StatesFinite() const {
    return AllFinite({left_.dc, left_.dcPrev, right_.dc, right_.dcPrev, shared_.envelope,
                      shared_.pending, shared_.driveGain, shared_.drift.value,
                      shared_.drift.target});
  }

  const SaturatorCoefficients& coefficients() const { return coefficients_; }
  const SaturatorShared& shared() const { return shared_; }
  const SaturatorChannel<double>& left() const { return left_; }
  const SaturatorChannel<double>& right() const { return right_; }

private:
  SaturatorCoefficients coefficients_;
  SaturatorShared shared_;
  SaturatorChannel<double> left_, right_;
};

} // namespace tavo
