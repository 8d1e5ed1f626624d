#pragma once
// The records the process core hands to the engine's token dispatcher: control values, gestures
// and plain process messages, laid out as hostabi::message describes.

#include <array>
#include <cstdint>

#include "hostlib/HostInterface.h"

struct SMessageRecord {
  std::array<uint8_t, hostabi::message::kLongestRecord> bytes{};
  int16_t Length() const { return hostabi::message::ReadInt16(bytes.data(), 36); }
};

// [any thread] A control value: class 'SETV' from the plug side, 'CURV' for the host's current
// value; both identifiers are the control's host identifier.
SMessageRecord MakeControlValueMessage(int32_t messageClass, int32_t hostControlID, int32_t value);
// [any thread] The start (touch) or end of a user gesture on a control.
SMessageRecord MakeGestureMessage(int32_t hostControlID, bool touch);
// [any thread] A message about the whole process: 'GIAC' after a first touch (protocol 'Ctrl'),
// 'WNRS' when the editor changed size (protocol 'Proc').
SMessageRecord MakeProcessMessage(int32_t kind, int32_t processID);
