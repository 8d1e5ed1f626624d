#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "HostFixture.h"
#include "hostlib/MessageRecord.h"

using namespace hostabi;
using standin::DecodedMessage;

namespace {

constexpr int32_t kSETV = FourCC("SETV");
constexpr int32_t kCURV = FourCC("CURV");
constexpr int32_t kCAVL = FourCC("CAVL");
constexpr int32_t kCTCH = FourCC("CTCH");
constexpr int32_t kGIAC = FourCC("GIAC");

std::vector<int32_t> Kinds() {
  std::vector<int32_t> kinds;
  for (const DecodedMessage& m : standin::DispatchedMessages())
    kinds.push_back(m.kind);
  return kinds;
}

} // namespace

class ProcessCore : public HostFixture {};

TEST_F(ProcessCore, RegistersItsControlsAndItselfWithTheHost) {
  auto p = MakeProcess();
  const auto processes = standin::RegisteredProcesses();
  ASSERT_EQ(processes.size(), 1u);
  EXPECT_EQ(processes[0].processID, p->ProcessID());
  EXPECT_EQ(processes[0].hostControlIDs,
            (std::vector<int32_t>{p->HostControlID(1), p->HostControlID(2)}));
  EXPECT_TRUE(p->HostTablesReady());
  EXPECT_EQ(p->InputCount(), 2);
  EXPECT_EQ(p->OutputCount(), 2);
  EXPECT_EQ(p->SampleRate(), 44100);
  EXPECT_EQ(p->BypassControlIDs(), std::vector<int32_t>{kMasterBypassID});
  EXPECT_EQ(standin::ErrorCount(), 0);
}

TEST_F(ProcessCore, PlugSideChangeIsTouchValueRelease) {
  auto p = MakeProcess();
  EXPECT_EQ(p->SetControlValue(2, 12345), 0);
  const auto m = standin::DispatchedMessages();
  ASSERT_EQ(m.size(), 4u);
  EXPECT_EQ(m[0].kind, kCTCH);
  EXPECT_EQ(m[0].gestureState, 1);
  EXPECT_EQ(m[1].kind, kGIAC);
  EXPECT_EQ(m[1].receiver, p->ProcessID());
  EXPECT_EQ(m[2].messageClass, kSETV);
  EXPECT_EQ(m[2].kind, kCAVL);
  EXPECT_EQ(m[2].value, 12345);
  EXPECT_EQ(m[2].receiver, p->HostControlID(2));
  EXPECT_EQ(m[3].kind, kCTCH);
  EXPECT_EQ(m[3].gestureState, 0);
  EXPECT_EQ(standin::ErrorCount(), 0);
}

TEST_F(ProcessCore, NestedTouchesReachTheHostOnce) {
  auto p = MakeProcess();
  p->TouchControl(2);
  p->TouchControl(2);
  p->ReleaseControl(2);
  EXPECT_EQ(Kinds(), (std::vector<int32_t>{kCTCH, kGIAC}));
  EXPECT_EQ(p->TouchCount(2), 1);
  p->ReleaseControl(2);
  const auto m = standin::DispatchedMessages();
  ASSERT_EQ(m.size(), 3u);
  EXPECT_EQ(m[2].kind, kCTCH);
  EXPECT_EQ(m[2].gestureState, 0);
}

TEST_F(ProcessCore, ReleaseWithoutTouchDoesNotSwallowTheNextTouch) {
  auto p = MakeProcess();
  p->ReleaseControl(2);
  EXPECT_TRUE(standin::DispatchedMessages().empty());
  EXPECT_EQ(p->TouchCount(2), 0);
  p->TouchControl(2);
  EXPECT_EQ(Kinds(), (std::vector<int32_t>{kCTCH, kGIAC}));
}

TEST_F(ProcessCore, HostSideChangeStoresReportsAndEchoes) {
  auto p = MakeProcess();
  const int32_t before = p->StateChangeCounter();
  EXPECT_EQ(p->SetControlValueFromHost(2, -77), 0);
  int32_t value = 0;
  p->GetControlValue(2, &value);
  EXPECT_EQ(value, -77);
  ASSERT_EQ(p->changes.size(), 1u);
  EXPECT_EQ(p->changes[0].index, 2);
  const auto m = standin::DispatchedMessages();
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].messageClass, kCURV);
  EXPECT_EQ(m[0].value, -77);
  EXPECT_EQ(p->StateChangeCounter(), before + 1);
}

