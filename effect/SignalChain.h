#pragma once
// The effect's block operation around the saturator: input trim, start-up ramp, crosstalk
// between the channels, smoothed bypass crossfade, output compensation, a hard safety clamp, a
// shaped noise floor about 90 dB down and the feeding of the level meter.
//
// TAVO owns one chain, forwards its Reset and parameter changes to it under the plug-in's lock
// and calls Process once per block. All pow/exp/sin/cos work happens in the block set-up; the
// frame loops do plain arithmetic, the leveller's power curve included.

#include <cstdint>

#include "effect/Biquad.h"
#include "effect/ChainStates.h"
#include "effect/CrosstalkFilter.h"
#include "effect/DspConstants.h"
#include "effect/NoiseSource.h"
#include "effect/SaturatorEngine.h"
#include "effect/SimdPath.h"
#include "effect/StereoLane.h"
#include "effect/VuMeter.h"

namespace tavo {

// Plain parameter values, read by TAVO from its parameters at the start of each block.
struct ChainSettings {
  double inputTrimDb = 0, drive = 0, asymmetry = 5, freqResponse = 0, crosstalkDb = -90, vuMode = 0;
};

class SignalChain {
public:
  static constexpr double kRampStep = kRampStepPerFrame;
  static constexpr double kClamp = kOutputClamp;
  static constexpr double kCrosstalkOff = kCrosstalkOffDb; // at exactly this level: apart
  // Sample rates outside this range are served as the nearest of the two; a rate that is not a
  // positive number as kDefaultSampleRate.
  static constexpr double kLowestSampleRate = 8000;
  static constexpr double kHighestSampleRate = 768000;

  // Ramp and wet mix start at 0 (the output fades in unless Reset runs), gains at 1, the noise
  // level at 2^-15 until the first block, the reset sample rate at 44100, the drift's random
  // generator at `driftSeed`.
  explicit SignalChain(std::uint64_t driftSeed = DriftRandom::kSeed);

  // [audio thread or main thread · processing lock held] Reconfigures the engine for the rate,
  // clears the RMS difference and puts the ramp at its end (1.0: one last step remains). The
  // filter states, the drive smoother, the drift and the meter's detectors go on from where they
  // are.
  void Reset(double sampleRate);
  // [main thread · processing lock held] Everything that depends on what was played before starts
  // over (filter states, drive smoother, drift from its seed, leveller, noise, meter, the bypass
  // crossfade), and then Reset for the rate: the chain renders as a new one after Reset. The gains
  // and the bypass switch, which are settings, stay.
  void ClearHistory(double sampleRate);
  // [main thread · processing lock held] Linear gains and the bypass switch.
  void SetInputGain(double linear) { inputGain_ = linear; }
  void SetOutputGain(double linear) { outputGain_ = linear; }
  void SetBypassed(bool bypassed) { bypassed_ = bypassed; }

  // [audio thread · processing lock held · no allocation] One block. in[0]/out[0] always;
  // in[1]/out[1] only when stereo (on the mono path output 1 is never touched). Writes exactly
  // `frames` samples to each output used; frames <= 0 runs the block set-up only. Non-finite
  // input samples, and finite ones beyond any a host can mean, are taken as silence so that no
  // state of the instance is ever poisoned. Every sample written is finite and within ±kClamp
  // plus the noise floor, times the ramp's 1.0001. Should a block still leave a state non-finite,
  // that block is written as silence and the chain starts over as a new instance after Reset.
  void Process(const ChainSettings& s, double sampleRate, bool stereo, const double* const* in,
               double* const* out, int frames) {
    ProcessOn(activePath_, s, sampleRate, stereo, in, out, frames);
  }
  // The same with the stereo frames on a chosen build of the kernels (tests, benchmarks); a path
  // this build or processor lacks is served by the best one below it. All give identical results.
  void ProcessOn(SimdPath path, const ChainSettings& s, double sampleRate, bool stereo,
                 const double* const* in, double* const* out, int frames);

  // [audio thread · processing lock held] The once-per-block needle mapping; returns the
  // position to hand to the editor. Call it only when an editor is attached.
  double UpdateNeedle() { return meter_.UpdateNeedle(); }

private:
  // Tests look at the chain's state through this one accessor (tests/support), not through
  // getters that production code has no use for.
  friend struct SignalChainTestAccess;

  void SetUp(const ChainSettings& s, double fs);
  bool StatesFinite() const;
  void StartOver();
  // The frames of one block: T = double runs the mono path, T = a lane type the stereo path.
  // Defined in SignalChainFrames.h, which the baseline unit and the AVX2 unit both compile.
  template <class T> void Run(const double* const* in, double* const* out, int frames);
  template <class T> class FrameStages; // Run's named stages
  friend void RunStereoAvx2(SignalChain& chain, const double* const* in, double* const* out,
                            int frames);

  ChainStates states_; // the engine's and the chain's filter states

  // What the last block set-up was computed from.
  struct SetUpInputs {
    ChainSettings settings;
    double sampleRate;
    double resetSampleRate;
  };
  SetUpInputs setUpInputs_{};
  bool setUpValid_ = false;
  SimdPath activePath_ = ActiveSimdPath();
  std::uint64_t driftSeed_;

  double rampGain_ = 0;
  double wetMix_ = 0;
  double inputGain_ = 1.0;
  double outputGain_ = 1.0;
  double noiseLevel_ = kNoiseLevelBeforeFirstBlock;
  bool bypassed_ = false;
  bool crosstalkEnabled_ = false;
  double resetSampleRate_ = kDefaultSampleRate;
  CrosstalkFilter crosstalkToLeft_, crosstalkToRight_;
  BiquadCoefficients noiseShelf_; // both channels' noise shelves are designed alike
  NoiseSource noiseLeft_, noiseRight_;
  VuMeter meter_;
};

// [audio thread · processing lock held · no allocation] The stereo frames of one block on the
// AVX2 build of the loop; exists where the build has that path, and may run only where
// SimdPathAvailable(SimdPath::Avx2).
void RunStereoAvx2(SignalChain& chain, const double* const* in, double* const* out, int frames);

} // namespace tavo
