#pragma once
// One render session as tavo-host runs it: a process made for a channel count and rate, with a
// saved state, control settings and the master bypass applied through the host's control path,
// then audio streamed through it. The main thread reads and writes while the process's render
// thread renders the previous piece, so file work and rendering overlap.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/driver/HostDriver.h"
#include "host/tavo-host/Progress.h"

namespace tavo::host::cli {

// Files are rendered as a host bounces them: in blocks as large as the engine allows (the
// sound is the same in any block size while the controls stand still).
inline constexpr int32_t kFileQuantum = 1024;

struct SessionOptions {
  std::vector<std::string> settings; // NAME=VALUE
  bool bypass = false;               // the master bypass
  // Frames per block: the fixed quantum of 32 a real-time host uses, or any other number for
  // variable blocks of up to that many frames.
  int32_t quantum = kFileQuantum;
  std::string stateFile; // a chunk saved by --save-state, restored first
};

// Creates a process for the channels and rate with the options applied; a refused layout,
// state or setting is a CommandError.
std::unique_ptr<HostProcess> OpenSession(HostModule& module, int channels, int rate,
                                         const SessionOptions& options);

// Fills up to frames interleaved frames; answers how many (0 at the end).
using FrameReader = std::function<int64_t(float* interleaved, int64_t frames)>;
// Takes frames interleaved frames.
using FrameWriter = std::function<void(const float* interleaved, int64_t frames)>;

struct StreamResult {
  int64_t frames = 0;  // frames written
  int64_t clipped = 0; // samples beyond ±1
  float peak = 0.0f;   // largest magnitude written
};

// Streams the reader's frames through the process into the writer (null: rendered and
// dropped). With compensation the process's delay is taken out as a host compensates it: the
// first delay frames of output are dropped and as many silent frames follow the input, so the
// output lines up with the input and has its length. Throws a CommandError when rendering fails
// or interrupted becomes true.
StreamResult Stream(HostProcess& process, const FrameReader& reader, const FrameWriter& writer,
                    bool compensateDelay, Progress* progress,
                    const std::atomic<bool>* interrupted = nullptr);

// Renders interleaved frames held in memory; the output has their length, delay compensated.
std::vector<float> RenderThrough(HostProcess& process, const std::vector<float>& interleaved,
                                 StreamResult* result = nullptr);

} // namespace tavo::host::cli
