// links: tavo_vst3
// A host's automation reaches the VST 3 processor as parameter queues, and a careless or damaged
// host fills them with anything: identifiers the plug-in never announced, points before the
// block, beyond it and out of order, values that are NaN, infinite or outside 0 … 1, in blocks of
// any length up to the announced maximum, none included, in either sample size, mono or stereo.
// After every block the outputs are finite audio within the output clamp, nothing is written
// past the block's frames, and the settings are those a second processor holds after taking, in
// a block of no frames, each queue's last point that is a number: every point counts, whatever
// its offset.
//
// An input is one byte saying which processor (bit 0: stereo, bit 1: 64-bit samples), then
// records:
//   0x00-0x7F  a point: bits 0-3 the identifier (0-11 as they are, then 0x7FFFFFFF, 0x80000000,
//              0xFFFFFFFF, 1000); bits 4-5 the offset (one byte, two bytes signed, INT32_MAX,
//              INT32_MIN); bit 6 the value (one byte over 254, else eight bytes of a double)
//   0x80-0xFF  a block of the points so far: bits 0-1 the input's amplitude (silence, -6 dBFS,
//              full scale, far beyond), bit 2 a deactivation and activation first, bit 3 a long
//              block, bit 4 the input's channels missing (an inactive bus), bit 5 the samples in
//              the other size than the one set up; then one byte of the frame count: its low six
//              bits in a short block, the byte plus one times kLongStep in a long one

#include <array>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "fuzz/VST3FuzzHost.h"
#include "vst3/IPlugVST3.h"

using namespace tavo;
using namespace tavo::fuzz;

