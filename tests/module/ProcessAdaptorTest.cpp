#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "AdaptorFixture.h"
#include "framework/IParameter.h"
#include "hostlib/CPluginControl_Continuous.h"
#include "hostlib/CPluginControl_Discrete.h"
#include "rtas/ControlValueMapping.h"

using namespace hostabi;

namespace tavo {
namespace {

constexpr int32_t kLowest = -2147483647 - 1;
constexpr int32_t kHighest = 2147483647;

// A chunk buffer as the host keeps one: header and state bytes in one block.
struct HostChunk {
  std::vector<uint8_t> bytes;
  SFicPlugInChunk* Header() { return reinterpret_cast<SFicPlugInChunk*>(bytes.data()); }
};

HostChunk SaveChunk(IPlugProcess& p) {
  int32_t size = 0;
  EXPECT_EQ(p.GetChunkSize(FourCC("TAVO"), &size), 0);
  HostChunk chunk{std::vector<uint8_t>(static_cast<size_t>(size) + 8, 0)};
  EXPECT_EQ(p.GetChunk(FourCC("TAVO"), chunk.Header()), 0);
  return chunk;
}

class ProcessAdaptor : public AdaptorFixture {};

TEST_F(ProcessAdaptor, TheEffectStandsOnTheAdaptorsBaseWithTheDescriptorsIdentity) {
  MakeProcess();
  IPlugBase* plug = process->Plug();
  ASSERT_NE(dynamic_cast<TAVORTAS*>(plug), nullptr);
  EXPECT_NE(dynamic_cast<IPlugRTAS*>(plug), nullptr);
  EXPECT_EQ(plug->ApiKind(), kApiRTAS);
  EXPECT_EQ(plug->HostKind(), 2); // under this interface the host is always the same family
  EXPECT_EQ(plug->UniqueID(), kTAVODescriptor.uniqueID);
  EXPECT_EQ(plug->Latency(), 6);
  EXPECT_EQ(group->TypeCount(), 2); // one per layout of "1-1 2-2"
}

TEST_F(ProcessAdaptor, MakesTheMasterBypassAndOneControlPerParameter) {
  IPlugProcessRTAS& p = MakeProcess();
  ASSERT_EQ(p.ControlCount(), 9);
  EXPECT_EQ(p.MasterBypassIndex(), 1);
  EXPECT_EQ(p.Control(1)->GetControlID(), FourCC("bypa"));
  for (int32_t k = 2; k <= 9; ++k)
    EXPECT_EQ(p.Control(k)->GetControlID(), 0x206C6420 + (k - 2)) << k;
  // Double parameters become linear controls, the enum and bool become lists.
  EXPECT_NE(dynamic_cast<CPluginControl_Linear*>(p.Control(2 + TAVORTAS::kDrive)), nullptr);
  auto* vuMode = dynamic_cast<CPluginControl_List*>(p.Control(2 + TAVORTAS::kVUMode));
  ASSERT_NE(vuMode, nullptr);
  EXPECT_EQ(vuMode->Items().size(), 3u);
  EXPECT_NE(dynamic_cast<CPluginControl_List*>(p.Control(2 + TAVORTAS::kBypass)), nullptr);
}

TEST_F(ProcessAdaptor, InitialisationConnectsTheTypesChannelsAndSampleRate) {
  standin::SetGestalt(kGestaltSampleRate, 0, 48000);
  IPlugProcessRTAS& mono = MakeProcess(1);
  EXPECT_TRUE(mono.Plug()->InputConnected(0));
  EXPECT_FALSE(mono.Plug()->InputConnected(1));
  EXPECT_FALSE(mono.Plug()->OutputConnected(1));
  EXPECT_EQ(mono.Plug()->SampleRate(), 48000.0);
}

TEST_F(ProcessAdaptor, FixedQuantumHostGetsBlocksOf32) {
  standin::SetVariableQuantum(false);
  EXPECT_EQ(MaximumBlockSizeFromHost(), 32);
  EXPECT_EQ(MakeProcess().Plug()->BlockSize(), 32);
}

TEST_F(ProcessAdaptor, VariableQuantumHostGetsItsLargestQuantum) {
  standin::SetVariableQuantum(true);
  standin::SetMaximumQuantum(512);
  EXPECT_EQ(MaximumBlockSizeFromHost(), 512);
  standin::SetMaximumQuantum(-1);
  EXPECT_EQ(MaximumBlockSizeFromHost(), 32);
  standin::SetMaximumQuantum(0);
  EXPECT_EQ(MaximumBlockSizeFromHost(), 32);
}

TEST_F(ProcessAdaptor, HostVersionIsEncodedForTheHostIdentification) {
  standin::SetEngineVersion(0x0801);
  EXPECT_EQ(HostVersionFromEngine(), 0x50010);
  EXPECT_EQ(MakeProcess().PlugSide().GetHostVersion(), 0x50010);
}

TEST_F(ProcessAdaptor, OnlyChunkOneExists) {
  IPlugProcessRTAS& p = MakeProcess();
  int32_t count = 0, id = 0;
  EXPECT_EQ(p.GetNumChunks(&count), 0);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(p.GetChunkID(1, &id), 0);
  EXPECT_EQ(id, FourCC("TAVO"));
  EXPECT_EQ(p.GetChunkID(2, &id), -7157);
  int32_t size = 0;
  EXPECT_EQ(p.GetChunkSize(FourCC("elck"), &size), -7157);
  EXPECT_EQ(p.GetChunkSize(FourCC("TAVO"), &size), 0);
  EXPECT_EQ(size, 56 + 8 * 8); // one double per parameter after the header
}

TEST_F(ProcessAdaptor, RestoringAChunkBringsBackEveryParameterAndTellsTheHost) {
  IPlugProcessRTAS& p = MakeProcess();
  Effect().GetParam(TAVORTAS::kDrive)->SetValueClamped(7.25);
  Effect().GetParam(TAVORTAS::kVUMode)->SetValueClamped(2);
  HostChunk saved = SaveChunk(p);
  EXPECT_EQ(saved.Header()->size, 120);

  Effect().GetParam(TAVORTAS::kDrive)->SetValueClamped(1.0);
  Effect().GetParam(TAVORTAS::kVUMode)->SetValueClamped(0);
  const int32_t changesBefore = p.StateChangeCounter();
  standin::ClearDispatchedMessages();
  EXPECT_EQ(p.SetChunk(FourCC("TAVO"), saved.Header()), 0);

  EXPECT_DOUBLE_EQ(Effect().GetParam(TAVORTAS::kDrive)->Value(), 7.25);
  EXPECT_DOUBLE_EQ(Effect().GetParam(TAVORTAS::kVUMode)->Value(), 2.0);
  // Every control holds the restored value and the host heard of each one.
  for (int i = 0; i < TAVORTAS::kNumParams; ++i)
    EXPECT_EQ(p.Control(i + 2)->GetControlValue(), ControlValueOfParam(*Effect().GetParam(i))) << i;
  int values = 0;
  for (const auto& m : standin::DispatchedMessages())
    values += m.kind == FourCC("CAVL");
  EXPECT_EQ(values, TAVORTAS::kNumParams);
  EXPECT_GT(p.StateChangeCounter(), changesBefore);

  uint8_t equal = 0;
  EXPECT_EQ(p.CompareChunk(FourCC("TAVO"), saved.Header(), &equal), 0);
  EXPECT_EQ(equal, 1);
  Effect().GetParam(TAVORTAS::kDrive)->SetValueClamped(3.0);
  EXPECT_EQ(p.CompareChunk(FourCC("TAVO"), saved.Header(), &equal), 0);
  EXPECT_EQ(equal, 0);
}

TEST_F(ProcessAdaptor, ChunksThatLieAboutTheirSizeAreRefused) {
  IPlugProcessRTAS& p = MakeProcess();
  HostChunk saved = SaveChunk(p);
  saved.Header()->size = 40; // shorter than its own header
  EXPECT_EQ(p.SetChunk(FourCC("TAVO"), saved.Header()), -7157);
  saved.Header()->size = 1 << 30; // far beyond any state this plug-in writes
  EXPECT_EQ(p.SetChunk(FourCC("TAVO"), saved.Header()), -7157);
  EXPECT_EQ(p.SetChunk(FourCC("elck"), saved.Header()), -7157);
  EXPECT_EQ(p.SetChunk(FourCC("TAVO"), nullptr), -7157);
  uint8_t equal = 1;
  saved.Header()->size = 60; // too short to compare: not equal, nothing read past it
  EXPECT_EQ(p.CompareChunk(FourCC("TAVO"), saved.Header(), &equal), 0);
  EXPECT_EQ(equal, 0);
}

TEST_F(ProcessAdaptor, ALongerChunkRestoresTheStateThisVersionKnows) {
  IPlugProcessRTAS& p = MakeProcess();
  Effect().GetParam(TAVORTAS::kDrive)->SetValueClamped(7.25);
  HostChunk saved = SaveChunk(p);
  // Saved by a version with two more parameters: their values follow ours.
  saved.bytes.resize(saved.bytes.size() + 16, 0x11);
  saved.Header()->size += 16;
  Effect().GetParam(TAVORTAS::kDrive)->SetValueClamped(1.0);
  EXPECT_EQ(p.SetChunk(FourCC("TAVO"), saved.Header()), 0);
  EXPECT_DOUBLE_EQ(Effect().GetParam(TAVORTAS::kDrive)->Value(), 7.25);
  uint8_t equal = 0;
  EXPECT_EQ(p.CompareChunk(FourCC("TAVO"), saved.Header(), &equal), 0);
  EXPECT_EQ(equal, 1);
}

TEST_F(ProcessAdaptor, SizesBelowTheHeaderAreRefusedWithoutWrapping) {
  IPlugProcessRTAS& p = MakeProcess();
  HostChunk saved = SaveChunk(p);
  Effect().GetParam(TAVORTAS::kDrive)->SetValueClamped(3.0);
  uint8_t equal = 7;
  for (const int32_t size : {kLowest, kLowest + 55, -1, 55}) {
    saved.Header()->size = size;
    EXPECT_EQ(p.SetChunk(FourCC("TAVO"), saved.Header()), -7157) << size;
    EXPECT_EQ(p.CompareChunk(FourCC("TAVO"), saved.Header(), &equal), -7157) << size;
  }
  EXPECT_EQ(equal, 7);
  EXPECT_DOUBLE_EQ(Effect().GetParam(TAVORTAS::kDrive)->Value(), 3.0);
}

TEST_F(ProcessAdaptor, HostMovingAControlSetsThePlainParameter) {
  IPlugProcessRTAS& p = MakeProcess();
  // Drive spans 0 … 10: the top of the control range is 10.
  p.SetControlValueFromHost(2 + TAVORTAS::kDrive, kHighest);
  EXPECT_DOUBLE_EQ(Effect().GetParam(TAVORTAS::kDrive)->Value(), 10.0);
  p.SetControlValueFromHost(2 + TAVORTAS::kVUMode, kHighest);
  EXPECT_DOUBLE_EQ(Effect().GetParam(TAVORTAS::kVUMode)->Value(), 2.0);
  p.SetControlValueFromHost(2 + TAVORTAS::kInputTrim, kLowest);
  EXPECT_DOUBLE_EQ(Effect().GetParam(TAVORTAS::kInputTrim)->Value(), -20.0);
}

TEST_F(ProcessAdaptor, MasterBypassDoesNotReachTheParameters) {
  IPlugProcessRTAS& p = MakeProcess();
  std::vector<double> before;
  for (int i = 0; i < TAVORTAS::kNumParams; ++i)
    before.push_back(Effect().GetParam(i)->Value());
  p.SetControlValueFromHost(1, kHighest);
  EXPECT_TRUE(p.IsBypassed());
  for (int i = 0; i < TAVORTAS::kNumParams; ++i)
    EXPECT_EQ(Effect().GetParam(i)->Value(), before[static_cast<size_t>(i)]) << i;
}

TEST_F(ProcessAdaptor, EditorChangesReachTheHostAsTouchValueRelease) {
  IPlugProcessRTAS& p = MakeProcess();
  standin::ClearDispatchedMessages();
  Effect().SetParameterFromGUI(TAVORTAS::kDrive, 0.5);
  std::vector<int32_t> kinds;
  for (const auto& m : standin::DispatchedMessages())
    kinds.push_back(m.kind);
  ASSERT_GE(kinds.size(), 3u);
  EXPECT_EQ(kinds.front(), FourCC("CTCH"));
  EXPECT_EQ(kinds.back(), FourCC("CTCH"));
  EXPECT_EQ(p.Control(2 + TAVORTAS::kDrive)->GetControlValue(),
            ControlValueOfParam(*Effect().GetParam(TAVORTAS::kDrive)));
}

TEST_F(ProcessAdaptor, AnswersAutomationDelayAndTheControlUnderTheMouse) {
  IPlugProcessRTAS& p = MakeProcess();
  uint8_t automatable = 0;
  EXPECT_EQ(p.IsControlAutomatable(1, &automatable), 0);
  EXPECT_EQ(automatable, 1);
  EXPECT_EQ(p.IsControlAutomatable(2 + TAVORTAS::kDrive, &automatable), 0);
  EXPECT_EQ(automatable, 1);
  int32_t delay = 0;
  EXPECT_EQ(p.GetDelaySamples(&delay), 0);
  EXPECT_EQ(delay, 6);
  int32_t index = -1;
  EXPECT_EQ(p.GetControlUnderMouse(0, 0, &index), 0);
  EXPECT_EQ(index, 0); // nobody asked to automate anything
  int32_t answer = 17;
  EXPECT_EQ(p.QueryFourArguments(1, 2, 3, &answer), 0);
}

TEST_F(ProcessAdaptor, ExtraInputFollowsTheHostsNotifications) {
  IPlugProcessRTAS& p = MakeProcess(1);
  p.ExtraInputConnected();
  EXPECT_TRUE(p.ExtraInputFlag());
  EXPECT_EQ(p.Plug()->ExtraInputConnected(), 1);
  p.ExtraInputDisconnected();
  EXPECT_FALSE(p.ExtraInputFlag());
  EXPECT_EQ(p.Plug()->ExtraInputConnected(), 0);
}

TEST_F(ProcessAdaptor, RendersABlockThroughTheEngine) {
  IPlugProcessRTAS& p = MakeProcess();
  ASSERT_EQ(p.Connect(), 0);
  auto instances = standin::RenderInstances();
  ASSERT_EQ(instances.size(), 1u);
  std::vector<std::vector<float>> buffers(4, std::vector<float>(32, 0.0f));
  for (int i = 0; i < 32; ++i)
    buffers[0][static_cast<size_t>(i)] = buffers[1][static_cast<size_t>(i)] =
        0.5f * std::sin(0.3f * static_cast<float>(i));
  std::vector<float*> pointers;
  for (auto& b : buffers)
    pointers.push_back(b.data());
  // The start-up ramp holds the first blocks quiet; a few blocks in, sound comes through.
  for (int block = 0; block < 200; ++block)
    ASSERT_TRUE(standin::RenderBlock(instances[0], pointers, 32, 32));
  double energy = 0.0;
  for (float s : buffers[2])
    energy += static_cast<double>(s) * s;
  EXPECT_GT(energy, 0.0);
  EXPECT_TRUE(p.HasRendered());
}

TEST_F(ProcessAdaptor, TransportComesFromTheHostInstance) {
  IPlugProcessRTAS& p = MakeProcess();
  EXPECT_EQ(p.PlugSide().GetTempo(), 0.0); // not connected yet
  ITimeInfo untouched;
  untouched.tempo = 55.0;
  p.PlugSide().GetTimeInfo(&untouched);
  EXPECT_EQ(untouched.tempo, 55.0);

  ASSERT_EQ(p.Connect(), 0);
  STransportState state{};
  state.sampleLocation = 96000;
  state.stoppedLocation = 48000;
  state.tempo = 120.0;
  state.numerator = 3;
  state.denominator = 4;
  state.running = 0;
  standin::SetTransport(state);
  ITimeInfo info;
  p.PlugSide().GetTimeInfo(&info);
  EXPECT_EQ(info.tempo, 120.0);
  EXPECT_EQ(info.samplePos, 96000.0);
  EXPECT_EQ(info.numerator, 3);
  EXPECT_EQ(info.denominator, 4);
  EXPECT_FALSE(info.transportRunning);
  EXPECT_GT(info.ppqPos, 0.0); // from the stopped location while the transport stands
  EXPECT_EQ(p.PlugSide().GetSamplePosition(), 96000);
}

} // namespace
} // namespace tavo
