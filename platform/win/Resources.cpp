// The module's resources are its resource section: the resource script puts the artwork there
// at link time, so nothing is registered at run time.

#include "platform/Resources.h"

#include <windows.h>

namespace tavo::platform {
namespace {

std::span<const unsigned char> FindIn(HMODULE module, const char* type, int id) {
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
  if (!found) return {};
  HGLOBAL loaded = LoadResource(module, found);
  const DWORD size = SizeofResource(module, found);
  // Resource memory is mapped with the module and never freed while it stays loaded.
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes || size == 0) return {};
  return {static_cast<const unsigned char*>(bytes), size};
}

} // namespace

void RegisterEmbeddedResources(std::span<const EmbeddedResource>) {}

std::span<const unsigned char> FindModuleResource(ModuleHandle module, const char* type, int id) {
  if (!type || id <= 0 || id > 0xFFFF) return {};
  if (module) return FindIn(static_cast<HMODULE>(module), type, id);
  // No module named: the module this code is linked into, then the program.
  auto bytes = FindIn(static_cast<HMODULE>(CurrentModule()), type, id);
  return bytes.empty() ? FindIn(nullptr, type, id) : bytes;
}

} // namespace tavo::platform
