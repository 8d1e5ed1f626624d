#pragma once
// A host's real-time thread for one render instance: it takes a job of any number of frames
// from the main thread and renders it through the engine's render callback, block by block in
// the instance's quantum (always 32 frames with the fixed quantum, the last block padded with
// silence; up to the maximum with a variable quantum). Between blocks nothing is allocated and
// no lock is taken; the hand-over of a job takes one.

#include <array>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

#include "hostlib/HostInterface.h"

namespace tavo::host {

class RenderThread {
public:
  static constexpr int32_t kMostChannels = 8;

  // [main thread · allocates] Sizes the engine's buffers for the quantum and starts the thread.
  RenderThread(hostabi::SRenderInstance* instance, int32_t inputs, int32_t outputs,
               bool variableQuantum, int32_t maximumQuantum);
  // [main thread · blocks] Finishes the job in progress, then stops the thread.
  ~RenderThread();
  RenderThread(const RenderThread&) = delete;
  RenderThread& operator=(const RenderThread&) = delete;

  // [main thread] Hands a job over (waiting for the previous one first); the buffers must hold
  // frames samples each and stay untouched until Wait answers.
  int32_t Submit(std::span<const float* const> inputs, std::span<float* const> outputs,
                 int64_t frames);
  // [main thread · blocks] The status of the last job once it is done.
  int32_t Wait();

  // [render thread] Renders a job on the calling thread.
  int32_t RenderHere(const float* const* inputs, float* const* outputs, int64_t frames);
  // [render thread] One engine block of frames, the buffers handed to the engine as they are.
  int32_t RenderBlock(const float* const* inputs, float* const* outputs, int32_t frames);

  int32_t BlockFrames() const { return blockFrames_; }

private:
  struct Job {
    std::array<const float*, kMostChannels> inputs{};
    std::array<float*, kMostChannels> outputs{};
    int64_t frames = 0;
  };
  void Run();
  // One block of at most blockFrames_ frames at the given offset into the job's buffers.
  int32_t RenderPiece(const float* const* inputs, float* const* outputs, int64_t offset,
                      int32_t frames);

  hostabi::SRenderInstance* instance_;
  int32_t inputs_;
  int32_t outputs_;
  bool variableQuantum_;
  int32_t blockFrames_;         // frames of each engine block and of every buffer handed over
  std::vector<float> scratch_;  // (inputs + outputs) × blockFrames_
  std::vector<float*> buffers_; // the pointer list handed to the engine: inputs, then outputs

  std::mutex lock_;
  std::condition_variable wake_;
  Job job_;
  bool pending_ = false;
  bool stop_ = false;
  int32_t status_ = hostabi::kNoErr;
  std::thread thread_;
};

} // namespace tavo::host
