#pragma once
// The host-side instance through which one process renders: created when the host connects the
// process, it holds the engine's rendering instance and answers transport queries. Deleting it
// tells the engine the instance is gone.

#include <cstdint>

#include "hostlib/HostInterface.h"

class CAdaptorPlugIn {
public:
  // [main thread · may throw] Creates the engine's instance for `owner` with the callback the
  // engine calls per block; a refusing engine throws its status as an int32_t.
  CAdaptorPlugIn(hostabi::RenderCallback callback, void* owner, int32_t inputs, int32_t outputs);
  CAdaptorPlugIn(const CAdaptorPlugIn&) = delete;
  CAdaptorPlugIn& operator=(const CAdaptorPlugIn&) = delete;
  // [main thread] The engine never calls the callback for this instance afterwards.
  ~CAdaptorPlugIn();

  // [main thread] Lets the engine render the instance; answers the engine's status.
  int32_t Start();

  hostabi::SRenderInstance* Instance() const { return instance_; }

  // [main thread] Transport as the engine reports it; false (state untouched) when it cannot.
  bool Transport(hostabi::STransportState& state) const;
  // [main thread] A sample location in ticks (960000 a quarter note); false (ticks untouched)
  // when the engine cannot say.
  bool LocationToTicks(int64_t location, int64_t& ticks) const;

private:
  hostabi::SRenderInstance* instance_ = nullptr;
};
