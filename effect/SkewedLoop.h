#pragma once
// A loop over the frames of a block whose work is split into stages, each running a frame behind
// the one before it: step i runs stage 0 on frame i, stage 1 on frame i − 1, … , stage N − 1 on
// frame i − N + 1. Every stage still sees the frames in order and each frame passes the stages in
// order, so a stage that depends on earlier frames only through its own state computes exactly
// what a frame-by-frame loop would; meanwhile the processor can overlap the dependent chains of
// different stages, which now belong to different frames.
//
// The first N − 1 steps fill the pipeline (the later stages have no frame yet), the last N − 1
// drain it (the earlier stages have none left); the steps between run every stage unguarded. When
// the block has at least N − 1 frames, which stages the filling and draining steps run is known
// when compiling, so they are written out without a test and inlined: in blocks of a few dozen
// frames they are a fair share of the steps, and their stages overlap as the steady ones do.

#include <cstddef>
#include <utility>

#include "effect/StereoLane.h"

namespace tavo {

namespace skewed_loop_detail {

template <std::size_t... K, class... Stages>
inline void GuardedStep(std::index_sequence<K...>, int i, int frames, Stages&... stages) {
  ((i >= int(K) && i - int(K) < frames ? stages(i - int(K)) : void()), ...);
}

template <std::size_t... K, class... Stages>
TAVO_ALWAYS_INLINE inline void FullStep(std::index_sequence<K...>, int i, Stages&... stages) {
  (stages(i - int(K)), ...);
}

// Filling step `Step` of a block of at least N − 1 frames: stage K on frame Step − K, for
// K <= Step.
template <int Step, std::size_t... K, class... Stages>
TAVO_ALWAYS_INLINE inline void FillStep(std::index_sequence<K...>, Stages&... stages) {
  ((int(K) <= Step ? stages(Step - int(K)) : void()), ...);
}
template <std::size_t... Step, class... Stages>
TAVO_ALWAYS_INLINE inline void Fill(std::index_sequence<Step...>,
                                    [[maybe_unused]] Stages&... stages) {
  (FillStep<int(Step)>(std::index_sequence_for<Stages...>{}, stages...), ...);
}

// Draining step `Step` after the last frame n − 1: stage K on frame n + Step − K, where K > Step.
template <int Step, std::size_t... K, class... Stages>
TAVO_ALWAYS_INLINE inline void DrainStep(std::index_sequence<K...>, int frames, Stages&... stages) {
  ((int(K) > Step ? stages(frames + Step - int(K)) : void()), ...);
}
template <std::size_t... Step, class... Stages>
TAVO_ALWAYS_INLINE inline void Drain(std::index_sequence<Step...>, [[maybe_unused]] int frames,
                                     [[maybe_unused]] Stages&... stages) {
  (DrainStep<int(Step)>(std::index_sequence_for<Stages...>{}, frames, stages...), ...);
}

} // namespace skewed_loop_detail

// [any thread · no allocation] Runs `frames` frames (none when frames <= 0) through the stages,
// given in pipeline order; stage k is called as stage(frame).
template <class... Stages> TAVO_ALWAYS_INLINE inline void RunSkewed(int frames, Stages... stages) {
  constexpr int kLag = int(sizeof...(Stages)) - 1; // frames between the first and the last stage
  const auto stageIndices = std::index_sequence_for<Stages...>{};
  if (frames <= 0) return;
  if (frames >= kLag) {
    skewed_loop_detail::Fill(std::make_index_sequence<kLag>{}, stages...);
    for (int i = kLag; i < frames; ++i)
      skewed_loop_detail::FullStep(stageIndices, i, stages...);
    skewed_loop_detail::Drain(std::make_index_sequence<kLag>{}, frames, stages...);
    return;
  }
  for (int i = 0; i < frames + kLag; ++i)
    skewed_loop_detail::GuardedStep(stageIndices, i, frames, stages...);
}

} // namespace tavo
