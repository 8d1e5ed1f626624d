#pragma once
// A loop over the frames of a block whose work is split into stages, each running a frame behind
// the one before it: step i runs stage 0 on frame i, stage 1 on frame i − 1, … , stage N − 1 on
// frame i − N + 1. Every stage still sees the frames in order and each frame passes the stages in
// order, so a stage that depends on earlier frames only through its own state computes exactly
// what a frame-by-frame loop would; meanwhile the processor can overlap the dependent chains of
// different stages, which now belong to different frames.
//
// The first N − 1 steps fill the pipeline (the later stages have no frame yet), the last N − 1
// drain it (the earlier stages have none left); the steps between run every stage unguarded.

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

} // namespace skewed_loop_detail

// [any thread · no allocation] Runs `frames` frames (none when frames <= 0) through the stages,
// given in pipeline order; stage k is called as stage(frame).
template <class... Stages> TAVO_ALWAYS_INLINE inline void RunSkewed(int frames, Stages... stages) {
  constexpr int kLag = int(sizeof...(Stages)) - 1; // frames between the first and the last stage
  const auto stageIndices = std::index_sequence_for<Stages...>{};
  if (frames <= 0) return;
  int i = 0;
  for (; i < kLag; ++i)
    skewed_loop_detail::GuardedStep(stageIndices, i, frames, stages...);
  for (; i < frames; ++i)
    skewed_loop_detail::FullStep(stageIndices, i, stages...);
  for (; i < frames + kLag; ++i)
    skewed_loop_detail::GuardedStep(stageIndices, i, frames, stages...);
}

} // namespace tavo
