#pragma once
// Loading a module file into the host's process and finding its exports: dlopen on Linux,
// LoadLibrary on Windows (where a module that refuses to attach fails to load).

#include <string>

namespace tavo::host {

// [main thread] The loaded library, or null with the system's reason in *error.
void* OpenModuleLibrary(const std::string& file, std::string* error);
// [any thread] The export's address, or null.
void* ModuleLibrarySymbol(void* library, const char* name);
// [main thread] Gives back the reference OpenModuleLibrary took.
void CloseModuleLibrary(void* library);

} // namespace tavo::host
