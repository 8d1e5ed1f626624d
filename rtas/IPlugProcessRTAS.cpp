#include "rtas/IPlugProcessRTAS.h"

#include <mutex>

#include "framework/IParameter.h"
#include "rtas/ControlValueMapping.h"

namespace tavo {

IPlugProcessRTAS::IPlugProcessRTAS(int32_t id, PlugFactory factory) : IPlugProcess(id, factory) {
  AttachToPlug();
}

IPlugProcessRTAS::~IPlugProcessRTAS() {
  // The engine must stop calling back before the plug-in goes.
  hostInstance.reset();
}

void IPlugProcessRTAS::RenderAudio(float** inputs, float** outputs, int32_t frames) {
  if (!plug) return;
  std::lock_guard guard(plug->lock);
  ConnectPlugChannels();
  plug->BindInputsFloat(0, plug->NInChannels(), inputs, frames);
  plug->BindOutputsFloat(0, plug->NOutChannels(), outputs);
  if (IsBypassed())
    plug->RunBypass(frames);
  else
    plug->RunProcess(frames);
}

int32_t IPlugProcessRTAS::IsControlAutomatable(int32_t index, uint8_t* automatable) {
  bool answer = false;
  if (index == kMasterBypassIndex) {
    answer = true;
  } else if (index >= kFirstParamControl && plug) {
    const IParameter* param = plug->GetParam(index - kFirstParamControl);
    answer = param && param->Automatable();
  }
  if (automatable) *automatable = answer ? 1 : 0;
  return hostabi::kNoErr;
}

int32_t IPlugProcessRTAS::GetDelaySamples(int32_t* samples) {
  if (samples) *samples = plug ? plug->Latency() : 0;
  return hostabi::kNoErr;
}

} // namespace tavo
