#pragma once
// TAVO as VST 3 hosts load it: the effect on the VST 3 plug-in base, TAVOPlug<IPlugVST3> →
// IPlugVST3 → IPlugBase.

#include <memory>

#include "effect/TAVO.h"
#include "vst3/IPlugVST3.h"

namespace tavo {

using TAVOVST3 = TAVOPlug<IPlugVST3>;
extern template class TAVOPlug<IPlugVST3>;

// [main thread · may block] One instance under the lock every TAVO construction takes, with
// Bypass as the host's bypass switch and the chain set from every parameter.
std::unique_ptr<TAVOVST3> MakeTAVOVST3();

// [main thread · may block] initialize for the processor and the controller alike. Hosts call it
// more than once on one object (nested, or twice on a single-object plug-in): the first call makes
// the instance, the others only count, as terminate counts them down. Out of memory, nothing is
// made and the count stays at zero.
vst3::tresult InitializeOnce(int& initialized, std::unique_ptr<TAVOVST3>& plug);

} // namespace tavo