TEST_F(ProcessCore, MasterBypassFlagIsSetBeforeTheChangedHook) {
  auto p = MakeProcess();
  p->SetControlValueFromHost(1, kHighest);
  p->SetControlValueFromHost(1, 0);
  ASSERT_EQ(p->changes.size(), 2u);
  EXPECT_TRUE(p->changes[0].bypassedAtHook);
  EXPECT_FALSE(p->changes[1].bypassedAtHook);
  EXPECT_FALSE(p->IsBypassed());
  p->SetControlValueFromHost(2, kHighest); // another control never touches the flag
  EXPECT_FALSE(p->IsBypassed());
}

TEST_F(ProcessCore, WithoutTokenServicePlugSideChangeStaysInside) {
  standin::SetTokenService(false);
  auto p = MakeProcess();
  EXPECT_FALSE(p->HostTablesReady());
  EXPECT_EQ(p->SetControlValue(2, 999), 0);
  int32_t value = 0;
  p->GetControlValue(2, &value);
  EXPECT_EQ(value, 999);
  ASSERT_EQ(p->changes.size(), 1u);
  EXPECT_EQ(p->changes[0].index, 2);
  EXPECT_TRUE(standin::DispatchedMessages().empty());
  EXPECT_EQ(standin::LiveTokenObjectCount(), 0);
}

TEST_F(ProcessCore, DeadEngineMeansNoTokenService) {
  standin::SetEngineAlive(false);
  auto p = MakeProcess();
  EXPECT_FALSE(CTokenService::IsAvailable());
  p->SetControlValue(2, 5);
  EXPECT_TRUE(standin::DispatchedMessages().empty());
}

TEST_F(ProcessCore, InvalidIndicesAreIgnored) {
  auto p = MakeProcess();
  int32_t value = 42;
  p->GetControlValue(0, &value);
  EXPECT_EQ(value, 0);
  value = 42;
  p->GetControlDefaultValue(3, &value);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(p->SetControlValue(3, 1), 0);
  EXPECT_EQ(p->SetControlValue(-1, 1), 0);
  p->TouchControl(7);
  p->ReleaseControl(0);
  EXPECT_TRUE(standin::DispatchedMessages().empty());
  EXPECT_EQ(standin::ErrorCount(), 0);
}

TEST_F(ProcessCore, DefaultComesFromTheControl) {
  auto p = MakeProcess();
  int32_t value = 1;
  p->GetControlDefaultValue(2, &value);
  EXPECT_EQ(value, 0); // 0.0 in −20 … 20
  p->GetControlDefaultValue(1, &value);
  EXPECT_EQ(value, kLowest);
}

TEST_F(ProcessCore, DispatchRefusalIsAnsweredAsItIs) {
  auto p = MakeProcess();
  standin::SetDispatchStatus(-5555);
  EXPECT_EQ(p->SetControlValue(2, 1), -5555);
  EXPECT_EQ(p->SetControlValueFromHost(2, 1), -5555);
}

TEST_F(ProcessCore, ChunkNameOfTheCoreChunkOnly) {
  auto p = MakeProcess();
  SHostString name{};
  EXPECT_EQ(p->GetChunkName(kControlsStateChunkID, &name), 0);
  EXPECT_EQ(std::string(name.text, name.length), "Complete Controls State");
  SHostString untouched{};
  untouched.length = 3;
  std::memcpy(untouched.text, "abc", 3);
  EXPECT_EQ(p->GetChunkName(FourCC("TAVO"), &untouched), 0);
  EXPECT_EQ(std::string(untouched.text, untouched.length), "abc");
}

