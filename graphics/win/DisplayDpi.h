#pragma once
// The display's DPI for the editor window. Per-monitor awareness and the window's own DPI exist
// from Windows 10 (1607) on; both are looked up in user32 when used, so the module still loads
// and draws at 1× on systems without them.

#include <windows.h>

namespace tavo::windpi {

inline constexpr unsigned kBaseDpi = 96; // 100 %

// [UI thread] While alive, windows this thread creates are per-monitor aware (version 2 where
// the system has it): the system does not stretch them and tells them of a monitor's DPI. A host
// whose own windows are unaware keeps its child windows unaware whatever is asked here, unless
// it allows mixed hosting; then the window sees 96 DPI and draws at 1× as before.
class PerMonitorAwareScope {
public:
  PerMonitorAwareScope();
  ~PerMonitorAwareScope();
  PerMonitorAwareScope(const PerMonitorAwareScope&) = delete;
  PerMonitorAwareScope& operator=(const PerMonitorAwareScope&) = delete;

private:
  HANDLE previous_ = nullptr; // the thread's context before, restored at the end
  bool changed_ = false;
};

// [UI thread] The DPI the window is shown at; 0 where the system cannot say.
unsigned DpiOf(HWND window);

} // namespace tavo::windpi
