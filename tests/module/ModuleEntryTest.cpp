#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "AdaptorFixture.h"
#include "hostlib/CDAEError.h"
#include "module/IPlugGroup.h"
#include "module/ModuleEntry.h"

using namespace hostabi;

namespace tavo {
namespace {

class ModuleEntry : public AdaptorFixture {
protected:
  void TearDown() override {
    while (Module().openCount > 0)
      ModuleClose();
    CHostEngine::Get().Resolve();
    AdaptorFixture::TearDown();
  }
};

TEST_F(ModuleEntry, OnlyTheFirstOpenAndTheLastCloseDoWork) {
  ASSERT_EQ(ModuleOpen(), 0);
  IPlugGroup* first = ModuleGroup();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(ModuleOpen(), 0);
  EXPECT_EQ(ModuleGroup(), first);
  EXPECT_EQ(ModuleClose(), 0);
  EXPECT_EQ(ModuleGroup(), first);
  EXPECT_EQ(ModuleClose(), 0);
  EXPECT_EQ(ModuleGroup(), nullptr);
  // The resource file beside the module was opened once and closed once.
  const auto events = standin::ResourceFileEvents();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_TRUE(events[0].open);
  EXPECT_FALSE(events[1].open);
  EXPECT_EQ(events[0].path.substr(events[0].path.size() - 4), ".rsr");
  EXPECT_EQ(events[0].swap, &SwapResourceByteOrder);
}

TEST_F(ModuleEntry, FailedOpenLeavesNoGroupAndClosesTheResourceFile) {
  standin::SetManagerVersion(0); // the group's host client cannot be registered
  EXPECT_NE(ModuleOpen(), 0);
  EXPECT_EQ(ModuleGroup(), nullptr);
  EXPECT_FALSE(standin::ResourceFileEvents().back().open);
  EXPECT_EQ(ModuleClose(), 0); // counts the attempt, does no further work
}

TEST_F(ModuleEntry, HostDrivenOpenAcceptsOnly73) {
  EXPECT_EQ(WinPlugInOpen(72), -1);
  EXPECT_FALSE(CModuleState::openedThroughWinPlugInOpen.load());
  EXPECT_EQ(ModuleGroup(), nullptr);
  EXPECT_EQ(WinPlugInOpen(73), 0);
  EXPECT_TRUE(CModuleState::openedThroughWinPlugInOpen.load());
  EXPECT_NE(ModuleGroup(), nullptr);
  EXPECT_EQ(WinPlugInClose(), 0);
  EXPECT_EQ(ModuleGroup(), nullptr);
}

TEST_F(ModuleEntry, LoadHandsOpenAndCloseToTheEngine) {
  ASSERT_TRUE(ModuleAttach(nullptr));
  EXPECT_EQ(standin::RegisteredOpenProc(), &ModuleOpen);
  EXPECT_EQ(standin::RegisteredCloseProc(), &ModuleClose);
  EXPECT_EQ(ModuleGroup(), nullptr); // the host opens it when it wants
  ModuleDetach();
}

TEST_F(ModuleEntry, WithoutTheEngineProcsTheModuleOpensItselfAndRefusesAFailedOpen) {
  CHostEngine::Get().Resolve([](const SEngineSymbol& s) -> void* {
    return std::strcmp(s.posixName, "SetPlugInOpenAndCloseProcs") == 0 ? nullptr
                                                                       : LookUpEngineSymbol(s);
  });
  ASSERT_TRUE(ModuleAttach(nullptr));
  EXPECT_NE(ModuleGroup(), nullptr);
  ModuleDetach();
  EXPECT_EQ(ModuleGroup(), nullptr);

  standin::SetManagerVersion(0);
  EXPECT_FALSE(ModuleAttach(nullptr));
  ModuleDetach();
}

TEST_F(ModuleEntry, NewPlugInReportsTheGroupsFailureCode) {
  standin::SetManagerVersion(0);
  EXPECT_EQ(NewPlugIn(0), static_cast<int16_t>(kErrDSPManagerVersion));
  EXPECT_EQ(ModuleGroup(), nullptr); // gone with its failure
}

TEST_F(ModuleEntry, ASecondGroupIsRefusedAndTheFirstStays) {
  ASSERT_EQ(NewPlugIn(0), 0);
  IPlugGroup* first = ModuleGroup();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(NewPlugIn(0), static_cast<int16_t>(kErrGroupExists));
  EXPECT_EQ(ModuleGroup(), first);
  EXPECT_EQ(standin::ManagerClients().size(), 1u); // no second host client either
  // Opening the module afterwards takes that group; the last close destroys it.
  EXPECT_EQ(ModuleOpen(), 0);
  EXPECT_EQ(ModuleGroup(), first);
  EXPECT_EQ(ModuleClose(), 0);
  EXPECT_EQ(ModuleGroup(), nullptr);
}

TEST_F(ModuleEntry, AGroupThatFailsToInitialiseIsNeverReachable) {
  standin::RefuseClientRegistration(true);
  EXPECT_EQ(NewPlugIn(0), static_cast<int16_t>(kErrNoHostClient));
  EXPECT_EQ(ModuleGroup(), nullptr);
  auto moduleGroup = selector::GetRoutine<selector::kModuleGroup>(&_PI_GetRoutineDescriptor);
  ASSERT_NE(moduleGroup, nullptr);
  void* group = reinterpret_cast<void*>(1);
  EXPECT_EQ(moduleGroup(nullptr, &group), 0);
  EXPECT_EQ(group, nullptr);
  // Once the host accepts the client, the module opens normally.
  standin::RefuseClientRegistration(false);
  EXPECT_EQ(ModuleOpen(), 0);
  EXPECT_NE(ModuleGroup(), nullptr);
}

TEST_F(ModuleEntry, CreatesExactlyTheMonoAndStereoTypes) {
  IPlugGroup g;
  g.Initialize();
  ASSERT_EQ(g.TypeCount(), 2);
  const CEffectType* mono = g.TypeByIndex(1);
  const CEffectType* stereo = g.TypeByIndex(2);
  EXPECT_EQ(mono->TypeID(), FourCC("TAV1"));
  EXPECT_EQ(stereo->TypeID(), FourCC("TAV2"));
  for (const CEffectType* t : {mono, stereo}) {
    EXPECT_EQ(t->Category(), 64);
    EXPECT_EQ(t->ProductID(), FourCC("TAVO"));
    EXPECT_EQ(t->PlugInTypeValue(), 6);
    EXPECT_EQ(t->Names(), "TAVO\nTAVO");
    for (int32_t code : {8, 29, 48, 55})
      EXPECT_TRUE(t->HasFeatureCode(code)) << code;
  }
  EXPECT_EQ(mono->InputStemFormat(), 0);
  EXPECT_EQ(mono->OutputStemFormat(), 0);
  EXPECT_EQ(stereo->InputStemFormat(), 1);
  EXPECT_EQ(stereo->OutputStemFormat(), 1);
  EXPECT_EQ(g.ManufacturerID(), FourCC("QnSl"));
  EXPECT_EQ(g.ProductNumber(), 1);
}

TEST_F(ModuleEntry, CategoryNamesMatchExactly) {
  EXPECT_EQ(CategoryValue("Harmonic"), 64);
  EXPECT_EQ(CategoryValue("None"), 0);
  EXPECT_EQ(CategoryValue("SoundField"), 512);
  EXPECT_EQ(CategoryValue("harmonic"), 8192);
  EXPECT_EQ(CategoryValue("Saturation"), 8192);
  EXPECT_EQ(CategoryValue(nullptr), 8192);
}

TEST_F(ModuleEntry, RoutineDispatcherHasItsHoles) {
  void* routine = reinterpret_cast<void*>(1);
  EXPECT_EQ(_PI_GetRoutineDescriptor(11, &routine), kErrUndefinedSelector);
  EXPECT_EQ(routine, nullptr);
  EXPECT_EQ(_PI_GetRoutineDescriptor(0, &routine), 0);
  EXPECT_NE(routine, nullptr);
  for (uint32_t hole : {11u, 13u, 21u, 26u, 34u, 60u, 61u, 106u, 107u, 174u, 176u, 0xFFFFFFFFu})
    EXPECT_EQ(_PI_GetRoutineDescriptor(hole, &routine), kErrUndefinedSelector) << hole;
  EXPECT_EQ(_PI_GetRoutineDescriptor(8, nullptr), 0); // a null slot is not written
}

TEST_F(ModuleEntry, RoutinesTurnExceptionsIntoStatusCodes) {
  ASSERT_EQ(ModuleOpen(), 0);
  IPlugProcessRTAS& p = MakeProcess();
  void* routine = nullptr;
  ASSERT_EQ(_PI_GetRoutineDescriptor(selector::kControlValueFromText, &routine), 0);
  auto fromText = reinterpret_cast<int32_t (*)(void*, const char*, int32_t*)>(routine);
  // The controls of this test's process are not the module group's: the handle is refused.
  int32_t value = 0;
  EXPECT_EQ(fromText(p.Control(2), "3 dB", &value), kErrGeneric);
}

TEST_F(ModuleEntry, SwapsTheByteOrderOfComponentAndFragmentResources) {
  std::array<uint8_t, 44> thng{};
  for (size_t i = 0; i < thng.size(); ++i)
    thng[i] = static_cast<uint8_t>(i);
  EXPECT_EQ(SwapResourceByteOrder(0, FourCC("thng"), 0, thng.data()), 1);
  EXPECT_EQ(thng[0], 3);
  EXPECT_EQ(thng[3], 0);
  EXPECT_EQ(thng[16], 19);
  EXPECT_EQ(thng[20], 23); // the 4-byte field of the first group
  EXPECT_EQ(thng[24], 25); // then its 2-byte field
  EXPECT_EQ(thng[25], 24);
  EXPECT_EQ(thng[38], 41);
  EXPECT_EQ(thng[43], 42);

  std::array<uint8_t, 36> cfrg{};
  cfrg[32] = 1;
  EXPECT_EQ(SwapResourceByteOrder(0, FourCC("cfrg"), 0, cfrg.data()), 1);
  EXPECT_EQ(cfrg[35], 1);
  EXPECT_EQ(cfrg[32], 0);

  std::array<uint8_t, 4> other{1, 2, 3, 4};
  EXPECT_EQ(SwapResourceByteOrder(0, FourCC("PNG "), 0, other.data()), 0);
  EXPECT_EQ(other[0], 1);
}

} // namespace
} // namespace tavo
