#include "graphics/win/DisplayDpi.h"

#include <cstdint>

namespace tavo::windpi {

namespace {

using SetContextFn = HANDLE(WINAPI*)(HANDLE);
using DpiForWindowFn = UINT(WINAPI*)(HWND);

// The awareness contexts are pseudo-handles with fixed values.
const HANDLE kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-4));
const HANDLE kPerMonitorAware = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-3));

template <class Fn> Fn FromUser32(const char* name) {
  HMODULE user32 = GetModuleHandleA("user32.dll");
  if (!user32) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

} // namespace

PerMonitorAwareScope::PerMonitorAwareScope() {
  const auto set = FromUser32<SetContextFn>("SetThreadDpiAwarenessContext");
  if (!set) return;
  // Version 2 also scales the non-client parts and tells child windows; before Windows 10
  // (1703) only the first version exists, and the call refuses the second with null.
  previous_ = set(kPerMonitorAwareV2);
  if (!previous_) previous_ = set(kPerMonitorAware);
  changed_ = previous_ != nullptr;
}

PerMonitorAwareScope::~PerMonitorAwareScope() {
  if (!changed_) return;
  if (const auto set = FromUser32<SetContextFn>("SetThreadDpiAwarenessContext")) set(previous_);
}

unsigned DpiOf(HWND window) {
  const auto dpiFor = FromUser32<DpiForWindowFn>("GetDpiForWindow");
  return dpiFor && window ? dpiFor(window) : 0;
}

} // namespace tavo::windpi
