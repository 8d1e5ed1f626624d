// The entry and exit a Linux host calls right after loading the module and before unloading it;
// a host refuses a module without them. Nothing needs setting up: the answer is always yes.

#include "vst3/Factory.h"

extern "C" bool ModuleEntry(void* /*sharedLibraryHandle*/) {
  return tavo::vst3::EnterModule();
}

extern "C" bool ModuleExit() {
  return tavo::vst3::ExitModule();
}
