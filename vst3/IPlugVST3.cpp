#include "vst3/IPlugVST3.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>

#include "framework/IStateChunk.h"
#include "vst3/ParamMapping.h"

namespace tavo {

using namespace vst3;

IPlugVST3::IPlugVST3(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
                     const char* productName, const char* makerName, int effectVersion,
                     int uniqueID, int makerID, int latency, int ignored, bool stateIsOpaque,
                     bool spareFlag)
    : IPlugBase(nParams, channelIOStr, nPresets, effectName, productName, makerName, effectVersion,
                uniqueID, makerID, latency, ignored, stateIsOpaque, spareFlag, kApiVST3) {
  ConnectAllChannels(kInitialBlockSize);
  cursors_.resize(static_cast<size_t>(std::max(nParams, 0)));
}

bool IPlugVST3::SetChannels(int channels) {
  if (channels < 1 || channels > std::min(NInChannels(), NOutChannels()) || channels > 2)
    return false;
  // The mono arrangement leaves the second channel unconnected: the effect then takes its mono
  // path.
  ConnectInputs(0, channels, true);
  ConnectInputs(channels, NInChannels() - channels, false);
  ConnectOutputs(0, channels, true);
  ConnectOutputs(channels, NOutChannels() - channels, false);
  channels_ = channels;
  return true;
}

bool IPlugVST3::Setup(const ProcessSetup& setup) {
  if (!std::isfinite(setup.sampleRate) || setup.maxSamplesPerBlock <= 0) return false;
  if (setup.symbolicSampleSize != kSample32 && setup.symbolicSampleSize != kSample64) return false;
  setupRate_ = setup.sampleRate;
  maxBlock_ = setup.maxSamplesPerBlock;
  return true;
}

void IPlugVST3::SetActive(bool active) {
  if (!active) return;
  std::lock_guard guard(lock);
  ConfigureSampleRate(setupRate_);
  ConfigureBlockSize(std::min(maxBlock_, kLargestScratch));
  // Hosts deactivate and activate around a bounce: what comes out must not depend on what was
  // played before, so everything that depends on it starts over; the settings stay.
  ClearHistory();
}

int IPlugVST3::GatherQueues(IParameterChanges* changes) {
  if (!changes) return 0;
  const int32_t queues = changes->getParameterCount();
  int used = 0;
  for (int32_t q = 0; q < queues && used < static_cast<int>(cursors_.size()); ++q) {
    IParamValueQueue* queue = changes->getParameterData(q);
    if (!queue) continue;
    const ParamID id = queue->getParameterId();
    if (id >= static_cast<ParamID>(NParams())) continue; // not a parameter of this plug-in
    cursors_[used++] = {queue, static_cast<int>(id), 0, std::max(queue->getPointCount(), 0)};
  }
  return used;
}

// Every point at or before `offset` takes effect, in each queue's order. A point the queue will
// not give is skipped; a NaN changes nothing; a value outside 0 … 1 is taken at the nearer end.
void IPlugVST3::TakePointsUpTo(int cursors, int32_t offset) {
  for (int c = 0; c < cursors; ++c) {
    QueueCursor& cursor = cursors_[c];
    for (; cursor.next < cursor.count; ++cursor.next) {
      int32_t at = 0;
      double value = 0.0;
      if (cursor.queue->getPoint(cursor.next, at, value) != kResultOk) continue;
      if (at > offset) break;
      if (std::isnan(value)) continue;
      SetParameterFromHost(cursor.param, PlainFromNormalized(*GetParam(cursor.param), value));
    }
  }
}

int32_t IPlugVST3::NextOffset(int cursors) const {
  int32_t next = INT32_MAX;
  for (int c = 0; c < cursors; ++c) {
    const QueueCursor& cursor = cursors_[c];
    if (cursor.next >= cursor.count) continue;
    int32_t at = 0;
    double value = 0.0;
    if (cursor.queue->getPoint(cursor.next, at, value) == kResultOk) next = std::min(next, at);
  }
  return next;
}

bool IPlugVST3::BindAudio(const ProcessData& data) {
  if (data.numInputs < 1 || data.numOutputs < 1 || !data.inputs || !data.outputs) return false;
  const AudioBusBuffers& in = data.inputs[0];
  const AudioBusBuffers& out = data.outputs[0];
  // Wider buses than the arrangement are taken: a host that keeps the buffers of the buses'
  // default width after a mono arrangement (Ardour on a mono track) gets the mono path on the
  // first channel and silence on the others.
  if (in.numChannels < channels_ || out.numChannels < channels_) return false;
  if (data.symbolicSampleSize == kSample32) {
    // A missing input channel (an inactive bus) is silence; a missing output has nowhere to go.
    if (!in.channelBuffers32 || !out.channelBuffers32) return false;
    for (int c = 0; c < channels_; ++c)
      if (!out.channelBuffers32[c]) return false;
  } else if (data.symbolicSampleSize == kSample64) {
    if (!in.channelBuffers64 || !out.channelBuffers64) return false;
    for (int c = 0; c < channels_; ++c)
      if (!in.channelBuffers64[c] || !out.channelBuffers64[c]) return false;
  } else {
    return false;
  }
  in_ = &in;
  out_ = &out;
  doubles_ = data.symbolicSampleSize == kSample64;
  return true;
}

void IPlugVST3::RenderPiece(int32_t from, int32_t to) {
  const int frames = to - from;
  if (frames <= 0) return;
  if (doubles_) {
    std::array<double*, 2> ins{};
    std::array<double*, 2> outs{};
    for (int c = 0; c < channels_; ++c) {
      ins[c] = in_->channelBuffers64[c] + from;
      outs[c] = out_->channelBuffers64[c] + from;
    }
    BindInputsDouble(0, channels_, ins.data());
    BindOutputsDouble(0, channels_, outs.data());
  } else {
    std::array<float*, 2> ins{};
    std::array<float*, 2> outs{};
    for (int c = 0; c < channels_; ++c) {
      ins[c] = in_->channelBuffers32[c] ? in_->channelBuffers32[c] + from : nullptr;
      outs[c] = out_->channelBuffers32[c] + from;
    }
    BindInputsFloat(0, channels_, ins.data(), frames);
    BindOutputsFloat(0, channels_, outs.data());
  }
  RunProcess(frames);
}

void IPlugVST3::SilenceOutputs(const ProcessData& data, int fromChannel) {
  if (!data.outputs) return;
  const int frames = std::max(data.numSamples, 0);
  for (int b = 0; b < data.numOutputs; ++b) {
    const AudioBusBuffers& bus = data.outputs[b];
    for (int c = b == 0 ? fromChannel : 0; c < bus.numChannels; ++c) {
      if (data.symbolicSampleSize == kSample64) {
        if (bus.channelBuffers64 && bus.channelBuffers64[c])
          std::fill_n(bus.channelBuffers64[c], frames, 0.0);
      } else if (data.symbolicSampleSize == kSample32) {
        if (bus.channelBuffers32 && bus.channelBuffers32[c])
          std::fill_n(bus.channelBuffers32[c], frames, 0.0f);
      }
    }
  }
}

bool IPlugVST3::Process(ProcessData& data) {
  std::lock_guard guard(lock);
  const int32_t frames = std::max(data.numSamples, 0);
  const int cursors = GatherQueues(data.inputParameterChanges);
  const bool audio = frames > 0 && BindAudio(data);
  if (frames > 0 && !audio) SilenceOutputs(data, 0);
  if (audio) data.outputs[0].silenceFlags = 0; // the noise floor: never silent
  TakePointsUpTo(cursors, 0);
  for (int32_t pos = 0; pos < frames;) {
    const int32_t next = std::clamp(NextOffset(cursors), pos + 1, frames);
    if (audio) RenderPiece(pos, next);
    pos = next;
    TakePointsUpTo(cursors, pos);
  }
  // Points at or beyond the block's end, and every point of a block without frames, still count.
  TakePointsUpTo(cursors, INT32_MAX);
  // After rendering: a host may hand the same buffer in as an input and out as a spare output.
  if (audio) SilenceOutputs(data, channels_);
  in_ = out_ = nullptr;
  return true;
}

bool IPlugVST3::WriteState(IBStream* stream) {
  if (!stream) return false;
  IStateChunk chunk;
  if (!SaveState(&chunk)) return false;
  int32_t written = 0;
  while (written < chunk.Size()) {
    int32_t n = 0;
    // The stream's write takes a mutable pointer and only reads through it.
    void* from = const_cast<uint8_t*>(chunk.Data() + written);
    if (stream->write(from, chunk.Size() - written, &n) != kResultOk || n <= 0) return false;
    written += std::min(n, chunk.Size() - written);
  }
  return true;
}

bool IPlugVST3::ReadState(IBStream* stream) {
  if (!stream) return false;
  const int32_t expected = static_cast<int32_t>(sizeof(double)) * NParams();
  // One byte more than a state: a stream that gives it is not one of ours.
  std::vector<uint8_t> bytes(static_cast<size_t>(expected) + 1);
  int32_t got = 0;
  while (got < static_cast<int32_t>(bytes.size())) {
    int32_t n = 0;
    const int32_t want = static_cast<int32_t>(bytes.size()) - got;
    if (stream->read(bytes.data() + got, want, &n) != kResultOk || n <= 0) break;
    got += std::min(n, want);
  }
  if (got != expected) return false;
  IStateChunk chunk;
  if (chunk.PutBytes(bytes.data(), expected) != expected) return false;
  for (int i = 0; i < NParams(); ++i) {
    double value = 0.0;
    if (chunk.GetDouble(&value, i * static_cast<int>(sizeof value)) < 0 || !std::isfinite(value))
      return false;
  }
  std::lock_guard guard(lock);
  if (LoadState(&chunk, 0) < 0) return false;
  RefreshEditorParams();
  return true;
}

bool IPlugVST3::SetNormalized(ParamID id, double normalized) {
  if (id >= static_cast<ParamID>(NParams()) || std::isnan(normalized)) return false;
  SetParameterFromHost(static_cast<int>(id), PlainFromNormalized(*GetParam(id), normalized));
  return true;
}

double IPlugVST3::Normalized(ParamID id) const {
  const IParameter* param = id < static_cast<ParamID>(NParams()) ? GetParam(id) : nullptr;
  return param ? NormalizedFromPlain(*param, param->Value()) : 0.0;
}

bool IPlugVST3::ValueText(ParamID id, double normalized, char16_t* out, int outUnits) const {
  const IParameter* param = id < static_cast<ParamID>(NParams()) ? GetParam(id) : nullptr;
  if (!param || !out || std::isnan(normalized)) return false;
  char text[IParameter::kTextSize] = {};
  param->FormatValue(PlainFromNormalized(*param, normalized), false, text, sizeof text, true);
  CopyToUtf16(out, outUnits, text);
  return true;
}

bool IPlugVST3::ValueFromText(ParamID id, const char16_t* text, double* normalized) const {
  const IParameter* param = id < static_cast<ParamID>(NParams()) ? GetParam(id) : nullptr;
  char typed[IParameter::kTextSize] = {};
  double plain = 0.0;
  if (!param || !normalized || !CopyFromUtf16(typed, sizeof typed, text)) return false;
  if (!param->PlainFromText(typed, &plain) || std::isnan(plain)) return false;
  *normalized = NormalizedFromPlain(*param, plain);
  return true;
}

void IPlugVST3::BeginHostEdit(int paramIdx) {
  if (handler_ && paramIdx >= 0 && paramIdx < NParams()) handler_->beginEdit(paramIdx);
}

void IPlugVST3::SendParamToHost(int paramIdx, double /*normalized*/) {
  // The editor has stored the parameter's new value; the host hears it in this format's terms.
  if (handler_ && paramIdx >= 0 && paramIdx < NParams())
    handler_->performEdit(paramIdx, Normalized(paramIdx));
}

void IPlugVST3::EndHostEdit(int paramIdx) {
  if (handler_ && paramIdx >= 0 && paramIdx < NParams()) handler_->endEdit(paramIdx);
}

} // namespace tavo