TEST_F(ProcessCore, CoreChunkRoundTripsEveryControlValue) {
  auto p = MakeProcess();
  int32_t size = 0;
  ASSERT_EQ(p->GetChunkSize(kControlsStateChunkID, &size), 0);
  ASSERT_EQ(size, 56 + 8);
  std::vector<int32_t> storage(static_cast<size_t>(size) / 4);
  auto* chunk = reinterpret_cast<SFicPlugInChunk*>(storage.data());
  p->SetControlValueFromHost(2, 4242);
  ASSERT_EQ(p->GetChunk(kControlsStateChunkID, chunk), 0);
  EXPECT_EQ(chunk->size, size);
  p->SetControlValueFromHost(2, -1);
  uint8_t equal = 1;
  p->CompareChunk(kControlsStateChunkID, chunk, &equal);
  EXPECT_EQ(equal, 0);
  ASSERT_EQ(p->SetChunk(kControlsStateChunkID, chunk), 0);
  int32_t value = 0;
  p->GetControlValue(2, &value);
  EXPECT_EQ(value, 4242);
  p->CompareChunk(kControlsStateChunkID, chunk, &equal);
  EXPECT_EQ(equal, 1);
}

TEST_F(ProcessCore, ChunkWithAForeignIdentifierOrBadSizeIsRefused) {
  auto p = MakeProcess();
  int32_t size = 0;
  EXPECT_EQ(p->GetChunkSize(FourCC("TAVO"), &size), kErrChunk);
  std::vector<int32_t> storage(64);
  auto* chunk = reinterpret_cast<SFicPlugInChunk*>(storage.data());
  chunk->size = 10;
  EXPECT_EQ(p->SetChunk(kControlsStateChunkID, chunk), kErrChunk);
  chunk->size = 256; // more than this process ever writes
  EXPECT_EQ(p->SetChunk(kControlsStateChunkID, chunk), kErrChunk);
  int32_t id = 0;
  EXPECT_EQ(p->GetChunkID(2, &id), kErrChunk);
}

TEST_F(ProcessCore, SettingsPathComesFromTheGroup) {
  auto p = MakeProcess();
  SHostPath path{};
  p->GetSettingsPath(&path);
  EXPECT_STREQ(path.text, "Plug-Ins/Quenstrel/TAVO/1");
  CProcess bare;
  bare.GetSettingsPath(&path);
  EXPECT_STREQ(path.text, "Plug-Ins/Undefined BaseName");
}

TEST_F(ProcessCore, EditorViewIsMadeAndInitialisedUnlessTheHostOpenedTheModule) {
  NextProcess::makeView = true;
  auto p = MakeProcess();
  ASSERT_NE(p->EditorView(), nullptr);
  EXPECT_TRUE(static_cast<TestProcess::View*>(p->EditorView())->initialized);
  CModuleState::openedThroughWinPlugInOpen = true;
  auto q = MakeProcess();
  EXPECT_EQ(q->EditorView(), nullptr);
}

TEST_F(ProcessCore, ThrowingViewFailsTheCreationWithItsCode) {
  group = std::make_unique<TestGroup>();
  group->Initialize();
  NextProcess::makeView = true;
  NextProcess::throwInView = true;
  std::unique_ptr<CEffectProcess> p;
  EXPECT_EQ(group->CreateProcess(2, 0, &p), -1234);
  EXPECT_EQ(p, nullptr);
  EXPECT_EQ(group->ProcessCount(), 0);
  EXPECT_FALSE(CTokenService::IsAvailable());
}

TEST_F(ProcessCore, RefusedRegistrationFailsTheCreation) {
  group = std::make_unique<TestGroup>();
  group->Initialize();
  standin::SetRegistrationStatus(-6001);
  std::unique_ptr<CEffectProcess> p;
  EXPECT_EQ(group->CreateProcess(1, 0, &p), -6001);
  EXPECT_EQ(group->ProcessCount(), 0);
  EXPECT_EQ(standin::LiveTokenObjectCount(), 0);
}

TEST_F(ProcessCore, EditorResizeMessageNamesTheProcess) {
  auto p = MakeProcess();
  EXPECT_EQ(p->SendEditorResized(), 0);
  const auto m = standin::DispatchedMessages();
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].kind, FourCC("WNRS"));
  EXPECT_EQ(m[0].protocol, FourCC("Proc"));
  EXPECT_EQ(m[0].receiver, p->ProcessID());
  EXPECT_EQ(standin::ErrorCount(), 0);
}

