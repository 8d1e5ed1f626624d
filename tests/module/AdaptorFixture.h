#pragma once
// Shared set-up for the adaptor tests: every engine stand-in and every module-wide item of the
// host library starts fresh, and processes are made through the module's own group, as the host
// makes them.

#include <gtest/gtest.h>

#include <memory>

#include "host/engine/StandInControl.h"
#include "hostlib/CHostEngine.h"
#include "hostlib/CModuleState.h"
#include "hostlib/CProcessGroup.h"
#include "hostlib/CTokenService.h"
#include "module/IPlugGroup.h"
#include "module/TAVORTAS.h"
#include "rtas/IPlugProcessRTAS.h"
#include "tests/support/FreshHost.h"

namespace tavo {

class AdaptorFixture : public ::testing::Test {
protected:
  void SetUp() override { tavo::test::StartFreshHost(); }
  void TearDown() override {
    process.reset();
    group.reset();
    CTokenService::Stop();
    // Nothing the adaptor sent along the way was something a host would refuse.
    EXPECT_EQ(standin::ErrorCount(), 0);
    EXPECT_EQ(standin::DigiExtErrorCount(), 0);
  }

  // A process of the given type (1 mono, 2 stereo) made through an initialised group.
  IPlugProcessRTAS& MakeProcess(int32_t typeIndex = 2) {
    if (!group) {
      group = std::make_unique<IPlugGroup>();
      group->Initialize();
    }
    std::unique_ptr<CEffectProcess> p;
    EXPECT_EQ(group->CreateProcess(typeIndex, 0, &p), 0);
    process.reset(dynamic_cast<IPlugProcessRTAS*>(p.release()));
    return *process;
  }

  TAVORTAS& Effect() { return *static_cast<TAVORTAS*>(process->Plug()); }

  std::unique_ptr<IPlugGroup> group;
  std::unique_ptr<IPlugProcessRTAS> process;
};

} // namespace tavo
