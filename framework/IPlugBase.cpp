// The plug-in base: construction, channels and the processing call.

#include "framework/IPlugBase.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/FixedText.h"
#include "framework/Trace.h"

namespace tavo {

namespace {

// Reads "%d-%d" pairs separated by blanks; a pair that cannot be read counts as zeros.
void ParseIOConfigs(const char* text, OwnedList<IOConfig>& configs, int& maxIn, int& maxOut) {
  maxIn = maxOut = 0;
  const char* p = text ? text : "";
  while (true) {
    auto config = std::make_unique<IOConfig>();
    std::sscanf(p, "%d-%d", &config->nIn, &config->nOut); // unread counts stay 0
    maxIn = std::max(maxIn, config->nIn);
    maxOut = std::max(maxOut, config->nOut);
    configs.Add(std::move(config));
    p = std::strchr(p, ' ');
    if (!p) break;
    ++p;
  }
}

// Samples are converted four at a time; the tail is finished one by one.
void FloatToDouble(const float* in, double* out, int frames) {
  int i = 0;
  for (; i + 4 <= frames; i += 4) {
    out[i] = in[i];
    out[i + 1] = in[i + 1];
    out[i + 2] = in[i + 2];
    out[i + 3] = in[i + 3];
  }
  for (; i < frames; ++i)
    out[i] = in[i];
}

void DoubleToFloat(const double* in, float* out, int frames) {
  int i = 0;
  for (; i + 4 <= frames; i += 4) {
    out[i] = static_cast<float>(in[i]);
    out[i + 1] = static_cast<float>(in[i + 1]);
    out[i + 2] = static_cast<float>(in[i + 2]);
    out[i + 3] = static_cast<float>(in[i + 3]);
  }
  for (; i < frames; ++i)
    out[i] = static_cast<float>(in[i]);
}

} // namespace

IPlugBase::IPlugBase(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
                     const char* productName, const char* makerName, int effectVersion,
                     int uniqueID, int makerID, int latency, int /*ignored*/, bool stateIsOpaque,
                     bool spareFlag, int api)
    : uniqueID_(uniqueID), makerID_(makerID), effectVersion_(effectVersion), api_(api),
      stateIsOpaque_(stateIsOpaque), spareFlag_(spareFlag), latency_(latency) {
  for (int i = 0; i < nParams; ++i)
    params_.Add(std::make_unique<IParameter>());
  for (int i = 0; i < nPresets; ++i)
    presets_.Add(std::make_unique<IPresetSlot>());
  CopyText(effectName_, effectName);
  CopyText(productName_, productName);
  CopyText(makerName_, makerName);

  int nIn = 0, nOut = 0;
  ParseIOConfigs(channelIOStr, ioConfigs_, nIn, nOut);

  // The pointer arrays are sized once here and never move: each channel keeps a pointer into them.
  inputPtrs_.ResizeZeroed(nIn);
  outputPtrs_.ResizeZeroed(nOut);
  for (int i = 0; i < nIn; ++i) {
    auto channel = std::make_unique<InputChannel>();
    channel->slot = &inputPtrs_[i];
    inputs_.Add(std::move(channel));
  }
  for (int i = 0; i < nOut; ++i) {
    auto channel = std::make_unique<OutputChannel>();
    channel->slot = &outputPtrs_[i];
    outputs_.Add(std::move(channel));
  }
}

IPlugBase::~IPlugBase() {
  editor_.reset();
}

void IPlugBase::ConnectAllChannels(int blockSize) {
  if (NInChannels() > 0) {
    latencyDelay_ = std::make_unique<LatencyDelay>(NInChannels(), NOutChannels(), Latency());
  }
  ConnectInputs(0, NInChannels(), true);
  ConnectOutputs(0, NOutChannels(), true);
  ConfigureBlockSize(blockSize);
}

void IPlugBase::Reset() {
  std::lock_guard guard(lock);
}

void IPlugBase::ClearHistory() {
  std::lock_guard guard(lock);
  if (latencyDelay_) latencyDelay_->Configure(latencyDelay_->Length());
  Reset();
}

void IPlugBase::ParamChanged(int) {
  std::lock_guard guard(lock);
}

void IPlugBase::ReservedParamHook(int) {
  std::lock_guard guard(lock);
}

void IPlugBase::EditorText(char* out, size_t outSize) {
  CopyText(out, outSize, "");
}

void IPlugBase::ProcessDouble(double** inputs, double** outputs, int frames) {
  const int n = std::max(frames, 0);
  const int copied = std::min(NInChannels(), NOutChannels());
  for (int i = 0; i < copied; ++i) {
    if (inputs[i] != outputs[i]) std::memmove(outputs[i], inputs[i], sizeof(double) * n);
  }
  for (int i = copied; i < NOutChannels(); ++i)
    std::fill_n(outputs[i], n, 0.0);
}

void IPlugBase::ProcessFloat(float** inputs, float** outputs, int frames) {
  const int n = std::max(frames, 0);
  const int copied = std::min(NInChannels(), NOutChannels());
  for (int i = 0; i < copied; ++i) {
    if (inputs[i] != outputs[i]) std::memmove(outputs[i], inputs[i], sizeof(float) * n);
  }
  for (int i = copied; i < NOutChannels(); ++i)
    std::fill_n(outputs[i], n, 0.0f);
}

bool IPlugBase::LegalIO(int nIn, int nOut) const {
  bool legal = false;
  for (const IOConfig* config : ioConfigs_) {
    if ((nIn < 0 || nIn == config->nIn) && (nOut < 0 || nOut == config->nOut)) {
      legal = true;
      break;
    }
  }
  Trace("IPlugBase::LegalIO", __LINE__, "%d:%d:%s", nIn, nOut, legal ? "legal" : "illegal");
  return legal;
}

void IPlugBase::ConnectInputs(int first, int count, bool connected) {
  const int end = std::min(first + std::max(count, 0), NInChannels());
  for (int i = std::max(first, 0); i < end; ++i) {
    InputChannel* channel = inputs_.Get(i);
    channel->connected = connected;
    // A disconnected input reads its own (zeroed) scratch buffer instead of a host buffer.
    if (!connected) *channel->slot = channel->scratch.Data();
  }
}

void IPlugBase::ConnectOutputs(int first, int count, bool connected) {
  const int end = std::min(first + std::max(count, 0), NOutChannels());
  for (int i = std::max(first, 0); i < end; ++i) {
    OutputChannel* channel = outputs_.Get(i);
    channel->connected = connected;
    if (!connected) *channel->slot = channel->scratch.Data();
  }
}

bool IPlugBase::InputConnected(int idx) const {
  const InputChannel* channel = inputs_.Get(idx);
  return channel && channel->connected;
}

bool IPlugBase::OutputConnected(int idx) const {
  const OutputChannel* channel = outputs_.Get(idx);
  return channel && channel->connected;
}

void IPlugBase::SetInputLabel(int idx, const char* label) {
  if (InputChannel* channel = inputs_.Get(idx)) channel->label.Set(label);
}

void IPlugBase::SetOutputLabel(int idx, const char* label) {
  if (OutputChannel* channel = outputs_.Get(idx)) channel->label.Set(label);
}

const char* IPlugBase::InputLabel(int idx) const {
  const InputChannel* channel = inputs_.Get(idx);
  return channel ? channel->label.Get() : "";
}

const char* IPlugBase::OutputLabel(int idx) const {
  const OutputChannel* channel = outputs_.Get(idx);
  return channel ? channel->label.Get() : "";
}

namespace {
// The shape every Bind call shares: the connected channels from `first` on, up to `count`
// channels and the channel count, each take the next of the host's pointers (a disconnected
// channel takes none).
template <class Channels, class Sample, class Bind>
void ForEachConnected(Channels& channels, int channelCount, int first, int count, Sample** data,
                      Bind bind) {
  const int end = std::min(first + std::max(count, 0), channelCount);
  for (int i = std::max(first, 0); i < end; ++i) {
    auto* channel = channels.Get(i);
    if (channel->connected) bind(*channel, *data++);
  }
}
} // namespace

void IPlugBase::BindInputsFloat(int first, int count, float** data, int frames) {
  const int converted = std::clamp(frames, 0, blockSize_);
  ForEachConnected(inputs_, NInChannels(), first, count, data,
                   [converted](InputChannel& channel, const float* source) {
                     channel.floatSource = source;
                     channel.doubleSource = nullptr;
                     if (source)
                       FloatToDouble(source, channel.scratch.Data(), converted);
                     else
                       std::fill_n(channel.scratch.Data(), converted, 0.0);
                     *channel.slot = channel.scratch.Data();
                   });
}

void IPlugBase::BindInputsDouble(int first, int count, double** data) {
  ForEachConnected(inputs_, NInChannels(), first, count, data,
                   [](InputChannel& channel, double* source) {
                     channel.doubleSource = source;
                     channel.floatSource = nullptr;
                     *channel.slot = source;
                   });
}

void IPlugBase::BindOutputsFloat(int first, int count, float** data) {
  ForEachConnected(outputs_, NOutChannels(), first, count, data,
                   [](OutputChannel& channel, float* dest) {
                     *channel.slot = channel.scratch.Data();
                     channel.floatDest = dest;
                     channel.doubleDest = nullptr;
                   });
}

void IPlugBase::BindOutputsDouble(int first, int count, double** data) {
  ForEachConnected(outputs_, NOutChannels(), first, count, data,
                   [](OutputChannel& channel, double* dest) {
                     channel.doubleDest = dest;
                     channel.floatDest = nullptr;
                     *channel.slot = dest;
                   });
}

// Points every connected channel at the piece of the block that starts at `offset`, converting
// 32-bit input into the scratch buffers. The first piece of a block was bound by the Bind calls.
void IPlugBase::BindPiece(int offset, int frames) {
  for (InputChannel* channel : inputs_) {
    if (!channel->connected) continue;
    if (channel->floatSource) {
      FloatToDouble(channel->floatSource + offset, channel->scratch.Data(), frames);
    } else if (channel->doubleSource) {
      *channel->slot = channel->doubleSource + offset;
    }
  }
  for (OutputChannel* channel : outputs_) {
    if (channel->connected && channel->doubleDest) *channel->slot = channel->doubleDest + offset;
  }
}

void IPlugBase::ConvertOutputs(int offset, int frames) {
  for (OutputChannel* channel : outputs_) {
    if (channel->connected && channel->floatDest) {
      DoubleToFloat(*channel->slot, channel->floatDest + offset, frames);
    }
  }
}

void IPlugBase::SilenceOutputs(int frames) {
  for (OutputChannel* channel : outputs_) {
    if (!channel->connected) continue;
    if (channel->floatDest)
      std::fill_n(channel->floatDest, frames, 0.0f);
    else if (channel->doubleDest)
      std::fill_n(channel->doubleDest, frames, 0.0);
  }
}

void IPlugBase::RunProcess(int frames) {
  if (frames <= blockSize_) {
    ProcessDouble(inputPtrs_.Data(), outputPtrs_.Data(), frames);
    ConvertOutputs(0, std::max(frames, 0));
    return;
  }
  // Nothing sized yet: refuse rather than overrun, and leave the host silence rather than
  // whatever its buffers held before.
  if (blockSize_ <= 0) {
    SilenceOutputs(frames);
    return;
  }
  for (int offset = 0; offset < frames; offset += blockSize_) {
    const int piece = std::min(blockSize_, frames - offset);
    if (offset > 0) BindPiece(offset, piece);
    ProcessDouble(inputPtrs_.Data(), outputPtrs_.Data(), piece);
    ConvertOutputs(offset, piece);
  }
}

void IPlugBase::RunBypass(int frames) {
  const auto bypassPiece = [this](int piece) {
    if (latency_ != 0 && latencyDelay_) {
      latencyDelay_->Process(inputPtrs_.Data(), outputPtrs_.Data(), piece);
    } else {
      IPlugBase::ProcessDouble(inputPtrs_.Data(), outputPtrs_.Data(), piece);
    }
  };
  if (frames <= blockSize_) {
    bypassPiece(frames);
    ConvertOutputs(0, std::max(frames, 0));
    return;
  }
  if (blockSize_ <= 0) {
    SilenceOutputs(frames);
    return;
  }
  for (int offset = 0; offset < frames; offset += blockSize_) {
    const int piece = std::min(blockSize_, frames - offset);
    if (offset > 0) BindPiece(offset, piece);
    bypassPiece(piece);
    ConvertOutputs(offset, piece);
  }
}

void IPlugBase::ClearScratch() {
  for (InputChannel* channel : inputs_)
    channel->scratch.ResizeZeroed(blockSize_);
  for (OutputChannel* channel : outputs_)
    channel->scratch.ResizeZeroed(blockSize_);
}

void IPlugBase::ConfigureBlockSize(int frames) {
  std::lock_guard guard(lock);
  if (frames == blockSize_ || frames < 0) return;
  // Resizing may move a scratch buffer: re-point the slots of channels that read or write theirs.
  for (InputChannel* channel : inputs_) {
    const bool onScratch = *channel->slot == channel->scratch.Data();
    channel->scratch.ResizeZeroed(frames);
    if (onScratch || !channel->connected) *channel->slot = channel->scratch.Data();
  }
  for (OutputChannel* channel : outputs_) {
    const bool onScratch = *channel->slot == channel->scratch.Data();
    channel->scratch.ResizeZeroed(frames);
    if (onScratch || !channel->connected) *channel->slot = channel->scratch.Data();
  }
  blockSize_ = frames;
}

void IPlugBase::ConfigureLatency(int frames) {
  latency_ = frames;
  if (latencyDelay_) latencyDelay_->Configure(frames);
}

double IPlugBase::SamplesPerBeat() {
  const double tempo = Tempo();
  return tempo > 0.0 ? sampleRate_ * 60.0 / tempo : 0.0;
}

namespace {

int VersionDecimal(int32_t v) {
  const uint32_t u = static_cast<uint32_t>(v);
  return static_cast<int>((u / 65536) * 10000 + ((u / 256) % 256) * 100 + u % 256);
}

void VersionText(int32_t v, char* out, size_t outSize) {
  const uint32_t u = static_cast<uint32_t>(v);
  std::snprintf(out, outSize, "v%u.%u.%u", u / 65536, (u / 256) % 256, u % 256);
}

} // namespace

int IPlugBase::EffectVersion(bool decimal) const {
  return decimal ? VersionDecimal(effectVersion_) : effectVersion_;
}

void IPlugBase::EffectVersionText(char* out, size_t outSize) const {
  if (out && outSize) VersionText(effectVersion_, out, outSize);
}

int IPlugBase::HostVersion(bool decimal) {
  HostKind();
  return decimal ? VersionDecimal(hostVersion_) : hostVersion_;
}

void IPlugBase::HostVersionText(char* out, size_t outSize) {
  HostKind();
  if (out && outSize) VersionText(hostVersion_, out, outSize);
}

const char* IPlugBase::ApiName() const {
  switch (ApiKind()) {
  case kApiVST2:
    return "VST2";
  case kApiVST3:
    return "VST3";
  case kApiAU:
    return "AU";
  case kApiRTAS:
    return "RTAS";
  case kApiAAX:
    return "AAX";
  case kApiStandalone:
    return "Standalone";
  default:
    return "";
  }
}

} // namespace tavo
