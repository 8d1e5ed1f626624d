#include "platform/SymbolLookup.h"

#include <dlfcn.h>

namespace tavo::platform {

void* FindLoadedSymbol(const char* library, const char* symbol) {
  if (!library || !symbol) return nullptr;
  // RTLD_NOLOAD only finds a library that is already mapped; the matching dlclose gives back
  // the reference that the lookup took.
  void* handle = dlopen(library, RTLD_LAZY | RTLD_NOLOAD);
  if (!handle) return nullptr;
  void* address = dlsym(handle, symbol);
  dlclose(handle);
  return address;
}

void* FindLoadedOrdinal(const char*, unsigned) {
  return nullptr;
}

} // namespace tavo::platform
