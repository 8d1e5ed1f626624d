#pragma once
// The host program's handle on the engine stand-ins: what they answer and what the module asked
// of them. Each function lives in the stand-in library it configures (DAE, DigiExt, DSI,
// DSPManager). All of them run on the host's main thread unless they say otherwise; the
// libraries guard their state with a lock, since the module's calls may come from any thread.
//
// The stand-ins behave like a host, not like mocks: they check every handle, identifier and
// message record the module hands them, refuse what a host would refuse, and count each refusal
// as an error a test can see.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "hostlib/HostInterface.h"
#include "hostlib/PosixWindowPort.h"

// On Windows the stand-ins are DLLs: the host program's handle is exported beside the engine's
// own functions (which the libraries' .def files name).
#if defined(_WIN32)
#define STANDIN_API __declspec(dllexport)
#else
#define STANDIN_API
#endif

namespace standin {

// ---------------------------------------------------------------------------------------------
// DAE: gestalt, version, token service, message dispatch, process registration, rendering.

inline constexpr int32_t kDSPManagerHandle = hostabi::FourCC("DSPm");
inline constexpr int32_t kGestaltUnknownSelector = -20001;

struct DecodedMessage {
  int32_t receiver;
  int32_t messageClass;
  int32_t kind;
  int32_t protocol;
  int32_t sender;
  int16_t length;
  int32_t value;        // control messages of kind 'CAVL'
  int16_t gestureState; // 'CTCH': 1 touch, 0 release
};

struct RegisteredProcess {
  int32_t processID;
  std::vector<int32_t> hostControlIDs; // by control index − 1
  bool live;
};

// Back to a freshly started engine: default answers, empty logs, no handles, no instances.
STANDIN_API void ResetEngine();

// Gestalt answers. Defaults: 'vqta' → 0 (fixed quantum), 'hsds' → status 0 (token service
// present), 'pisi' → kDSPManagerHandle, 'srat' → 44100. Unknown selectors answer
// kGestaltUnknownSelector and leave the answer untouched.
STANDIN_API void SetGestalt(int32_t selector, int32_t status, int32_t answer);
STANDIN_API void SetVariableQuantum(bool on);   // the 'vqta' answer and the flag of new instances
STANDIN_API void SetTokenService(bool present); // the 'hsds' status
STANDIN_API void SetMaximumQuantum(int32_t frames); // default 1024
STANDIN_API void SetEngineVersion(int32_t version); // default 0x0801
STANDIN_API void SetEngineAlive(bool alive);        // default true
// Status that well-formed messages are answered with (default 0).
STANDIN_API void SetDispatchStatus(int32_t status);
// Status that control and process registrations are answered with (default 0).
STANDIN_API void SetRegistrationStatus(int32_t status);

// Observation. The engine keeps the most recent kRecordedMessages well-formed messages, oldest
// first; older ones are dropped, so that a long session's memory stays flat.
inline constexpr size_t kRecordedMessages = 1024;
STANDIN_API std::vector<DecodedMessage> DispatchedMessages();
STANDIN_API void ClearDispatchedMessages();
STANDIN_API int ErrorCount(); // malformed records, unknown handles and identifiers, bad arguments
STANDIN_API int LiveServerCount();
STANDIN_API int LiveTokenObjectCount();
STANDIN_API std::vector<RegisteredProcess> RegisteredProcesses();
STANDIN_API hostabi::ModuleProc RegisteredOpenProc();
STANDIN_API hostabi::ModuleProc RegisteredCloseProc();
STANDIN_API int UnregisteredMIDIClientCount();

// Rendering: the instances the module created, in creation order (deleted ones removed).
STANDIN_API std::vector<hostabi::SRenderInstance*> RenderInstances();
STANDIN_API void SetExtraInputConnected(hostabi::SRenderInstance* instance, bool connected);
// The callback the module registered for an instance (null for an unknown one), for a test that
// calls it as a host of its own would.
STANDIN_API hostabi::RenderCallback RenderCallbackOf(hostabi::SRenderInstance* instance);
// [the host's render thread] Calls the instance's callback for one block. buffers holds the
// inputs (+ the extra input when connected) then the outputs, each of bufferFrames floats.
// Returns false (and counts an error) for an unknown or unstarted instance, a buffer list that
// does not match the instance's channels or a frame count beyond bufferFrames; afterwards
// buffers holds the pointers the module left in the context (the silence buffer after a failed
// block).
STANDIN_API bool RenderBlock(hostabi::SRenderInstance* instance, std::span<float*> buffers,
                             int32_t frames, int32_t bufferFrames);
// Whether a pointer is the engine's silence buffer.
STANDIN_API bool IsSilenceBuffer(const float* buffer);
STANDIN_API void SetTransport(const hostabi::STransportState& state);

// ---------------------------------------------------------------------------------------------
// DigiExt: resource files, host windows, key map, idle.

struct ResourceFileEvent {
  bool open;
  std::string path;
  int16_t file;
  hostabi::SwapResourceProc swap;
};

STANDIN_API void ResetDigiExt();
STANDIN_API std::vector<ResourceFileEvent> ResourceFileEvents();
STANDIN_API std::vector<int16_t> ResourceFileSwitches(); // every file made current, in order
// Loads one resource of an open file as the host does: hands its bytes to the byte-order
// procedure given at opening. Answers the procedure's result (0 without one, −1 for a file
// that is not open).
STANDIN_API int32_t LoadResource(int16_t file, int32_t type, std::span<uint8_t> bytes);
STANDIN_API int16_t CurrentResourceFileForTest();
STANDIN_API int DigiExtErrorCount();
STANDIN_API int IdleCount();
STANDIN_API void MapHostWindow(void* hostWindow, void* nativeWindow);
// The host window is gone: the module can no longer find its native window.
STANDIN_API void UnmapHostWindow(void* hostWindow);
// The ports of the module's windows that are open now, the most recently opened last.
STANDIN_API std::vector<const hostabi::window::SPosixWindowPort*> OpenWindowPorts();
STANDIN_API void SetKeyDown(int keyCode, bool down);

// ---------------------------------------------------------------------------------------------
// DSI: the stand-alone DSP driver and the installed cards.

STANDIN_API void ResetDSI();
STANDIN_API void SetDriverStatus(int32_t status);
STANDIN_API void SetCards(std::vector<int32_t> cardTypes);
STANDIN_API void SetDSPs(std::vector<hostabi::SDSPEntry> dsps);
STANDIN_API int DriverStartCount();
STANDIN_API int DSIErrorCount();

// ---------------------------------------------------------------------------------------------
// DSPManager: version and clients.

inline constexpr int32_t kDefaultClient = 1;

struct ClientEvent {
  int32_t client;
  bool active;
};
struct ManagerClient {
  int32_t handle;
  std::string name;
  bool registered;
};

STANDIN_API void ResetDSPManager();
STANDIN_API void SetManagerVersion(int32_t version); // default 2
STANDIN_API void RefuseClientRegistration(bool refuse);
STANDIN_API std::vector<ManagerClient> ManagerClients();
STANDIN_API std::vector<ClientEvent> ClientActivity();
STANDIN_API int DSPManagerErrorCount();

// Every stand-in back to its first state: a host freshly started.
inline void ResetAll() {
  ResetEngine();
  ResetDigiExt();
  ResetDSI();
  ResetDSPManager();
}

} // namespace standin
