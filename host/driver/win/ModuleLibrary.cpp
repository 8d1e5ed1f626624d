#include "host/driver/ModuleLibrary.h"

#include <windows.h>

namespace tavo::host {

namespace {
std::string SystemMessage(DWORD code) {
  char text[512] = {};
  const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, code, 0, text, sizeof text, nullptr);
  std::string message(text, n);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
    message.pop_back();
  return message.empty() ? "system error " + std::to_string(code) : message;
}
} // namespace

void* OpenModuleLibrary(const std::string& file, std::string* error) {
  // The module's DLL entry point runs inside LoadLibrary; one that refuses to attach
  // (ERROR_DLL_INIT_FAILED) is unloaded again before LoadLibrary returns.
  HMODULE library = LoadLibraryA(file.c_str());
  if (!library && error) *error = file + ": " + SystemMessage(GetLastError());
  return library;
}

void* ModuleLibrarySymbol(void* library, const char* name) {
  return library ? reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name))
                 : nullptr;
}

void CloseModuleLibrary(void* library) {
  if (library) FreeLibrary(static_cast<HMODULE>(library));
}

} // namespace tavo::host
