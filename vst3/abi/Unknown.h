#pragma once
// The root of every interface and the two every plug-in object and state stream answer:
// FUnknown (identity and reference count), IPluginBase (initialise and terminate) and IBStream
// (the host's state streams), with the host application's context.
//
// Every interface is a table of function pointers in declaration order behind the object's first
// word: declared here as abstract structs with no destructor (a virtual destructor would insert
// slots) and no overloads, so the compiler lays each table out in the order written.

#include <cstdint>

#include "vst3/abi/Target.h"
#include "vst3/abi/Uid.h"

namespace tavo::vst3 {

struct FUnknown {
  static constexpr Uid kIid = MakeUid(0x00000000, 0x00000000, 0xC0000000, 0x00000046);
  // Success stores the interface pointer and adds a reference; failure stores null and answers
  // kNoInterface.
  virtual tresult TAVO_VST3_CALL queryInterface(const TUID iid, void** obj) = 0;
  virtual uint32_t TAVO_VST3_CALL addRef() = 0;
  virtual uint32_t TAVO_VST3_CALL release() = 0;
};

struct IPluginBase : FUnknown {
  static constexpr Uid kIid = MakeUid(0x22888DDB, 0x156E45AE, 0x8358B348, 0x08190625);
  virtual tresult TAVO_VST3_CALL initialize(FUnknown* context) = 0;
  virtual tresult TAVO_VST3_CALL terminate() = 0;
};

enum StreamSeekMode : int32_t { kIBSeekSet = 0, kIBSeekCur = 1, kIBSeekEnd = 2 };

// A host's stream: reads and writes share one position, and either may move fewer bytes than
// asked (the count tells how many).
struct IBStream : FUnknown {
  static constexpr Uid kIid = MakeUid(0xC3BF6EA2, 0x30994752, 0x9B6BF990, 0x1EE33E9B);
  virtual tresult TAVO_VST3_CALL read(void* buffer, int32_t numBytes, int32_t* numBytesRead) = 0;
  virtual tresult TAVO_VST3_CALL write(void* buffer, int32_t numBytes,
                                       int32_t* numBytesWritten) = 0;
  virtual tresult TAVO_VST3_CALL seek(int64_t pos, int32_t mode, int64_t* result) = 0;
  virtual tresult TAVO_VST3_CALL tell(int64_t* pos) = 0;
};

using String128 = char16_t[128];
using ParamID = uint32_t; // a parameter's identifier, 0 … 0x7FFFFFFF

struct IHostApplication : FUnknown {
  static constexpr Uid kIid = MakeUid(0x58E595CC, 0xDB2D4969, 0x8B6AAF8C, 0x36A664E5);
  virtual tresult TAVO_VST3_CALL getName(String128 name) = 0;
  virtual tresult TAVO_VST3_CALL createInstance(TUID cid, TUID iid, void** obj) = 0;
};

} // namespace tavo::vst3
