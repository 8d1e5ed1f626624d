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
#include <iterator>

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

// Every structure below is laid out here once and for all, on 32-bit Windows (x86) and on the
// 64-bit targets alike: a host built by another compiler reads the same bytes at the same
// places, and a field added, moved or widened fails to compile instead of shifting what the
// other side reads. Layout(x86, x64) is a size or offset on each.
constexpr size_t Layout(size_t x86, size_t x64) {
  static_assert(sizeof(void*) == 4 || sizeof(void*) == 8);
  return sizeof(void*) == 4 ? x86 : x64;
}

// ---------------------------------------------------------------------------------------------
// Status codes. 0 is success; every failure is negative.

inline constexpr int32_t kNoErr = 0;
inline constexpr int32_t kErrNotAnEffectType = -77;
inline constexpr int32_t kErrGroupAllocation = -7003;
inline constexpr int32_t kErrGroupExists = -7004; // NewPlugIn while the module's group exists
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
static_assert(sizeof(SFicPlugInChunk) == 56 && alignof(SFicPlugInChunk) == 4);
static_assert(offsetof(SFicPlugInChunk, version) == 4 &&
              offsetof(SFicPlugInChunk, manufacturerID) == 8 &&
              offsetof(SFicPlugInChunk, productID) == 12 &&
              offsetof(SFicPlugInChunk, typeID) == 16 && offsetof(SFicPlugInChunk, chunkID) == 20 &&
              offsetof(SFicPlugInChunk, name) == 24);
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
static_assert(sizeof(SHostPath) == 256);

// What the group tells of one of its types (kGroupTypeInfo).
struct STypeInfo {
  int32_t typeID;
  int32_t productID;
  int32_t manufacturerID;
  int32_t productNumber;
};
static_assert(sizeof(STypeInfo) == 16 && offsetof(STypeInfo, productID) == 4 &&
              offsetof(STypeInfo, manufacturerID) == 8 && offsetof(STypeInfo, productNumber) == 12);

// The editor rectangle as the host reads it.
struct SViewRect {
  int16_t top;
  int16_t left;
  int16_t bottom;
  int16_t right;
};
static_assert(sizeof(SViewRect) == 8 && offsetof(SViewRect, left) == 2 &&
              offsetof(SViewRect, bottom) == 4 && offsetof(SViewRect, right) == 6);

// The Linux host's native window as the module sees it (what the extension library's native
// window function answers for a host window): the size of its client area, whose top-left
// corner is (0, 0).
struct SPosixNativeWindow {
  int32_t width;
  int32_t height;
};
static_assert(sizeof(SPosixNativeWindow) == 8 && offsetof(SPosixNativeWindow, height) == 4);

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
static_assert(sizeof(SRenderInstance) == Layout(16, 24));
static_assert(offsetof(SRenderInstance, inputCount) == Layout(4, 8) &&
              offsetof(SRenderInstance, outputCount) == Layout(8, 12) &&
              offsetof(SRenderInstance, extraInputConnected) == Layout(12, 16) &&
              offsetof(SRenderInstance, variableQuantum) == Layout(13, 17) &&
              offsetof(SRenderInstance, started) == Layout(14, 18) &&
              offsetof(SRenderInstance, reserved) == Layout(15, 19));

struct SRenderContext {
  float** buffers;      // inputs (+ extra) then outputs
  int32_t bufferCount;  // entries in buffers
  int32_t frames;       // frames of this block
  int32_t bufferFrames; // frames each buffer (and the silence) can hold
  float* silence;       // bufferFrames zeros; never written by the host
};
static_assert(sizeof(SRenderContext) == Layout(20, 32));
static_assert(offsetof(SRenderContext, bufferCount) == Layout(4, 8) &&
              offsetof(SRenderContext, frames) == Layout(8, 12) &&
              offsetof(SRenderContext, bufferFrames) == Layout(12, 16) &&
              offsetof(SRenderContext, silence) == Layout(16, 24));

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
// The 64-bit fields sit on 8-byte boundaries on 32-bit Windows too, as its compilers lay them.
static_assert(sizeof(STransportState) == 40 && alignof(STransportState) == 8);
static_assert(offsetof(STransportState, stoppedLocation) == 8 &&
              offsetof(STransportState, tempo) == 16 &&
              offsetof(STransportState, numerator) == 24 &&
              offsetof(STransportState, denominator) == 28 &&
              offsetof(STransportState, running) == 32);