TEST_F(ProcessCore, TokenServiceLivesWhileProcessesExist) {
  auto a = MakeProcess(1);
  auto b = MakeProcess(2);
  EXPECT_EQ(standin::LiveTokenObjectCount(), 1);
  EXPECT_EQ(group->ProcessCount(), 2);
  a.reset();
  EXPECT_EQ(standin::LiveTokenObjectCount(), 1);
  b.reset();
  EXPECT_EQ(standin::LiveTokenObjectCount(), 0);
  EXPECT_EQ(standin::LiveServerCount(), 0);
  EXPECT_EQ(standin::ErrorCount(), 0);
  const auto processes = standin::RegisteredProcesses();
  for (const auto& r : processes)
    EXPECT_FALSE(r.live);
}

// ---------------------------------------------------------------------------------------------

class Rendering : public HostFixture {
protected:
  void SetUp() override { HostFixture::SetUp(); }
  std::unique_ptr<TestProcess> Connected() {
    auto p = MakeProcess();
    EXPECT_EQ(p->Connect(), 0);
    return p;
  }
  // Two inputs filled with 1 and 2, two outputs, optional extra input.
  bool Render(TestProcess& p, int32_t frames, bool extra = false) {
    for (auto& b : buffers)
      b.assign(kBufferFrames, 0.0f);
    std::fill(buffers[0].begin(), buffers[0].end(), 1.0f);
    std::fill(buffers[1].begin(), buffers[1].end(), 2.0f);
    pointers.clear();
    pointers.push_back(buffers[0].data());
    pointers.push_back(buffers[1].data());
    if (extra) pointers.push_back(buffers[4].data());
    pointers.push_back(buffers[2].data());
    pointers.push_back(buffers[3].data());
    return standin::RenderBlock(p.HostInstance()->Instance(), pointers, frames, kBufferFrames);
  }
  static constexpr int32_t kBufferFrames = 256;
  std::array<std::vector<float>, 5> buffers;
  std::vector<float*> pointers;
};

TEST_F(Rendering, FixedQuantumAlwaysRendersThirtyTwo) {
  auto p = Connected();
  ASSERT_TRUE(Render(*p, 100));
  EXPECT_EQ(p->lastFrames, 32);
  EXPECT_EQ(buffers[2][31], 2.0f);
  EXPECT_EQ(buffers[3][31], 4.0f);
  EXPECT_EQ(buffers[2][32], 0.0f);
  EXPECT_TRUE(p->HasRendered());
}

TEST_F(Rendering, VariableQuantumUsesTheHostsCount) {
  standin::SetVariableQuantum(true);
  auto p = Connected();
  ASSERT_TRUE(Render(*p, 100));
  EXPECT_EQ(p->lastFrames, 100);
  EXPECT_EQ(buffers[3][99], 4.0f);
}

TEST_F(Rendering, ExtraInputShiftsTheOutputs) {
  auto p = Connected();
  standin::SetExtraInputConnected(p->HostInstance()->Instance(), true);
  ASSERT_TRUE(Render(*p, 32, true));
  EXPECT_EQ(buffers[2][0], 2.0f);
  EXPECT_EQ(buffers[3][0], 4.0f);
  EXPECT_EQ(buffers[4][0], 0.0f);
}

TEST_F(Rendering, ThrowingRenderLeavesSilence) {
  auto p = Connected();
  p->throwInRender = true;
  ASSERT_TRUE(Render(*p, 32));
  EXPECT_TRUE(standin::IsSilenceBuffer(pointers[2]));
  EXPECT_TRUE(standin::IsSilenceBuffer(pointers[3]));
  EXPECT_FALSE(p->HasRendered());
}

TEST_F(Rendering, NoBlockAfterTheProcessIsGone) {
  auto p = Connected();
  auto* instance = p->HostInstance()->Instance();
  p.reset();
  EXPECT_TRUE(standin::RenderInstances().empty());
  std::vector<float*> none(4, nullptr);
  EXPECT_FALSE(standin::RenderBlock(instance, none, 32, 32));
}

