#include "platform/ModulePath.h"

#include <windows.h>

#include <cstring>
#include <string>

namespace tavo::platform {

ModuleHandle ModuleOf(const void* address) {
  if (!address) return nullptr;
  HMODULE module = nullptr;
  // No reference is taken: the handle is only as good as the module's stay in the process.
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                              GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          static_cast<LPCSTR>(address), &module))
    return nullptr;
  return module;
}

ModuleHandle CurrentModule() {
  static const char marker = 0;
  return ModuleOf(&marker);
}

std::size_t ModuleFilePath(ModuleHandle module, char* out, std::size_t outSize) {
  if (out && outSize) out[0] = '\0';
  if (!module) return 0;
  // GetModuleFileNameA cuts a long name to the buffer without saying how long it is, so the
  // whole name is read into a buffer that grows until it fits (paths end at 32 767 characters).
  std::string name(MAX_PATH, '\0');
  DWORD length = 0;
  for (;;) {
    length = GetModuleFileNameA(static_cast<HMODULE>(module), name.data(),
                                static_cast<DWORD>(name.size()));
    if (length == 0) return 0;
    if (length < name.size() || name.size() >= 32768) break;
    name.resize(name.size() * 2);
  }
  if (out && outSize) {
    const std::size_t n = length < outSize - 1 ? length : outSize - 1;
    std::memcpy(out, name.data(), n);
    out[n] = '\0';
  }
  return length;
}

} // namespace tavo::platform
