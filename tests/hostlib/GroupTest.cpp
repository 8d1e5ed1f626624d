#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "HostFixture.h"
#include "hostlib/StemFormat.h"

using namespace hostabi;

namespace {

std::string Text(const SHostString& s) {
  return std::string(s.text, s.length);
}

int32_t ThrownCode(CProcessGroup& group) {
  try {
    group.Initialize();
  } catch (const CDAEError& e) {
    return e.Code();
  }
  return 0;
}

} // namespace

class EffectGroup : public HostFixture {
protected:
  void SetUp() override {
    HostFixture::SetUp();
    group = std::make_unique<TestGroup>();
  }
  CEffectType* Mono() const { return group->TypeByIndex(1); }
  CEffectType* Stereo() const { return group->TypeByIndex(2); }
};

TEST_F(EffectGroup, RegistersItsHostClientUnderItsProductName) {
  group->Initialize();
  const auto clients = standin::ManagerClients();
  ASSERT_EQ(clients.size(), 1u);
  EXPECT_EQ(clients[0].name, "CProcessGroup<TAVO>");
  EXPECT_EQ(group->HostClient(), clients[0].handle);
  group.reset();
  EXPECT_FALSE(standin::ManagerClients()[0].registered);
  EXPECT_EQ(standin::DSPManagerErrorCount(), 0);
}

TEST_F(EffectGroup, UnreadableProductNameRegistersAsUnknown) {
  group = std::make_unique<TestGroup>("");
  group->Initialize();
  EXPECT_EQ(standin::ManagerClients().at(0).name, "CProcessGroup<<unknown>>");
}

TEST_F(EffectGroup, OldManagerLendsItsDefaultClient) {
  standin::SetManagerVersion(1);
  group->Initialize();
  EXPECT_EQ(group->HostClient(), standin::kDefaultClient);
  EXPECT_TRUE(standin::ManagerClients().empty());
}

TEST_F(EffectGroup, UnusableManagerOrRefusedClientFailsInitialisation) {
  standin::SetManagerVersion(0);
  EXPECT_EQ(ThrownCode(*group), kErrDSPManagerVersion);
  standin::SetManagerVersion(3);
  standin::RefuseClientRegistration(true);
  group = std::make_unique<TestGroup>();
  EXPECT_EQ(ThrownCode(*group), kErrNoHostClient);
}

TEST_F(EffectGroup, FailingDSPDriverFailsInitialisationWithItsStatus) {
  standin::SetDriverStatus(0x00010002);
  EXPECT_EQ(ThrownCode(*group), 0x00010002);
  standin::SetDriverStatus(0x00030000); // only the low 16 bits count
  group = std::make_unique<TestGroup>();
  EXPECT_EQ(ThrownCode(*group), 0);
  EXPECT_EQ(group->DSPTypeList(), (std::vector<int32_t>{FourCC("TAV1"), FourCC("TAV2")}));
}

TEST_F(EffectGroup, TypesDescribeMonoAndStereo) {
  group->Initialize();
  ASSERT_EQ(group->TypeCount(), 2);
  EXPECT_EQ(group->TypeByIndex(0), nullptr);
  EXPECT_EQ(group->TypeByIndex(3), nullptr);
  EXPECT_EQ(Mono()->InputChannels(), 1);
  EXPECT_EQ(Stereo()->OutputChannels(), 2);
  EXPECT_EQ(Stereo()->FeatureCodes(), (std::vector<int32_t>{7, 8, 29, 48, 55}));
  STypeInfo info{};
  EXPECT_EQ(group->GetTypeInfo(2, &info), 0);
  EXPECT_EQ(info.typeID, FourCC("TAV2"));
  EXPECT_EQ(info.productID, FourCC("TAVO"));
  EXPECT_EQ(info.manufacturerID, FourCC("QnSl"));
  EXPECT_EQ(group->GetTypeInfo(3, &info), kErrNotAnEffectType);
}

TEST_F(EffectGroup, NamesAreFittedAndGivenAsHostStrings) {
  SHostString name{};
  group->GetManufacturerName(&name, 31);
  EXPECT_EQ(Text(name), "Quenstrel");
  group->GetManufacturerName(&name, 4);
  EXPECT_EQ(Text(name), "QnSl");
  group->GetProductName(&name, 2);
  EXPECT_EQ(Text(name), "TA");
  group->GetProductName(&name, 100000);
  EXPECT_EQ(Text(name), "TAVO");
}

