#include "hostlib/CAdaptorPlugIn.h"

#include "hostlib/CHostEngine.h"

CAdaptorPlugIn::CAdaptorPlugIn(hostabi::RenderCallback callback, void* owner, int32_t inputs,
                               int32_t outputs) {
  const int32_t status =
      CHostEngine::Get().NewRenderInstance(callback, owner, inputs, outputs, &instance_);
  if (hostabi::StatusFailed(status) || !instance_)
    throw status != 0 ? status : hostabi::kErrGeneric;
}

CAdaptorPlugIn::~CAdaptorPlugIn() {
  // The engine finishes a block in progress before it lets the instance go and never calls
  // back for it afterwards; the record itself is the engine's and is not touched here.
  if (instance_) CHostEngine::Get().DeleteRenderInstance(instance_);
}

int32_t CAdaptorPlugIn::Start() {
  return CHostEngine::Get().StartRenderInstance(instance_);
}

bool CAdaptorPlugIn::LocationToTicks(int64_t location, int64_t& ticks) const {
  int64_t answer = 0;
  if (hostabi::StatusFailed(CHostEngine::Get().LocationToTicks(instance_, location, &answer)))
    return false;
  ticks = answer;
  return true;
}

bool CAdaptorPlugIn::Transport(hostabi::STransportState& state) const {
  hostabi::STransportState answer{};
  if (hostabi::StatusFailed(CHostEngine::Get().GetTransport(instance_, &answer))) return false;
  state = answer;
  return true;
}
