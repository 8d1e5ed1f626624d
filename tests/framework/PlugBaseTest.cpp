#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "framework/Trace.h"
#include "tests/support/TestPlug.h"

namespace tavo {
namespace {

using test::TestPlug;

TEST(PlugBaseIO, LegalIOMatchesConfigurationsWithWildcards) {
  TestPlug plug;
  EXPECT_EQ(plug.NIOConfigs(), 2);
  EXPECT_EQ(plug.NInChannels(), 2);
  EXPECT_EQ(plug.NOutChannels(), 2);
  EXPECT_TRUE(plug.LegalIO(1, 1));
  EXPECT_TRUE(plug.LegalIO(2, 2));
  EXPECT_TRUE(plug.LegalIO(-1, 2));
  EXPECT_TRUE(plug.LegalIO(-1, -1));
  EXPECT_FALSE(plug.LegalIO(1, 2));
}

TEST(PlugBaseIO, TwoBlanksBetweenEntriesYieldTheFollowingEntryTwice) {
  TestPlug plug(1, "1-1  2-2");
  ASSERT_EQ(plug.NIOConfigs(), 3);
  EXPECT_EQ(plug.GetIOConfig(1)->nIn, 2);
  EXPECT_EQ(plug.GetIOConfig(2)->nIn, 2);
}

TEST(PlugBaseIO, UnreadableEntriesCountAsZeros) {
  TestPlug plug(1, "x 3-");
  ASSERT_EQ(plug.NIOConfigs(), 2);
  EXPECT_EQ(plug.GetIOConfig(0)->nIn, 0);
  EXPECT_EQ(plug.GetIOConfig(0)->nOut, 0);
  EXPECT_EQ(plug.GetIOConfig(1)->nIn, 3);
  EXPECT_EQ(plug.GetIOConfig(1)->nOut, 0);
}

TEST(PlugBaseIO, ChannelQueriesIgnoreIndicesBeyondTheChannels) {
  TestPlug plug;
  plug.ConnectInputs(0, 10, true);
  EXPECT_TRUE(plug.InputConnected(1));
  EXPECT_FALSE(plug.InputConnected(2));
  EXPECT_FALSE(plug.InputConnected(-1));
  plug.SetInputLabel(5, "x");
  plug.SetOutputLabel(0, "Left");
  EXPECT_STREQ(plug.OutputLabel(0), "Left");
  EXPECT_STREQ(plug.InputLabel(5), "");
}

// Runs one block of float audio through the base's Bind/Run sequence.
class PlugBaseProcessing : public ::testing::Test {
protected:
  void Run(TestPlug& plug, std::vector<std::vector<float>>& in,
           std::vector<std::vector<float>>& out, bool bypass = false) {
    std::vector<float*> inPtrs, outPtrs;
    for (auto& ch : in)
      inPtrs.push_back(ch.data());
    for (auto& ch : out)
      outPtrs.push_back(ch.data());
    const int frames = static_cast<int>(in.empty() ? out[0].size() : in[0].size());
    plug.BindInputsFloat(0, plug.NInChannels(), inPtrs.data(), frames);
    plug.BindOutputsFloat(0, plug.NOutChannels(), outPtrs.data());
    if (bypass)
      plug.RunBypass(frames);
    else
      plug.RunProcess(frames);
  }
};

TEST_F(PlugBaseProcessing, PassThroughCopiesInputsAndZeroesTheRest) {
  TestPlug plug(1, "1-2");
  plug.ConfigureBlockSize(8);
  plug.ConnectInputs(0, 1, true);
  plug.ConnectOutputs(0, 2, true);
  std::vector<std::vector<float>> in{{1, 2, 3, 4, 5, 6, 7, 8}};
  std::vector<std::vector<float>> out(2, std::vector<float>(8, 9.0f));
  Run(plug, in, out);
  EXPECT_EQ(out[0], in[0]);
  EXPECT_EQ(out[1], std::vector<float>(8, 0.0f));
}

TEST_F(PlugBaseProcessing, DisconnectedInputReadsZeroedScratch) {
  TestPlug plug;
  plug.ConfigureBlockSize(4);
  plug.ConnectInputs(0, 1, true);
  plug.ConnectInputs(1, 1, false);
  plug.ConnectOutputs(0, 2, true);
  std::vector<std::vector<float>> in{{1, 1, 1, 1}};
  std::vector<std::vector<float>> out(2, std::vector<float>(4, 9.0f));
  std::vector<float*> inPtrs{in[0].data()};
  std::vector<float*> outPtrs{out[0].data(), out[1].data()};
  plug.BindInputsFloat(0, 2, inPtrs.data(), 4); // one pointer: only connected channels take one
  plug.BindOutputsFloat(0, 2, outPtrs.data());
  plug.RunProcess(4);
  EXPECT_EQ(out[0], in[0]);
  EXPECT_EQ(out[1], std::vector<float>(4, 0.0f));
}

TEST_F(PlugBaseProcessing, SameBlockSizeKeepsScratchContents) {
  TestPlug plug(1, "1-1");
  plug.ConfigureBlockSize(4);
  plug.ConnectInputs(0, 1, true);
  plug.ConnectOutputs(0, 1, true);
  std::vector<std::vector<float>> in{{1, 2, 3, 4}};
  std::vector<std::vector<float>> out(1, std::vector<float>(4));
  Run(plug, in, out);
  plug.ConfigureBlockSize(4);
  plug.ConnectInputs(0, 1, false); // the input now reads its scratch, still holding the block
  std::vector<std::vector<float>> none;
  std::vector<float*> outPtrs{out[0].data()};
  plug.BindOutputsFloat(0, 1, outPtrs.data());
  plug.RunProcess(4);
  EXPECT_EQ(out[0], (std::vector<float>{1, 2, 3, 4}));
  plug.ClearScratch();
  plug.RunProcess(4);
  EXPECT_EQ(out[0], std::vector<float>(4, 0.0f));
}

TEST_F(PlugBaseProcessing, LatencyDelaysABypassedImpulseAcrossBlocks) {
  TestPlug plug(1, "1-1", 1, 6);
  plug.MakeLatencyDelay();
  plug.ConfigureBlockSize(4);
  plug.ConnectInputs(0, 1, true);
  plug.ConnectOutputs(0, 1, true);
  std::vector<float> result;
  for (int block = 0; block < 3; ++block) {
    std::vector<std::vector<float>> in{{block == 0 ? 1.0f : 0.0f, 0, 0, 0}};
    std::vector<std::vector<float>> out(1, std::vector<float>(4, 9.0f));
    Run(plug, in, out, true);
    result.insert(result.end(), out[0].begin(), out[0].end());
  }
  std::vector<float> expected(12, 0.0f);
  expected[6] = 1.0f;
  EXPECT_EQ(result, expected);
}

TEST_F(PlugBaseProcessing, ClearHistoryForgetsTheBypassDelayAndResets) {
  // A plug-in with no history of its own: starting over is its Reset and an empty delay line.
  struct CountingPlug : TestPlug {
    CountingPlug() : TestPlug(1, "1-1", 1, 6) {}
    void Reset() override { ++resets; }
    int resets = 0;
  } plug;
  plug.MakeLatencyDelay();
  plug.ConfigureBlockSize(4);
  plug.ConnectInputs(0, 1, true);
  plug.ConnectOutputs(0, 1, true);
  std::vector<std::vector<float>> impulse{{1.0f, 0, 0, 0}}, silence{{0, 0, 0, 0}};
  std::vector<std::vector<float>> out(1, std::vector<float>(4));
  Run(plug, impulse, out, true);
  plug.ClearHistory();
  EXPECT_EQ(plug.resets, 1);
  std::vector<float> after;
  for (int block = 0; block < 2; ++block) {
    Run(plug, silence, out, true);
    after.insert(after.end(), out[0].begin(), out[0].end());
  }
  EXPECT_EQ(after, std::vector<float>(8, 0.0f)); // the impulse was due at frame 6
}

TEST_F(PlugBaseProcessing, BlocksLongerThanTheScratchAreProcessedInPieces) {
  TestPlug plug(1, "2-2");
  plug.ConfigureBlockSize(16);
  plug.ConnectInputs(0, 2, true);
  plug.ConnectOutputs(0, 2, true);
  const int frames = 100; // more than six pieces, with a short last one
  std::vector<std::vector<float>> in(2, std::vector<float>(frames));
  for (int i = 0; i < frames; ++i) {
    in[0][i] = static_cast<float>(i);
    in[1][i] = static_cast<float>(-i);
  }
  std::vector<std::vector<float>> out(2, std::vector<float>(frames, 9.0f));
  Run(plug, in, out);
  EXPECT_EQ(out, in);
  // And the same through the bypass path.
  std::vector<std::vector<float>> bypassed(2, std::vector<float>(frames, 9.0f));
  Run(plug, in, bypassed, true);
  EXPECT_EQ(bypassed, in);
}

TEST_F(PlugBaseProcessing, DoubleBindingPointsStraightAtHostBuffers) {
  TestPlug plug(1, "1-1");
  plug.ConfigureBlockSize(4);
  plug.ConnectInputs(0, 1, true);
  plug.ConnectOutputs(0, 1, true);
  std::array<double, 10> in{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  std::array<double, 10> out{};
  double* inPtr = in.data();
  double* outPtr = out.data();
  plug.BindInputsDouble(0, 1, &inPtr);
  plug.BindOutputsDouble(0, 1, &outPtr);
  plug.RunProcess(10);
  EXPECT_EQ(out, in);
}

TEST_F(PlugBaseProcessing, ABlockRefusedBeforeAnyBlockSizeLeavesSilenceNotOldSamples) {
  TestPlug plug(1, "2-2");
  plug.ConnectInputs(0, 2, true);
  plug.ConnectOutputs(0, 2, true);
  std::vector<std::vector<float>> in(2, std::vector<float>(8, 0.5f));
  for (const bool bypass : {false, true}) {
    std::vector<std::vector<float>> out(2, std::vector<float>(8, 9.0f));
    Run(plug, in, out, bypass);
    EXPECT_EQ(out, std::vector<std::vector<float>>(2, std::vector<float>(8, 0.0f)));
  }
  std::array<double, 8> wide;
  wide.fill(9.0);
  double* outPtrs[] = {wide.data(), wide.data()};
  plug.BindOutputsDouble(0, 2, outPtrs);
  plug.RunProcess(8);
  EXPECT_EQ(wide, (std::array<double, 8>{}));
}

TEST(PlugBaseIdentity, VersionsNamesAndInterface) {
  TestPlug plug;
  char text[32];
  plug.EffectVersionText(text, sizeof text);
  EXPECT_STREQ(text, "v1.2.3");
  EXPECT_EQ(plug.EffectVersion(true), 10203);
  EXPECT_EQ(plug.EffectVersion(false), 0x10203);
  EXPECT_STREQ(plug.ApiName(), "RTAS");
  EXPECT_STREQ(IPlugBase::ArchName(), "x86");
  EXPECT_EQ(plug.HostKind(), -1);
  EXPECT_EQ(plug.SampleRate(), 44100.0);
  EXPECT_EQ(plug.NParams(), 4);
  EXPECT_EQ(plug.NPresets(), 2);
  EXPECT_STREQ(plug.PresetName(0), "empty");
}

TEST(PlugBaseIdentity, SamplesPerBeatNeedsAPositiveTempo) {
  TestPlug plug;
  EXPECT_EQ(plug.SamplesPerBeat(), 0.0);
  plug.tempo = 120.0;
  EXPECT_EQ(plug.SamplesPerBeat(), 22050.0);
}

} // namespace
} // namespace tavo

namespace tavo {
namespace {

std::vector<std::string> gTraceLines;

class TraceLines : public ::testing::Test {
protected:
  TraceLines() {
    gTraceLines.clear();
    SetTraceSink([](const char* function, int, const char* message) {
      gTraceLines.push_back(std::string(function) + " " + message);
    });
  }
  ~TraceLines() override { SetTraceSink(nullptr); }
};

TEST_F(TraceLines, OperationsReportThemselvesToAnInstalledSink) {
  test::TestPlug plug(1, "1-1", 1);
  plug.GetParam(0)->InitDouble("Gain", 1.5, -10, 10, 0.1);
  plug.LegalIO(1, 2);
  plug.SetParameterFromGUI(0, 0.25);
  IStateChunk chunk;
  plug.SerializeParams(&chunk);
  EXPECT_EQ(gTraceLines, (std::vector<std::string>{
                             "IPlugBase::LegalIO 1:2:illegal",
                             "IPlugBase::SetParameterFromGUI 0:0.250000",
                             "IPlugBase::SerializeParams 0 Gain -5.000000",
                         }));
  SetTraceSink(nullptr);
  plug.LegalIO(1, 1); // the default sink discards
  EXPECT_EQ(gTraceLines.size(), 3u);
}

} // namespace
} // namespace tavo