TEST_F(EffectGroup, SettingsPathEndsWithTheProductNumber) {
  SHostPath path{};
  group->GetSettingsPath(&path);
  EXPECT_STREQ(path.text, "Plug-Ins/Quenstrel/TAVO/1");
  group->SetProductNames("TAVO", 0x1203);
  group->GetSettingsPath(&path);
  EXPECT_STREQ(path.text, "Plug-Ins/Quenstrel/TAVO/3");
}

TEST_F(EffectGroup, OverlongNamesKeepThePathBounded) {
  const std::string longName(300, 'n');
  group->SetManufacturerNames(longName.c_str(), 1);
  group->SetProductNames(longName.c_str(), 1);
  SHostPath path{};
  group->GetSettingsPath(&path);
  EXPECT_EQ(std::string(path.text).size(), 255u);
}

TEST_F(EffectGroup, CapabilityQueriesOfGroupAndTypes) {
  group->Initialize();
  int32_t value = kMidiCapability;
  EXPECT_EQ(group->CapabilityQuery(Stereo(), 28, &value), 0);
  EXPECT_EQ(value, 2);
  value = 5;
  group->CapabilityQuery(Stereo(), 28, &value);
  EXPECT_EQ(value, 0);
  group->CapabilityQuery(nullptr, 14, &value);
  EXPECT_EQ(value, 1);
  group->CapabilityQuery(Stereo(), 21, &value);
  EXPECT_EQ(value, 64);
  group->CapabilityQuery(Stereo(), 32, &value);
  EXPECT_EQ(value, 6);
  group->CapabilityQuery(Stereo(), 48, &value);
  EXPECT_EQ(value, 1);
  group->CapabilityQuery(Stereo(), 49, &value);
  EXPECT_EQ(value, 0);
  CEffectTypeRTAS stranger(1, 2, 3, true);
  EXPECT_EQ(group->CapabilityQuery(&stranger, 49, &value), kErrUnknownType);
}

TEST_F(EffectGroup, InstanceCapabilityCountsLiveProcesses) {
  Stereo();
  group->Initialize();
  Stereo()->AddFeatureCode(5);
  int32_t value = 0;
  Stereo()->CapabilityQuery(5, &value);
  EXPECT_EQ(value, 1);
  std::unique_ptr<CEffectProcess> p;
  ASSERT_EQ(group->CreateProcess(2, 0, &p), 0);
  Stereo()->CapabilityQuery(5, &value);
  EXPECT_EQ(value, 2);
}

TEST_F(EffectGroup, PlugInTypeAnswerFollowsTheInstalledCards) {
  CEffectTypeRTAS t(1, 2, 3, false);
  t.SetProperty(5, 26);
  t.SetProperty(3, 21);
  t.SetProperty(4, 29);
  int32_t value = -1;
  t.CapabilityQuery(32, &value);
  EXPECT_EQ(value, -1); // no cards: left as it was
  standin::SetCards({21});
  t.CapabilityQuery(32, &value);
  EXPECT_EQ(value, 1); // 3 keeps its low bit only
  standin::SetCards({21, 26});
  t.CapabilityQuery(32, &value);
  EXPECT_EQ(value, 5);
  standin::SetCards({29, 26});
  t.CapabilityQuery(32, &value);
  EXPECT_EQ(value, 5); // a type-29 card without a qualifying DSP does not count
  standin::SetDSPs({{0, 1}});
  t.CapabilityQuery(32, &value);
  EXPECT_EQ(value, 4);
  t.SetProperty(9, 29); // 9 & 7 = 1: the type-26 value stands in
  t.CapabilityQuery(32, &value);
  EXPECT_EQ(value, 5);
  standin::SetDSPs({{7, 1}}); // a DSP on a card that is not there
  t.CapabilityQuery(32, &value);
  EXPECT_EQ(value, 5);
}

TEST_F(EffectGroup, PropertiesKeepOnlyTheirBits) {
  CEffectTypeRTAS t(1, 2, 3, true);
  EXPECT_EQ(t.SetProperty(0xFF, 18), 0);
  EXPECT_EQ(t.SetProperty(0xFF, 26), 0);
  EXPECT_EQ(t.SetProperty(42, CEffectType::kPropertyPlugInType), 0);
  EXPECT_EQ(t.SetProperty(1, 19), kErrGeneric);
  EXPECT_EQ(t.CardValue(18), 1);
  EXPECT_EQ(t.CardValue(26), 7);
  EXPECT_EQ(t.PlugInTypeValue(), 42);
}

