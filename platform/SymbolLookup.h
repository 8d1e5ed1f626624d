#pragma once
// Finding a function in a library that the host process has already loaded, without loading it.

namespace tavo::platform {

// [any thread] The address of `symbol` in the loaded library `library` (a file name such as
// "libDAE.so"), or null when the library is not loaded or does not export the symbol. The
// library's load count is left as it was.
void* FindLoadedSymbol(const char* library, const char* symbol);

// [any thread] The function exported under `ordinal` by the loaded library, where the system
// exports by ordinal (Windows); null elsewhere or when it is not there.
void* FindLoadedOrdinal(const char* library, unsigned ordinal);

} // namespace tavo::platform
