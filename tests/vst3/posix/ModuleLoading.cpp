// The bundle's binary loaded as a Linux host loads it.

#include <dlfcn.h>

#include "tests/vst3/HostObjects.h"

namespace tavo::test {

std::string BundleBinary(const std::string& bundle) {
  return bundle + "/Contents/x86_64-linux/TAVO.so";
}

Module::Module(const std::string& bundle) {
  handle_ = dlopen(BundleBinary(bundle).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) {
    error = dlerror();
    return;
  }
  auto entry = reinterpret_cast<bool (*)(void*)>(dlsym(handle_, "ModuleEntry"));
  exit_ = reinterpret_cast<bool (*)()>(dlsym(handle_, "ModuleExit"));
  auto getFactory = reinterpret_cast<IPluginFactory* (*)()>(dlsym(handle_, "GetPluginFactory"));
  if (!entry || !exit_ || !getFactory) {
    error = "an entry point is missing";
    return;
  }
  if (!entry(handle_)) {
    error = "ModuleEntry refused";
    exit_ = nullptr;
    return;
  }
  factory = getFactory();
  if (!factory) error = "no factory";
}

Module::~Module() {
  if (factory) factory->release();
  if (exit_) exit_();
  if (handle_) dlclose(handle_);
}

} // namespace tavo::test
