// links: tavo_vst3
// A host hands the VST 3 processor and controller whatever its project holds as their state: a
// save of this version, another plug-in's, a damaged file, through a stream that gives its bytes
// in pieces of any size and may fail a read. The component's setState and the controller's
// setComponentState take the same bytes alike: both accept them or both refuse them, and accept
// only exactly one state's bytes up to where the stream ends or fails a read. A refusal
// leaves each exactly as it was (the saved state byte for byte, every normalised value); an
// accepted state saves to bytes that restore to themselves, and the controller shows the values
// of that save. The controller's own state is empty, whatever it is offered. Either way the
// processor renders finite audio within the output clamp.
//
// An input is one byte whose bits 0-2 are the number of pieces less one, the pieces' sizes (one
// byte each, cycled through; 0: that read fails), then the stream's bytes.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/VST3FuzzHost.h"

using namespace tavo;
using namespace tavo::fuzz;

namespace {

constexpr uint8_t kPieceCountMask = 7;
constexpr uint8_t kWhole = 255; // a piece larger than any state: the stream gives all at once
constexpr int32_t kBlock = 32;
constexpr double kRate = 48000.0;

struct Host {
  FuzzHostApplication app;
  FuzzProcessor processor{&app};
  FuzzController controller{&app};
  std::vector<uint8_t> defaults;
  std::vector<float> in[2], out[2];
  Host() {
    processor.Prepare(2, kBlock, kRate, kSample32);
    defaults = processor.Save();
    for (int c = 0; c < 2; ++c) {
      for (int i = 0; i < kBlock; ++i)
        in[c].push_back(0.5f * std::sin(0.3f * static_cast<float>(i + 7 * c)));
      out[c].assign(kBlock, 0.0f);
    }
  }

  // [between inputs] The settings at their defaults on both sides, a fresh history.
  void Fresh() {
    Require(processor.Restore(defaults) == kResultOk);
    Require(controller.RestoreComponent(defaults) == kResultOk);
    processor.Reactivate();
  }

  void RenderAndCheck() {
    float* ins[2] = {in[0].data(), in[1].data()};
    float* outs[2] = {out[0].data(), out[1].data()};
    AudioBusBuffers inBus{2, 0, {ins}};
    AudioBusBuffers outBus{2, 0, {outs}};
    ProcessData data{};
    data.processMode = kRealtime;
    data.symbolicSampleSize = kSample32;
    data.numSamples = kBlock;
    data.numInputs = data.numOutputs = 1;
    data.inputs = &inBus;
    data.outputs = &outBus;
    Require(processor.processor->process(data) == kResultOk);
    for (int c = 0; c < 2; ++c)
      for (float v : out[c])
        Require(std::isfinite(v) && std::fabs(v) <= kLoudest);
  }
};

Host& TheHost() {
  static Host host;
  return host;
}

std::vector<uint8_t> Seed(const std::vector<uint8_t>& pieces, const std::vector<uint8_t>& state) {
  std::vector<uint8_t> seed{static_cast<uint8_t>(pieces.size() - 1)};
  seed.insert(seed.end(), pieces.begin(), pieces.end());
  seed.insert(seed.end(), state.begin(), state.end());
  return seed;
}

// Saves of the processor at its defaults and with a session's settings, offered whole, a byte at
// a time, in uneven pieces, through a stream that fails a read, cut short and run on.
void WriteSeeds(const char* folder) {
  Host& h = TheHost();
  ChangeList changes;
  for (int i = 0; i < TAVOParams::kNumParams; ++i) {
    const auto id = static_cast<ParamID>(i);
    changes.Add(id, 0, h.controller.controller->plainParamToNormalized(id, kSessionPlain[i]));
  }
  h.processor.Apply(changes);
  const std::vector<uint8_t> session = h.processor.Save();
  Require(session != h.defaults);
  std::vector<uint8_t> cut(session.begin(), session.end() - 1);
  std::vector<uint8_t> runOn = session;
  runOn.push_back(0);
  WriteSeed(folder, "defaults", Seed({kWhole}, h.defaults));
  WriteSeed(folder, "session", Seed({kWhole}, session));
  WriteSeed(folder, "session_bytewise", Seed({1}, session));
  WriteSeed(folder, "session_uneven", Seed({7, 3, 13, 1}, session));
  WriteSeed(folder, "session_failing_read", Seed({16, 16, 0}, session));
  WriteSeed(folder, "session_cut", Seed({kWhole}, cut));
  WriteSeed(folder, "session_run_on", Seed({5}, runOn));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  return StartTarget(TheHost, WriteSeeds);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Host& h = TheHost();
  const uint8_t* end = data + size;
  const size_t count = data < end ? (*data++ & kPieceCountMask) + 1u : 1u;
  std::vector<uint8_t> pieces;
  for (size_t i = 0; i < count; ++i)
    pieces.push_back(data < end ? *data++ : kWhole);
  h.Fresh();
  const std::vector<uint8_t> before = h.processor.Save();
  const std::vector<double> valuesBefore = h.controller.Values();

  PiecewiseStream stream;
  stream.Offer(data, static_cast<size_t>(end - data), pieces);
  const tresult component = h.processor.component->setState(&stream);
  const size_t readable = stream.Readable();
  stream.Rewind();
  const tresult controller = h.controller.controller->setComponentState(&stream);
  Require(component == kResultOk || component == kResultFalse);
  Require(controller == component);

  if (component == kResultOk) {
    // Exactly one state up to where the stream ended, by running dry or by failing a read.
    Require(readable == before.size());
    const std::vector<double> values = h.controller.Values();
    const std::vector<uint8_t> saved = h.processor.Save();
    Require(h.processor.Restore(saved) == kResultOk && h.processor.Save() == saved);
    Require(h.controller.RestoreComponent(saved) == kResultOk && h.controller.Values() == values);
  } else {
    Require(h.processor.Save() == before && h.controller.Values() == valuesBefore);
  }

  // The controller's own state: whatever it is offered changes nothing, and it saves nothing.
  const std::vector<double> values = h.controller.Values();
  stream.Rewind();
  Require(h.controller.controller->setState(&stream) == kResultOk);
  Require(h.controller.Values() == values);
  PiecewiseStream own;
  Require(h.controller.controller->getState(&own) == kResultOk && own.bytes.empty());

  h.RenderAndCheck();
  return 0;
}
