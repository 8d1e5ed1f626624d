// links: tavo_lv2
// A host writes whatever floats its automation, a preset file or a damaged session holds into
// the LV2 plug-in's control ports between blocks, NaN, infinities and huge numbers included, on
// every control port (the output ports too: their buffers hold what the host left there). After
// every block each parameter holds its port's value as the port describes it (the range's nearest
// value; a NaN leaves the parameter as it was), the outputs are finite audio within the output
// clamp, and the output ports hold the latency and a finite level. At the end the state saves,
// restores to the same bytes.
//
// An input is one byte choosing the plug-in (bit 0: stereo), then records:
//   0x00-0x7F  a port write: the control port (parameters, latency, level) by the byte's value,
//              then four bytes of the float's representation
//   0x80-0xFF  a block: bits 0-1 the input's amplitude (silence, -6 dBFS, full scale, far
//              beyond), bit 2 a deactivation and activation first, bit 3 a long block; then
//              one byte of the frame count: its low six bits in a short block, the plug-in's
//              first block size plus the byte in a long one. An input renders one long block
//              at most: a later one is taken short.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "fuzz/LV2FuzzHost.h"

using namespace tavo;
using namespace tavo::fuzz;

namespace {

constexpr uint8_t kStereo = 1u << 0;
constexpr uint8_t kBlockOp = 0x80;
constexpr uint8_t kAmplitudeMask = 3;
constexpr uint8_t kActivateFirst = 1u << 2;
constexpr uint8_t kLong = 1u << 3;
// A long block reaches beyond the longest block the host announced, so that it goes through in
// pieces, and no further than it needs to. Under the fuzzer's instrumentation the chain runs at a
// few frames a microsecond: the frames an input renders are what its time goes on, so an input
// renders one long block at most and the rest short.
constexpr uint32_t kLongBlock = kHostMaxBlock;
static_assert(kLongBlock + 255 <= kMostFrames);
constexpr uint32_t kShortMask = 63;
constexpr float kAmplitudes[] = {0.0f, 0.5f, 1.0f, 1000.0f};
// Blocks in one input: enough for automation to move between blocks, few enough that an input
// stays quick.
constexpr int kMostBlocks = 8;

struct Host {
  LV2FuzzHost host;
  LV2FuzzInstance mono{host, 1, 44100.0};
  LV2FuzzInstance stereo{host, 2, 96000.0};
  // A full-scale sine per channel, an octave apart.
  std::vector<float> signal[2];
  Host() {
    for (int c = 0; c < 2; ++c)
      for (uint32_t i = 0; i < kMostFrames; ++i)
        signal[c].push_back(std::sin(0.05f * static_cast<float>(i * (c + 1))));
  }
};

Host& TheHost() {
  static Host host;
  return host;
}

// What a parameter holds after its port carried a number (not a NaN): the nearest value of its
// range, whole for the integer kinds; the enable port's sense inverted.
bool Holds(const IParameter& p, bool enablePort, float port) {
  if (enablePort) return p.Value() == (port > 0.0f ? 0.0 : 1.0);
  const double nearest = std::clamp<double>(port, p.Min(), p.Max());
  if (p.Kind() == ParamKind::Double) return p.Value() == nearest;
  return p.Value() == std::floor(p.Value()) && std::fabs(p.Value() - nearest) <= 0.5;
}

struct Writer {
  std::vector<uint8_t> bytes;
  void Port(uint32_t controlPort, float value) {
    bytes.push_back(static_cast<uint8_t>(controlPort));
    uint8_t b[sizeof value];
    std::memcpy(b, &value, sizeof value);
    bytes.insert(bytes.end(), b, b + sizeof b);
  }
  // frames: up to kShortMask, or kLongBlock up to 255 beyond it.
  void Block(uint8_t amplitude, bool activate, uint32_t frames) {
    const bool longBlock = frames > kShortMask;
    bytes.push_back(static_cast<uint8_t>(kBlockOp | amplitude | (activate ? kActivateFirst : 0) |
                                         (longBlock ? kLong : 0)));
    bytes.push_back(static_cast<uint8_t>(longBlock ? frames - kLongBlock : frames));
  }
};

// A session's settings arriving as port values, bypass switched on and off, and the numbers no
// port should carry.
void WriteSeeds(const char* folder) {
  constexpr int kParams = TAVOParams::kNumParams;
  Writer session{{kStereo}};
  for (int i = 0; i < kParams; ++i)
    session.Port(static_cast<uint32_t>(i), kSessionPorts[i]);
  session.Block(1, false, 48);
  session.Block(2, false, kLongBlock + 160);
  WriteSeed(folder, "session", session.bytes);

  Writer bypass{{0}};
  bypass.Block(1, false, 32);
  bypass.Port(TAVOParams::kBypass, 0.0f);
  bypass.Block(1, false, 32);
  bypass.Port(TAVOParams::kBypass, 1.0f);
  bypass.Block(1, true, 32);
  WriteSeed(folder, "bypass", bypass.bytes);

  Writer extremes{{kStereo}};
  const float odd[] = {std::numeric_limits<float>::quiet_NaN(),
                       std::numeric_limits<float>::infinity(),
                       -std::numeric_limits<float>::infinity(),
                       3e38f,
                       -3e38f,
                       std::numeric_limits<float>::denorm_min()};
  for (float v : odd) {
    for (int i = 0; i < kParams + 2; ++i)
      extremes.Port(static_cast<uint32_t>(i), v);
    extremes.Block(3, false, 16);
  }
  WriteSeed(folder, "extremes", extremes.bytes);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  return StartTarget(TheHost, WriteSeeds);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Host& h = TheHost();
  const uint8_t* end = data + size;
  const uint8_t how = data < end ? *data++ : 0;
  LV2FuzzInstance& instance = how & kStereo ? h.stereo : h.mono;
  const lv2::PortLayout& layout = instance.Layout();
  instance.Fresh();
  const uint32_t controlPorts = static_cast<uint32_t>(layout.nParams) + 2;
  // The last number each parameter's port held when a block began, NaN while none has.
  std::vector<float> carried(layout.nParams, std::numeric_limits<float>::quiet_NaN());

  int blocks = 0;
  bool longDone = false;
  while (data < end && blocks < kMostBlocks) {
    const uint8_t op = *data++;
    if (op < kBlockOp) {
      float value = 0.0f;
      if (end - data < static_cast<std::ptrdiff_t>(sizeof value)) break;
      std::memcpy(&value, data, sizeof value);
      data += sizeof value;
      const uint32_t port = layout.FirstParam() + op % controlPorts;
      instance.Port(port) = value;
      continue;
    }
    const uint32_t count = data < end ? *data++ : 0;
    const bool longBlock = (op & kLong) != 0 && !longDone;
    longDone = longDone || longBlock;
    const uint32_t frames = longBlock ? kLongBlock + count : count & kShortMask;
    const float amplitude = kAmplitudes[op & kAmplitudeMask];
    instance.FillInputs(h.signal, amplitude, frames);
    if (op & kActivateFirst) instance.Activate();
    for (int i = 0; i < layout.nParams; ++i)
      if (const float v = instance.Port(layout.Param(i)); !std::isnan(v)) carried[i] = v;
    instance.Run(frames);
    ++blocks;
    instance.CheckOutputs(frames);
    instance.CheckSettings();
    for (int i = 0; i < layout.nParams; ++i)
      if (!std::isnan(carried[i]))
        Require(Holds(*instance.Plug()->GetParam(i), i == TAVOParams::kBypass, carried[i]));
  }

  // Back to the defaults and to the save again: no activation needed between the two.
  const std::vector<uint8_t> saved = instance.Save();
  instance.RestoreDefaults();
  Require(instance.Restore(saved.data(), saved.size(), h.host.atomChunk) == LV2_STATE_SUCCESS);
  Require(instance.Save() == saved);
  return 0;
}
