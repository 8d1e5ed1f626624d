// The LV2 plug-ins as a host drives them: the same sound as the effect for any block partition,
// the host's enable control, the state chunk, and bad input that must leave the instance as it
// was.

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

#include "LV2HostFixture.h"
#include "graphics/IGraphics.h"
#include "tests/support/AllocationCounter.h"
#include "tests/support/DriftTestAccess.h"

namespace tavo::test {
namespace {

constexpr int kFrames = 4096;
using enum TAVOParams::Param;

// A chirp with a touch of second harmonic, loud enough to saturate, a little different per side.
void FillSignal(LV2Instance& inst, int channels) {
  for (int c = 0; c < channels; ++c) {
    for (int i = 0; i < kFrames; ++i) {
      const double t = i / 44100.0;
      inst.In(c)[i] = static_cast<float>(0.7 * std::sin(2 * M_PI * (200 + 900 * t * (c + 1)) * t) +
                                         0.2 * std::sin(2 * M_PI * 610 * t));
    }
  }
}

// Runs the whole signal in runs of `block` frames, each run on its own offset into the buffers.
void RunInBlocks(LV2Instance& inst, int channels, int block) {
  std::vector<std::vector<float>> in(channels), out(channels);
  for (int c = 0; c < channels; ++c) {
    in[c] = inst.In(c);
    out[c].assign(kFrames, 0.0f);
  }
  for (int offset = 0; offset < kFrames; offset += block) {
    const int n = std::min(block, kFrames - offset);
    for (int c = 0; c < channels; ++c)
      std::copy_n(in[c].begin() + offset, n, inst.In(c).begin());
    inst.Run(n);
    for (int c = 0; c < channels; ++c)
      std::copy_n(inst.Out(c).begin(), n, out[c].begin() + offset);
  }
  for (int c = 0; c < channels; ++c) {
    inst.In(c) = in[c];
    std::copy(out[c].begin(), out[c].end(), inst.Out(c).begin());
  }
}

// The effect with no host format, fed the same floats through the base's own binding, drifting
// from the seed `lv2` drifts from.
std::vector<std::vector<float>> RenderEffect(LV2Instance& lv2, int channels,
                                             const std::vector<std::pair<int, double>>& settings) {
  auto plug = MakeTAVO();
  DriftTestAccess::StartOverFrom(*plug, DriftTestAccess::SeedOf(*lv2.Plug()));
  plug->ConnectInputs(channels, 2 - channels, false);
  plug->ConnectOutputs(channels, 2 - channels, false);
  plug->ConfigureSampleRate(44100.0);
  plug->Reset();
  // As a host's first run hands over every control port: the defaults, then the settings.
  for (int i = 0; i < TAVOParams::kNumParams; ++i)
    plug->SetParameterFromHost(i, plug->GetParam(i)->DefaultValue());
  for (const auto& [idx, plain] : settings)
    plug->SetParameterFromHost(idx, plain);
  std::vector<std::vector<float>> in(channels), out(channels, std::vector<float>(kFrames));
  std::vector<float*> inPtrs, outPtrs;
  for (int c = 0; c < channels; ++c) {
    in[c] = lv2.In(c);
    inPtrs.push_back(in[c].data());
    outPtrs.push_back(out[c].data());
  }
  plug->BindInputsFloat(0, channels, inPtrs.data(), kFrames);
  plug->BindOutputsFloat(0, channels, outPtrs.data());
  plug->RunProcess(kFrames);
  return out;
}

class LV2PluginTest : public ::testing::TestWithParam<int> {
protected:
  int Channels() const { return GetParam(); }
  void ExpectSameOutput(LV2Instance& a, LV2Instance& b) {
    for (int c = 0; c < Channels(); ++c) {
      ASSERT_EQ(0, std::memcmp(a.Out(c).data(), b.Out(c).data(), kFrames * sizeof(float)))
          << "channel " << c;
    }
  }
  LV2Host host_{256};
};

TEST_P(LV2PluginTest, SoundsLikeTheEffectWhateverTheHostsBlocks) {
  // Runs of 1 frame, of the announced 256, and one run of 4096: the adaptor cuts what exceeds
  // its scratch into pieces, and the sound never depends on it.
  LV2Instance one(host_, Channels()), announced(host_, Channels()), whole(host_, Channels());
  for (LV2Instance* inst : {&one, &announced, &whole}) {
    ASSERT_TRUE(inst->Valid());
    DriftTestAccess::DriftAlike(*one.Plug(), *inst->Plug());
    inst->Param(kDrive) = 7.0f;
    inst->Param(kInputTrim) = -3.0f;
    inst->Param(kAsymmetry) = 2.5f;
    inst->Param(kCrosstalkLevel) = -60.0f;
    FillSignal(*inst, Channels());
  }
  RunInBlocks(one, Channels(), 1);
  RunInBlocks(announced, Channels(), 256);
  whole.Run(kFrames);
  ExpectSameOutput(one, whole);
  ExpectSameOutput(announced, whole);

  const auto effect = RenderEffect(
      whole, Channels(),
      {{kDrive, 7.0}, {kInputTrim, -3.0}, {kAsymmetry, 2.5}, {kCrosstalkLevel, -60.0}});
  for (int c = 0; c < Channels(); ++c)
    EXPECT_EQ(0, std::memcmp(effect[c].data(), whole.Out(c).data(), kFrames * sizeof(float)));
  EXPECT_EQ(6.0f, whole.Latency());
  EXPECT_GT(whole.Level(), 0.015f);
  EXPECT_LE(whole.Level(), 0.98f);
}

TEST_P(LV2PluginTest, TheHostsEnableControlIsTheBypassInverted) {
  LV2Instance off(host_, Channels());
  off.Param(kBypass) = 0.0f; // enable off: bypassed, through the effect's crossfade
  FillSignal(off, Channels());
  off.Run(kFrames);
  const auto effect = RenderEffect(off, Channels(), {{kBypass, 1.0}});
  for (int c = 0; c < Channels(); ++c)
    EXPECT_EQ(0, std::memcmp(effect[c].data(), off.Out(c).data(), kFrames * sizeof(float)));
  EXPECT_EQ(1.0, off.Plug()->GetParam(kBypass)->Value());
}

TEST_P(LV2PluginTest, BadInputLeavesNoMarkAndNothingNonFinite) {
  LV2Instance bad(host_, Channels()), twin(host_, Channels());
  DriftTestAccess::DriftAlike(*bad.Plug(), *twin.Plug());
  FillSignal(bad, Channels());
  FillSignal(twin, Channels());
  // A block of 0 frames touches no sample; a NaN on a control port leaves its parameter alone.
  std::fill(bad.Out(0).begin(), bad.Out(0).end(), 42.0f);
  bad.Run(0);
  EXPECT_EQ(42.0f, bad.Out(0)[0]);
  bad.Param(kDrive) = std::numeric_limits<float>::quiet_NaN();
  bad.Param(kVUMode) = std::numeric_limits<float>::quiet_NaN();
  bad.Run(kFrames);
  twin.Run(kFrames);
  ExpectSameOutput(bad, twin);
  EXPECT_EQ(0.0, bad.Plug()->GetParam(kDrive)->Value());

  // NaN and infinities in the audio: the output stays finite.
  bad.In(0)[10] = std::numeric_limits<float>::quiet_NaN();
  bad.In(0)[20] = std::numeric_limits<float>::infinity();
  bad.In(Channels() - 1)[30] = -std::numeric_limits<float>::infinity();
  bad.Run(kFrames);
  for (int c = 0; c < Channels(); ++c)
    for (float v : bad.Out(c))
      ASSERT_TRUE(std::isfinite(v));
}

TEST_P(LV2PluginTest, RunAllocatesNothingEvenWhenControlsMove) {
  LV2Instance inst(host_, Channels());
  FillSignal(inst, Channels());
  inst.Run(kFrames); // the first run takes every control port
  const long before = AllocationCount();
  inst.Param(kDrive) = 4.0f;
  inst.Param(kVUMode) = 1.6f; // an enumeration takes its nearest value
  inst.Run(kFrames);
  inst.Run(1);
  EXPECT_EQ(before, AllocationCount());
  EXPECT_EQ(2.0, inst.Plug()->GetParam(kVUMode)->Value());
}

INSTANTIATE_TEST_SUITE_P(MonoAndStereo, LV2PluginTest, ::testing::Values(1, 2),
                         [](const auto& info) { return info.param == 1 ? "Mono" : "Stereo"; });

class LV2StateTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(inst_.Valid());
    inst_.Param(kDrive) = 6.5f;
    inst_.Param(kVUMode) = 2.0f;
    inst_.Run(16);
    saved_ = inst_.Save();
  }
  LV2Host host_;
  LV2Instance inst_{host_, 2};
  LV2Instance::Saved saved_;
};

