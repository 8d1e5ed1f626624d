// Processing as hosts call it: automation lands on its sample whatever the block lengths, both
// sample sizes, blocks of no frames, activation starting afresh, and every kind of bad call
// answered without a write out of bounds.

#include <algorithm>
#include <cstring>
#include <limits>

#include "tests/vst3/Vst3Fixture.h"

namespace tavo::test {
namespace {

using Vst3Process = Vst3Host;

constexpr ParamID kDrive = 1;
constexpr ParamID kInputTrim = 0;
constexpr ParamID kBypass = 7;

const std::vector<Automation> kAutomation = {
    {0, kDrive, 0.6},     {517, kInputTrim, 0.7}, {1000, kDrive, 0.2},  {1001, kDrive, 0.9},
    {2047, kBypass, 1.0}, {2048, kDrive, 0.4},    {3333, kBypass, 0.0}, {4095, kInputTrim, 0.3},
    {5000, kDrive, 1.0},  {5001, 6, 1.0}};

TEST_F(Vst3Process, AutomationRendersTheSameWhateverTheBlockLengths) {
  const Channels in = TestSignal(2, 6000);
  const Channels reference = Render(in, {1024}, kAutomation);
  EXPECT_EQ(Render(in, {32}, kAutomation), reference);
  EXPECT_EQ(Render(in, {1, 7, 333, 1000, 64}, kAutomation), reference);
  // A change takes effect on its own sample: the output parts from a render without it exactly
  // there.
  std::vector<Automation> later = kAutomation;
  later[1].frame = 518;
  const Channels moved = Render(in, {1024}, later);
  for (int c = 0; c < 2; ++c) {
    const auto [a, b] = std::mismatch(reference[c].begin(), reference[c].end(), moved[c].begin());
    EXPECT_EQ(a - reference[c].begin(), 517) << "channel " << c;
  }
}

TEST_F(Vst3Process, MonoRendersThroughTheMonoPath) {
  const Channels in = TestSignal(1, 2000);
  const Channels out = Render(in, {256}, {{0, kDrive, 0.8}});
  ASSERT_EQ(out.size(), 1u);
  double energy = 0.0;
  for (float s : out[0])
    energy += double(s) * s;
  EXPECT_GT(energy, 1.0);
  EXPECT_EQ(Render(in, {17}, {{0, kDrive, 0.8}}), out);
}

// Ardour on a mono track: it asks stereo in, mono out, then keeps handing over buffers of the
// buses' default width, the second input silent. The first channel takes the mono path; the
// spare output is silenced after rendering, even when the host passes the input's own buffer
// there.
TEST_F(Vst3Process, AMonoTrackOnBuffersOfStereoWidthTakesTheMonoPath) {
  const Channels mono = TestSignal(1, 3000);
  const Channels reference = Render(mono, {1024}, {{0, kDrive, 0.8}});

  PluginPair pair(module.factory);
  SpeakerArrangement stereo = kArrStereo, monoArr = kArrMono;
  ASSERT_EQ(pair.processor->setBusArrangements(&stereo, 1, &monoArr, 1), kResultFalse);
  ProcessSetup setup{kRealtime, kSample32, 1024, 48000.0};
  ASSERT_EQ(pair.processor->setupProcessing(setup), kResultOk);
  ASSERT_EQ(pair.component->setActive(true), kResultOk);
  Channels in = {mono[0], std::vector<float>(3000, 0.0f)};
  Channels out(2, std::vector<float>(3000, 9.0f));
  std::vector<Automation> drive = {{0, kDrive, 0.8}};
  for (int64_t pos = 0; pos < 3000; pos += 1024) {
    const int frames = static_cast<int>(std::min<int64_t>(1024, 3000 - pos));
    ASSERT_EQ(ProcessBlock(pair.processor, in, out, pos, frames, drive), kResultOk);
  }
  EXPECT_EQ(out[0], reference[0]);
  EXPECT_EQ(out[1], std::vector<float>(3000, 0.0f));

  Channels aliased = {{mono[0].begin(), mono[0].begin() + 256}, std::vector<float>(256, 0.0f)};
  std::vector<float> first(256, 9.0f);
  float* ins[2] = {aliased[0].data(), aliased[1].data()};
  float* outs[2] = {first.data(), aliased[0].data()};
  AudioBusBuffers inBus{2, 0, {ins}};
  AudioBusBuffers outBus{2, 0, {outs}};
  ProcessData data{kRealtime, kSample32, 256,     1,       1,       &inBus,
                   &outBus,   nullptr,   nullptr, nullptr, nullptr, nullptr};
  ParameterChanges changes;
  int32_t index = 0;
  changes.Queue(kDrive).addPoint(0, 0.8, index);
  data.inputParameterChanges = &changes;
  ASSERT_EQ(pair.component->setActive(false), kResultOk);
  ASSERT_EQ(pair.component->setActive(true), kResultOk);
  ASSERT_EQ(pair.processor->process(data), kResultOk);
  EXPECT_TRUE(std::equal(first.begin(), first.end(), reference[0].begin()));
  EXPECT_EQ(aliased[0], std::vector<float>(256, 0.0f));
}

TEST_F(Vst3Process, DoublesGoThroughAsFloatsDoWithinFloatRounding) {
  const int frames = 3000;
  const Channels in = TestSignal(2, frames);
  const Channels floats = Render(in, {512}, {{0, kDrive, 0.7}});
  for (bool inPlace : {false, true}) {
    PluginPair pair(module.factory);
    Prepare(pair, 2, 512, 48000.0, kSample64);
    std::vector<std::vector<double>> inD(2), outD(2, std::vector<double>(frames));
    for (int c = 0; c < 2; ++c)
      inD[c].assign(in[c].begin(), in[c].end());
    for (int pos = 0; pos < frames; pos += 512) {
      const int n = std::min(512, frames - pos);
      double* ins[2] = {inD[0].data() + pos, inD[1].data() + pos};
      double* outs[2] = {outD[0].data() + pos, outD[1].data() + pos};
      if (inPlace) {
        std::copy_n(ins[0], n, outs[0]);
        std::copy_n(ins[1], n, outs[1]);
      }
      AudioBusBuffers inBus{2, 0, {nullptr}};
      inBus.channelBuffers64 = inPlace ? outs : ins;
      AudioBusBuffers outBus{2, 0, {nullptr}};
      outBus.channelBuffers64 = outs;
      ParameterChanges changes;
      int32_t index = 0;
      if (pos == 0) changes.Queue(kDrive).addPoint(0, 0.7, index);
      ProcessData data{kRealtime, kSample64, n,       1,       1,       &inBus,
                       &outBus,   &changes,  nullptr, nullptr, nullptr, nullptr};
      ASSERT_EQ(pair.processor->process(data), kResultOk);
    }
    for (int c = 0; c < 2; ++c)
      for (int i = 0; i < frames; ++i)
        ASSERT_NEAR(outD[c][i], floats[c][i], 1e-5) << "in place " << inPlace << " at " << i;
  }
}

TEST_F(Vst3Process, InputsFlaggedSilentAreProcessedAndTheOutputIsNeverFlaggedSilent) {
  PluginPair pair(module.factory);
  Prepare(pair, 2, 4096);
  std::vector<float> left(4096), right(4096), outL(4096), outR(4096);
  float* ins[2] = {left.data(), right.data()};
  float* outs[2] = {outL.data(), outR.data()};
  AudioBusBuffers inBus{2, 0x3, {ins}};
  AudioBusBuffers outBus{2, 0x3, {outs}};
  ProcessData data{kRealtime, kSample32, 4096,    1,       1,       &inBus,
                   &outBus,   nullptr,   nullptr, nullptr, nullptr, nullptr};
  ASSERT_EQ(pair.processor->process(data), kResultOk);
  EXPECT_EQ(outBus.silenceFlags, 0u);
  // The noise floor about 90 dB down is there once the start-up ramp has passed.
  EXPECT_TRUE(std::any_of(outL.begin() + 2048, outL.end(), [](float s) { return s != 0.0f; }));
}

TEST_F(Vst3Process, ABlockWithoutFramesDeliversItsChanges) {
  PluginPair pair(module.factory);
  Prepare(pair, 2, 256);
  ParameterChanges changes;
  int32_t index = 0;
  changes.Queue(kDrive).addPoint(0, 0.25, index);
  changes.Queue(kInputTrim).addPoint(0, 0.75, index);
  ProcessData flush{};
  flush.inputParameterChanges = &changes;
  ASSERT_EQ(pair.processor->process(flush), kResultOk);
  MemoryStream state;
  ASSERT_EQ(pair.component->getState(&state), kResultOk);
  ASSERT_EQ(state.bytes.size(), 64u);
  double drive = 0.0, trim = 0.0;
  std::memcpy(&trim, state.bytes.data(), sizeof trim);
  std::memcpy(&drive, state.bytes.data() + 8, sizeof drive);
  EXPECT_DOUBLE_EQ(drive, 2.5);
  EXPECT_DOUBLE_EQ(trim, 10.0);
}

TEST_F(Vst3Process, ReactivationStartsFromAFreshHistory) {
  const Channels in = TestSignal(2, 2048);
  const Channels fresh = Render(in, {256}, {{0, kDrive, 0.5}});
  PluginPair pair(module.factory);
  Prepare(pair, 2, 256);
  Channels loud = TestSignal(2, 2048), scratch(2, std::vector<float>(2048));
  for (auto& channel : loud)
    for (float& s : channel)
      s *= 4.0f;
  for (int pos = 0; pos < 2048; pos += 256)
    ProcessBlock(pair.processor, loud, scratch, pos, 256, {{0, kDrive, 1.0}});
  pair.processor->setProcessing(false);
  pair.component->setActive(false);
  ASSERT_EQ(pair.component->setActive(true), kResultOk);
  pair.processor->setProcessing(true);
  Channels input = in, out(2, std::vector<float>(2048));
  for (int pos = 0; pos < 2048; pos += 256)
    ProcessBlock(pair.processor, input, out, pos, 256, {{0, kDrive, 0.5}});
  EXPECT_EQ(out, fresh);
}

TEST_F(Vst3Process, BadChangesAreIgnoredOrTakenAtTheNearerEnd) {
  const Channels in = TestSignal(2, 1024);
  const Channels clean = Render(in, {256}, {{0, kDrive, 1.0}});
  const double nan = std::numeric_limits<double>::quiet_NaN();
  // An unknown identifier and NaN change nothing; 1.5 is 1.
  EXPECT_EQ(
      Render(in, {256}, {{0, kDrive, 1.5}, {3, 99, 0.5}, {9, kDrive, nan}, {4, 0x7FFFFFFF, 1}}),
      clean);
}

TEST_F(Vst3Process, BadBuffersGetNoAudioAndNoWriteOutOfBounds) {
  PluginPair pair(module.factory);
  Prepare(pair, 2, 256);
  std::vector<float> left(300, 9.0f), right(300, 9.0f);
  float* outs[2] = {left.data(), right.data()};
  float* noInputs[2] = {nullptr, nullptr};
  AudioBusBuffers inBus{2, 0, {noInputs}};
  AudioBusBuffers outBus{2, 0, {outs}};
  ProcessData data{kRealtime, kSample32, 300,     1,       1,       &inBus,
                   &outBus,   nullptr,   nullptr, nullptr, nullptr, nullptr};
  // Missing inputs (an inactive bus) are silence; 300 frames is more than the 256 announced.
  ASSERT_EQ(pair.processor->process(data), kResultOk);
  for (float s : left)
    ASSERT_TRUE(std::isfinite(s) && std::fabs(s) < 0.01f);

  // No output buffers, a channel count not the arrangement's, six channels: nothing rendered,
  // what output there is silenced.
  float* missing[2] = {left.data(), nullptr};
  outBus.channelBuffers32 = missing;
  std::fill(left.begin(), left.end(), 9.0f);
  ASSERT_EQ(pair.processor->process(data), kResultOk);
  EXPECT_EQ(left[299], 0.0f);
  outBus.channelBuffers32 = nullptr;
  EXPECT_EQ(pair.processor->process(data), kResultOk);
  data.outputs = nullptr;
  EXPECT_EQ(pair.processor->process(data), kResultOk);
  data.outputs = &outBus;
  data.numOutputs = 0;
  EXPECT_EQ(pair.processor->process(data), kResultOk);
  outBus = {1, 0, {outs}};
  data.numOutputs = 1;
  std::fill(left.begin(), left.end(), 9.0f);
  EXPECT_EQ(pair.processor->process(data), kResultOk);
  EXPECT_EQ(left[0], 0.0f);
  data.numSamples = -5;
  EXPECT_EQ(pair.processor->process(data), kResultOk);
}

TEST_F(Vst3Process, AbsurdRatesAreServedAndNaNRefused) {
  for (double rate : {1.0, 0.0, -44100.0, 1e9}) {
    PluginPair pair(module.factory);
    Prepare(pair, 2, 64, rate);
    Channels in = TestSignal(2, 64), out(2, std::vector<float>(64));
    ASSERT_EQ(ProcessBlock(pair.processor, in, out, 0, 64, {{0, kDrive, 1.0}}), kResultOk);
    for (const auto& channel : out)
      for (float s : channel)
        ASSERT_TRUE(std::isfinite(s) && std::fabs(s) <= 20.0f) << "at " << rate << " Hz";
  }
  PluginPair pair(module.factory);
  ProcessSetup setup{kRealtime, kSample32, 64, std::numeric_limits<double>::quiet_NaN()};
  EXPECT_NE(pair.processor->setupProcessing(setup), kResultOk);
  setup = {kRealtime, kSample32, 0, 48000.0};
  EXPECT_NE(pair.processor->setupProcessing(setup), kResultOk);
  setup = {kRealtime, 5, 64, 48000.0};
  EXPECT_NE(pair.processor->setupProcessing(setup), kResultOk);
}

} // namespace
} // namespace tavo::test
