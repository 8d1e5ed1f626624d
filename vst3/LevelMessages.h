#pragma once
// How the editor's needle learns the level the processor measures: on each tick of an open view
// the controller asks its processor with a level request, and the processor answers with the
// needle's position (a float attribute) read from its own instance's meter. Both travel through
// the host's connection, on the main thread.

#include "vst3/abi/Messages.h"

namespace tavo::vst3 {

inline constexpr const char* kLevelRequestId = "TAVO.levelRequest";
inline constexpr const char* kLevelId = "TAVO.level";
inline constexpr const char* kLevelAttribute = "needle";

// [main thread] The one endpoint both sides keep: the peer the host connected (held with a
// reference), and the host to create messages with.
class Connection {
public:
  Connection() = default;
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  ~Connection();

  // The host's context from initialize (null forgets it).
  void SetHost(FUnknown* context);
  tresult Connect(IConnectionPoint* other);
  tresult Disconnect(IConnectionPoint* other);
  // Sends a message with the ID and, when `value` is given, the level attribute. False without
  // a peer or a host that creates messages.
  bool Send(const char* id, const double* value);

private:
  IHostApplication* host_ = nullptr;
  IConnectionPoint* peer_ = nullptr;
};

// Whether the message carries the ID (null-safe).
bool IsMessage(IMessage* message, const char* id);

} // namespace tavo::vst3
