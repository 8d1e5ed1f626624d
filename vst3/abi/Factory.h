#pragma once
// The module's factory: what the host learns of the classes before it creates one, and how it
// creates them. The factory structures are outside the interface's packing and take the
// compiler's default layout, which is the same on every target (4-byte aligned, no pointers).

#include <cstdint>

#include "vst3/abi/Unknown.h"

namespace tavo::vst3 {

struct PFactoryInfo {
  enum Flags : int32_t { kClassesDiscardable = 1, kComponentNonDiscardable = 8, kUnicode = 16 };
  char vendor[64];
  char url[256];
  char email[128];
  int32_t flags;
};
static_assert(sizeof(PFactoryInfo) == 452 && alignof(PFactoryInfo) == 4);

inline constexpr int32_t kManyInstances = 0x7FFFFFFF;

struct PClassInfo {
  char cid[16];
  int32_t cardinality;
  char category[32];
  char name[64];
};
static_assert(sizeof(PClassInfo) == 116 && alignof(PClassInfo) == 4);

struct PClassInfo2 {
  char cid[16];
  int32_t cardinality;
  char category[32];
  char name[64];
  uint32_t classFlags;
  char subCategories[128]; // the parts separated by '|'
  char vendor[64];
  char version[64];
  char sdkVersion[64];
};
static_assert(sizeof(PClassInfo2) == 440 && alignof(PClassInfo2) == 4);

struct PClassInfoW { // PClassInfo2 with the names in UTF-16
  char cid[16];
  int32_t cardinality;
  char category[32];
  char16_t name[64];
  uint32_t classFlags;
  char subCategories[128];
  char16_t vendor[64];
  char16_t version[64];
  char16_t sdkVersion[64];
};
static_assert(sizeof(PClassInfoW) == 696 && alignof(PClassInfoW) == 4);

struct IPluginFactory : FUnknown {
  static constexpr Uid kIid = MakeUid(0x7A4D811C, 0x52114A1F, 0xAED9D2EE, 0x0B43BF9F);
  virtual tresult TAVO_VST3_CALL getFactoryInfo(PFactoryInfo* info) = 0;
  virtual int32_t TAVO_VST3_CALL countClasses() = 0;
  virtual tresult TAVO_VST3_CALL getClassInfo(int32_t index, PClassInfo* info) = 0;
  // cid and iid point at 16-byte identifiers. The object comes with one reference, the caller's.
  virtual tresult TAVO_VST3_CALL createInstance(const char* cid, const char* iid, void** obj) = 0;
};

struct IPluginFactory2 : IPluginFactory {
  static constexpr Uid kIid = MakeUid(0x0007B650, 0xF24B4C0B, 0xA464EDB9, 0xF00B2ABB);
  virtual tresult TAVO_VST3_CALL getClassInfo2(int32_t index, PClassInfo2* info) = 0;
};

struct IPluginFactory3 : IPluginFactory2 {
  static constexpr Uid kIid = MakeUid(0x4555A2AB, 0xC1234E57, 0x9B122910, 0x36878931);
  virtual tresult TAVO_VST3_CALL getClassInfoUnicode(int32_t index, PClassInfoW* info) = 0;
  virtual tresult TAVO_VST3_CALL setHostContext(FUnknown* context) = 0;
};

} // namespace tavo::vst3
