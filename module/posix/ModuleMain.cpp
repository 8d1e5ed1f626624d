// The loadable module's load and unload on Linux: the loader runs these once, in place of the
// entry point the module has on Windows.

#include "module/ModuleEntry.h"
#include "platform/ModulePath.h"

namespace {

__attribute__((constructor)) void ModuleLoaded() {
  // A module that cannot open itself must not stay loaded half-working; the loader has no way
  // to refuse from here, so the host finds no group and every routine answers its failure.
  tavo::ModuleAttach(tavo::platform::CurrentModule());
}

__attribute__((destructor)) void ModuleUnloaded() {
  tavo::ModuleDetach();
}

} // namespace
