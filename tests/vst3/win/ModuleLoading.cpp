// The bundle's binary loaded as a Windows host loads it: LoadLibrary on the architecture's file
// in the bundle, the factory entry looked up by its plain name (the 32-bit one carries no
// decoration in the export table), InitDll if the module has it, the factory; ExitDll and
// FreeLibrary when it goes.

#include <windows.h>

#include "tests/vst3/HostObjects.h"

namespace tavo::test {

namespace {

// The export's address as the function type it has (through void*: the system's generic
// function pointer type matches none).
template <class Function> Function Export(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

} // namespace

std::string BundleBinary(const std::string& bundle) {
  return bundle +
         (sizeof(void*) == 8 ? "/Contents/x86_64-win/TAVO.vst3" : "/Contents/x86-win/TAVO.vst3");
}

Module::Module(const std::string& bundle) {
  HMODULE module = LoadLibraryA(BundleBinary(bundle).c_str());
  if (!module) {
    error = "LoadLibrary failed with error " + std::to_string(GetLastError());
    return;
  }
  handle_ = module;
  using Entry = bool (*)();
  using GetFactory = IPluginFactory*(TAVO_VST3_CALL*)();
  const auto entry = Export<Entry>(module, "InitDll");
  const auto getFactory = Export<GetFactory>(module, "GetPluginFactory");
  exit_ = Export<Entry>(module, "ExitDll");
  if (!getFactory) {
    error = "GetPluginFactory is not exported by its plain name";
    return;
  }
  if (entry && !entry()) {
    error = "InitDll refused";
    exit_ = nullptr;
    return;
  }
  factory = getFactory();
  if (!factory) error = "no factory";
}

Module::~Module() {
  if (factory) factory->release();
  if (exit_) exit_();
  if (handle_) FreeLibrary(static_cast<HMODULE>(handle_));
}

} // namespace tavo::test
