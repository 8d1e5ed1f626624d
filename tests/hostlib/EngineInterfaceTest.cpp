#include <gtest/gtest.h>

#include <cstring>

#include "HostFixture.h"

using namespace hostabi;

namespace {
void* Nothing(const SEngineSymbol&) {
  return nullptr;
}
} // namespace

class EngineInterface : public HostFixture {
protected:
  void TearDown() override {
    CHostEngine::Get().Resolve();
    HostFixture::TearDown();
  }
};

TEST_F(EngineInterface, FindsEveryExportInTheLoadedLibraries) {
  for (const SEngineSymbol& s : exports::kAll)
    EXPECT_TRUE(CHostEngine::Get().Has(s)) << s.posixName;
}

TEST_F(EngineInterface, AnswersWhatTheStandInIsConfiguredWith) {
  const CHostEngine& e = CHostEngine::Get();
  standin::SetEngineVersion(0x0801);
  standin::SetMaximumQuantum(512);
  EXPECT_EQ(e.Version(), 0x0801);
  EXPECT_EQ(e.MaximumQuantum(), 512);
  EXPECT_TRUE(e.IsAlive());
  int32_t answer = -1;
  EXPECT_EQ(e.Gestalt(kGestaltVariableQuantum, &answer), 0);
  EXPECT_EQ(answer, 0);
  standin::SetVariableQuantum(true);
  e.Gestalt(kGestaltVariableQuantum, &answer);
  EXPECT_EQ(answer, 1);
  answer = 77;
  EXPECT_TRUE(StatusFailed(e.Gestalt(FourCC("none"), &answer)));
  EXPECT_EQ(answer, 77);
}

TEST_F(EngineInterface, OpenAndCloseProceduresReachTheHost) {
  ModuleProc open = [] { return int16_t{0}; };
  ModuleProc close = [] { return int16_t{1}; };
  EXPECT_TRUE(CHostEngine::Get().SetOpenAndCloseProcs(open, close));
  EXPECT_EQ(standin::RegisteredOpenProc(), open);
  EXPECT_EQ(standin::RegisteredCloseProc(), close);
}

TEST_F(EngineInterface, KeyMapAndNativeWindowComeFromTheExtensionLibrary) {
  const CHostEngine& e = CHostEngine::Get();
  standin::SetKeyDown(0x3A, true);
  uint8_t map[16];
  e.GetKeyMap(map);
  EXPECT_EQ(map[0x3A >> 3], 1u << (0x3A & 7));
  int hostWindow = 0, nativeWindow = 0;
  standin::MapHostWindow(&hostWindow, &nativeWindow);
  EXPECT_EQ(e.NativeWindow(&hostWindow), &nativeWindow);
  EXPECT_EQ(e.NativeWindow(&nativeWindow), nullptr);
}

TEST_F(EngineInterface, MissingFunctionsAnswerLikeARefusingEngine) {
  CHostEngine& e = CHostEngine::Get();
  e.Resolve(&Nothing);
  int32_t answer = 5;
  EXPECT_TRUE(StatusFailed(e.Gestalt(kGestaltTokenService, &answer)));
  EXPECT_EQ(answer, 5);
  EXPECT_EQ(e.MaximumQuantum(), 0);
  EXPECT_EQ(e.Version(), 0);
  EXPECT_FALSE(e.IsAlive());
  EXPECT_FALSE(e.SetOpenAndCloseProcs(nullptr, nullptr));
  EXPECT_EQ(e.DispatchToken("x"), kErrGeneric);
  EXPECT_EQ(e.OpenResourceFile("/a.rsr", nullptr), -1);
  EXPECT_EQ(e.NativeWindow(&answer), nullptr);
  uint8_t map[16];
  std::memset(map, 0xFF, sizeof map);
  e.GetKeyMap(map);
  for (uint8_t b : map)
    EXPECT_EQ(b, 0);
  EXPECT_EQ(e.InitSADriver(), 0);
  SCardList cards{};
  cards.count = 3;
  e.GetCardList(&cards);
  EXPECT_EQ(cards.count, 0);
  EXPECT_EQ(e.ManagerVersion(standin::kDSPManagerHandle), 0);
}

TEST_F(EngineInterface, WithoutTheEngineControlChangesStayInside) {
  CHostEngine::Get().Resolve(&Nothing);
  standin::SetManagerVersion(1); // never asked: the manager is missing too
  group = std::make_unique<TestGroup>();
  // No DSP manager: no client can be had.
  try {
    group->Initialize();
    ADD_FAILURE();
  } catch (const CDAEError& e) {
    EXPECT_EQ(e.Code(), kErrNoHostClient);
  }
}

TEST_F(EngineInterface, WithoutTokenFunctionsProcessesStillWork) {
  CHostEngine::Get().Resolve([](const SEngineSymbol& s) -> void* {
    return std::strcmp(s.posixName, exports::kNewServer.posixName) == 0 ? nullptr
                                                                        : LookUpEngineSymbol(s);
  });
  auto p = MakeProcess();
  EXPECT_FALSE(CTokenService::IsAvailable());
  p->SetControlValue(2, 3);
  ASSERT_EQ(p->changes.size(), 1u);
  EXPECT_TRUE(standin::DispatchedMessages().empty());
}