TEST_F(LV2StateTest, SavesTheSixtyFourByteChunkAndRestoresIt) {
  ASSERT_EQ(64u, saved_.bytes.size());
  EXPECT_EQ(host_.Map(LV2_ATOM__Chunk), saved_.type);
  double drive = 0;
  std::memcpy(&drive, saved_.bytes.data() + 8, 8); // little-endian doubles in parameter order
  EXPECT_EQ(6.5, drive);

  LV2Instance other(host_, 2);
  other.Run(16);
  ASSERT_EQ(LV2_STATE_SUCCESS, other.Restore(saved_));
  other.Run(16); // ports that did not move leave the restored state standing
  EXPECT_EQ(6.5, other.Plug()->GetParam(kDrive)->Value());
  EXPECT_EQ(2.0, other.Plug()->GetParam(kVUMode)->Value());
  EXPECT_TRUE(host_.logLines.empty());
}

TEST_F(LV2StateTest, ForeignOrDamagedStateLeavesTheInstanceAndSaysSo) {
  auto shorter = saved_;
  shorter.bytes.resize(60);
  auto longer = saved_;
  longer.bytes.resize(72, 0);
  auto foreign = saved_;
  foreign.type = host_.Map(LV2_ATOM__String);
  auto notANumber = saved_;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::memcpy(notANumber.bytes.data() + 24, &nan, 8);

  LV2Instance other(host_, 2);
  other.Run(16);
  const auto before = other.Save().bytes;
  for (const auto& bad : {shorter, longer, foreign, notANumber}) {
    EXPECT_NE(LV2_STATE_SUCCESS, other.Restore(bad));
    EXPECT_EQ(before, other.Save().bytes);
  }
  ASSERT_EQ(4u, host_.logLines.size());
  EXPECT_NE(std::string::npos, host_.logLines[0].find("60 bytes"));
  EXPECT_NE(std::string::npos, host_.logLines[3].find("Asymmetry"));

  // A host's state of port values alone is no fault: nothing changes, nothing is logged.
  auto portsOnly = saved_;
  portsOnly.bytes.clear();
  EXPECT_EQ(LV2_STATE_SUCCESS, other.Restore(portsOnly));
  EXPECT_EQ(before, other.Save().bytes);
  EXPECT_EQ(4u, host_.logLines.size());
}