TEST_F(EffectGroup, FeatureFortyOneBringsItsCompanions) {
  CEffectTypeRTAS realTime(1, 2, 3, true);
  realTime.AddFeatureCode(41);
  EXPECT_TRUE(realTime.HasFeatureCode(41));
  EXPECT_TRUE(realTime.HasFeatureCode(30));
  EXPECT_TRUE(realTime.HasFeatureCode(38));
  CEffectType plain(1, 2, 3, true);
  plain.AddFeatureCode(41);
  EXPECT_EQ(plain.FeatureCodes(), (std::vector<int32_t>{7, 30, 41}));
}

TEST_F(EffectGroup, StereoTypeNamesItsSecondControlStereoMode) {
  group->Initialize();
  SHostString name{};
  EXPECT_EQ(group->GetControlNameForType(2, 0, 2, &name), 0);
  EXPECT_EQ(Text(name), "stereo mode");
  EXPECT_NE(group->GetControlNameForType(1, 0, 2, &name), 0);
  EXPECT_NE(group->GetControlNameForType(2, 0, 3, &name), 0);
  EXPECT_EQ(group->GetControlNameForType(9, 0, 2, &name), kErrNotAnEffectType);
}

TEST_F(EffectGroup, FindsTypesByDescription) {
  group->Initialize();
  int32_t index = 0;
  EXPECT_EQ(group->FindTypeForDescription({FourCC("QnSl"), FourCC("TAVO"), 0}, 2, -1, &index), 0);
  EXPECT_EQ(index, 2);
  EXPECT_EQ(group->FindTypeForDescription({0, 0, FourCC("TAV1")}, -1, 0, &index), 0);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(group->FindTypeForDescription({0, 0, FourCC("TAV3")}, -1, -1, &index),
            kErrNoMatchingType);
  EXPECT_EQ(group->FindTypeForDescription({0, 0, 0}, 6, -1, &index), kErrNoMatchingType);
}

TEST_F(EffectGroup, CreateProcessChecksItsArgumentsFirst) {
  group->Initialize();
  std::unique_ptr<CEffectProcess> p;
  EXPECT_EQ(group->CreateProcess(0, 0, &p), kErrNotAnEffectType);
  EXPECT_EQ(group->CreateProcess(2, 0, nullptr), kErrGeneric);
  EXPECT_FALSE(CTokenService::IsAvailable());
  Stereo()->SetProcessFactory(nullptr);
  EXPECT_EQ(group->CreateProcess(2, 0, &p), kErrGeneric);
  EXPECT_FALSE(CTokenService::IsAvailable());
}

TEST_F(EffectGroup, FirstProcessIsMadeInTheModulesResourceFile) {
  const int16_t file = CModuleState::OpenModuleResourceFile("/plug/TAVO.so.rsr", nullptr);
  ASSERT_GT(file, 0);
  CModuleState::LeaveResourceContext(0);
  group->Initialize();
  std::unique_ptr<CEffectProcess> p;
  ASSERT_EQ(group->CreateProcess(1, 0, &p), 0);
  EXPECT_EQ(standin::CurrentResourceFileForTest(), file);
  CModuleState::CloseModuleResourceFile("/plug/TAVO.so.rsr");
  const auto events = standin::ResourceFileEvents();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_TRUE(events[0].open);
  EXPECT_FALSE(events[1].open);
  EXPECT_EQ(events[1].path, "/plug/TAVO.so.rsr");
  EXPECT_EQ(standin::DigiExtErrorCount(), 0);
}

TEST_F(EffectGroup, FailedFirstProcessRestoresTheResourceFile) {
  CModuleState::OpenModuleResourceFile("/plug/TAVO.so.rsr", nullptr);
  CModuleState::LeaveResourceContext(0);
  group->Initialize();
  standin::SetRegistrationStatus(-6001);
  std::unique_ptr<CEffectProcess> p;
  EXPECT_EQ(group->CreateProcess(1, 0, &p), -6001);
  EXPECT_EQ(standin::CurrentResourceFileForTest(), 0);
  CModuleState::CloseModuleResourceFile("/plug/TAVO.so.rsr");
}

