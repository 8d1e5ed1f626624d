#include "host/tavo-host/Session.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "host/tavo-host/AudioFile.h"
#include "host/tavo-host/CommandError.h"
#include "host/tavo-host/ControlSettings.h"

namespace tavo::host::cli {

namespace {

// Frames handed to the render thread at a time: large enough that the hand-over costs nothing
// next to the rendering, small enough to keep the progress bar moving.
constexpr int64_t kPieceFrames = 16384;
// A state is a 56-byte header and one 8-byte value per parameter; this leaves room for many more.
constexpr size_t kLargestState = 1 << 20;

void Check(int32_t status, const std::string& what) {
  if (status != 0) throw CommandError(what + ": " + StatusText(status));
}

} // namespace

std::unique_ptr<HostProcess> OpenSession(HostModule& module, int channels, int rate,
                                         const SessionOptions& options) {
  ProcessOptions po;
  po.channels = channels;
  po.sampleRate = rate;
  po.variableQuantum = options.quantum != hostabi::kFixedQuantum;
  po.maximumQuantum = options.quantum;
  std::unique_ptr<HostProcess> process;
  const int32_t status = module.CreateProcess(po, process);
  if (status == kErrNoSuchType) {
    std::vector<TypeInfo> types;
    module.Types(types);
    std::string offered;
    for (const TypeInfo& t : types)
      offered += (offered.empty() ? "" : " or ") + std::to_string(t.inputs);
    throw CommandError("the module takes " + offered + " channels, not " +
                       std::to_string(channels));
  }
  Check(status, "cannot create a process");

  if (!options.stateFile.empty()) {
    const auto chunk = ReadWholeFile(options.stateFile, kLargestState);
    const int32_t restored = process->RestoreChunk(chunk);
    if (restored != 0)
      throw CommandError(options.stateFile +
                         " is not a state this module takes: " + StatusText(restored));
  }
  if (!options.settings.empty()) {
    std::vector<ControlInfo> controls;
    Check(process->DescribeControls(controls), "cannot list the controls");
    // Every setting is read before any is applied, so a bad one changes nothing.
    std::vector<ControlSetting> settings;
    for (const std::string& s : options.settings)
      settings.push_back(ReadSetting(s, controls, *process));
    for (const ControlSetting& s : settings)
      Check(process->SetControl(s.index, s.controlValue), "cannot set " + s.name);
  }
  if (options.bypass)
    Check(process->SetControl(1, StepControlValue(1, 2)), "cannot bypass the process");
  return process;
}

StreamResult Stream(HostProcess& process, const FrameReader& reader, const FrameWriter& writer,
                    bool compensateDelay, Progress* progress,
                    const std::atomic<bool>* interrupted) {
  const int inputs = process.Inputs();
  const int outputs = process.Outputs();
  int32_t delay = 0;
  if (compensateDelay) Check(process.Delay(delay), "cannot read the process's delay");
  delay = std::max(delay, 0);

  // Two pieces: one renders while the other is read and written.
  struct Piece {
    std::vector<float> in, out;
    std::vector<const float*> inPtr;
    std::vector<float*> outPtr;
    int64_t frames = 0;
  };
  std::array<Piece, 2> pieces;
  for (Piece& p : pieces) {
    p.in.resize(static_cast<size_t>(inputs * kPieceFrames));
    p.out.resize(static_cast<size_t>(outputs * kPieceFrames));
    for (int c = 0; c < inputs; ++c)
      p.inPtr.push_back(p.in.data() + c * kPieceFrames);
    for (int c = 0; c < outputs; ++c)
      p.outPtr.push_back(p.out.data() + c * kPieceFrames);
  }
  std::vector<float> interleaved(static_cast<size_t>(std::max(inputs, outputs) * kPieceFrames));

  int64_t tail = delay; // silent frames still to follow the input
  bool inputEnded = false;
  auto fill = [&](Piece& p) {
    p.frames = 0;
    // A reader may answer fewer frames than asked before its end; only 0 ends the input.
    while (!inputEnded && p.frames < kPieceFrames) {
      const int64_t got = reader(interleaved.data(), kPieceFrames - p.frames);
      if (got <= 0) {
        inputEnded = true;
        break;
      }
      for (int64_t i = 0; i < got; ++i)
        for (int c = 0; c < inputs; ++c)
          p.in[static_cast<size_t>(c * kPieceFrames + p.frames + i)] =
              interleaved[static_cast<size_t>(i * inputs + c)];
      p.frames += got;
    }
    const int64_t silent = std::min(kPieceFrames - p.frames, tail);
    for (int c = 0; c < inputs; ++c)
      std::fill_n(p.in.begin() + c * kPieceFrames + p.frames, silent, 0.0f);
    tail -= silent;
    p.frames += silent;
  };

  StreamResult result;
  int64_t toDrop = delay; // output frames that precede the input's first
  auto emit = [&](const Piece& p) {
    const int64_t skip = std::min(toDrop, p.frames);
    toDrop -= skip;
    const int64_t n = p.frames - skip;
    for (int64_t i = 0; i < n; ++i)
      for (int c = 0; c < outputs; ++c) {
        const float s = p.out[static_cast<size_t>(c * kPieceFrames + skip + i)];
        const float magnitude = std::fabs(s);
        result.peak = std::max(result.peak, magnitude);
        result.clipped += magnitude > 1.0f ? 1 : 0;
        interleaved[static_cast<size_t>(i * outputs + c)] = s;
      }
    if (writer && n > 0) writer(interleaved.data(), n);
    result.frames += n;
    if (progress) progress->Update(result.frames);
  };
  auto submit = [&](Piece& p) {
    Check(process.Submit(p.inPtr, p.outPtr, p.frames), "cannot render");
  };

  // However the stream ends, the render thread is done with the pieces before they go.
  struct Drain {
    HostProcess& process;
    ~Drain() { process.WaitRendered(); }
  } drain{process};

  int current = 0;
  fill(pieces[0]);
  if (pieces[0].frames > 0) submit(pieces[0]);
  while (pieces[current].frames > 0) {
    Piece& next = pieces[1 - current];
    fill(next); // while the current piece renders
    Check(process.WaitRendered(), "cannot render");
    if (interrupted && interrupted->load())
      throw CommandError("interrupted", CommandError::kInterrupted);
    if (next.frames > 0) submit(next);
    emit(pieces[current]);
    current = 1 - current;
  }
  return result;
}

std::vector<float> RenderThrough(HostProcess& process, const std::vector<float>& interleaved,
                                 StreamResult* result) {
  const int inputs = process.Inputs();
  const int outputs = process.Outputs();
  const int64_t frames = static_cast<int64_t>(interleaved.size()) / inputs;
  std::vector<float> out;
  out.reserve(static_cast<size_t>(frames * outputs));
  int64_t read = 0;
  const StreamResult r = Stream(
      process,
      [&](float* to, int64_t n) {
        n = std::min(n, frames - read);
        std::copy_n(interleaved.begin() + read * inputs, n * inputs, to);
        read += n;
        return n;
      },
      [&](const float* from, int64_t n) { out.insert(out.end(), from, from + n * outputs); }, true,
      nullptr);
  if (result) *result = r;
  return out;
}

} // namespace tavo::host::cli