TEST_F(Rendering, RefusedInstanceIsAnsweredWithTheEnginesStatus) {
  auto p = MakeProcess();
  CHostEngine::Get().Resolve([](const SEngineSymbol& s) -> void* {
    return std::strcmp(s.posixName, exports::kNewRenderInstance.posixName) == 0
               ? nullptr
               : LookUpEngineSymbol(s);
  });
  EXPECT_EQ(p->Connect(), kErrGeneric);
  EXPECT_EQ(p->HostInstance(), nullptr);
  CHostEngine::Get().Resolve();
}

// ---------------------------------------------------------------------------------------------

TEST(MessageRecords, ControlValueLayout) {
  const SMessageRecord r = MakeControlValueMessage(FourCC("SETV"), 0x01020304, -2);
  const uint8_t* b = r.bytes.data();
  EXPECT_EQ(message::ReadInt32(b, 0), 0x01020304);
  EXPECT_EQ(message::ReadInt32(b, 4), FourCC("SETV"));
  EXPECT_EQ(message::ReadInt32(b, 8), FourCC("CAVL"));
  EXPECT_EQ(message::ReadInt32(b, 12), FourCC("DGDN"));
  EXPECT_EQ(message::ReadInt32(b, 16), FourCC("Ctrl"));
  EXPECT_EQ(message::ReadInt32(b, 20), 0x01020304);
  for (int i = 24; i < 36; ++i)
    EXPECT_EQ(b[i], 0) << i;
  EXPECT_EQ(message::ReadInt16(b, 36), 42);
  EXPECT_EQ(message::ReadInt32(b, 38), -2);
  // 'DGDN' is stored as a native 32-bit integer: its first character is the high byte.
  EXPECT_EQ(b[15], 'D');
  EXPECT_EQ(b[14], 'G');
}

TEST(MessageRecords, CurrentValueDiffersOnlyInClass) {
  const SMessageRecord a = MakeControlValueMessage(FourCC("SETV"), 7, 9);
  SMessageRecord b = MakeControlValueMessage(FourCC("CURV"), 7, 9);
  EXPECT_EQ(message::ReadInt32(b.bytes.data(), 4), FourCC("CURV"));
  message::WriteInt32(b.bytes.data(), 4, FourCC("SETV"));
  EXPECT_EQ(a.bytes, b.bytes);
}

TEST(MessageRecords, GestureLayout) {
  const SMessageRecord touch = MakeGestureMessage(55, true);
  const SMessageRecord release = MakeGestureMessage(55, false);
  EXPECT_EQ(touch.Length(), 44);
  EXPECT_EQ(message::ReadInt32(touch.bytes.data(), 8), FourCC("CTCH"));
  EXPECT_EQ(message::ReadInt16(touch.bytes.data(), 38), 1);
  EXPECT_EQ(message::ReadInt16(release.bytes.data(), 38), 0);
  EXPECT_EQ(message::ReadInt32(touch.bytes.data(), 40), 1);
  EXPECT_EQ(message::ReadInt32(release.bytes.data(), 40), 1);
}

TEST(MessageRecords, ProcessMessagesCarryNoPayload) {
  const SMessageRecord first = MakeProcessMessage(FourCC("GIAC"), 99);
  const SMessageRecord resized = MakeProcessMessage(FourCC("WNRS"), 99);
  EXPECT_EQ(first.Length(), 38);
  EXPECT_EQ(resized.Length(), 38);
  EXPECT_EQ(message::ReadInt32(first.bytes.data(), 16), FourCC("Ctrl"));
  EXPECT_EQ(message::ReadInt32(resized.bytes.data(), 16), FourCC("Proc"));
  EXPECT_EQ(message::ReadInt32(resized.bytes.data(), 0), 99);
  EXPECT_EQ(message::ReadInt32(resized.bytes.data(), 20), 99);
  for (size_t i = 38; i < first.bytes.size(); ++i)
    EXPECT_EQ(first.bytes[i], 0);
}

