#pragma once
// The few module-wide items the host library shares with the module entry: how the module was
// opened, the host's interface version and the module's resource file.

#include <atomic>
#include <cstdint>

#include "hostlib/HostInterface.h"

class CModuleState {
public:
  // Set by the module entry when the host opened the module through its own open call; the
  // library then leaves editor views and resource switching to the host.
  static inline std::atomic<bool> openedThroughWinPlugInOpen{false};
  // A second flag with the same effect on editor views, set only by a host routine.
  static inline std::atomic<bool> skipEditorViews{false};
  // Stored by a group operation as the host passes it; read by the routine runner.
  static inline std::atomic<int32_t> hostInterfaceVersion{0};

  // [main thread] Opens the module's resource file through the host extension library and
  // remembers it. Answers the host's file reference (negative on failure).
  static int16_t OpenModuleResourceFile(const char* path, hostabi::SwapResourceProc swap);
  // [main thread] Closes it again.
  static void CloseModuleResourceFile(const char* path);
  // [main thread] Makes the module's resource file current; answers the file that was current.
  static int16_t EnterResourceContext();
  // [main thread] Makes `previous` current again.
  static void LeaveResourceContext(int16_t previous);
  static int16_t ModuleResourceFile() { return moduleResourceFile_.load(); }

private:
  static inline std::atomic<int16_t> moduleResourceFile_{0};
};
