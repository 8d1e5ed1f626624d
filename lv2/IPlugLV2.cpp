#include "lv2/IPlugLV2.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>

#include "framework/IStateChunk.h"

namespace tavo {

IPlugLV2::IPlugLV2(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
                   const char* productName, const char* makerName, int effectVersion, int uniqueID,
                   int makerID, int latency, int ignored, bool stateIsOpaque, bool spareFlag)
    : IPlugBase(nParams, channelIOStr, nPresets, effectName, productName, makerName, effectVersion,
                uniqueID, makerID, latency, ignored, stateIsOpaque, spareFlag, kApiStandalone) {
  ConnectAllChannels(kInitialBlockSize);
}

bool IPlugLV2::Configure(int channels, double sampleRate, const LV2_Feature* const* features) {
  if (!std::isfinite(sampleRate) || sampleRate <= 0.0) return false;
  if (channels < 1 || channels > std::min<int>(NInChannels(), audioIn_.size())) return false;
  host_ = lv2::HostFeatures::Read(features);
  layout_ = {channels, NParams()};

  // The mono plug-in leaves the second channel unconnected: the effect then takes its mono path.
  ConnectInputs(0, channels, true);
  ConnectInputs(channels, NInChannels() - channels, false);
  ConnectOutputs(0, channels, true);
  ConnectOutputs(channels, NOutChannels() - channels, false);
  if (host_.maxBlockLength > 0) ConfigureBlockSize(std::min(host_.maxBlockLength, kLargestScratch));

  paramPorts_.assign(NParams(), nullptr);
  // NaN equals nothing: the first run takes every connected control port.
  lastPortValues_.assign(NParams(), std::numeric_limits<float>::quiet_NaN());
  ConfigureSampleRate(sampleRate);
  std::lock_guard guard(lock);
  for (int i = 0; i < NParams(); ++i)
    ParamChanged(i);
  Reset();
  return true;
}

void IPlugLV2::ConnectPort(uint32_t port, void* data) {
  if (port >= layout_.Count()) return;
  if (port < layout_.AudioOut(0)) {
    audioIn_[port] = static_cast<const float*>(data);
  } else if (port < layout_.FirstParam()) {
    audioOut_[port - layout_.AudioOut(0)] = static_cast<float*>(data);
  } else if (const int param = layout_.ParamOf(port); param >= 0) {
    paramPorts_[param] = static_cast<const float*>(data);
  } else if (port == layout_.Latency()) {
    latencyPort_ = static_cast<float*>(data);
  } else if (port == layout_.Level()) {
    levelPort_ = static_cast<float*>(data);
  }
}

double IPlugLV2::PlainFromPort(int paramIdx, float value) const {
  if (paramIdx == enableParam_) return value > 0.0f ? 0.0 : 1.0;
  const IParameter* param = GetParam(paramIdx);
  // Integer, enumeration and toggle ports may carry a fraction; the parameter takes the nearest
  // of its values, as a host's own rounding would.
  if (param->Kind() != ParamKind::Double)
    return std::floor(std::clamp<double>(value, param->Min(), param->Max()) + 0.5);
  return value;
}

float IPlugLV2::PortValueOf(int paramIdx) const {
  const IParameter* param = GetParam(paramIdx);
  if (!param) return 0.0f;
  if (paramIdx == enableParam_) return param->Value() != 0.0 ? 0.0f : 1.0f;
  return static_cast<float>(param->Value());
}

void IPlugLV2::TakeControlPorts() {
  for (int i = 0; i < static_cast<int>(paramPorts_.size()); ++i) {
    const float* port = paramPorts_[i];
    if (!port) continue;
    const float v = *port;
    if (std::isnan(v) || v == lastPortValues_[i]) continue;
    lastPortValues_[i] = v;
    SetParameterFromHost(i, PlainFromPort(i, v));
  }
}

void IPlugLV2::TakePortValue(uint32_t port, float value) {
  const int param = layout_.ParamOf(port);
  if (param < 0 || param >= NParams() || std::isnan(value)) return;
  SetParameterFromHost(param, PlainFromPort(param, value));
}

void IPlugLV2::BeginHostEdit(int paramIdx) {
  if (sink_ && paramIdx >= 0 && paramIdx < NParams()) sink_->Gesture(layout_.Param(paramIdx), true);
}

void IPlugLV2::SendParamToHost(int paramIdx, double /*normalized*/) {
  // The editor has already stored the parameter's new plain value; the port carries that.
  if (sink_ && paramIdx >= 0 && paramIdx < NParams())
    sink_->WritePort(layout_.Param(paramIdx), PortValueOf(paramIdx));
}

void IPlugLV2::EndHostEdit(int paramIdx) {
  if (sink_ && paramIdx >= 0 && paramIdx < NParams())
    sink_->Gesture(layout_.Param(paramIdx), false);
}

void IPlugLV2::WriteOutputPorts() {
  if (latencyPort_) *latencyPort_ = static_cast<float>(Latency());
  if (levelPort_) *levelPort_ = levelControl_ ? static_cast<float>(levelControl_->Value()) : 0.0f;
}

void IPlugLV2::Run(uint32_t frames) {
  std::lock_guard guard(lock);
  TakeControlPorts();
  const int channels = layout_.channels;
  bool audioConnected = true;
  for (int c = 0; c < channels; ++c)
    audioConnected = audioConnected && audioIn_[c] && audioOut_[c];
  if (frames > 0 && audioConnected) {
    const int n = static_cast<int>(std::min<uint32_t>(frames, INT_MAX));
    // Read only: the base's binding takes mutable pointers for both directions.
    std::array<float*, 2> inputs{const_cast<float*>(audioIn_[0]), const_cast<float*>(audioIn_[1])};
    BindInputsFloat(0, channels, inputs.data(), n);
    BindOutputsFloat(0, channels, audioOut_.data());
    RunProcess(n);
  }
  WriteOutputPorts();
}

LV2_State_Status IPlugLV2::SaveStateTo(LV2_State_Store_Function store, LV2_State_Handle handle) {
  if (!host_.MapsState()) return LV2_STATE_ERR_NO_FEATURE; // no key or type to give the chunk
  if (!store) return LV2_STATE_ERR_UNKNOWN;
  IStateChunk chunk;
  if (!SaveState(&chunk)) return LV2_STATE_ERR_UNKNOWN;
  return store(handle, host_.stateKey, chunk.Data(), static_cast<size_t>(chunk.Size()),
               host_.atomChunk, LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE);
}

LV2_State_Status IPlugLV2::RestoreStateFrom(LV2_State_Retrieve_Function retrieve,
                                            LV2_State_Handle handle) {
  if (!host_.MapsState()) return LV2_STATE_ERR_NO_FEATURE; // no key or type to look for
  if (!retrieve) return LV2_STATE_ERR_UNKNOWN;
  size_t size = 0;
  uint32_t type = 0;
  uint32_t flags = 0;
  const void* data = retrieve(handle, host_.stateKey, &size, &type, &flags);
  const size_t expected = sizeof(double) * static_cast<size_t>(NParams());
  // A state without our key is a host's state of the ports alone (a plug-in's default state, a
  // preset made of port values): the ports carry the settings, and there is nothing to refuse.
  if (!data) return LV2_STATE_SUCCESS;
  if (type != host_.atomChunk) {
    host_.LogError("%s: a saved state of another type is not %s's; the instance keeps its "
                   "settings\n",
                   EffectName(), EffectName());
    return LV2_STATE_ERR_BAD_TYPE;
  }
  if (size != expected) {
    host_.LogError("%s: a saved state of %zu bytes is not %s's (%zu bytes); the instance keeps "
                   "its settings\n",
                   EffectName(), size, EffectName(), expected);
    return LV2_STATE_ERR_UNKNOWN;
  }
  IStateChunk chunk;
  chunk.PutBytes(data, static_cast<int>(size));
  for (int i = 0; i < NParams(); ++i) {
    double value = 0.0;
    if (chunk.GetDouble(&value, i * static_cast<int>(sizeof value)) < 0 || !std::isfinite(value)) {
      host_.LogError("%s: the saved value of %s is not a number; the instance keeps its "
                     "settings\n",
                     EffectName(), GetParam(i)->GetName());
      return LV2_STATE_ERR_UNKNOWN;
    }
  }
  std::lock_guard guard(lock);
  if (LoadState(&chunk, 0) < 0) return LV2_STATE_ERR_UNKNOWN;
  RefreshEditorParams();
  return LV2_STATE_SUCCESS;
}

} // namespace tavo
