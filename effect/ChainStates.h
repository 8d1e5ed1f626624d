#pragma once
// The one owner of the signal chain's filter states: the saturator's and the chain's own.
//
// The frame loops work on a copy of the states in their own sample type (double for the mono
// path, a lane type for the stereo path), packed so that a block neither unpacks nor packs some
// 180 of them. That working copy stays from block to block and is converted only when a block
// runs on another path or build of the loops; new coefficients go into it in place. While it
// exists it is where the states are: readers get a snapshot, taken from whichever form holds
// them, and nothing is ever written back by hand.

#include <cstdint>
#include <type_traits>
#include <variant>

#include "effect/Biquad.h"
#include "effect/SaturatorEngine.h"
#include "effect/StereoLane.h"

namespace tavo {

// The per-channel filter states of the chain. In the left record `crosstalk` is the path into
// the left channel (fed by the right input), in the right record the path into the right.
template <class T> struct ChainChannel {
  BiquadState<T> crosstalk;
  BiquadState<T> noiseShelf;
};

// Every state, one record of doubles per channel: what a snapshot shows.
struct ChainStateRecords {
  SaturatorShared shared;
  SaturatorChannel<double> saturatorLeft, saturatorRight;
  ChainChannel<double> left, right;
};

class ChainStates {
public:
  // The states in the sample type of one build of the frame loops. The mono copy holds the left
  // channel; the right one waits in its record.
  template <class T> struct Working {
    SaturatorKernel<T> engine;
    ChainChannel<T> channels;
  };

  // [audio thread · processing lock held · no allocation] The states for the loop over T, taken
  // from the form they are in when that is another one.
  template <class T> Working<T>& For() {
    if (auto* copy = std::get_if<Working<T>>(&working_)) return *copy;
    Settle();
    if constexpr (std::is_same_v<T, double>)
      return working_.emplace<Working<T>>(Working<T>{engine_.BeginMono(), left_});
    else
      return working_.emplace<Working<T>>(
          Working<T>{engine_.BeginStereo<T>(), PackLanes<ChainChannel, T>(left_, right_)});
  }

  // [audio thread or main thread · processing lock held · no allocation] New saturator
  // coefficients (SaturatorEngine::Configure); every state goes on in whatever form it is.
  void Configure(double fs, double driveDb, double response, double driftBase, double asym);
  const SaturatorCoefficients& coefficients() const { return engine_.coefficients(); }

  // [audio thread or main thread · processing lock held] Every state as of now.
  ChainStateRecords Snapshot() const;
  // [processing lock held · no allocation] Every state from the records given; the coefficients
  // stay.
  void Replace(const ChainStateRecords& r);
  // The engine configured for the default rate, every state zero, the drift at 1 and its
  // generator at `driftSeed`.
  explicit ChainStates(std::uint64_t driftSeed = DriftRandom::kSeed) : engine_(driftSeed) {}

  // [processing lock held · no allocation] As constructed with `driftSeed`.
  void StartOver(std::uint64_t driftSeed) { *this = ChainStates(driftSeed); }

  // [audio thread · processing lock held · no allocation] Whether every state is finite, judged
  // where the states are (see SaturatorEngine::StatesFinite).
  bool Finite() const;

private:
  // The records brought up to date from the working copy, which goes.
  void Settle();

  SaturatorEngine engine_; // coefficients always; states while there is no working copy
  ChainChannel<double> left_, right_;
  template <class... Lanes>
  using Forms = std::variant<std::monostate, Working<double>, Working<Lanes>...>;
  WithStereoLanes<Forms> working_;
};

} // namespace tavo
