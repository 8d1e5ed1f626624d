#pragma once
// Puts the engine stand-ins and the host library's process-wide state back to a host freshly
// started, so each test begins where a real session would.

#include "host/engine/StandInControl.h"
#include "hostlib/CHostEngine.h"
#include "hostlib/CModuleState.h"
#include "hostlib/CProcessGroup.h"
#include "hostlib/CTokenService.h"

namespace tavo::test {

inline void StartFreshHost() {
  standin::ResetAll();
  CHostEngine::Get().Resolve();
  CTokenService::Stop();
  CProcessGroup::ForgetDSPManager();
  CModuleState::openedThroughWinPlugInOpen = false;
  CModuleState::skipEditorViews = false;
}

} // namespace tavo::test
