#include "platform/ModulePath.h"

#include <dlfcn.h>

#include <cstring>

namespace tavo::platform {

ModuleHandle ModuleOf(const void* address) {
  Dl_info info{};
  if (!address || dladdr(address, &info) == 0) return nullptr;
  return info.dli_fbase;
}

ModuleHandle CurrentModule() {
  static const char marker = 0;
  return ModuleOf(&marker);
}

std::size_t ModuleFilePath(ModuleHandle module, char* out, std::size_t outSize) {
  if (out && outSize) out[0] = '\0';
  Dl_info info{};
  if (!module || dladdr(module, &info) == 0 || !info.dli_fname) return 0;
  const std::size_t length = std::strlen(info.dli_fname);
  if (out && outSize) {
    const std::size_t n = length < outSize - 1 ? length : outSize - 1;
    std::memcpy(out, info.dli_fname, n);
    out[n] = '\0';
  }
  return length;
}

} // namespace tavo::platform
