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
  // The filter states, as of the last block: the chain's working copy is stored first (which
  // changes nothing the chain will render).
  const ChainChannel<double>& left() const { return Stored().left_; }
  const ChainChannel<double>& right() const { return Stored().right_; }
  const SaturatorEngine& saturator() const { return Stored().saturator_; }
  const VuMeter& meter() const { return chain.meter_; }
  std::uint64_t driftSeed() const { return chain.driftSeed_; }

  // A test that writes into the records in place says so: the chain would otherwise go on from
  // its working copy, taken before the write.
  static void RecordsWritten(SignalChain& chain) { chain.DropWorkingCopy(); }
  // The seed the chain's drift starts from at its next ClearHistory.
  static void SetDriftSeed(SignalChain& chain, std::uint64_t seed) { chain.driftSeed_ = seed; }

private:
  const SignalChain& Stored() const {
    const_cast<SignalChain&>(chain).StoreWorkingCopy();
    return chain;
  }
};

inline SignalChainTestAccess Inspect(const SignalChain& chain) {
  return {chain};
}

} // namespace tavo
