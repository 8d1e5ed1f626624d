#include "lv2/TAVOLV2.h"

#include <lv2/state/state.h>

#include <cstring>
#include <new>

#include "graphics/IGraphics.h"

namespace tavo {

template class TAVOPlug<IPlugLV2>;

namespace {

TAVOLV2* PlugOf(LV2_Handle instance) {
  return static_cast<TAVOLV2*>(instance);
}

// [main thread · may block] One instance under the lock every TAVO construction takes. A rate
// that is no rate gets no instance.
template <int kChannels>
LV2_Handle Instantiate(const LV2_Descriptor*, double rate, const char*,
                       const LV2_Feature* const* features) {
  try {
    auto plug = MakeTAVO<IPlugLV2>();
    if (!plug->Configure(kChannels, rate, features)) return nullptr;
    plug->SetEnableParam(TAVOParams::kBypass);
    if (const IGraphics* graphics = GraphicsOf(plug.get()))
      plug->SetLevelControl(graphics->GetControl(plug->MeterControl()));
    return plug.release();
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void ConnectPort(LV2_Handle instance, uint32_t port, void* data) {
  PlugOf(instance)->ConnectPort(port, data);
}

void Activate(LV2_Handle instance) {
  PlugOf(instance)->Activate();
}

void Run(LV2_Handle instance, uint32_t frames) {
  PlugOf(instance)->Run(frames);
}

void Cleanup(LV2_Handle instance) {
  delete PlugOf(instance); // the instance Instantiate released to the host
}

LV2_State_Status SaveState(LV2_Handle instance, LV2_State_Store_Function store,
                           LV2_State_Handle handle, uint32_t, const LV2_Feature* const*) {
  return PlugOf(instance)->SaveStateTo(store, handle);
}

LV2_State_Status RestoreState(LV2_Handle instance, LV2_State_Retrieve_Function retrieve,
                              LV2_State_Handle handle, uint32_t, const LV2_Feature* const*) {
  return PlugOf(instance)->RestoreStateFrom(retrieve, handle);
}

const LV2_State_Interface kStateInterface{SaveState, RestoreState};

const void* ExtensionData(const char* uri) {
  if (uri && std::strcmp(uri, LV2_STATE__interface) == 0) return &kStateInterface;
  return nullptr;
}

const LV2_Descriptor kDescriptors[] = {
    {lv2::kMonoURI, Instantiate<1>, ConnectPort, Activate, Run, nullptr, Cleanup, ExtensionData},
    {lv2::kStereoURI, Instantiate<2>, ConnectPort, Activate, Run, nullptr, Cleanup, ExtensionData},
};

} // namespace

const LV2_Descriptor* TAVOLV2Descriptor(uint32_t index) {
  return index < std::size(kDescriptors) ? &kDescriptors[index] : nullptr;
}

} // namespace tavo
