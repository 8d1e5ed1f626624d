#pragma once
// What differs between the targets the binary interface is declared for: the calling convention of
// every interface method, the order in which an identifier's four words lie in memory, and the
// values of the result codes. The build chooses the target (vst3/CMakeLists.txt defines
// TAVO_VST3_CALL and TAVO_VST3_COM_LAYOUT), so no file of this layer tests a platform.
//
// Structure packing needs no choice: every structure of the interface has its natural layout on
// 32-bit Windows, Windows x64 and Linux x86-64 alike (no member is wider than 8 bytes, and each
// target's packing cap is at least that); only the pointer size changes a layout, and each
// structure's header asserts its size for both pointer sizes.

#include <cstdint>

#ifndef TAVO_VST3_CALL
#error "the build defines TAVO_VST3_CALL: __stdcall on 32-bit Windows, empty elsewhere"
#endif

namespace tavo::vst3 {

// Windows lays identifiers out as the system's object model does, and answers its result codes;
// every other target lays the four words out most significant byte first.
inline constexpr bool kComLayout = TAVO_VST3_COM_LAYOUT != 0;

using tresult = int32_t;
using TBool = uint8_t;

inline constexpr tresult kResultOk = 0;
inline constexpr tresult kResultTrue = kResultOk;
inline constexpr tresult kResultFalse = 1;
inline constexpr tresult kNoInterface = kComLayout ? static_cast<tresult>(0x80004002u) : -1;
inline constexpr tresult kInvalidArgument = kComLayout ? static_cast<tresult>(0x80070057u) : 2;
inline constexpr tresult kNotImplemented = kComLayout ? static_cast<tresult>(0x80004001u) : 3;
inline constexpr tresult kInternalError = kComLayout ? static_cast<tresult>(0x80004005u) : 4;
inline constexpr tresult kNotInitialized = kComLayout ? static_cast<tresult>(0x8000FFFFu) : 5;
inline constexpr tresult kOutOfMemory = kComLayout ? static_cast<tresult>(0x8007000Eu) : 6;

} // namespace tavo::vst3
