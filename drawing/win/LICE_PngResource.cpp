// PNG artwork carried by a module: on Windows a resource of type "PNG" in the module's resource
// section, mapped in place (the bytes live as long as the module).

#include "drawing/LICE_Png.h"

#include <windows.h>

namespace {
// An integer resource name is a 16-bit number and the lookup keeps only the low 16 bits of what
// it is given: 0x10000 + 101 would find resource 101. Identifiers outside 1..0xFFFF are refused.
constexpr int kLargestResourceId = 0xFFFF;
} // namespace

LICE_IBitmap* LoadPngFromResource(tavo::platform::ModuleHandle module, int id,
                                  LICE_IBitmap* bitmap) {
  if (id < 1 || id > kLargestResourceId) return nullptr;
  HMODULE instance = static_cast<HMODULE>(module);
  HRSRC resource = FindResourceA(instance, MAKEINTRESOURCEA(id), "PNG");
  if (!resource) return nullptr;
  const DWORD size = SizeofResource(instance, resource);
  if (size <= 7) return nullptr;
  HGLOBAL loaded = LoadResource(instance, resource);
  if (!loaded) return nullptr;
  const void* data = LockResource(loaded);
  if (!data) return nullptr;
  return LoadPngFromMemory(data, size, bitmap);
}
