#pragma once
// The module's factory: TAVO's two classes (index 0 the processor, "Audio Module Class",
// sub-category Fx|Distortion; index 1 its controller), named from effect/TAVODescriptor.h, and
// their creation. One factory lives as long as the module; its reference count only counts.

#include "vst3/abi/Factory.h"

namespace tavo::vst3 {

// [any thread] The module's factory with one more reference, the caller's.
IPluginFactory* TakeFactory();

// [any thread] Loads of the module that have not yet exited, for ModuleEntry/ModuleExit (and
// InitDll/ExitDll on Windows): nested loads are counted.
bool EnterModule();
bool ExitModule();

} // namespace tavo::vst3
