#pragma once
// Private messages between the processor and its controller, which the host connects (possibly
// through a proxy of its own): the connection point each side answers, and the host's message and
// attribute list objects. Messages travel on the host's main thread, never from process.

#include <cstdint>

#include "vst3/abi/Unknown.h"

namespace tavo::vst3 {

struct IAttributeList : FUnknown {
  static constexpr Uid kIid = MakeUid(0x1E5F0AEB, 0xCC7F4533, 0xA2544011, 0x38AD5EE4);
  virtual tresult TAVO_VST3_CALL setInt(const char* id, int64_t value) = 0;
  virtual tresult TAVO_VST3_CALL getInt(const char* id, int64_t& value) = 0;
  virtual tresult TAVO_VST3_CALL setFloat(const char* id, double value) = 0;
  virtual tresult TAVO_VST3_CALL getFloat(const char* id, double& value) = 0;
  virtual tresult TAVO_VST3_CALL setString(const char* id, const char16_t* string) = 0;
  virtual tresult TAVO_VST3_CALL getString(const char* id, char16_t* string,
                                           uint32_t sizeInBytes) = 0;
  virtual tresult TAVO_VST3_CALL setBinary(const char* id, const void* data,
                                           uint32_t sizeInBytes) = 0;
  virtual tresult TAVO_VST3_CALL getBinary(const char* id, const void*& data,
                                           uint32_t& sizeInBytes) = 0;
};

// Created by the host (IHostApplication::createInstance with this identifier as class and
// interface).
struct IMessage : FUnknown {
  static constexpr Uid kIid = MakeUid(0x936F033B, 0xC6C047DB, 0xBB0882F8, 0x13C1E613);
  virtual const char* TAVO_VST3_CALL getMessageID() = 0;
  virtual void TAVO_VST3_CALL setMessageID(const char* id) = 0;
  virtual IAttributeList* TAVO_VST3_CALL getAttributes() = 0;
};

struct IConnectionPoint : FUnknown {
  static constexpr Uid kIid = MakeUid(0x70A4156F, 0x6E6E4026, 0x989148BF, 0xAA60D8D1);
  virtual tresult TAVO_VST3_CALL connect(IConnectionPoint* other) = 0;
  virtual tresult TAVO_VST3_CALL disconnect(IConnectionPoint* other) = 0;
  virtual tresult TAVO_VST3_CALL notify(IMessage* message) = 0;
};

} // namespace tavo::vst3