namespace {

constexpr uint8_t kStereo = 1u << 0;
constexpr uint8_t kDoubles = 1u << 1;
constexpr uint8_t kBlockOp = 0x80;
constexpr uint8_t kIdMask = 15;
constexpr int kOffsetShift = 4;
constexpr uint8_t kOffsetMask = 3;
constexpr uint8_t kRawValue = 1u << 6;
constexpr uint8_t kAmplitudeMask = 3;
constexpr uint8_t kActivateFirst = 1u << 2;
constexpr uint8_t kLong = 1u << 3;
constexpr uint8_t kNoInput = 1u << 4;
constexpr uint8_t kOtherSize = 1u << 5;
constexpr uint8_t kShortMask = 63;
constexpr double kByteValueScale = 254.0; // a byte of 255 lies just above 1

// The announced longest block, reached by the longest of the long blocks: not the processor's
// first block size, so that activation sizes its buffers anew, and short enough that an input
// stays quick.
constexpr int32_t kMaxBlock = 256;
static_assert(kMaxBlock != IPlugVST3::kInitialBlockSize);
constexpr int32_t kLongStep = kMaxBlock / 256;
// Blocks, and frames, in one input: enough for automation to move between blocks and for a long
// block to go through, few enough that an input stays quick.
constexpr int kMostBlocks = 8;
constexpr int32_t kMostFrames = 2 * kMaxBlock;
constexpr float kAmplitudes[] = {0.0f, 0.5f, 1.0f, 1000.0f};
// What an output holds where the processor must not write.
constexpr double kUntouched = 12345.0;

ParamID IdOf(uint8_t op) {
  constexpr ParamID kOdd[] = {0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 1000};
  constexpr ParamID kPlain = 12;
  const ParamID s = op & kIdMask;
  return s < kPlain ? s : kOdd[s - kPlain];
}

// The buffers of one sample type, bound to the buses the processor reads and writes.
template <class Sample> struct Buffers {
  std::vector<Sample> in[2], out[2];
  Sample* ins[2] = {};
  Sample* outs[2] = {};
  Sample* missing[2] = {};
  Buffers() {
    for (int c = 0; c < 2; ++c) {
      in[c].assign(kMaxBlock, 0);
      out[c].assign(kMaxBlock, 0);
      ins[c] = in[c].data();
      outs[c] = out[c].data();
    }
  }
};

struct Host {
  FuzzHostApplication app;
  // [stereo][doubles], each set up once for its kind; the mirror takes settings only.
  std::unique_ptr<FuzzProcessor> processors[2][2];
  FuzzProcessor mirror{&app};
  std::vector<uint8_t> defaults;
  Buffers<float> floats;
  Buffers<double> doubles;
  ChangeList changes, mirrored;
  Host() {
    for (int stereo = 0; stereo < 2; ++stereo) {
      for (int wide = 0; wide < 2; ++wide) {
        auto& p = processors[stereo][wide];
        p = std::make_unique<FuzzProcessor>(&app);
        p->Prepare(stereo ? 2 : 1, kMaxBlock, stereo ? 96000.0 : 44100.0,
                   wide ? kSample64 : kSample32);
      }
    }
    defaults = mirror.Save();
  }
};

Host& TheHost() {
  static Host host;
  return host;
}

// A full-scale sine per channel, an octave apart, computed once.
const std::vector<float>& Sine(int channel) {
  static const auto sines = [] {
    std::array<std::vector<float>, 2> s;
    for (int c = 0; c < 2; ++c)
      for (int32_t i = 0; i < kMaxBlock; ++i)
        s[c].push_back(std::sin(0.05f * static_cast<float>(i * (c + 1))));
    return s;
  }();
  return sines[channel];
}

// The sine at the amplitude.
template <class Sample> void FillInput(Buffers<Sample>& b, int channels, int32_t frames, float a) {
  for (int c = 0; c < channels; ++c) {
    const float* sine = Sine(c).data();
    for (int32_t i = 0; i < frames; ++i)
      b.in[c][i] = static_cast<Sample>(a * sine[i]);
    std::fill(b.out[c].begin(), b.out[c].end(), static_cast<Sample>(kUntouched));
  }
}

template <class Sample> void CheckOutput(const Buffers<Sample>& b, int channels, int32_t frames) {
  for (int c = 0; c < channels; ++c) {
    for (int32_t i = 0; i < frames; ++i)
      Require(std::isfinite(b.out[c][i]) && std::fabs(b.out[c][i]) <= kLoudest);
    for (int32_t i = frames; i < kMaxBlock; ++i)
      Require(b.out[c][i] == static_cast<Sample>(kUntouched));
  }
}

// Each queue's last point that is a number, as one point at the start of a block.
void LastNumbers(ChangeList& from, ChangeList& to) {
  to.Clear();
  for (int32_t q = 0; q < from.getParameterCount(); ++q) {
    IParamValueQueue* queue = from.getParameterData(q);
    for (int32_t p = queue->getPointCount() - 1; p >= 0; --p) {
      int32_t offset = 0;
      double value = 0.0;
      Require(queue->getPoint(p, offset, value) == kResultOk);
      if (std::isnan(value)) continue;
      to.Add(queue->getParameterId(), 0, value);
      break;
    }
  }
}

struct Writer {
  std::vector<uint8_t> bytes;
  // A point at an offset within one byte, of a value within one byte.
  void Point(uint8_t id, uint8_t offset, uint8_t value) {
    bytes.insert(bytes.end(), {id, offset, value});
  }
  void RawPoint(uint8_t id, int16_t offset, double value) {
    bytes.push_back(static_cast<uint8_t>(id | 1u << kOffsetShift | kRawValue));
    bytes.push_back(static_cast<uint8_t>(offset & 0xFF));
    bytes.push_back(static_cast<uint8_t>((offset >> 8) & 0xFF));
    uint8_t b[sizeof value];
    std::memcpy(b, &value, sizeof value);
    bytes.insert(bytes.end(), b, b + sizeof b);
  }
  void Block(uint8_t amplitude, bool activate, bool longBlock, uint8_t count) {
    bytes.push_back(static_cast<uint8_t>(kBlockOp | amplitude | (activate ? kActivateFirst : 0) |
                                         (longBlock ? kLong : 0)));
    bytes.push_back(count);
  }
};

// A session's automation as a host sends it (every parameter, sorted points inside the block),
// the bypass switched within a block, the points no host should send, and blocks of a host that
// slips: the input's channels missing, the samples in the other size.
void WriteSeeds(const char* folder) {
  Host& h = TheHost();
  FuzzController controller(&h.app);
  Writer session{{kStereo}};
  for (int i = 0; i < TAVOParams::kNumParams; ++i) {
    const auto id = static_cast<ParamID>(i);
    const double v = controller.controller->plainParamToNormalized(id, kSessionPlain[i]);
    session.RawPoint(static_cast<uint8_t>(i), 0, v);
  }
  session.Point(1, 20, 200);
  session.Point(1, 40, 100);
  session.Block(1, false, false, 48);
  session.Block(2, false, true, 255);
  WriteSeed(folder, "session", session.bytes);

  Writer bypass{{kDoubles}};
  bypass.Point(TAVOParams::kBypass, 16, 254);
  bypass.Point(TAVOParams::kBypass, 24, 0);
  bypass.Block(1, false, false, 32);
  bypass.Block(1, true, false, 0);
  WriteSeed(folder, "bypass", bypass.bytes);

  Writer odd{{kStereo | kDoubles}};
  const double values[] = {std::numeric_limits<double>::quiet_NaN(),
                           std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity(),
                           -0.5,
                           1.5,
                           1e300};
  const int16_t offsets[] = {-1, 40, 5, -32768, 32767, 0};
  for (size_t i = 0; i < std::size(values); ++i) {
    for (uint8_t id = 0; id < 16; id += 3)
      odd.RawPoint(id, offsets[i], values[i]);
    odd.Block(3, false, false, 16);
  }
  WriteSeed(folder, "odd", odd.bytes);

  Writer slips{{kStereo}};
  slips.Point(1, 8, 220);
  slips.bytes.insert(slips.bytes.end(), {kBlockOp | 1 | kNoInput, 24, kBlockOp | 2 | kOtherSize, 24,
                                         kBlockOp | 2 | kNoInput | kOtherSize, 24});
  WriteSeed(folder, "host_slips", slips.bytes);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  return StartTarget(TheHost, WriteSeeds);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Host& h = TheHost();
  const uint8_t* end = data + size;
  const uint8_t how = data < end ? *data++ : 0;
  const int channels = how & kStereo ? 2 : 1;
  const bool wide = (how & kDoubles) != 0;
  FuzzProcessor& p = *h.processors[channels - 1][wide ? 1 : 0];
  Require(p.Restore(h.defaults) == kResultOk && h.mirror.Restore(h.defaults) == kResultOk);
  p.Reactivate();
  h.changes.Clear();

  int blocks = 0;
  int32_t budget = kMostFrames;
  while (data < end && blocks < kMostBlocks) {
    const uint8_t op = *data++;
    if (op < kBlockOp) {
      int32_t offset = 0;
      switch ((op >> kOffsetShift) & kOffsetMask) {
      case 0:
        offset = data < end ? *data++ : 0;
        break;
      case 1: {
        if (end - data < 2) return 0;
        offset = static_cast<int16_t>(data[0] | data[1] << 8);
        data += 2;
        break;
      }
      case 2:
        offset = INT32_MAX;
        break;
      default:
        offset = INT32_MIN;
      }
      double value = 0.0;
      if (op & kRawValue) {
        if (end - data < static_cast<std::ptrdiff_t>(sizeof value)) return 0;
        std::memcpy(&value, data, sizeof value);
        data += sizeof value;
      } else {
        value = (data < end ? *data++ : 0) / kByteValueScale;
      }
      h.changes.Add(IdOf(op), offset, value);
      continue;
    }

    const uint8_t count = data < end ? *data++ : 0;
    const int32_t asked = op & kLong ? (count + 1) * kLongStep : count & kShortMask;
    const int32_t frames = std::min(asked, budget);
    budget -= frames;
    const float amplitude = kAmplitudes[op & kAmplitudeMask];
    FillInput(h.floats, channels, frames, amplitude);
    FillInput(h.doubles, channels, frames, amplitude);
    if (op & kActivateFirst) p.Reactivate();

    // What the host hands over; the processor renders, or silences its outputs, and either way
    // writes nothing beyond the block.
    const bool doubles = wide != ((op & kOtherSize) != 0);
    const bool noInput = (op & kNoInput) != 0;
    AudioBusBuffers inBus{channels, 0, {}};
    AudioBusBuffers outBus{channels, 0, {}};
    if (doubles) {
      inBus.channelBuffers64 = noInput ? h.doubles.missing : h.doubles.ins;
      outBus.channelBuffers64 = h.doubles.outs;
    } else {
      inBus.channelBuffers32 = noInput ? h.floats.missing : h.floats.ins;
      outBus.channelBuffers32 = h.floats.outs;
    }
    ProcessData block{};
    block.processMode = kRealtime;
    block.symbolicSampleSize = doubles ? kSample64 : kSample32;
    block.numSamples = frames;
    block.numInputs = block.numOutputs = 1;
    block.inputs = &inBus;
    block.outputs = &outBus;
    block.inputParameterChanges = &h.changes;
    Require(p.processor->process(block) == kResultOk);
    ++blocks;
    if (doubles)
      CheckOutput(h.doubles, channels, frames);
    else
      CheckOutput(h.floats, channels, frames);

    LastNumbers(h.changes, h.mirrored);
    h.mirror.Apply(h.mirrored);
    Require(p.Save() == h.mirror.Save());
    h.changes.Clear();
  }
  return 0;
}
