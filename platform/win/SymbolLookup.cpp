#include "platform/SymbolLookup.h"

#include <windows.h>

namespace tavo::platform {

// GetModuleHandleA only finds a module the process has already loaded and takes no reference.
void* FindLoadedSymbol(const char* library, const char* symbol) {
  if (!library || !symbol) return nullptr;
  HMODULE module = GetModuleHandleA(library);
  return module ? reinterpret_cast<void*>(GetProcAddress(module, symbol)) : nullptr;
}

void* FindLoadedOrdinal(const char* library, unsigned ordinal) {
  if (!library || ordinal == 0 || ordinal > 0xFFFF) return nullptr;
  HMODULE module = GetModuleHandleA(library);
  return module ? reinterpret_cast<void*>(
                      GetProcAddress(module, MAKEINTRESOURCEA(static_cast<WORD>(ordinal))))
                : nullptr;
}

} // namespace tavo::platform
