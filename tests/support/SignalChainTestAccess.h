#pragma once
// The one test view into a SignalChain: its state as the last block (or Reset) left it. Tests
// write Inspect(chain).rampGain(); production code has no way in.

#include <cstdint>

#include "effect/SignalChain.h"

namespace tavo {

struct SignalChainTestAccess {
  const SignalChain& chain;

  double rampGain() const { return chain.rampGain_; }
  double wetMix() const { return chain.wetMix_; }
  double inputGain() const { return chain.inputGain_; }
  double outputGain() const { return chain.outputGain_; }
  double noiseLevel() const { return chain.noiseLevel_; }
  bool bypassed() const { return chain.bypassed_; }
  bool crosstalkEnabled() const { return chain.crosstalkEnabled_; }
  double resetSampleRate() const { return chain.resetSampleRate_; }
  const CrosstalkFilter& crosstalkToLeft() const { return chain.crosstalkToLeft_; }
  const CrosstalkFilter& crosstalkToRight() const { return chain.crosstalkToRight_; }
  const BiquadCoefficients& noiseShelf() const { return chain.noiseShelf_; }
  const NoiseSource& noiseLeft() const { return chain.noiseLeft_; }
  const NoiseSource& noiseRight() const { return chain.noiseRight_; }
  // Every filter state as of the last block, and the saturator's coefficients.
  ChainStateRecords states() const { return chain.states_.Snapshot(); }
  const SaturatorCoefficients& coefficients() const { return chain.states_.coefficients(); }
  const VuMeter& meter() const { return chain.meter_; }
  std::uint64_t driftSeed() const { return chain.driftSeed_; }

  // The seed the chain's drift starts from at its next ClearHistory.
  static void SetDriftSeed(SignalChain& chain, std::uint64_t seed) { chain.driftSeed_ = seed; }

  // A test that changes states does so on a snapshot and hands it back whole.
  template <class Change> static void RewriteStates(SignalChain& chain, Change change) {
    ChainStateRecords r = chain.states_.Snapshot();
    change(r);
    chain.states_.Replace(r);
  }
};

inline SignalChainTestAccess Inspect(const SignalChain& chain) {
  return {chain};
}

} // namespace tavo
