#include "vst3/TAVOVST3.h"

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

} // namespace tavo
