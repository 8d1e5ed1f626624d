#pragma once
// TAVO as the module hands it to the real-time host interface: the effect on the adaptor's
// plug-in base, so the class tree is TAVOPlug<IPlugRTAS> → IPlugRTAS → IPlugBase.

#include <memory>

#include "effect/TAVO.h"
#include "rtas/IPlugRTAS.h"

namespace tavo {

using TAVORTAS = TAVOPlug<IPlugRTAS>;
extern template class TAVOPlug<IPlugRTAS>;

// [main thread · may block] One instance, under the lock every TAVO construction takes.
std::unique_ptr<TAVORTAS> CreateTAVO();

} // namespace tavo
