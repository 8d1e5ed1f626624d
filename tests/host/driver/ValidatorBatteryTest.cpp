// The checks a host maker's validator runs on an effect before it lets it into a session, all
// through the host driver: any block size and rate, state that survives a new instance, the
// master bypass, input a broken file or synthesiser might send, and a long life of instances
// that leaves nothing behind. The two-thread part is in concurrency/.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>
#include <random>
#include <vector>

#include "tests/host/driver/DriverFixture.h"

using namespace tavo::host;
using namespace tavo::host::test;
namespace sel = hostabi::selector;

namespace {

// No output sample is ever louder: the clamp at 20, times the last step of the fade-in ramp, plus
// the noise floor.
constexpr float kLoudest = 20.01f;

class ValidatorBattery : public HostDriver {
protected:
  // Every control but the master bypass at a random value; the same seed gives the same settings.
  void RandomSettings(HostProcess& p, uint32_t seed) {
    std::mt19937 random(seed);
    for (int32_t index = 2; index <= 9; ++index)
      ASSERT_EQ(p.SetControl(index, static_cast<int32_t>(random())), 0);
  }
  static void ExpectSane(const std::vector<float>& samples) {
    for (float s : samples)
      ASSERT_TRUE(std::isfinite(s) && std::fabs(s) <= kLoudest) << s;
  }
  int32_t SetChunkRaw(HostProcess& p, int32_t id, const std::vector<uint8_t>& bytes) {
    return module_->Call(sel::kProcessSetChunk, p.Handle(), id,
                         reinterpret_cast<const hostabi::SFicPlugInChunk*>(bytes.data()));
  }
  int32_t CompareChunkRaw(HostProcess& p, int32_t id, const std::vector<uint8_t>& bytes) {
    uint8_t equal = 0;
    return module_->Call(sel::kProcessCompareChunk, p.Handle(), id,
                         reinterpret_cast<const hostabi::SFicPlugInChunk*>(bytes.data()), &equal);
  }
};

TEST_F(ValidatorBattery, BlocksOfAnySizeStayWithinTheirBuffersAndSoundTheSame) {
  ProcessOptions options;
  options.variableQuantum = true;
  options.maximumQuantum = 512;
  // One instance after the other, each the only one alive: both drift from the first seed.
  auto uneven = Create(options);
  ASSERT_EQ(uneven->SetControl(kDrive, INT32_MAX), 0);
  const std::vector<int32_t> sizes = {1,   2,   3,   17,  31,   32,   33,   64,
                                      127, 511, 512, 513, 1000, 2048, 4095, 4096};
  size_t total = 0;
  for (int32_t frames : sizes)
    total += static_cast<size_t>(frames);
  const Stereo signal(total, 0.7f);
  Stereo joined(total);
  // Each block in buffers of exactly its size, so that any sample read or written past the end
  // is an overrun the address sanitizer reports; the last few are larger than the maximum
  // quantum.
  size_t at = 0;
  for (int32_t frames : sizes) {
    const auto n = static_cast<size_t>(frames);
    Stereo in(n), out(n);
    std::copy_n(signal.left.begin() + static_cast<ptrdiff_t>(at), n, in.left.begin());
    std::copy_n(signal.right.begin() + static_cast<ptrdiff_t>(at), n, in.right.begin());
    ASSERT_EQ(uneven->RenderBlockHere(in.In(), out.Out(), frames), 0) << frames;
    std::copy(out.left.begin(), out.left.end(), joined.left.begin() + static_cast<ptrdiff_t>(at));
    std::copy(out.right.begin(), out.right.end(),
              joined.right.begin() + static_cast<ptrdiff_t>(at));
    at += n;
  }
  ExpectSane(joined.left);
  ExpectSane(joined.right);
  // How the host cuts the audio into blocks does not change what comes out.
  uneven.reset();
  auto even = Create(options);
  ASSERT_EQ(even->SetControl(kDrive, INT32_MAX), 0);
  const Stereo whole = Render(*even, signal);
  for (size_t i = 0; i < total; ++i)
    ASSERT_NEAR(joined.left[i], whole.left[i], 1e-5f) << i;
}

TEST_F(ValidatorBattery, AQuietToneKeepsItsLevelAtEveryRate) {
  // 0.001 at 1 kHz is far below where the drive bends it: what comes out is the level that went
  // in (-63.0 dB) at every rate a host runs at, to within the few tenths of a dB by which the
  // tone filters' curves differ between rates.
  for (int32_t rate : {22050, 32000, 44100, 48000, 88200, 96000, 176400, 192000}) {
    ProcessOptions options;
    options.sampleRate = rate;
    options.channels = 1;
    auto p = Create(options);
    const size_t frames = static_cast<size_t>(rate) / 5; // 200 ms
    std::vector<float> in(frames), out(frames);
    for (size_t i = 0; i < frames; ++i)
      in[i] = 0.001f * static_cast<float>(std::sin(2.0 * std::numbers::pi * 1000.0 *
                                                   static_cast<double>(i) / rate));
    const float* ins[] = {in.data()};
    float* outs[] = {out.data()};
    ASSERT_EQ(p->Render(ins, outs, static_cast<int64_t>(frames)), 0);
    ExpectSane(out);
    double energy = 0.0;
    for (size_t i = frames / 2; i < frames; ++i)
      energy += static_cast<double>(out[i]) * out[i];
    const double level = 10.0 * std::log10(energy / static_cast<double>(frames - frames / 2));
    EXPECT_NEAR(level, 20.0 * std::log10(0.001 / std::numbers::sqrt2), 0.25) << rate;
  }
}

TEST_F(ValidatorBattery, AStateSavedRestoresInANewInstanceThatRendersTheSame) {
  const Stereo in(32 * 200, 0.6f);
  for (uint32_t seed = 1; seed <= 3; ++seed) {
    auto first = Create();
    RandomSettings(*first, seed);
    std::vector<uint8_t> chunk;
    ASSERT_EQ(first->SaveChunk(chunk), 0);
    ASSERT_EQ(chunk.size(), 120u);
    // The new instance is created once the first is gone, so that both drift from the first seed.
    const Stereo a = Render(*first, in);
    first.reset();
    auto second = Create();
    ASSERT_EQ(second->RestoreChunk(chunk), 0);
    bool equal = false;
    ASSERT_EQ(second->CompareChunk(chunk, equal), 0);
    EXPECT_TRUE(equal) << seed;
    std::vector<uint8_t> again;
    ASSERT_EQ(second->SaveChunk(again), 0);
    EXPECT_EQ(again, chunk) << seed;
    const Stereo b = Render(*second, in);
    EXPECT_EQ(a.left, b.left) << seed;
    EXPECT_EQ(a.right, b.right) << seed;
    // One control moved: the saved state no longer matches.
    ASSERT_EQ(second->SetControl(kDrive, StepControlValue(static_cast<int32_t>(seed), 1001)), 0);
    ASSERT_EQ(second->CompareChunk(chunk, equal), 0);
    EXPECT_FALSE(equal) << seed;
  }
}

TEST_F(ValidatorBattery, ChunksFromElsewhereAreRefusedOrReadAsFarAsTheyGo) {
  auto p = Create();
  RandomSettings(*p, 7);
  std::vector<uint8_t> chunk;
  ASSERT_EQ(p->SaveChunk(chunk), 0);
  int32_t id = 0;
  ASSERT_EQ(p->ChunkID(id), 0);
  auto other = Create();

  // Another plug-in's chunk identifier.
  std::vector<uint8_t> foreign = chunk;
  const int32_t foreignID = hostabi::FourCC("XTRN");
  std::memcpy(foreign.data() + 20, &foreignID, sizeof foreignID);
  EXPECT_EQ(other->RestoreChunk(foreign), hostabi::kErrChunk);
  bool equal = true;
  EXPECT_EQ(other->CompareChunk(foreign, equal), hostabi::kErrChunk);

  // Size fields that do not even cover the header, or claim more than any state could be.
  for (int32_t size : {-1, 0, 4, 55, INT32_MAX}) {
    std::vector<uint8_t> bad = chunk;
    std::memcpy(bad.data(), &size, sizeof size);
    EXPECT_EQ(SetChunkRaw(*other, id, bad), hostabi::kErrChunk) << size;
    EXPECT_EQ(CompareChunkRaw(*other, id, bad), hostabi::kErrChunk) << size;
  }
  // None of them changed anything.
  std::vector<uint8_t> untouched;
  ASSERT_EQ(other->SaveChunk(untouched), 0);
  ASSERT_EQ(other->CompareChunk(chunk, equal), 0);
  EXPECT_FALSE(equal);

  // A padded chunk (or one from a later version) restores the state it starts with.
  std::vector<uint8_t> padded = chunk;
  padded.resize(chunk.size() + 72, 0xA5);
  const int32_t size = static_cast<int32_t>(padded.size());
  std::memcpy(padded.data(), &size, sizeof size);
  ASSERT_EQ(other->RestoreChunk(padded), 0);
  ASSERT_EQ(other->CompareChunk(chunk, equal), 0);
  EXPECT_TRUE(equal);
  ASSERT_EQ(other->CompareChunk(padded, equal), 0);
  EXPECT_TRUE(equal);
}

TEST_F(ValidatorBattery, TheMasterBypassPassesTheInputThroughAndComesBack) {
  auto p = Create();
  ASSERT_EQ(p->SetControl(kDrive, INT32_MAX), 0);
  int32_t delay = -1;
  ASSERT_EQ(p->Delay(delay), 0);
  ASSERT_GE(delay, 0);
  const Stereo in(32 * 200, 0.5f);
  ASSERT_EQ(p->SetControl(1, INT32_MAX), 0);
  bool bypassed = false;
  ASSERT_EQ(p->IsBypassed(bypassed), 0);
  EXPECT_TRUE(bypassed);
  Stereo out = Render(*p, in);
  // Once the crossfade is over, the input itself, delayed as reported.
  for (size_t i = in.left.size() / 2; i < in.left.size(); ++i)
    ASSERT_NEAR(out.left[i], in.left[i - static_cast<size_t>(delay)], 1e-6f) << i;

  ASSERT_EQ(p->SetControl(1, INT32_MIN), 0);
  ASSERT_EQ(p->IsBypassed(bypassed), 0);
  EXPECT_FALSE(bypassed);
  out = Render(*p, in);
  double difference = 0.0;
  for (size_t i = in.left.size() / 2; i < in.left.size(); ++i)
    difference = std::max(difference,
                          std::fabs(double{out.left[i]} - in.left[i - static_cast<size_t>(delay)]));
  EXPECT_GT(difference, 0.05); // Drive 10 bends a 0.5 sine
}

TEST_F(ValidatorBattery, NonFiniteInputNeverPoisonsAnInstance) {
  auto poisoned = Create();
  auto fresh = Create();
  for (HostProcess* p : {poisoned.get(), fresh.get()}) {
    RandomSettings(*p, 3);
    ASSERT_EQ(p->SetControl(9, INT32_MIN), 0); // the effect's own bypass off: it hears it all
  }
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  Stereo bad(32 * 8, 0.5f);
  for (size_t i = 0; i < bad.left.size(); i += 3) {
    bad.left[i] = (i % 2) ? nan : inf;
    bad.right[i] = (i % 2) ? -inf : std::numeric_limits<float>::max();
  }
  const Stereo out = Render(*poisoned, bad);
  ExpectSane(out.left);
  ExpectSane(out.right);
  // Silence, then music: the poisoned instance sounds as one that never heard the bad input.
  const Stereo silence(32 * 400);
  Render(*poisoned, silence);
  Render(*fresh, silence);
  const Stereo music(32 * 200, 0.4f);
  const Stereo a = Render(*poisoned, music), b = Render(*fresh, music);
  ExpectSane(a.left);
  for (size_t i = 0; i < a.left.size(); ++i) {
    ASSERT_NEAR(a.left[i], b.left[i], 1e-4f) << i;
    ASSERT_NEAR(a.right[i], b.right[i], 1e-4f) << i;
  }
}

TEST_F(ValidatorBattery, TwoHundredInstancesComeAndGoLeavingNothingBehind) {
  int32_t count = -1;
  const auto processCount = [&] {
    EXPECT_EQ(module_->Call(sel::kGroupProcessCount, module_->Group(), &count), 0);
    return count;
  };
  const int servers = standin::LiveServerCount();
  const int tokens = standin::LiveTokenObjectCount();
  const Stereo in(64, 0.3f);
  for (int cycle = 0; cycle < 200; ++cycle) {
    ProcessOptions options;
    options.channels = 1 + cycle % 2;
    auto p = Create(options);
    ASSERT_NE(p, nullptr);
    ASSERT_EQ(processCount(), 1);
    if (cycle % 20 == 0) {
      ASSERT_EQ(p->OpenEditor(), 0);
      ASSERT_EQ(p->TickEditor(), 0);
    }
    if (options.channels == 2) Render(*p, in);
    // Destroyed with its editor still open now and then: the host closes the window first.
  }
  EXPECT_EQ(processCount(), 0);
  EXPECT_TRUE(standin::RenderInstances().empty());
  EXPECT_TRUE(standin::OpenWindowPorts().empty());
  EXPECT_EQ(standin::LiveServerCount(), servers);
  EXPECT_EQ(standin::LiveTokenObjectCount(), tokens);

  // The module closes as often as it opened, and every resource file it opened is closed.
  module_.reset();
  int opened = 0, closed = 0;
  for (const auto& event : standin::ResourceFileEvents())
    (event.open ? opened : closed) += 1;
  EXPECT_GT(opened, 0);
  EXPECT_EQ(opened, closed);
  EXPECT_EQ(standin::LiveServerCount(), 0);
  EXPECT_EQ(standin::LiveTokenObjectCount(), 0);
}

} // namespace
