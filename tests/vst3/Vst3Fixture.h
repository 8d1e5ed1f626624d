#pragma once
// A test host around the built bundle: loads it for each test, and renders signals through a
// processor in blocks of chosen lengths with automation at absolute frames.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "tests/vst3/HostObjects.h"

namespace tavo::test {

// One change of parameter `id` to a normalised value, at an absolute frame of the render.
struct Automation {
  int64_t frame;
  ParamID id;
  double value;
};

using Channels = std::vector<std::vector<float>>;

// A few seconds' worth of a test signal that reaches the saturator: two sines and a little noise.
inline Channels TestSignal(int channels, int frames, double rate = 48000.0) {
  Channels out(channels, std::vector<float>(frames));
  uint32_t seed = 12345;
  for (int i = 0; i < frames; ++i) {
    seed = seed * 1664525u + 1013904223u;
    const double noise = (static_cast<double>(seed >> 8) / 16777216.0 - 0.5) * 0.02;
    for (int c = 0; c < channels; ++c) {
      const double t = i / rate;
      constexpr double kTwoPi = 2 * std::numbers::pi;
      out[c][i] = static_cast<float>(0.5 * std::sin(kTwoPi * (220.0 + 110.0 * c) * t) +
                                     0.2 * std::sin(kTwoPi * 1375.0 * t) + noise);
    }
  }
  return out;
}

class Vst3Host : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(module.Loaded()) << module.error; }

  // Mono or stereo, set up, activated and processing.
  static void Prepare(PluginPair& pair, int channels, int maxBlock, double rate = 48000.0,
                      int32_t sampleSize = kSample32) {
    SpeakerArrangement arr = channels == 1 ? kArrMono : kArrStereo;
    ASSERT_EQ(pair.processor->setBusArrangements(&arr, 1, &arr, 1), kResultTrue);
    ProcessSetup setup{kRealtime, sampleSize, maxBlock, rate};
    ASSERT_EQ(pair.processor->setupProcessing(setup), kResultOk);
    pair.component->activateBus(kAudio, kInput, 0, true);
    pair.component->activateBus(kAudio, kOutput, 0, true);
    ASSERT_EQ(pair.component->setActive(true), kResultOk);
    ASSERT_EQ(pair.processor->setProcessing(true), kResultOk);
  }

  // One process call over frames [from, from + frames) of `in`, writing `out`, with the changes
  // that fall into it.
  static tresult ProcessBlock(IAudioProcessor* processor, Channels& in, Channels& out, int64_t from,
                              int frames, const std::vector<Automation>& automation) {
    const int channels = static_cast<int>(in.size());
    std::vector<float*> ins(channels), outs(channels);
    for (int c = 0; c < channels; ++c) {
      ins[c] = in[c].data() + from;
      outs[c] = out[c].data() + from;
    }
    AudioBusBuffers inBus{channels, 0, {ins.data()}};
    AudioBusBuffers outBus{channels, 0, {outs.data()}};
    ParameterChanges changes;
    for (const Automation& a : automation) {
      if (a.frame >= from && a.frame < from + frames) {
        int32_t index = 0;
        changes.Queue(a.id).addPoint(static_cast<int32_t>(a.frame - from), a.value, index);
      }
    }
    ProcessData data{};
    data.processMode = kRealtime;
    data.symbolicSampleSize = kSample32;
    data.numSamples = frames;
    data.numInputs = 1;
    data.numOutputs = 1;
    data.inputs = &inBus;
    data.outputs = &outBus;
    data.inputParameterChanges = &changes;
    return processor->process(data);
  }

  // The whole of `in` through a fresh pair, in blocks whose lengths cycle through `blocks`.
  Channels Render(Channels in, const std::vector<int>& blocks,
                  const std::vector<Automation>& automation = {}, int maxBlock = 1024) {
    PluginPair pair(module.factory);
    Prepare(pair, static_cast<int>(in.size()), maxBlock);
    Channels out(in.size(), std::vector<float>(in[0].size()));
    const int64_t total = static_cast<int64_t>(in[0].size());
    size_t b = 0;
    for (int64_t pos = 0; pos < total; b = (b + 1) % blocks.size()) {
      const int frames = static_cast<int>(std::min<int64_t>(blocks[b], total - pos));
      EXPECT_EQ(ProcessBlock(pair.processor, in, out, pos, frames, automation), kResultOk);
      pos += frames;
    }
    return out;
  }

  Module module{TAVO_VST3_BUNDLE_PATH};
};

} // namespace tavo::test
