#pragma once
// Statuses as the host driver answers them: the module's own codes (hostlib/HostInterface.h),
// passed on unchanged, and a few of the driver's making for what goes wrong on the host's side
// (a module file that will not load, no type for a channel count, no editor window open).
// Every one of them has a readable text.

#include <cstdint>
#include <string>

namespace tavo::host {

// The driver's own statuses, in a range the module never answers.
inline constexpr int32_t kErrModuleFile = -30001;         // the module file cannot be loaded
inline constexpr int32_t kErrModuleExports = -30002;      // an entry point a host needs is missing
inline constexpr int32_t kErrModuleNotOpen = -30003;      // the module opened without a group
inline constexpr int32_t kErrNoSuchType = -30004;         // no type for that channel count
inline constexpr int32_t kErrNoRenderInstance = -30005;   // the process made no render instance
inline constexpr int32_t kErrEngineRefusedBlock = -30006; // the engine would not render a block
inline constexpr int32_t kErrEditorNotOpen = -30007;      // no editor window is attached
inline constexpr int32_t kErrBadArgument = -30008;        // a null, empty or out-of-range argument
inline constexpr int32_t kErrProcessClosed = -30009;      // its module has been closed
inline constexpr int32_t kErrScaleNotSupported = -30010;  // the editor's window has one scale only
// WinPlugInOpen's answer to any value but the one a host passes.
inline constexpr int32_t kErrWrongOpenValue = -1;

// [any thread] "what went wrong (code)" for any status; "no error (0)" for 0.
std::string StatusText(int32_t status);

} // namespace tavo::host