TEST_F(EffectGroup, HostOpenedModuleLeavesResourceFilesAlone) {
  CModuleState::OpenModuleResourceFile("/plug/TAVO.so.rsr", nullptr);
  CModuleState::LeaveResourceContext(0);
  CModuleState::openedThroughWinPlugInOpen = true;
  group->Initialize();
  std::unique_ptr<CEffectProcess> p;
  ASSERT_EQ(group->CreateProcess(1, 0, &p), 0);
  EXPECT_EQ(standin::CurrentResourceFileForTest(), 0);
  CModuleState::CloseModuleResourceFile("/plug/TAVO.so.rsr");
}

TEST_F(EffectGroup, HostClientBracketNestsAndTellsTheManager) {
  group->Initialize();
  EXPECT_EQ(group->EnterHostClient(), 1);
  EXPECT_EQ(group->EnterHostClient(), 2);
  EXPECT_EQ(group->LeaveHostClient(), 1);
  EXPECT_EQ(group->LeaveHostClient(), 0);
  EXPECT_EQ(group->LeaveHostClient(), 0); // never below zero
  const auto activity = standin::ClientActivity();
  ASSERT_EQ(activity.size(), 4u);
  EXPECT_TRUE(activity[0].active);
  EXPECT_FALSE(activity[3].active);
}

TEST_F(EffectGroup, GivingTheHostATurnRunsIdleAndKeepsTheDepth) {
  group->Initialize();
  group->EnterHostClient();
  group->EnterHostClient();
  EXPECT_EQ(group->GiveHostATurn(), 0);
  EXPECT_EQ(group->ClientNesting(), 2);
  EXPECT_EQ(standin::IdleCount(), 1);
  group->LeaveHostClient();
  group->LeaveHostClient();
  group->GiveHostATurn();
  EXPECT_EQ(group->ClientNesting(), 0);
  EXPECT_EQ(standin::IdleCount(), 2);
}

TEST_F(EffectGroup, HostInterfaceVersionIsKeptModuleWide) {
  group->SetHostInterfaceVersion(101);
  EXPECT_EQ(CModuleState::hostInterfaceVersion.load(), 101);
  group->SetHostInterfaceVersion(0);
}

// ---------------------------------------------------------------------------------------------

TEST(StemFormats, ChannelsAndFormatsMapBothWays) {
  for (int32_t channels = 1; channels <= 8; ++channels)
    EXPECT_EQ(StemFormatToChannels(ChannelsToStemFormat(channels)), channels);
  EXPECT_EQ(ChannelsToStemFormat(9), -1);
  EXPECT_EQ(ChannelsToStemFormat(0), -1);
  EXPECT_EQ(StemFormatToChannels(4), 4);
  EXPECT_EQ(StemFormatToChannels(7), 6);
  EXPECT_EQ(StemFormatToChannels(9), 7);
  EXPECT_EQ(StemFormatToChannels(11), 7);
  EXPECT_EQ(StemFormatToChannels(10), 8);
}

TEST(StemFormats, UnknownFormatThrowsTheGenericStatus) {
  for (int32_t stem : {-1, 13, 1000}) {
    try {
      StemFormatToChannels(stem);
      ADD_FAILURE() << stem;
    } catch (const CDAEError& e) {
      EXPECT_EQ(e.Code(), kErrGeneric);
    }
  }
  CEffectTypeRTAS t(1, 2, 3, true);
  EXPECT_THROW(t.SetStemFormats(1, 13, 0), CDAEError);
  EXPECT_EQ(t.InputStemFormat(), -1); // a refused pair changes nothing
  EXPECT_FALSE(t.HasFeatureCode(29));
}

TEST(EffectTypeSlots, StartFreeWithHandlesOfTheirOwn) {
  CEffectTypeRTAS a(1, 2, 3, true), b(1, 2, 3, true);
  std::vector<int32_t> handles;
  for (const CEffectType* t : {static_cast<CEffectType*>(&a), static_cast<CEffectType*>(&b)}) {
    for (const SDSPSlot& slot : t->DSPSlots()) {
      EXPECT_EQ(slot.dsp, nullptr);
      EXPECT_EQ(slot.code, FourCC("----"));
      handles.push_back(slot.handle);
    }
  }
  std::sort(handles.begin(), handles.end());
  EXPECT_EQ(std::adjacent_find(handles.begin(), handles.end()), handles.end());
  EXPECT_EQ(handles.size(), 20u);
}
