#include "host/driver/RenderThread.h"

#include <algorithm>
#include <cstring>

#include "host/driver/HostStatus.h"
#include "host/engine/StandInControl.h"

namespace tavo::host {

RenderThread::RenderThread(hostabi::SRenderInstance* instance, int32_t inputs, int32_t outputs,
                           bool variableQuantum, int32_t maximumQuantum)
    : instance_(instance), inputs_(std::clamp(inputs, 0, kMostChannels)),
      outputs_(std::clamp(outputs, 0, kMostChannels)), variableQuantum_(variableQuantum),
      blockFrames_(variableQuantum ? std::max(maximumQuantum, 1) : hostabi::kFixedQuantum),
      scratch_(static_cast<size_t>(inputs_ + outputs_) * static_cast<size_t>(blockFrames_)),
      buffers_(static_cast<size_t>(inputs_ + outputs_)) {
  thread_ = std::thread([this] { Run(); });
}

RenderThread::~RenderThread() {
  {
    std::unique_lock guard(lock_);
    wake_.wait(guard, [&] { return !pending_; });
    stop_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

int32_t RenderThread::Submit(std::span<const float* const> inputs, std::span<float* const> outputs,
                             int64_t frames) {
  if (static_cast<int32_t>(inputs.size()) != inputs_ ||
      static_cast<int32_t>(outputs.size()) != outputs_ || frames < 0)
    return kErrBadArgument;
  if (frames > 0 && (std::find(inputs.begin(), inputs.end(), nullptr) != inputs.end() ||
                     std::find(outputs.begin(), outputs.end(), nullptr) != outputs.end()))
    return kErrBadArgument;
  {
    std::unique_lock guard(lock_);
    wake_.wait(guard, [&] { return !pending_; });
    std::copy(inputs.begin(), inputs.end(), job_.inputs.begin());
    std::copy(outputs.begin(), outputs.end(), job_.outputs.begin());
    job_.frames = frames;
    pending_ = true;
  }
  wake_.notify_all();
  return hostabi::kNoErr;
}

int32_t RenderThread::Wait() {
  std::unique_lock guard(lock_);
  wake_.wait(guard, [&] { return !pending_; });
  return status_;
}

void RenderThread::Run() {
  std::unique_lock guard(lock_);
  for (;;) {
    wake_.wait(guard, [&] { return stop_ || pending_; });
    if (stop_) return;
    const Job job = job_;
    guard.unlock();
    const int32_t status = RenderHere(job.inputs.data(), job.outputs.data(), job.frames);
    guard.lock();
    status_ = status;
    pending_ = false;
    wake_.notify_all();
  }
}

int32_t RenderThread::RenderHere(const float* const* inputs, float* const* outputs,
                                 int64_t frames) {
  for (int64_t done = 0; done < frames;) {
    const auto piece = static_cast<int32_t>(std::min<int64_t>(frames - done, blockFrames_));
    if (const int32_t status = RenderPiece(inputs, outputs, done, piece); status != 0)
      return status;
    done += piece;
  }
  return hostabi::kNoErr;
}

int32_t RenderThread::RenderBlock(const float* const* inputs, float* const* outputs,
                                  int32_t frames) {
  if (frames < 0) return kErrBadArgument;
  if (frames <= blockFrames_) return RenderPiece(inputs, outputs, 0, frames);
  // Larger than the engine's buffers: the caller's buffers go to the engine directly, as a host
  // that ignored the quantum would hand them over.
  for (int32_t c = 0; c < inputs_; ++c)
    buffers_[static_cast<size_t>(c)] = const_cast<float*>(inputs[c]);
  for (int32_t o = 0; o < outputs_; ++o)
    buffers_[static_cast<size_t>(inputs_ + o)] = outputs[o];
  if (!standin::RenderBlock(instance_, buffers_, frames, frames)) return kErrEngineRefusedBlock;
  for (int32_t o = 0; o < outputs_; ++o)
    if (const float* left = buffers_[static_cast<size_t>(inputs_ + o)]; left != outputs[o])
      std::memmove(outputs[o], left, static_cast<size_t>(frames) * sizeof(float));
  return hostabi::kNoErr;
}

int32_t RenderThread::RenderPiece(const float* const* inputs, float* const* outputs, int64_t offset,
                                  int32_t frames) {
  const auto block = static_cast<size_t>(blockFrames_);
  const auto n = static_cast<size_t>(frames);
  // The engine's input buffers are its own: the module never sees the caller's memory.
  for (int32_t c = 0; c < inputs_; ++c) {
    float* buffer = scratch_.data() + static_cast<size_t>(c) * block;
    std::memcpy(buffer, inputs[c] + offset, n * sizeof(float));
    std::fill(buffer + n, buffer + block, 0.0f);
    buffers_[static_cast<size_t>(c)] = buffer;
  }
  // Outputs are written in place when the block fills the engine's buffer size; a short last
  // block of the fixed quantum goes through the scratch buffers.
  const int32_t bufferFrames = variableQuantum_ ? frames : blockFrames_;
  const bool direct = frames == bufferFrames;
  for (int32_t o = 0; o < outputs_; ++o)
    buffers_[static_cast<size_t>(inputs_ + o)] =
        direct ? outputs[o] + offset : scratch_.data() + static_cast<size_t>(inputs_ + o) * block;
  const int32_t engineFrames = variableQuantum_ ? frames : hostabi::kFixedQuantum;
  if (!standin::RenderBlock(instance_, buffers_, engineFrames, bufferFrames))
    return kErrEngineRefusedBlock;
  // A block the process could not render leaves the engine's silence in place of its outputs.
  for (int32_t o = 0; o < outputs_; ++o)
    if (const float* left = buffers_[static_cast<size_t>(inputs_ + o)]; left != outputs[o] + offset)
      std::memcpy(outputs[o] + offset, left, n * sizeof(float));
  return hostabi::kNoErr;
}

} // namespace tavo::host
