// The state through the host's streams: the effect's 64 bytes out, read back however the stream
// hands them out, and every stream that is not one of ours refused with the instance unchanged.

#include <cstring>
#include <limits>

#include "tests/vst3/Vst3Fixture.h"

namespace tavo::test {
namespace {

using Vst3State = Vst3Host;

std::vector<uint8_t> StateOf(IComponent* component) {
  MemoryStream stream;
  EXPECT_EQ(component->getState(&stream), kResultOk);
  return stream.bytes;
}

// A processor with Drive 7.5, Input Trim -4 and VU Mode Output.
void Configure(PluginPair& pair) {
  ParameterChanges changes;
  int32_t index = 0;
  changes.Queue(1).addPoint(0, 0.75, index);
  changes.Queue(0).addPoint(0, 0.4, index);
  changes.Queue(6).addPoint(0, 1.0, index);
  ProcessData flush{};
  flush.inputParameterChanges = &changes;
  ASSERT_EQ(pair.processor->process(flush), kResultOk);
}

TEST_F(Vst3State, StateRoundTripsThroughStreamsThatMoveAByteAtATime) {
  // Each instance drifts from a seed of its own: the source renders and goes before the restored
  // instance is made, which then holds the same seed and must render the same samples.
  Channels in = TestSignal(2, 1024), a(2, std::vector<float>(1024)), b = a;
  MemoryStream saved;
  saved.step = 1;
  {
    PluginPair source(module.factory);
    Configure(source);
    ASSERT_EQ(source.component->getState(&saved), kResultOk);
    Prepare(source, 2, 256);
    for (int pos = 0; pos < 1024; pos += 256)
      ProcessBlock(source.processor, in, a, pos, 256, {});
  }
  ASSERT_EQ(saved.bytes.size(), 64u);
  double drive = 0.0;
  std::memcpy(&drive, saved.bytes.data() + 8, sizeof drive);
  EXPECT_DOUBLE_EQ(drive, 7.5);

  PluginPair restored(module.factory);
  saved.position = 0;
  ASSERT_EQ(restored.component->setState(&saved), kResultOk);
  EXPECT_GE(saved.calls, 64 + 64);
  EXPECT_EQ(StateOf(restored.component), saved.bytes);
  saved.position = 0;
  ASSERT_EQ(restored.controller->setComponentState(&saved), kResultOk);
  EXPECT_DOUBLE_EQ(restored.controller->getParamNormalized(1), 0.75);
  EXPECT_DOUBLE_EQ(restored.controller->getParamNormalized(6), 1.0);

  // The restored instance renders as the one it came from.
  Prepare(restored, 2, 256);
  for (int pos = 0; pos < 1024; pos += 256)
    ProcessBlock(restored.processor, in, b, pos, 256, {});
  EXPECT_EQ(a, b);
}

TEST_F(Vst3State, StreamsThatAreNotOursAreRefusedAndChangeNothing) {
  PluginPair pair(module.factory);
  Configure(pair);
  const std::vector<uint8_t> before = StateOf(pair.component);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();

  std::vector<std::vector<uint8_t>> bad;
  bad.emplace_back();                                 // empty
  bad.emplace_back(63, 0);                            // short
  bad.emplace_back(65, 0);                            // another plug-in's, longer
  bad.emplace_back(std::vector<uint8_t>(1024, 0x40)); // much longer
  for (double poison : {nan, inf}) {
    std::vector<uint8_t> bytes(64, 0);
    std::memcpy(bytes.data() + 8 * 5, &poison, sizeof poison);
    bad.push_back(bytes);
  }
  for (const auto& bytes : bad) {
    MemoryStream stream(bytes);
    stream.step = 7;
    EXPECT_EQ(pair.component->setState(&stream), kResultFalse) << bytes.size() << " bytes";
    stream.position = 0;
    EXPECT_EQ(pair.controller->setComponentState(&stream), kResultFalse);
    EXPECT_EQ(StateOf(pair.component), before);
  }
  EXPECT_EQ(pair.component->setState(nullptr), kResultFalse);
  EXPECT_EQ(pair.component->getState(nullptr), kResultFalse);
  EXPECT_DOUBLE_EQ(pair.controller->getParamNormalized(1), 0.0); // its own default, untouched
}

} // namespace
} // namespace tavo::test
