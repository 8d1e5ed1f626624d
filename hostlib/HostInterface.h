#pragma once
// The binary interface between the module and the host: four-character codes, status codes, the
// layout of the message records and state chunks the two exchange, the host's string form and
// the names under which the host's engine libraries export their functions.
//
// Header-only and free of any other project header: the host stand-in and the module both
// compile against it, and neither sees the other's code.

#include <cstddef>
#include <cstdint>
#include <cstring>

// The engine's functions and the module's callbacks use the host's calling convention, which
// differs from the compiler's default only on 32-bit Windows.
#if defined(_WIN32) && !defined(_WIN64)
#define HOSTABI_CALL __stdcall
#else
#define HOSTABI_CALL
#endif

namespace hostabi {

// A four-character code is a 32-bit integer whose first character is the most significant byte.
constexpr int32_t FourCC(const char (&code)[5]) {
  return static_cast<int32_t>((static_cast<uint32_t>(static_cast<uint8_t>(code[0])) << 24) |
                              (static_cast<uint32_t>(static_cast<uint8_t>(code[1])) << 16) |
                              (static_cast<uint32_t>(static_cast<uint8_t>(code[2])) << 8) |
                              static_cast<uint32_t>(static_cast<uint8_t>(code[3])));
}

// ---------------------------------------------------------------------------------------------
// Status codes. 0 is success; every failure is negative.

inline constexpr int32_t kNoErr = 0;
inline constexpr int32_t kErrNotAnEffectType = -77;
inline constexpr int32_t kErrGroupAllocation = -7003;
inline constexpr int32_t kErrDSPListCreation = -7053;
inline constexpr int32_t kErrNoMatchingType = -7055;
inline constexpr int32_t kErrDSPManagerVersion = -7060;
inline constexpr int32_t kErrNoHostClient = -7075;
inline constexpr int32_t kErrUnknownType = -7125;
inline constexpr int32_t kErrChunk = -7157;
inline constexpr int32_t kErrGeneric = -7401;
inline constexpr int32_t kErrOutOfMemory = -9006;
inline constexpr int32_t kErrUndefinedSelector = -9007;

// Engine calls answer "done" when the low 16 bits of their status are zero.
constexpr bool StatusFailed(int32_t status) {
  return (status & 0xFFFF) != 0;
}

// ---------------------------------------------------------------------------------------------
// Four-character codes used across the interface.

inline constexpr int32_t kGestaltVariableQuantum = FourCC("vqta");
inline constexpr int32_t kGestaltTokenService = FourCC("hsds");
inline constexpr int32_t kGestaltDSPManager = FourCC("pisi");
// The engine's current sample rate in Hz; a process takes it at initialisation.
inline constexpr int32_t kGestaltSampleRate = FourCC("srat");

inline constexpr int32_t kMasterBypassID = FourCC("bypa");
inline constexpr int32_t kMidiCapability = FourCC("midi");
inline constexpr int32_t kGroupRegistrationClass = FourCC("grID");
inline constexpr int32_t kEmptyDSPSlot = FourCC("----");
inline constexpr int32_t kControlsStateChunkID = FourCC("elck");

// The token service's object is made from this standard type of a fresh server.
inline constexpr int32_t kTokenServiceStandardType = 57;

// ---------------------------------------------------------------------------------------------
// Message records handed to the engine's token dispatcher. All fields are native-endian; the
// header is 38 bytes and a record's total length sits at offset 36.

namespace message {
inline constexpr size_t kReceiverOffset = 0;
inline constexpr size_t kClassOffset = 4;
inline constexpr size_t kKindOffset = 8;
inline constexpr size_t kSignatureOffset = 12;
inline constexpr size_t kProtocolOffset = 16;
inline constexpr size_t kSenderOffset = 20;
inline constexpr size_t kReservedOffset = 24; // 8 bytes, always zero
inline constexpr size_t kReservedBytes = 8;
inline constexpr size_t kUnusedOffset = 32; // 4 bytes the engine never reads
inline constexpr size_t kLengthOffset = 36; // int16
inline constexpr size_t kHeaderBytes = 38;
inline constexpr size_t kValueOffset = 38;        // int32 control value
inline constexpr size_t kGestureStateOffset = 38; // int16: 1 touch, 0 release
inline constexpr size_t kGestureOneOffset = 40;   // int32, always 1

inline constexpr int16_t kValueLength = 42;
inline constexpr int16_t kGestureLength = 44;
inline constexpr int16_t kPlainLength = 38;
inline constexpr size_t kLongestRecord = 44;

inline constexpr int32_t kSignature = FourCC("DGDN");
inline constexpr int32_t kProtocolControl = FourCC("Ctrl");
inline constexpr int32_t kProtocolProcess = FourCC("Proc");

inline constexpr int32_t kClassSetValue = FourCC("SETV");
inline constexpr int32_t kClassCurrentValue = FourCC("CURV");

inline constexpr int32_t kKindControlValue = FourCC("CAVL");
inline constexpr int32_t kKindGesture = FourCC("CTCH");
inline constexpr int32_t kKindFirstTouch = FourCC("GIAC");
inline constexpr int32_t kKindEditorResized = FourCC("WNRS");

// The length a well-formed record of this class and kind has, or 0 for a pair that does not
// exist.
constexpr int16_t ExpectedLength(int32_t messageClass, int32_t kind) {
  if (messageClass == kClassCurrentValue) return kind == kKindControlValue ? kValueLength : 0;
  if (messageClass != kClassSetValue) return 0;
  if (kind == kKindControlValue) return kValueLength;
  if (kind == kKindGesture) return kGestureLength;
  if (kind == kKindFirstTouch || kind == kKindEditorResized) return kPlainLength;
  return 0;
}

inline int32_t ReadInt32(const uint8_t* record, size_t offset) {
  int32_t v;
  std::memcpy(&v, record + offset, sizeof v);
  return v;
}
inline int16_t ReadInt16(const uint8_t* record, size_t offset) {
  int16_t v;
  std::memcpy(&v, record + offset, sizeof v);
  return v;
}
inline void WriteInt32(uint8_t* record, size_t offset, int32_t v) {
  std::memcpy(record + offset, &v, sizeof v);
}
inline void WriteInt16(uint8_t* record, size_t offset, int16_t v) {
  std::memcpy(record + offset, &v, sizeof v);
}
} // namespace message

// ---------------------------------------------------------------------------------------------
// State chunks: a 56-byte header followed by the chunk's bytes. The total size (header included)
// is the first field; the chunk identifier sits at offset 20.

struct SFicPlugInChunk {
  int32_t size;
  int32_t version;
  int32_t manufacturerID;
  int32_t productID;
  int32_t typeID;
  int32_t chunkID;
  char name[32];
  // chunk bytes follow
};
static_assert(sizeof(SFicPlugInChunk) == 56);
static_assert(offsetof(SFicPlugInChunk, chunkID) == 20);
inline constexpr size_t kChunkHeaderBytes = sizeof(SFicPlugInChunk);

// ---------------------------------------------------------------------------------------------
// Host strings: one length byte followed by at most 255 characters, no terminator.

struct SHostString {
  uint8_t length;
  char text[255];
};
static_assert(sizeof(SHostString) == 256);

inline void ToHostString(const char* text, SHostString& out) {
  size_t n = text ? strnlen(text, sizeof out.text) : 0;
  std::memcpy(out.text, text ? text : "", n);
  out.length = static_cast<uint8_t>(n);
}

// A settings path or other fixed-size text the host hands over for the module to fill: at most
// 255 characters and a terminator.
struct SHostPath {
  char text[256];
};

// The editor rectangle as the host reads it.
struct SViewRect {
  int16_t top;
  int16_t left;
  int16_t bottom;
  int16_t right;
};

// The Linux host's native window as the module sees it (what the extension library's native
// window function answers for a host window): the size of its client area, whose top-left
// corner is (0, 0).
struct SPosixNativeWindow {
  int32_t width;
  int32_t height;
};

// ---------------------------------------------------------------------------------------------
// Rendering. The engine owns one instance record per rendering instance and hands the process's
// callback a context for each block: the buffer pointers (inputs, the extra input when flagged,
// then the outputs), the frame count, the frames every buffer can hold and a silent buffer of
// that size.

struct SRenderInstance {
  void* owner;        // the module's cookie, handed to FicNewRenderInstance
  int32_t inputCount; // channels, not counting the extra input
  int32_t outputCount;
  uint8_t extraInputConnected; // an extra input buffer follows the inputs
  uint8_t variableQuantum;     // the context's frame count applies; else every block is 32
  uint8_t started;
  uint8_t reserved;
};

struct SRenderContext {
  float** buffers;      // inputs (+ extra) then outputs
  int32_t bufferCount;  // entries in buffers
  int32_t frames;       // frames of this block
  int32_t bufferFrames; // frames each buffer (and the silence) can hold
  float* silence;       // bufferFrames zeros; never written by the host
};

inline constexpr int32_t kFixedQuantum = 32;

using RenderCallback = void(HOSTABI_CALL*)(SRenderInstance* instance, SRenderContext* context);

// Transport as the engine reports it to a rendering instance.
struct STransportState {
  int64_t sampleLocation;  // current location while playing
  int64_t stoppedLocation; // the location shown while the transport stands
  double tempo;            // beats per minute
  int32_t numerator;
  int32_t denominator;
  uint8_t running;
};
inline constexpr int64_t kTicksPerQuarter = 960000;

// ---------------------------------------------------------------------------------------------
// Routine selectors. `_PI_GetRoutineDescriptor(selector, &routine)` hands out a plain function
// whose first argument is its target object (a group, type, process, control or view handle the
// module gave out) and whose result is a status; the remaining arguments are listed with each
// selector. Process selectors carry the number of the operation's slot in the process core.
// Numbers not listed answer kErrUndefinedSelector with a null routine.

namespace selector {
// Module: (ignored, void** group) — the module's group while it is open.
inline constexpr uint32_t kModuleGroup = 0;
// Group: (group, …)
inline constexpr uint32_t kGroupTypeCount = 1;          // int32* count
inline constexpr uint32_t kGroupManufacturerName = 2;   // SHostString*, int32 maxLength
inline constexpr uint32_t kGroupProductName = 3;        // SHostString*, int32 maxLength
inline constexpr uint32_t kGroupTypeByIndex = 4;        // int32 index (1-based), void** type
inline constexpr uint32_t kGroupCapability = 5;         // void* type, int32 selector, int32* value
inline constexpr uint32_t kGroupFindType = 6;           // int32 typeID, int32 channels,
                                                        // int32 stemFormat, int32* typeIndex
inline constexpr uint32_t kGroupControlNameForType = 7; // int32 typeIndex, int32 value,
                                                        // int32 controlIndex, SHostString*
inline constexpr uint32_t kGroupCreateProcess = 10;     // int32 typeIndex, int32 argument,
                                                        // void** process (the host owns it)
inline constexpr uint32_t kGroupDestroyProcess = 12;    // void* process
inline constexpr uint32_t kGroupProcessCount = 14;      // int32* count
inline constexpr uint32_t kGroupEnterHostClient = 15;   // —
inline constexpr uint32_t kGroupLeaveHostClient = 16;   // —
inline constexpr uint32_t kGroupGiveHostATurn = 17;     // —
inline constexpr uint32_t kGroupSetInterfaceVersion = 18; // int32 version
inline constexpr uint32_t kGroupSettingsPath = 19;        // SHostPath*
inline constexpr uint32_t kGroupManufacturerID = 20;      // int32*
// Type: (type, …)
inline constexpr uint32_t kTypeID = 24;             // int32*
inline constexpr uint32_t kTypeProductID = 25;      // int32*
inline constexpr uint32_t kTypeCategory = 27;       // int32*
inline constexpr uint32_t kTypeInputStem = 28;      // int32*
inline constexpr uint32_t kTypeOutputStem = 29;     // int32*
inline constexpr uint32_t kTypeInputChannels = 30;  // int32*
inline constexpr uint32_t kTypeOutputChannels = 31; // int32*
inline constexpr uint32_t kTypeCapability = 32;     // int32 selector, int32* answer
inline constexpr uint32_t kTypeName = 33;           // SHostString*, int32 maxLength
inline constexpr uint32_t kTypeHasFeature = 35;     // int32 code, uint8* answer
inline constexpr uint32_t kTypeControlName = 36;    // int32 value, int32 controlIndex,
                                                    // SHostString*
inline constexpr uint32_t kTypeProcessCount = 37;   // int32*
// Process: (process, …)
inline constexpr uint32_t kProcessEditorRect = 8;              // SViewRect*
inline constexpr uint32_t kProcessSetEditorWindow = 9;         // void* host window (null: detach)
inline constexpr uint32_t kProcessExtraInputConnected = 22;    // —
inline constexpr uint32_t kProcessExtraInputDisconnected = 23; // —
inline constexpr uint32_t kProcessControlAutomatable = 38;     // int32 index, uint8* answer
inline constexpr uint32_t kProcessControlCount = 39;           // int32*
inline constexpr uint32_t kProcessControl = 40;                // int32 index, void** control
inline constexpr uint32_t kProcessConnect = 41;                // — (real-time processes)
inline constexpr uint32_t kProcessMasterBypassIndex = 42;      // int32*
inline constexpr uint32_t kProcessStateChangeCount = 43;       // int32*
inline constexpr uint32_t kProcessInputCount = 44;             // int32*
inline constexpr uint32_t kProcessOutputCount = 45;            // int32*
inline constexpr uint32_t kProcessGetControlValue = 46;        // int32 index, int32* value
inline constexpr uint32_t kProcessSetControlValue = 47; // int32 index, int32 value (plug side)
inline constexpr uint32_t kProcessSampleRate = 48;      // int32*
inline constexpr uint32_t kProcessControlDefault = 49;  // int32 index, int32* value
inline constexpr uint32_t kProcessID = 50;              // int32*
inline constexpr uint32_t kProcessIsBypassed = 51;      // uint8*
inline constexpr uint32_t kProcessEditorView = 52;      // void** view
inline constexpr uint32_t kProcessChunkCount = 76;      // int32*
inline constexpr uint32_t kProcessChunkID = 77;         // int32 index, int32* chunkID
inline constexpr uint32_t kProcessChunkName = 78;       // int32 chunkID, SHostString*
inline constexpr uint32_t kProcessChunkSize = 79;       // int32 chunkID, int32* size
inline constexpr uint32_t kProcessGetChunk = 80;        // int32 chunkID, SFicPlugInChunk*
inline constexpr uint32_t kProcessSetChunk = 81;        // int32 chunkID, const SFicPlugInChunk*
inline constexpr uint32_t kProcessCompareChunk = 82;    // int32 chunkID, const SFicPlugInChunk*,
                                                        // uint8* equal
inline constexpr uint32_t kProcessDelay = 90;           // int32* samples
inline constexpr uint32_t kProcessControlApplied = 109; // int32 index, int32 value
inline constexpr uint32_t kProcessSetControlFromHost = 110; // int32 index, int32 value
inline constexpr uint32_t kProcessControlChanged = 111;     // int32 index
inline constexpr uint32_t kProcessQuery4 = 121;             // int32, int32, int32, int32* answer
inline constexpr uint32_t kProcessTouchControl = 122;       // int32 index
inline constexpr uint32_t kProcessReleaseControl = 123;     // int32 index
inline constexpr uint32_t kProcessControlUnderMouse = 124;  // int32 x, int32 y, int32* index
inline constexpr uint32_t kProcessSettingsPath = 125;       // SHostPath*
// Control: (control, …)
inline constexpr uint32_t kControlID = 53;            // int32*
inline constexpr uint32_t kControlDefault = 54;       // int32*
inline constexpr uint32_t kControlSetDefault = 55;    // int32 controlValue
inline constexpr uint32_t kControlStepCount = 56;     // int32*
inline constexpr uint32_t kControlValueFromText = 57; // const char* text, int32* controlValue
inline constexpr uint32_t kControlAcceptsChar = 58;   // int32 character, uint8* answer
inline constexpr uint32_t kControlFittedName = 59;    // char* dest (maxLength + 1), int32 maxLength
inline constexpr uint32_t kControlHint1 = 62;         // int32*
inline constexpr uint32_t kControlHint2 = 63;         // int32*
inline constexpr uint32_t kControlIsContinuous = 64;  // int32*
inline constexpr uint32_t kControlDisplayText = 65;   // char* dest (maxLength + 1),
                                                      // int32 maxLength, int32 controlValue
inline constexpr uint32_t kControlAutomatable = 66;   // uint8*
inline constexpr uint32_t kControlValue = 67;         // int32*
// View: (view, …) — the view a process made for its editor.
inline constexpr uint32_t kViewSize = 68; // int32* width, int32* height
inline constexpr uint32_t kViewDraw = 69; // int32 left, top, right, bottom

inline constexpr uint32_t kSelectorLimit = 176; // selectors are below this
} // namespace selector

// ---------------------------------------------------------------------------------------------
// DSP-card lists as the card interface reports them.

struct SCardList {
  int32_t count;
  int32_t cardTypes[16];
};
struct SDSPEntry {
  int32_t card;      // position in the card list
  int32_t qualifies; // non-zero: this DSP can run the card's plug-in kind
};
struct SDSPList {
  int32_t count;
  SDSPEntry dsps[64];
};

// ---------------------------------------------------------------------------------------------
// The engine's libraries and their exports. On Windows a function is found under its decorated
// name (or by ordinal for the extension library) in the module already loaded by the host; on
// Linux under its plain name in the already loaded shared library.

enum class EngineLibrary { DAE, DigiExt, DSI, DSPManager };

inline constexpr const char* kWindowsLibrary[] = {"DAE.DLL", "DigiExt.dll", "DSI.dll",
                                                  "DSPManager.dll"};
inline constexpr const char* kPosixLibrary[] = {"libDAE.so", "libDigiExt.so", "libDSI.so",
                                                "libDSPManager.so"};

struct SEngineSymbol {
  EngineLibrary library;
  const char* windowsName; // null: found by ordinal
  const char* posixName;
  uint16_t ordinal; // 0: found by name
};

namespace exports {
using L = EngineLibrary;
inline constexpr SEngineSymbol kSetOpenCloseProcs{L::DAE, "SetPlugInOpenAndCloseProcs",
                                                  "SetPlugInOpenAndCloseProcs", 0};
inline constexpr SEngineSymbol kGestalt{L::DAE, "_FicGestalt@8", "FicGestalt", 0};
inline constexpr SEngineSymbol kMaximumQuantum{L::DAE, "_FicGetMaximumRTASQuantum@0",
                                               "FicGetMaximumRTASQuantum", 0};
inline constexpr SEngineSymbol kGetVersion{L::DAE, "_FicGetVersion@0", "FicGetVersion", 0};
inline constexpr SEngineSymbol kIsAlive{L::DAE, "_FicIsAlive@0", "FicIsAlive", 0};
inline constexpr SEngineSymbol kNewServer{L::DAE, "_FicNewServer@0", "FicNewServer", 0};
inline constexpr SEngineSymbol kFindStandardType{L::DAE, "_FicFindStandardType@8",
                                                 "FicFindStandardType", 0};
inline constexpr SEngineSymbol kNewObject{L::DAE, "_FicNewObject@8", "FicNewObject", 0};
inline constexpr SEngineSymbol kDelete{L::DAE, "_FicDelete@4", "FicDelete", 0};
inline constexpr SEngineSymbol kDispatchToken{L::DAE, "_FicSDSDispatchToken@4",
                                              "FicSDSDispatchToken", 0};
inline constexpr SEngineSymbol kUnRegisterDirectMIDIClient{
    L::DAE, "_FicUnRegisterDirectMIDIClient@4", "FicUnRegisterDirectMIDIClient", 0};
inline constexpr SEngineSymbol kRegisterControl{L::DAE, "_FicRegisterControl@12",
                                                "FicRegisterControl", 0};
inline constexpr SEngineSymbol kRegisterProcess{L::DAE, "_FicRegisterProcess@16",
                                                "FicRegisterProcess", 0};
inline constexpr SEngineSymbol kUnregisterProcess{L::DAE, "_FicUnregisterProcess@4",
                                                  "FicUnregisterProcess", 0};
inline constexpr SEngineSymbol kNewRenderInstance{L::DAE, "_FicNewRenderInstance@20",
                                                  "FicNewRenderInstance", 0};
inline constexpr SEngineSymbol kStartRenderInstance{L::DAE, "_FicStartRenderInstance@4",
                                                    "FicStartRenderInstance", 0};
inline constexpr SEngineSymbol kDeleteRenderInstance{L::DAE, "_FicDeleteRenderInstance@4",
                                                     "FicDeleteRenderInstance", 0};
inline constexpr SEngineSymbol kGetTransport{L::DAE, "_FicGetTransport@8", "FicGetTransport", 0};
inline constexpr SEngineSymbol kLocationToTicks{L::DAE, "_FicLocationToTicks@16",
                                                "FicLocationToTicks", 0};

inline constexpr SEngineSymbol kNativeWindow{L::DigiExt, nullptr, "DigiExtOrdinal7", 7};
inline constexpr SEngineSymbol kIdle{L::DigiExt, nullptr, "DigiExtOrdinal120", 120};
inline constexpr SEngineSymbol kGetKeyMap{L::DigiExt, nullptr, "DigiExtOrdinal305", 305};
inline constexpr SEngineSymbol kOpenResourceFile{L::DigiExt, nullptr, "DigiExtOrdinal6562", 6562};
inline constexpr SEngineSymbol kCloseResourceFile{L::DigiExt, nullptr, "DigiExtOrdinal6563", 6563};
inline constexpr SEngineSymbol kCurrentResourceFile{L::DigiExt, nullptr, "DigiExtOrdinal6564",
                                                    6564};
inline constexpr SEngineSymbol kUseResourceFile{L::DigiExt, nullptr, "DigiExtOrdinal6565", 6565};

inline constexpr SEngineSymbol kInitSADriver{L::DSI, "_InitSADriver@0", "InitSADriver", 0};
inline constexpr SEngineSymbol kGetCardList{L::DSI, "_GetCardList@4", "GetCardList", 0};
inline constexpr SEngineSymbol kGetDSPList{L::DSI, "_GetDSPList@4", "GetDSPList", 0};

inline constexpr SEngineSymbol kManagerVersion{L::DSPManager, "_DSPManagerGetVersion@4",
                                               "DSPManagerGetVersion", 0};
inline constexpr SEngineSymbol kManagerDefaultClient{L::DSPManager, "_DSPManagerDefaultClient@4",
                                                     "DSPManagerDefaultClient", 0};
inline constexpr SEngineSymbol kManagerRegisterClient{L::DSPManager, "_DSPManagerRegisterClient@8",
                                                      "DSPManagerRegisterClient", 0};
inline constexpr SEngineSymbol kManagerUnregisterClient{
    L::DSPManager, "_DSPManagerUnregisterClient@8", "DSPManagerUnregisterClient", 0};
inline constexpr SEngineSymbol kManagerSetClientActive{
    L::DSPManager, "_DSPManagerSetClientActive@12", "DSPManagerSetClientActive", 0};

inline constexpr SEngineSymbol kAll[] = {kSetOpenCloseProcs,
                                         kGestalt,
                                         kMaximumQuantum,
                                         kGetVersion,
                                         kIsAlive,
                                         kNewServer,
                                         kFindStandardType,
                                         kNewObject,
                                         kDelete,
                                         kDispatchToken,
                                         kUnRegisterDirectMIDIClient,
                                         kRegisterControl,
                                         kRegisterProcess,
                                         kUnregisterProcess,
                                         kNewRenderInstance,
                                         kStartRenderInstance,
                                         kDeleteRenderInstance,
                                         kGetTransport,
                                         kLocationToTicks,
                                         kNativeWindow,
                                         kIdle,
                                         kGetKeyMap,
                                         kOpenResourceFile,
                                         kCloseResourceFile,
                                         kCurrentResourceFile,
                                         kUseResourceFile,
                                         kInitSADriver,
                                         kGetCardList,
                                         kGetDSPList,
                                         kManagerVersion,
                                         kManagerDefaultClient,
                                         kManagerRegisterClient,
                                         kManagerUnregisterClient,
                                         kManagerSetClientActive};
} // namespace exports

// Signatures of the engine's functions, shared by the stand-ins that define them and the module
// that calls them.
using ModuleProc = int16_t(HOSTABI_CALL*)();
using SwapResourceProc = int32_t(HOSTABI_CALL*)(int32_t, int32_t type, int32_t, uint8_t* bytes);

using SetOpenCloseProcsFn = int32_t(HOSTABI_CALL*)(ModuleProc open, ModuleProc close);
using GestaltFn = int32_t(HOSTABI_CALL*)(int32_t selector, int32_t* answer);
using Int32Fn = int32_t(HOSTABI_CALL*)();
using FindStandardTypeFn = int32_t(HOSTABI_CALL*)(int32_t server, int32_t standardType);
using NewObjectFn = int32_t(HOSTABI_CALL*)(int32_t server, int32_t type);
using HandleFn = int32_t(HOSTABI_CALL*)(int32_t handle);
using DispatchTokenFn = int32_t(HOSTABI_CALL*)(const void* record);
using RegisterControlFn = int32_t(HOSTABI_CALL*)(int32_t tokenObject, int32_t controlID,
                                                 int32_t* hostControlID);
using RegisterProcessFn = int32_t(HOSTABI_CALL*)(int32_t tokenObject, const int32_t* hostControlIDs,
                                                 int32_t count, int32_t* processID);
using NewRenderInstanceFn = int32_t(HOSTABI_CALL*)(RenderCallback callback, void* owner,
                                                   int32_t inputs, int32_t outputs,
                                                   SRenderInstance** instance);
using RenderInstanceFn = int32_t(HOSTABI_CALL*)(SRenderInstance* instance);
// Converts a sample location of the instance's timeline to ticks (kTicksPerQuarter a quarter).
using LocationToTicksFn = int32_t(HOSTABI_CALL*)(const SRenderInstance* instance, int64_t location,
                                                 int64_t* ticks);
using GetTransportFn = int32_t(HOSTABI_CALL*)(const SRenderInstance* instance,
                                              STransportState* state);

using NativeWindowFn = void*(HOSTABI_CALL*)(void* hostWindow);
using IdleFn = int32_t(HOSTABI_CALL*)();
using GetKeyMapFn = void(HOSTABI_CALL*)(uint8_t map[16]);
using OpenResourceFileFn = int16_t(HOSTABI_CALL*)(const char* path, SwapResourceProc swap);
using CloseResourceFileFn = int16_t(HOSTABI_CALL*)(const char* path);
using CurrentResourceFileFn = int16_t(HOSTABI_CALL*)();
using UseResourceFileFn = void(HOSTABI_CALL*)(int16_t file);

using GetCardListFn = int32_t(HOSTABI_CALL*)(SCardList* list);
using GetDSPListFn = int32_t(HOSTABI_CALL*)(SDSPList* list);

using ManagerVersionFn = int32_t(HOSTABI_CALL*)(int32_t manager);
using ManagerDefaultClientFn = int32_t(HOSTABI_CALL*)(int32_t manager);
using ManagerRegisterClientFn = int32_t(HOSTABI_CALL*)(int32_t manager, const char* name);
using ManagerUnregisterClientFn = int32_t(HOSTABI_CALL*)(int32_t manager, int32_t client);
using ManagerSetClientActiveFn = int32_t(HOSTABI_CALL*)(int32_t manager, int32_t client,
                                                        int32_t active);

} // namespace hostabi
