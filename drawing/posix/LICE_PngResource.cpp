// PNG artwork carried by a module: on Linux the module's embedded resource table.

#include "drawing/LICE_Png.h"
#include "platform/Resources.h"

LICE_IBitmap* LoadPngFromResource(tavo::platform::ModuleHandle module, int id,
                                  LICE_IBitmap* bitmap) {
  const auto bytes = tavo::platform::FindModuleResource(module, "PNG", id);
  if (bytes.size() <= 7) return nullptr;
  return LoadPngFromMemory(bytes.data(), bytes.size(), bitmap);
}
