#include "hostlib/MessageRecord.h"

using namespace hostabi::message;

namespace {
SMessageRecord Header(int32_t messageClass, int32_t kind, int32_t protocol, int32_t id,
                      int16_t length) {
  SMessageRecord r; // every byte starts at zero, including the ones the engine never reads
  uint8_t* b = r.bytes.data();
  WriteInt32(b, kReceiverOffset, id);
  WriteInt32(b, kClassOffset, messageClass);
  WriteInt32(b, kKindOffset, kind);
  WriteInt32(b, kSignatureOffset, kSignature);
  WriteInt32(b, kProtocolOffset, protocol);
  WriteInt32(b, kSenderOffset, id);
  WriteInt16(b, kLengthOffset, length);
  return r;
}
} // namespace

SMessageRecord MakeControlValueMessage(int32_t messageClass, int32_t hostControlID, int32_t value) {
  SMessageRecord r =
      Header(messageClass, kKindControlValue, kProtocolControl, hostControlID, kValueLength);
  WriteInt32(r.bytes.data(), kValueOffset, value);
  return r;
}

SMessageRecord MakeGestureMessage(int32_t hostControlID, bool touch) {
  SMessageRecord r =
      Header(kClassSetValue, kKindGesture, kProtocolControl, hostControlID, kGestureLength);
  WriteInt16(r.bytes.data(), kGestureStateOffset, touch ? 1 : 0);
  WriteInt32(r.bytes.data(), kGestureOneOffset, 1);
  return r;
}

SMessageRecord MakeProcessMessage(int32_t kind, int32_t processID) {
  const int32_t protocol = kind == kKindEditorResized ? kProtocolProcess : kProtocolControl;
  return Header(kClassSetValue, kind, protocol, processID, kPlainLength);
}
