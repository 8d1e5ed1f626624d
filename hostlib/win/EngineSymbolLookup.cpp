#include <iterator>

#include "hostlib/CHostEngine.h"
#include "platform/SymbolLookup.h"

// On Windows the engine libraries are the DLLs the host loaded; the engine exports decorated
// names and the extension library exports by ordinal.
void* LookUpEngineSymbol(const hostabi::SEngineSymbol& symbol) {
  const auto library = static_cast<size_t>(symbol.library);
  if (library >= std::size(hostabi::kWindowsLibrary)) return nullptr;
  const char* file = hostabi::kWindowsLibrary[library];
  if (symbol.ordinal != 0) return tavo::platform::FindLoadedOrdinal(file, symbol.ordinal);
  return tavo::platform::FindLoadedSymbol(file, symbol.windowsName);
}