TEST(LV2Descriptor, RefusesARateThatIsNoRateAndStateWithoutAMap) {
  EXPECT_STREQ(lv2::kMonoURI, TAVOLV2Descriptor(0)->URI);
  EXPECT_STREQ(lv2::kStereoURI, TAVOLV2Descriptor(1)->URI);
  EXPECT_EQ(nullptr, TAVOLV2Descriptor(2));
  LV2Host host;
  const LV2_Descriptor* d = TAVOLV2Descriptor(1);
  // A batch tool offers no features: the instance renders, but has no type for a state chunk.
  LV2_Handle bare = d->instantiate(d, 44100.0, "", host.Features(false, false).data());
  ASSERT_NE(nullptr, bare);
  auto* state = static_cast<const LV2_State_Interface*>(d->extension_data(LV2_STATE__interface));
  EXPECT_EQ(LV2_STATE_ERR_NO_FEATURE, state->save(bare, nullptr, nullptr, 0, nullptr));
  d->cleanup(bare);
  for (double rate : {0.0, -48000.0, std::numeric_limits<double>::quiet_NaN()})
    EXPECT_EQ(nullptr, d->instantiate(d, rate, "", host.Features().data()));
  EXPECT_EQ(nullptr, d->extension_data("urn:nothing"));
}

} // namespace
} // namespace tavo::test

namespace tavo::test {
namespace {

using enum TAVOParams::Param;

// The editor's side of the UI, on the offscreen window: what a drag writes to the host, and that
// the host's port events write nothing back.
class LV2EditorTest : public ::testing::Test, public IPlugLV2::HostEditSink {
protected:
  void SetUp() override {
    ASSERT_TRUE(inst_.Valid());
    plug_ = inst_.Plug();
    plug_->SetHostEditSink(this);
    editor_ = GraphicsOf(plug_);
    ASSERT_NE(nullptr, editor_);
    editor_->OpenWindow(nullptr);
  }
  void TearDown() override { plug_->SetHostEditSink(nullptr); }
  void Gesture(uint32_t port, bool begin) override {
    heard.push_back((begin ? "begin " : "end ") + std::to_string(port));
  }
  void WritePort(uint32_t port, float value) override {
    heard.push_back("write " + std::to_string(port) + " " + std::to_string(value));
  }

  std::vector<std::string> heard;
  LV2Host host_;
  LV2Instance inst_{host_, 2};
  TAVOLV2* plug_ = nullptr;
  IGraphics* editor_ = nullptr;
  const lv2::PortLayout layout_{2, kNumParams};
};

TEST_F(LV2EditorTest, ADragWritesThePortBetweenGesturesAndHostEventsAreNotEchoed) {
  const MouseMods left{.L = true};
  editor_->OnMouseDown(84, 168, left); // the Drive knob's centre
  editor_->OnMouseDrag(84, 108, left); // 60 of its 400-pixel travel
  editor_->OnMouseUp(84, 108, {});
  const std::string drive = std::to_string(layout_.Param(kDrive));
  ASSERT_GE(heard.size(), 3u);
  EXPECT_EQ("begin " + drive, heard.front());
  EXPECT_EQ("write " + drive + " 1.500000", heard[heard.size() - 2]);
  EXPECT_EQ("end " + drive, heard.back());

  heard.clear();
  plug_->TakePortValue(layout_.Param(kDrive), 3.0f);
  plug_->TakePortValue(layout_.Param(kBypass), 0.0f); // the host disables: Bypass on
  plug_->TakePortValue(layout_.Param(kVUMode), std::numeric_limits<float>::quiet_NaN());
  plug_->TakePortValue(layout_.Level(), 0.5f); // not a parameter
  EXPECT_TRUE(heard.empty());
  EXPECT_EQ(3.0, plug_->GetParam(kDrive)->Value());
  EXPECT_EQ(1.0, plug_->GetParam(kBypass)->Value());
  EXPECT_EQ(0.0f, plug_->PortValueOf(kBypass));
}

} // namespace
} // namespace tavo::test