inline constexpr int64_t kTicksPerQuarter = 960000;

// ---------------------------------------------------------------------------------------------
// The module's four exports, found under these names.

namespace plugin {
inline constexpr const char* kNewPlugIn = "NewPlugIn";
inline constexpr const char* kWinPlugInOpen = "WinPlugInOpen";
inline constexpr const char* kWinPlugInClose = "WinPlugInClose";
inline constexpr const char* kGetRoutineDescriptor = "_PI_GetRoutineDescriptor";

// The one value WinPlugInOpen accepts; any other answers −1 and opens nothing.
inline constexpr int32_t kWinPlugInOpenValue = 73;

// Makes the module's group (the argument is not used): 0, kErrGroupAllocation, kErrGroupExists,
// or the status the group's initialisation failed with.
using NewPlugInFn = int16_t(HOSTABI_CALL*)(int32_t ignored);
// Opens and closes the module (only the first open and the last close do work).
using WinPlugInOpenFn = int32_t(HOSTABI_CALL*)(int32_t value);
using WinPlugInCloseFn = int32_t(HOSTABI_CALL*)();
using GetRoutineDescriptorFn = int32_t(HOSTABI_CALL*)(uint32_t selector, void** routine);
} // namespace plugin

// ---------------------------------------------------------------------------------------------
// The routine table. `_PI_GetRoutineDescriptor(selector, &routine)` writes null into the slot,
// then, for a selector listed below, the address of its routine and answers 0; any other
// selector (the holes kHoles, and everything from kSelectorLimit up) answers
// kErrUndefinedSelector and leaves the slot null.
//
// A routine is a plain function with the host's calling convention. Its first argument is its
// target — a group, type, process, control or view handle the module gave out (selector 0 takes
// no target and ignores the argument) — and the arguments listed below follow it; the routine's
// type is RoutineFn<selector>. A host must call a routine with exactly these arguments: under
// the 32-bit convention the routine itself pops them.
//
// Every routine answers a status:
//   - 0, or the status the operation itself answers (noted in the last column);
//   - kErrGeneric when the target is not a live object of its kind (a destroyed process, a
//     control of another process, a foreign pointer) or a required out-pointer is null;
//   - for a failure inside the module: kErrOutOfMemory, a host-library status, or kErrGeneric.
//     No exception ever reaches the host.
// A Refused routine stands for an operation of what this program does not have — DSP cards,
// MIDI, offline processing, the host's generic views, the host extension objects. It checks its
// target like any other, writes nothing and answers kErrUnsupported.
//
// Host-client bracket: once the host has set its interface version (kGroupSetInterfaceVersion)
// to a non-zero value, some routines run inside the group's host-client context (the group
// tells the host's DSP manager its client is active, then inactive again). The bracket column
// says which: None — never; Always — for any non-zero version; Above98 — for versions above
// 98; From100 — for versions 100 and later. The versioned variants are those with Above98
// (the chunk size, get and compare routines 79, 80, 82) and From100 (the editor routines 8, 9,
// 153); the version is read on every call.
//
// Controls are numbered as the process core numbers them: 1 is the master bypass control,
// parameter i is control i + 2. Texts with a maximum length w need w + 1 bytes. The editor's
// frame (kViewReadFrame) is width × height words 0xAARRGGBB, the editor's own size, and is there
// only while the editor's window is open.

inline constexpr int32_t kErrUnsupported = -7410; // the routine of a Refused selector

