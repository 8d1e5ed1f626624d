#include <iterator>

#include "hostlib/CHostEngine.h"
#include "platform/SymbolLookup.h"

// On Linux the engine libraries are shared libraries named libDAE.so and so on, exporting plain
// names; the extension library's ordinals are exported under one fixed name each.
void* LookUpEngineSymbol(const hostabi::SEngineSymbol& symbol) {
  const auto library = static_cast<size_t>(symbol.library);
  if (library >= std::size(hostabi::kPosixLibrary)) return nullptr;
  return tavo::platform::FindLoadedSymbol(hostabi::kPosixLibrary[library], symbol.posixName);
}
