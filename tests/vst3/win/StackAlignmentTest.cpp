// A 32-bit Windows host owes the plug-in no more than a 4-byte aligned stack, while the stereo
// path keeps 16-byte SSE2 values on it. Here the processor's process, the parameter changes it
// reads and the component's state calls are made straight through their table slots from a stack
// offset to 0, 4, 8 and 12 modulo 16 at the call (no code of ours in between to realign it): each
// must render and save the bits of a well-aligned call. The x86-64 convention keeps the stack
// aligned at every call, so there the test has nothing to vary and is skipped.

#include <windows.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "tests/support/win/StackOffsetCall.h"
#include "tests/vst3/Vst3Fixture.h"

namespace tavo::test {
namespace {

constexpr int kFrames = 2048, kBlock = 256;

// Calls slot `slot` of the interface `object` with the argument words after `this`, from a stack
// at `offset`, and records where the stack was.
class OffsetCaller {
public:
  explicit OffsetCaller(uintptr_t offset) : offset_(offset) {}
  tresult Call(void* object, int slot, std::vector<uintptr_t> args) {
    const void* method = (*static_cast<void* const* const*>(object))[slot];
    args.insert(args.begin(), reinterpret_cast<uintptr_t>(object));
    const uintptr_t answer = TavoCallWithStackOffset(method, args.data(), args.size(), offset_);
    offsets.push_back(TavoStackAtCall % 16);
    return static_cast<tresult>(answer);
  }
  std::vector<uintptr_t> offsets;

private:
  uintptr_t offset_;
};

// A double argument: two stack words, the low half first.
std::array<uintptr_t, 2> Words(double value) {
  uint32_t halves[2];
  std::memcpy(halves, &value, sizeof value);
  return {halves[0], halves[1]};
}

struct Outcome {
  std::vector<tresult> results;
  std::vector<uintptr_t> offsets;
  Channels out;
  std::vector<uint8_t> state;
};

class Vst3Stack : public Vst3Host {
protected:
  Outcome Scenario(IPluginFactory* factory, uintptr_t offset);
};

Outcome Vst3Stack::Scenario(IPluginFactory* factory, uintptr_t offset) {
  Outcome o;
  OffsetCaller call(offset);
  PluginPair pair(factory);
  // setParamNormalized(Drive, 0.8) on the controller: an 8-byte double among the words.
  const auto drive = Words(0.8);
  o.results.push_back(call.Call(pair.controller, 15, {1, drive[0], drive[1]}));
  Prepare(pair, 2, kBlock);
  Channels in = TestSignal(2, kFrames);
  o.out.assign(2, std::vector<float>(kFrames));
  for (int pos = 0; pos < kFrames; pos += kBlock) {
    float* ins[2] = {in[0].data() + pos, in[1].data() + pos};
    float* outs[2] = {o.out[0].data() + pos, o.out[1].data() + pos};
    AudioBusBuffers inBus{2, 0, {ins}};
    AudioBusBuffers outBus{2, 0, {outs}};
    ParameterChanges changes;
    int32_t index = 0;
    if (pos == 0) changes.Queue(1).addPoint(0, 0.8, index);
    if (pos == 3 * kBlock) changes.Queue(0).addPoint(17, 0.7, index);
    ProcessData data{kRealtime, kSample32, kBlock,  1,       1,       &inBus,
                     &outBus,   &changes,  nullptr, nullptr, nullptr, nullptr};
    o.results.push_back(call.Call(pair.processor, 9, {reinterpret_cast<uintptr_t>(&data)}));
  }
  MemoryStream stream;
  o.results.push_back(call.Call(pair.component, 13,
                                {reinterpret_cast<uintptr_t>(static_cast<IBStream*>(&stream))}));
  o.state = stream.bytes;
  stream.position = 0;
  o.results.push_back(call.Call(pair.component, 12,
                                {reinterpret_cast<uintptr_t>(static_cast<IBStream*>(&stream))}));
  o.offsets = call.offsets;
  return o;
}

TEST_F(Vst3Stack, CallsFromAStackAlignedTo4BytesRenderAndSaveAsAlignedOnesDo) {
  if (kStackOffsets.empty()) GTEST_SKIP() << "the x86-64 convention keeps the stack aligned";
  // Instances one after another: each takes the drift seed the last one gave back.
  const Outcome aligned = Scenario(module.factory, 0);
  ASSERT_EQ(aligned.results.size(), 1u + kFrames / kBlock + 2);
  for (tresult r : aligned.results)
    ASSERT_EQ(r, kResultOk);
  ASSERT_EQ(aligned.state.size(), 64u);
  double drive = 0.0;
  std::memcpy(&drive, aligned.state.data() + 8, sizeof drive);
  EXPECT_DOUBLE_EQ(drive, 8.0);
  for (uintptr_t offset : {4u, 8u, 12u}) {
    const Outcome o = Scenario(module.factory, offset);
    EXPECT_EQ(o.offsets, std::vector<uintptr_t>(o.offsets.size(), offset));
    EXPECT_EQ(o.results, aligned.results) << "offset " << offset;
    EXPECT_EQ(o.out, aligned.out) << "offset " << offset;
    EXPECT_EQ(o.state, aligned.state) << "offset " << offset;
  }
}

} // namespace
} // namespace tavo::test
