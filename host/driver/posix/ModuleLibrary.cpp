#include "host/driver/ModuleLibrary.h"

#include <dlfcn.h>

namespace tavo::host {

void* OpenModuleLibrary(const std::string& file, std::string* error) {
  void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library && error) {
    const char* reason = dlerror();
    *error = reason ? reason : file + " cannot be loaded";
  }
  return library;
}

void* ModuleLibrarySymbol(void* library, const char* name) {
  return library ? dlsym(library, name) : nullptr;
}

void CloseModuleLibrary(void* library) {
  if (library) dlclose(library);
}

} // namespace tavo::host
