#include "vst3/TAVOVST3.h"

#include <new>

namespace tavo {

template class TAVOPlug<IPlugVST3>;

std::unique_ptr<TAVOVST3> MakeTAVOVST3() {
  auto plug = MakeTAVO<IPlugVST3>();
  plug->SetBypassParam(TAVOParams::kBypass);
  // The chain follows every parameter from the start, as it does in the other formats, whose
  // hosts send every value before the first block: a host of this format sends only the values
  // it changes, and Output Compensation's -1.2 dB trim would otherwise wait for its first move.
  for (int i = 0; i < plug->NParams(); ++i)
    plug->ParamChanged(i);
  return plug;
}

vst3::tresult InitializeOnce(int& initialized, std::unique_ptr<TAVOVST3>& plug) {
  if (initialized++ > 0) return vst3::kResultOk;
  try {
    plug = MakeTAVOVST3();
  } catch (const std::bad_alloc&) {
    initialized = 0;
    return vst3::kOutOfMemory;
  }
  return vst3::kResultOk;
}

} // namespace tavo
