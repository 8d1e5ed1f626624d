#pragma once
// The host engine's token service: a server, a type and an object through which processes send
// their messages. The group starts it before the first process and stops it when the last one
// is gone; without it control changes stay inside the module.

#include <cstdint>

class CTokenService {
public:
  // [main thread] Starts the service unless it runs: none when the engine's gestalt for 'hsds'
  // fails or the engine is not alive. Answers whether it is available afterwards.
  static bool Start();
  // [main thread] Deletes the object and the server.
  static void Stop();
  // [main thread]
  static bool IsAvailable() { return object_ != 0; }
  static int32_t Object() { return object_; }

private:
  static inline int32_t server_ = 0;
  static inline int32_t object_ = 0;
};
