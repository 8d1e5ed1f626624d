#include "hostlib/CTokenService.h"

#include "hostlib/CHostEngine.h"

bool CTokenService::Start() {
  if (object_) return true;
  const CHostEngine& engine = CHostEngine::Get();
  int32_t answer = 0;
  if (hostabi::StatusFailed(engine.Gestalt(hostabi::kGestaltTokenService, &answer)) ||
      !engine.IsAlive())
    return false;
  server_ = engine.NewServer();
  if (!server_) return false;
  const int32_t type = engine.FindStandardType(server_, hostabi::kTokenServiceStandardType);
  object_ = type ? engine.NewObject(server_, type) : 0;
  if (!object_) Stop(); // a server without an object serves nobody
  return object_ != 0;
}

void CTokenService::Stop() {
  const CHostEngine& engine = CHostEngine::Get();
  if (object_) engine.Delete(object_);
  if (server_) engine.Delete(server_);
  object_ = 0;
  server_ = 0;
}