TEST_F(Rendering, TransportComesFromTheEngine) {
  auto p = Connected();
  standin::SetTransport({48000, 1000, 98.5, 7, 8, 1});
  STransportState state{};
  ASSERT_TRUE(p->HostInstance()->Transport(state));
  EXPECT_EQ(state.sampleLocation, 48000);
  EXPECT_EQ(state.stoppedLocation, 1000);
  EXPECT_DOUBLE_EQ(state.tempo, 98.5);
  EXPECT_EQ(state.numerator, 7);
  EXPECT_EQ(state.denominator, 8);
  EXPECT_EQ(state.running, 1);
}

TEST_F(ProcessCore, InitialisesControlsThenViewThenRegistration) {
  auto p = MakeProcess();
  EXPECT_EQ(p->controlsAtView, 2);  // the effect hook ran first
  EXPECT_EQ(p->processIDAtView, 0); // registration comes last
  EXPECT_NE(p->ProcessID(), 0);
  EXPECT_TRUE(p->IsInitialized());
}

TEST_F(ProcessCore, SecondModuleFlagAlsoSkipsTheView) {
  CModuleState::skipEditorViews = true;
  auto p = MakeProcess();
  EXPECT_EQ(p->controlsAtView, -1);
}

TEST_F(ProcessCore, CoreAnswersForOperationsTheAdaptorReplaces) {
  auto p = MakeProcess();
  uint8_t automatable = 0;
  p->IsControlAutomatable(2, &automatable);
  EXPECT_EQ(automatable, 1);
  p->IsControlAutomatable(9, &automatable);
  EXPECT_EQ(automatable, 0);
  int32_t answer = 7;
  EXPECT_EQ(p->QueryFourArguments(1, 2, 3, &answer), 0);
  EXPECT_EQ(answer, 0);
  answer = 7;
  p->GetDelaySamples(&answer);
  EXPECT_EQ(answer, 0);
  answer = 7;
  p->GetControlUnderMouse(10, 10, &answer);
  EXPECT_EQ(answer, 0);
  int32_t chunks = 0;
  p->GetNumChunks(&chunks);
  EXPECT_EQ(chunks, 1);
  int32_t id = 0;
  EXPECT_EQ(p->GetChunkID(1, &id), 0);
  EXPECT_EQ(id, kControlsStateChunkID);
  int window = 0;
  p->SetEditorWindow(&window);
  EXPECT_EQ(p->EditorWindow(), &window);
}

TEST_F(Rendering, LocationsConvertToTicksAtTheTransportTempo) {
  auto p = Connected();
  standin::SetTransport({0, 0, 120.0, 4, 4, 0});
  int64_t ticks = -1;
  ASSERT_TRUE(p->HostInstance()->LocationToTicks(44100, ticks)); // one second = two quarters
  EXPECT_EQ(ticks, 2 * kTicksPerQuarter);
  standin::SetTransport({0, 0, 0.0, 4, 4, 0});
  ticks = -1;
  EXPECT_FALSE(p->HostInstance()->LocationToTicks(44100, ticks));
  EXPECT_EQ(ticks, -1);
}

// An adaptor shares one effect process between its common part and the real-time form.
namespace {
class SharedPart : public virtual CEffectProcess {
public:
  void InitializeEffect() override {
    AddControl(std::make_unique<CPluginControl_OnOff>(kMasterBypassID, "Byp", 0, true));
    SetMasterBypassIndex(1);
  }
  void ControlValueChanged(int32_t index) override { lastChanged = index; }
  int32_t lastChanged = 0;
};
class RealTimeForm : public SharedPart, public CEffectProcessRTAS {
public:
  void RenderAudio(float**, float**, int32_t) override {}
};
} // namespace

TEST_F(ProcessCore, AdaptorCanShareTheEffectProcessWithTheRealTimeForm) {
  RealTimeForm p;
  p.Initialize();
  EXPECT_TRUE(p.IsInitialized());
  EXPECT_EQ(p.ControlCount(), 1);
  p.SetControlValueFromHost(1, kHighest);
  EXPECT_TRUE(p.IsBypassed());
  EXPECT_EQ(p.lastChanged, 1);
  CEffectProcess* shared = &p;
  EXPECT_EQ(static_cast<CEffectProcess*>(static_cast<SharedPart*>(&p)), shared);
}