namespace selector {

enum class Target : uint8_t { Module, Group, Type, Process, Control, View };
enum class Answer : uint8_t { Bound, Refused };
enum class Bracket : uint8_t { None, Always, Above98, From100 };

// Editor mouse modifiers (kViewMouseDown … kViewKeyDown), or-ed together.
inline constexpr int32_t kModLeftButton = 1;
inline constexpr int32_t kModRightButton = 2;
inline constexpr int32_t kModShift = 4;
inline constexpr int32_t kModControl = 8;
inline constexpr int32_t kModAlt = 16;

// One line per selector: name, number, target, answer, bracket, (arguments after the target),
// and what the routine answers besides 0 and the failures above.
// clang-format off
#define HOSTABI_ROUTINES(R) \
  /* ---- the module ---- */ \
  R(kModuleGroup,                      0, Module,  Bound,   None,    (void** group))                                              /* null while the module is closed */ \
  /* ---- group ---- */ \
  R(kGroupTypeCount,                   1, Group,   Bound,   None,    (int32_t* count)) \
  R(kGroupManufacturerName,            2, Group,   Bound,   None,    (SHostString* name, int32_t maxLength))                      /* fitted to maxLength (≤ 255) */ \
  R(kGroupProductName,                 3, Group,   Bound,   None,    (SHostString* name, int32_t maxLength)) \
  R(kGroupTypeByIndex,                 4, Group,   Bound,   None,    (int32_t index, void** type))                                /* index 1-based; kErrNotAnEffectType */ \
  R(kGroupCapability,                  5, Group,   Bound,   None,    (void* type, int32_t capability, int32_t* value))            /* value in and out; kErrUnknownType */ \
  R(kGroupFindType,                    6, Group,   Bound,   None,    (int32_t typeID, int32_t channels, int32_t stemFormat, int32_t* typeIndex)) /* typeID 0, channels or stem −1 match any; kErrNoMatchingType */ \
  R(kGroupControlNameForType,          7, Group,   Bound,   None,    (int32_t typeIndex, int32_t value, int32_t controlIndex, SHostString* name)) /* kErrNotAnEffectType; kErrGeneric: no name */ \
  R(kProcessEditorRect,                8, Process, Bound,   From100, (SViewRect* rect))                                           /* unchanged without an editor */ \
  R(kProcessSetEditorWindow,           9, Process, Bound,   From100, (void* hostWindow))                                          /* null detaches */ \
  R(kGroupCreateProcess,              10, Group,   Bound,   Always,  (int32_t typeIndex, int32_t argument, void** process))       /* the host's until 12; kErrNotAnEffectType */ \
  R(kGroupDestroyProcess,             12, Group,   Bound,   Always,  (void* process)) \
  R(kGroupProcessCount,               14, Group,   Bound,   None,    (int32_t* count)) \
  R(kGroupEnterHostClient,            15, Group,   Bound,   None,    ())                                                          /* answers the new nesting depth */ \
  R(kGroupLeaveHostClient,            16, Group,   Bound,   None,    ())                                                          /* answers the new nesting depth */ \
  R(kGroupGiveHostATurn,              17, Group,   Bound,   None,    ())                                                          /* answers the host's idle status */ \
  R(kGroupSetInterfaceVersion,        18, Group,   Bound,   None,    (int32_t version)) \
  R(kGroupSettingsPath,               19, Group,   Bound,   None,    (SHostPath* path)) \
  R(kGroupManufacturerID,             20, Group,   Bound,   None,    (int32_t* id)) \
  R(kProcessExtraInputConnected,      22, Process, Bound,   None,    ()) \
  R(kProcessExtraInputDisconnected,   23, Process, Bound,   None,    ()) \
  /* ---- type ---- */ \
  R(kTypeID,                          24, Type,    Bound,   None,    (int32_t* id)) \
  R(kTypeProductID,                   25, Type,    Bound,   None,    (int32_t* id)) \
  R(kTypeCategory,                    27, Type,    Bound,   None,    (int32_t* category)) \
  R(kTypeInputStem,                   28, Type,    Bound,   None,    (int32_t* stemFormat)) \
  R(kTypeOutputStem,                  29, Type,    Bound,   None,    (int32_t* stemFormat)) \
  R(kTypeInputChannels,               30, Type,    Bound,   None,    (int32_t* channels)) \
  R(kTypeOutputChannels,              31, Type,    Bound,   None,    (int32_t* channels)) \
  R(kTypeCapability,                  32, Type,    Bound,   None,    (int32_t capability, int32_t* answer)) \
  R(kTypeName,                        33, Type,    Bound,   None,    (SHostString* name, int32_t maxLength)) \
  R(kTypeHasFeature,                  35, Type,    Bound,   None,    (int32_t code, uint8_t* present)) \
  R(kTypeControlName,                 36, Type,    Bound,   None,    (int32_t value, int32_t controlIndex, SHostString* name))    /* kErrGeneric: the type names none */ \
  R(kTypeProcessCount,                37, Type,    Bound,   None,    (int32_t* count)) \
  /* ---- process ---- */ \
  R(kProcessControlAutomatable,       38, Process, Bound,   None,    (int32_t index, uint8_t* automatable)) \
  R(kProcessControlCount,             39, Process, Bound,   None,    (int32_t* count)) \
  R(kProcessControl,                  40, Process, Bound,   None,    (int32_t index, void** control))                             /* kErrGeneric for an invalid index */ \
  R(kProcessConnect,                  41, Process, Bound,   Always,  ())                                                          /* the engine's status */ \
  R(kProcessMasterBypassIndex,        42, Process, Bound,   None,    (int32_t* index)) \
  R(kProcessStateChangeCount,         43, Process, Bound,   None,    (int32_t* count)) \
  R(kProcessInputCount,               44, Process, Bound,   None,    (int32_t* channels)) \
  R(kProcessOutputCount,              45, Process, Bound,   None,    (int32_t* channels)) \
  R(kProcessGetControlValue,          46, Process, Bound,   None,    (int32_t index, int32_t* value))                             /* 0 for an invalid index */ \
  R(kProcessSetControlValue,          47, Process, Bound,   Always,  (int32_t index, int32_t value))                              /* plug side; the host's message status */ \
  R(kProcessSampleRate,               48, Process, Bound,   None,    (int32_t* hertz)) \
  R(kProcessControlDefault,           49, Process, Bound,   None,    (int32_t index, int32_t* value)) \
  R(kProcessID,                       50, Process, Bound,   None,    (int32_t* id)) \
  R(kProcessIsBypassed,               51, Process, Bound,   None,    (uint8_t* bypassed)) \
  R(kProcessEditorView,               52, Process, Bound,   None,    (void** view))                                               /* null when none was made */ \
  /* ---- control ---- */ \
  R(kControlID,                       53, Control, Bound,   None,    (int32_t* id)) \
  R(kControlDefault,                  54, Control, Bound,   None,    (int32_t* controlValue)) \
  R(kControlSetDefault,               55, Control, Bound,   None,    (int32_t controlValue)) \
  R(kControlStepCount,                56, Control, Bound,   None,    (int32_t* steps)) \
  R(kControlValueFromText,            57, Control, Bound,   None,    (const char* text, int32_t* controlValue))                   /* kErrGeneric: does not parse */ \
  R(kControlAcceptsChar,              58, Control, Bound,   None,    (int32_t character, uint8_t* accepted)) \
  R(kControlFittedName,               59, Control, Bound,   None,    (char* dest, int32_t maxLength)) \
  R(kControlHint1,                    62, Control, Bound,   None,    (int32_t* hint)) \
  R(kControlHint2,                    63, Control, Bound,   None,    (int32_t* hint)) \
  R(kControlIsContinuous,             64, Control, Bound,   None,    (int32_t* continuous)) \
  R(kControlDisplayText,              65, Control, Bound,   None,    (char* dest, int32_t maxLength, int32_t controlValue)) \
  R(kControlAutomatable,              66, Control, Bound,   None,    (uint8_t* automatable)) \
  R(kControlValue,                    67, Control, Bound,   None,    (int32_t* controlValue)) \
  /* ---- view: the frame view a process made for its editor ---- */ \
  R(kViewSize,                        68, View,    Bound,   None,    (int32_t* width, int32_t* height)) \
  R(kViewDraw,                        69, View,    Bound,   None,    (int32_t left, int32_t top, int32_t right, int32_t bottom)) \
  /* ---- group and type set-up ---- */ \
  R(kGroupTypeInfo,                   70, Group,   Bound,   None,    (int32_t typeIndex, STypeInfo* info))                        /* kErrNotAnEffectType */ \
  R(kGroupSkipEditorViews,            71, Group,   Bound,   None,    (int32_t skip))                                              /* module-wide; views then come from 153 */ \
  R(kTypeAddFeatureCode,              72, Type,    Bound,   None,    (int32_t code))                                              /* 41 also adds 30 and 38 */ \
  R(kTypeSetStemFormats,              73, Type,    Bound,   None,    (int32_t inputStem, int32_t outputStem, int32_t extra))      /* kErrGeneric: no channel count */ \
  R(kTypeSetProperty,                 74, Type,    Bound,   None,    (int32_t value, int32_t property))                           /* −1, 18, 21, 26, 29; else kErrGeneric */ \
  R(kTypeProcessFactory,              75, Type,    Bound,   None,    (void** factory))                                            /* opaque; null: makes no processes */ \
  /* ---- process: chunks ---- */ \
  R(kProcessChunkCount,               76, Process, Bound,   None,    (int32_t* count)) \
  R(kProcessChunkID,                  77, Process, Bound,   None,    (int32_t index, int32_t* chunkID))                           /* kErrChunk for an index other than 1 */ \
  R(kProcessChunkName,                78, Process, Bound,   None,    (int32_t chunkID, SHostString* name)) \
  R(kProcessChunkSize,                79, Process, Bound,   Above98, (int32_t chunkID, int32_t* size))                            /* kErrChunk */ \
  R(kProcessGetChunk,                 80, Process, Bound,   Above98, (int32_t chunkID, SFicPlugInChunk* chunk))                   /* room for 79's size; kErrChunk */ \
  R(kProcessSetChunk,                 81, Process, Bound,   Always,  (int32_t chunkID, const SFicPlugInChunk* chunk))             /* kErrChunk */ \
  R(kProcessCompareChunk,             82, Process, Bound,   Above98, (int32_t chunkID, const SFicPlugInChunk* chunk, uint8_t* equal)) /* kErrChunk */ \
  /* ---- control: real values of a continuous control ---- */ \
  R(kControlRealFromValue,            83, Control, Bound,   None,    (int32_t controlValue, double* real))                        /* kErrGeneric for a discrete control */ \
  R(kControlValueFromReal,            84, Control, Bound,   None,    (double real, int32_t* controlValue))                        /* kErrGeneric for a discrete control */ \
  /* ---- DSP cards ---- */ \
  R(kProcessDSPCycles,                85, Process, Refused, None,    (int32_t* cyclesPerSample)) \
  R(kProcessDSPMemory,                86, Process, Refused, None,    (int32_t* words)) \
  R(kProcessDSPProgram,               87, Process, Refused, None,    (int32_t chipType, void** program)) \
  R(kProcessPlaceOnDSP,               88, Process, Refused, None,    (int32_t card, int32_t dsp)) \
  R(kProcessRemoveFromDSP,            89, Process, Refused, None,    ()) \
  R(kProcessDelay,                    90, Process, Bound,   None,    (int32_t* samples)) \
  R(kProcessDSPPlacement,             91, Process, Refused, None,    (int32_t* card, int32_t* dsp)) \
  R(kProcessSendDSPCoefficients,      92, Process, Refused, None,    (const void* block, int32_t bytes)) \
  R(kProcessDSPSharedMemory,          93, Process, Refused, None,    (void** block, int32_t* bytes)) \
  R(kProcessResetDSP,                 94, Process, Refused, None,    ()) \
  R(kProcessTDMInputSlot,             95, Process, Refused, None,    (int32_t channel, int32_t* slot)) \
  R(kProcessTDMOutputSlot,            96, Process, Refused, None,    (int32_t channel, int32_t* slot)) \
  R(kProcessDSPLatency,               97, Process, Refused, None,    (int32_t* samples)) \
  R(kTypeDSPSlot,                     98, Type,    Refused, None,    (int32_t index, int32_t* code, int32_t* handle)) \
  R(kTypeDSPInstancesPerChip,         99, Type,    Refused, None,    (int32_t chipType, int32_t* count)) \
  R(kTypeDSPProgramSize,             100, Type,    Refused, None,    (int32_t chipType, int32_t* bytes)) \
  R(kGroupDSPTypeList,               101, Group,   Refused, None,    (int32_t* typeIDs, int32_t capacity, int32_t* count)) \
  R(kGroupDSPPlacements,             102, Group,   Refused, None,    (void* list)) \
  R(kGroupCardsChanged,              103, Group,   Refused, None,    ()) \
  R(kGroupAllocateDSP,               104, Group,   Refused, None,    (int32_t card, int32_t dsp, int32_t* handle)) \
  R(kGroupReleaseDSP,                105, Group,   Refused, None,    (int32_t handle)) \
  /* ---- MIDI, and the process core's control operations ---- */ \
  R(kProcessControlFromMIDI,         108, Process, Refused, None,    (int32_t index, int32_t midiValue)) \
  R(kProcessControlApplied,          109, Process, Bound,   None,    (int32_t index, int32_t value))                              /* after 47 was applied host side */ \
  R(kProcessSetControlFromHost,      110, Process, Bound,   Always,  (int32_t index, int32_t value))                              /* the message status */ \
  R(kProcessControlChanged,          111, Process, Bound,   None,    (int32_t index)) \
  R(kProcessMIDINodeCount,           112, Process, Refused, None,    (int32_t* inputs, int32_t* outputs)) \
  R(kProcessMIDINode,                113, Process, Refused, None,    (int32_t index, void** node)) \
  R(kProcessMIDIInput,               114, Process, Refused, None,    (const void* events, int32_t count)) \
  R(kProcessMIDIOutput,              115, Process, Refused, None,    (void* events, int32_t capacity, int32_t* count)) \
  R(kProcessDirectMIDIClient,        116, Process, Refused, None,    (int32_t* client)) \
  R(kProcessMIDIChannelMask,         117, Process, Refused, None,    (int32_t node, int32_t mask)) \
  R(kProcessMIDIPatchName,           118, Process, Refused, None,    (int32_t channel, int32_t patch, SHostString* name)) \
  R(kTypeMIDINodeCount,              119, Type,    Refused, None,    (int32_t* inputs, int32_t* outputs)) \
  R(kGroupMIDIGroup,                 120, Group,   Refused, None,    (void** midiGroup)) \
  R(kProcessQuery4,                  121, Process, Bound,   None,    (int32_t a, int32_t b, int32_t c, int32_t* answer))          /* writes 0 */ \
  R(kProcessTouchControl,            122, Process, Bound,   Always,  (int32_t index))                                             /* the message status */ \
  R(kProcessReleaseControl,          123, Process, Bound,   Always,  (int32_t index))                                             /* the message status */ \
  R(kProcessControlUnderMouse,       124, Process, Bound,   None,    (int32_t x, int32_t y, int32_t* index))                      /* 0 for none */ \
  R(kProcessSettingsPath,            125, Process, Bound,   None,    (SHostPath* path)) \
  /* ---- offline processing ---- */ \
  R(kProcessOfflineAnalyse,          126, Process, Refused, None,    (const float* const* inputs, int32_t frames)) \
  R(kProcessOfflineRender,           127, Process, Refused, None,    (const float* const* inputs, float** outputs, int32_t frames)) \
  R(kProcessOfflineBegin,            128, Process, Refused, None,    (int32_t totalFrames)) \
  R(kProcessOfflineEnd,              129, Process, Refused, None,    ()) \
  R(kProcessOfflinePreview,          130, Process, Refused, None,    (int32_t on)) \
  R(kProcessOfflineOutputLength,     131, Process, Refused, None,    (int32_t inputFrames, int32_t* outputFrames)) \
  R(kProcessOfflineChannelMode,      132, Process, Refused, None,    (int32_t mode)) \
  R(kProcessOfflineProgress,         133, Process, Refused, None,    (int32_t* percent)) \
  R(kProcessOfflineNeedsAnalysis,    134, Process, Refused, None,    (uint8_t* needed)) \
  R(kProcessOfflineHandles,          135, Process, Refused, None,    (int32_t* framesBefore, int32_t* framesAfter)) \
  R(kProcessOfflineCancel,           136, Process, Refused, None,    ()) \
  R(kTypeOfflineCapabilities,        137, Type,    Refused, None,    (int32_t* flags)) \
  R(kGroupOfflineTypeCount,          138, Group,   Refused, None,    (int32_t* count)) \
  R(kGroupOfflineTypeByIndex,        139, Group,   Refused, None,    (int32_t index, void** type)) \
  /* ---- host extension objects ---- */ \
  R(kProcessPlugInObject,            140, Process, Refused, None,    (void** object)) \
  R(kProcessPlugInData,              141, Process, Refused, None,    (int32_t key, void* data, int32_t bytes)) \
  R(kProcessSetPlugInData,           142, Process, Refused, None,    (int32_t key, const void* data, int32_t bytes)) \
  R(kProcessSmartStructure,          143, Process, Refused, None,    (int32_t key, void** structure)) \
  R(kProcessExtensionMessage,        144, Process, Refused, None,    (int32_t message, int32_t value)) \
  R(kProcessExtensionSetting,        145, Process, Refused, None,    (int32_t key, int32_t* value)) \
  R(kTypePlugInTypeObject,           146, Type,    Refused, None,    (void** object)) \
  R(kTypeExtensionMessage,           147, Type,    Refused, None,    (int32_t message, int32_t value)) \
  R(kControlPlugInControlObject,     148, Control, Refused, None,    (void** object)) \
  R(kControlExtensionMessage,        149, Control, Refused, None,    (int32_t message, int32_t value)) \
  R(kGroupPlugInGroupObject,         150, Group,   Refused, None,    (void** object)) \
  R(kGroupDefaultPlugIn,             151, Group,   Refused, None,    (void** object)) \
  R(kGroupExtensionMessage,          152, Group,   Refused, None,    (int32_t message, int32_t value)) \
  /* ---- the editor ---- */ \
  R(kProcessCreateEditorView,        153, Process, Bound,   From100, (void** view))                                               /* made now if none; null: no editor */ \
  R(kViewMouseDown,                  154, View,    Bound,   None,    (int32_t x, int32_t y, int32_t modifiers))                   /* editor pixels; kMod… bits */ \
  R(kViewMouseUp,                    155, View,    Bound,   None,    (int32_t x, int32_t y, int32_t modifiers)) \
  R(kViewMouseDrag,                  156, View,    Bound,   None,    (int32_t x, int32_t y, int32_t modifiers)) \
  R(kViewMouseDoubleClick,           157, View,    Bound,   None,    (int32_t x, int32_t y, int32_t modifiers)) \
  R(kViewMouseWheel,                 158, View,    Bound,   None,    (int32_t x, int32_t y, int32_t modifiers, int32_t delta)) \
  R(kViewKeyDown,                    159, View,    Bound,   None,    (int32_t x, int32_t y, int32_t key, uint8_t* handled)) \
  R(kViewTimerTick,                  160, View,    Bound,   None,    (uint8_t* drew))                                             /* one redraw of the open window */ \
  R(kViewTimerPeriod,                161, View,    Bound,   None,    (int32_t* milliseconds))                                     /* how often to tick */ \
  R(kViewReadFrame,                  162, View,    Bound,   None,    (uint32_t* pixels, int32_t width, int32_t height))           /* last shown frame, top row first */ \
  /* ---- the host's generic views ---- */ \
  R(kProcessViewFromDescription,     163, Process, Refused, None,    (const char* description, void** view)) \
  R(kProcessControlView,             164, Process, Refused, None,    (int32_t index, void** view)) \
  R(kProcessDialogView,              165, Process, Refused, None,    (void** view)) \
  R(kViewAddControlView,             166, View,    Refused, None,    (int32_t controlIndex, int32_t x, int32_t y, void** view)) \
  R(kViewRemoveSubview,              167, View,    Refused, None,    (void* subview)) \
  R(kViewSubviewCount,               168, View,    Refused, None,    (int32_t* count)) \
  R(kViewSetControlEditor,           169, View,    Refused, None,    (int32_t controlIndex, int32_t editorKind)) \
  R(kViewTextDescription,            170, View,    Refused, None,    (char* text, int32_t maxLength)) \
  R(kViewSetFont,                    171, View,    Refused, None,    (int32_t face, int32_t size)) \
  R(kViewSetColour,                  172, View,    Refused, None,    (int32_t part, int32_t colour)) \
  R(kViewHighlightControl,           173, View,    Refused, None,    (int32_t controlIndex, int32_t on, int32_t colour)) \
  R(kGroupExtensionTable,            175, Group,   Refused, None,    (void** table))
// clang-format on

#define HOSTABI_SELECTOR_CONSTANT(name, number, target, answer, bracket, params)                   \
  inline constexpr uint32_t name = number;
HOSTABI_ROUTINES(HOSTABI_SELECTOR_CONSTANT)
#undef HOSTABI_SELECTOR_CONSTANT

inline constexpr uint32_t kSelectorLimit = 176; // selectors are below this
inline constexpr uint32_t kHoles[] = {11, 13, 21, 26, 34, 60, 61, 106, 107, 174};

// What a host needs to know of one selector to call its routine.
struct SRoutineInfo {
  uint32_t selector;
  Target target;
  Answer answer;
  Bracket bracket;
  const char* name;
  const char* arguments; // after the target, as declared above
};

#define HOSTABI_SELECTOR_INFO(name, number, target, answer, bracket, params)                       \
  SRoutineInfo{number, Target::target, Answer::answer, Bracket::bracket, #name, #params},
inline constexpr SRoutineInfo kRoutines[] = {HOSTABI_ROUTINES(HOSTABI_SELECTOR_INFO)};
#undef HOSTABI_SELECTOR_INFO

// The entry of a selector, or null for a hole or an undefined selector.
constexpr const SRoutineInfo* Info(uint32_t selector) {
  for (const SRoutineInfo& r : kRoutines)
    if (r.selector == selector) return &r;
  return nullptr;
}

// The type of a selector's routine: RoutineFn<kGroupTypeCount> is
// int32_t (*)(void* group, int32_t* count). Undefined for holes.
template <uint32_t Selector> struct Routine;
#define HOSTABI_PARAMETERS(...) (void* target __VA_OPT__(, ) __VA_ARGS__)
#define HOSTABI_SELECTOR_TYPE(name, number, target, answer, bracket, params)                       \
  template <> struct Routine<number> {                                                             \
    using type = int32_t(HOSTABI_CALL*) HOSTABI_PARAMETERS params;                                 \
  };
HOSTABI_ROUTINES(HOSTABI_SELECTOR_TYPE)
#undef HOSTABI_SELECTOR_TYPE
#undef HOSTABI_PARAMETERS
template <uint32_t Selector> using RoutineFn = typename Routine<Selector>::type;

// A selector's routine as its own type; null when the module hands out none.
template <uint32_t Selector> RoutineFn<Selector> GetRoutine(plugin::GetRoutineDescriptorFn get) {
  void* routine = nullptr;
  if (!get || get(Selector, &routine) != kNoErr) return nullptr;
  return reinterpret_cast<RoutineFn<Selector>>(routine);
}

// Whether a routine with this bracket runs inside the host-client context at a version.
constexpr bool BracketApplies(Bracket bracket, int32_t version) {
  switch (bracket) {
  case Bracket::Always:
    return version != 0;
  case Bracket::Above98:
    return version > 98;
  case Bracket::From100:
    return version >= 100;
  case Bracket::None:
    break;
  }
  return false;
}

// The table is in selector order and, with the holes, covers every selector below the limit.
constexpr bool TableCoversEverySelector() {
  uint32_t next = 0;
  size_t hole = 0;
  for (const SRoutineInfo& r : kRoutines) {
    while (hole < std::size(kHoles) && kHoles[hole] == next) {
      ++hole;
      ++next;
    }
    if (r.selector != next++) return false;
  }
  return hole == std::size(kHoles) && next == kSelectorLimit;
}
static_assert(std::size(kRoutines) == 166);
static_assert(TableCoversEverySelector());

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
static_assert(sizeof(SCardList) == 68 && offsetof(SCardList, cardTypes) == 4);
static_assert(sizeof(SDSPEntry) == 8 && offsetof(SDSPEntry, qualifies) == 4);
static_assert(sizeof(SDSPList) == 516 && offsetof(SDSPList, dsps) == 4);

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
