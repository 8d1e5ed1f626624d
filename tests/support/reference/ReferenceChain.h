#pragma once
// A straightforward scalar transcription of the signal chain and the saturator engine: one
// channel at a time, every filter with its full textbook state, no lanes, no working copies, no
// deferred meter arithmetic. The product's optimised paths must agree with it bit for bit.
// Coefficient designs are taken from the product (they are checked on their own elsewhere); the
// processing, and every number in it, is written out here independently.
//
// A small library of its own (tavo_reference) that the effect's tests and the benchmarks link:
// the tests check the product against it, the benchmarks measure the product against it.

#include <array>
#include <cmath>
#include <cstdint>

#include "effect/Biquad.h"
#include "effect/CrosstalkFilter.h"
#include "effect/Flush.h"
#include "effect/OnePoleFilter.h"
#include "effect/RandomDrift.h"
#include "effect/SignalChain.h"

namespace tavo::reference {

struct Noise {
  std::int32_t seed = 0;
  double Next() {
    seed = (seed * 3877 + 29573) % 139968;
    return FlushTiny(1 - seed * 2.0 * 7.144490169181527e-06);
  }
};

struct Bq {
  double b0 = 0, b1 = 0, b2 = 0, a0 = 0, a1 = 0, a2 = 0;
  double y1 = 0, y2 = 0, x1 = 0, x2 = 0;
  void Set(const BiquadCoefficients& c) {
    b0 = c.b0, b1 = c.b1, b2 = c.b2, a0 = c.a0, a1 = c.a1, a2 = c.a2;
  }
  double Process(double x) {
    double y = b1 * x1 + b0 * x + b2 * x2 - a1 * y1 - a2 * y2;
    y = FlushTiny(y);
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y;
  }
};

struct OnePole {
  int mode = 0;
  double b = 0, a = 0, k = 0, z = 0, out = 0;
  void Set(const OnePoleCoefficients& c) {
    mode = static_cast<int>(c.mode), b = c.b, a = c.a, k = c.k;
  }
  double Process(double x) {
    z = b * 2 * x + a * z;
    if (mode == 0) out = z;
    if (mode == 1) out = x - z;
    if (mode == 4) out = k * z + x;
    if (mode == 5) out = (x - z) * k + x;
    out = FlushTiny(out);
    return out;
  }
};

struct Allpass {
  struct Section {
    double x0 = 0, x1 = 0, x2 = 0, y0 = 0, y1 = 0, y2 = 0;
  };
  std::array<Section, 6> sections;
  std::array<double, 6> a;
  double Process(double x) {
    for (int i = 0; i < 6; ++i) {
      Section& s = sections[i];
      s.x2 = s.x1;
      s.x1 = s.x0;
      s.x0 = x;
      s.y2 = s.y1;
      s.y1 = s.y0;
      s.y0 = (x - s.y2) * a[i] + s.x2;
      x = s.y0;
    }
    return x;
  }
};

struct HalfBand {
  Allpass A{{},
            {0.036681502163648017, 0.2746317593794541, 0.5610989697879195, 0.769741833862266,
             0.8922608180038789, 0.962094548378084}};
  Allpass B{{},
            {0.13654762463195771, 0.42313861743656667, 0.6775400499741616, 0.839889624849638,
             0.9315419599631839, 0.9878163707328971}};
  double delayed = 0;
  double Process(double x) {
    const double y = (A.Process(x) + delayed) * 0.5;
    delayed = B.Process(x);
    return y;
  }
};

class Engine {
public:
  HalfBand upLeft, upRight, downLeft, downRight;
  OnePole toneLowpassLeft, toneLowpassRight, airShelfLeft, airShelfRight, driveShelfLeft,
      driveShelfRight;
  Bq preEmphasisLeft, preEmphasisRight, deEmphasisLeft, deEmphasisRight, lowPeakLeft, lowPeakRight;
  int steps = 4;
  double stepSize = 0.25, coeff = 0, feed = 0, value = 1.0, target = 1.0;
  DriftRandom random;
  Noise ditherLeft, ditherRight;
  double driveGain = 0, dcLeft = 0, dcPrevLeft = 0, dcRight = 0, dcPrevRight = 0;
  double preCoeff = 0, preFeedback = 0, postGain = 0, postFeedback = 0;
  double preStateLeft = 0, preStateRight = 0, shapedPrevLeft = 0, shapedPrevRight = 0;
  double driftGainLeft = 0, driftGainRight = 0, driftDepth = 0, driveTarget = 0, makeup = 0;
  double envelope = 0, envelopeCoeff = 0, threshold = 0, slope = 0, pending = 0;
  double posScale = 0, posScaleInv = 0, negScale = 0, negScaleInv = 0, evenAmount = 0;
  int oversampling = 2;

  Engine();
  void Configure(double fs, double driveDb, double r, double driftBase, double asym);
  // The leveller's squared gain ratio R after adding `added` to the envelope, and the gain
  // √(R / (R + 1)) for an input of power p.
  double LevelRatio(double added);
  double LevelGain(double p);
  double Shape(double s, bool positive) const;

  void Drift();
  double Oversampled(double w, HalfBand& up, HalfBand& down, double& preState, double& shapedPrev);
  void ProcessStereo(double xL, double xR, double& outL, double& outR);
  double ProcessMono(double x);
};

// The chain, including the meter as first described (logarithms every frame).
class Chain {
public:
  double rampGain = 0, wetMix = 0, inputGain = 1, outputGain = 1, noiseLevel = 0.000030517578125;
  bool bypassed = false;
  double resetSampleRate = 44100;
  Bq crosstalkToLeft, crosstalkToRight;
  double levelToLeft = 0, levelToRight = 0;
  Noise noiseLeft, noiseRight;
  Bq noiseShelfLeft, noiseShelfRight;
  Engine saturator;
  double cA = 0, cB = 0, vuRectifier = 0, vuLevel = 0, vuAttack = 0, vuRelease = 0, rmsCoeff = 0,
         rmsInPower = 0, rmsOutPower = 0, rmsIn = 0, rmsOut = 0, rmsDifference = 0, meterValue = 0;
  int vuMode = 0;

  void Reset(double fs);
  void MeterStep(double m, double a, double b);
  void Process(const ChainSettings& s, double fs, bool stereo, const double* const* in,
               double* const* out, int frames);
};

} // namespace tavo::reference
