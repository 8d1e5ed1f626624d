#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "effect/TAVO.h"
#include "tests/support/AllocationCounter.h"
#include "tests/support/DriftTestAccess.h"
#include "tests/support/SignalChainTestAccess.h"

namespace tavo {
namespace {

const double kOutputTrim = std::exp(-0.13815510557964); // -1.2 dB

class TAVOTest : public ::testing::Test {
protected:
  // Renders frames of stereo (or, with mono, one channel) float audio in blocks.
  void Render(TAVO& plug, std::vector<float>& left, std::vector<float>& right, int block,
              std::vector<float>* outLeft, std::vector<float>* outRight) {
    const int channels = plug.InputConnected(1) ? 2 : 1;
    for (size_t at = 0; at < left.size(); at += static_cast<size_t>(block)) {
      const int n =
          static_cast<int>(std::min<size_t>(static_cast<size_t>(block), left.size() - at));
      float* in[2] = {left.data() + at, right.data() + at};
      float* out[2] = {outLeft->data() + at, outRight->data() + at};
      std::lock_guard guard(plug.lock);
      plug.BindInputsFloat(0, channels, in, n);
      plug.BindOutputsFloat(0, channels, out);
      plug.RunProcess(n);
    }
  }
};

TEST_F(TAVOTest, NewInstanceHasItsParametersAndIdentity) {
  TAVO plug;
  ASSERT_EQ(plug.NParams(), 8);
  const double expected[] = {0, 0, 0, 5, 0, -90, 0, 0};
  const char* names[] = {"Input Trim", "Drive",         "Output Compensation",
                         "Asymmetry",  "Freq Response", "Crosstalk Level",
                         "VU Mode",    "Bypass"};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(plug.GetParam(i)->Value(), expected[i]) << i;
    EXPECT_STREQ(plug.GetParam(i)->GetName(), names[i]);
  }
  EXPECT_EQ(plug.GetParam(TAVO::kVUMode)->Kind(), ParamKind::Enum);
  EXPECT_STREQ(plug.GetParam(TAVO::kVUMode)->GetDisplayTextFor(1), "RMS Difference Out-In");
  EXPECT_EQ(plug.GetParam(TAVO::kBypass)->Kind(), ParamKind::Bool);
  EXPECT_STREQ(plug.GetParam(TAVO::kInputTrim)->GetUnitLabel(), "dB");
  EXPECT_STREQ(plug.GetParam(TAVO::kDrive)->GetUnitLabel(), "");
  EXPECT_STREQ(plug.EffectName(), "TAVO");
  EXPECT_STREQ(plug.MakerName(), "Quenstrel");
  EXPECT_EQ(plug.UniqueID(), 0x5441564F);
  EXPECT_EQ(plug.MakerID(), 0x516E536C);
  EXPECT_EQ(plug.Latency(), 6);
  EXPECT_EQ(plug.ApiKind(), kApiStandalone); // no host format: the module makes it RTAS
  EXPECT_EQ(plug.EffectVersion(true), 10000);
  EXPECT_EQ(plug.BlockSize(), 1024);
  EXPECT_TRUE(plug.InputConnected(1));
  ASSERT_EQ(plug.NPresets(), 1);
  EXPECT_STREQ(plug.PresetName(0), "-");
}

TEST_F(TAVOTest, ParamChangedSetsOnlyTheGainsAndTheBypass) {
  TAVO plug;
  plug.ParamChanged(TAVO::kOutputCompensation);
  EXPECT_EQ(Inspect(plug.Chain()).outputGain(), kOutputTrim);
  EXPECT_NEAR(Inspect(plug.Chain()).outputGain(), 0.870964, 1e-6);

  plug.GetParam(TAVO::kInputTrim)->SetValue(6.0);
  plug.ParamChanged(TAVO::kInputTrim);
  EXPECT_DOUBLE_EQ(Inspect(plug.Chain()).inputGain(), std::exp(6.0 * 0.1151292546497));

  plug.GetParam(TAVO::kBypass)->SetValue(1);
  plug.ParamChanged(TAVO::kBypass);
  EXPECT_TRUE(Inspect(plug.Chain()).bypassed());
  plug.GetParam(TAVO::kBypass)->SetValue(0);
  plug.ParamChanged(TAVO::kBypass);
  EXPECT_FALSE(Inspect(plug.Chain()).bypassed());

  for (int i : {1, 3, 4, 5, 6}) {
    plug.GetParam(i)->SetValue(plug.GetParam(i)->Max());
    plug.ParamChanged(i);
  }
  EXPECT_DOUBLE_EQ(Inspect(plug.Chain()).inputGain(), std::exp(6.0 * 0.1151292546497));
  EXPECT_EQ(Inspect(plug.Chain()).outputGain(), kOutputTrim);
  EXPECT_FALSE(Inspect(plug.Chain()).bypassed());
}

TEST_F(TAVOTest, ResetEndsTheRampAndFollowsTheSampleRate) {
  TAVO plug;
  EXPECT_EQ(Inspect(plug.Chain()).rampGain(), 0.0);
  plug.ConfigureSampleRate(48000);
  plug.Reset();
  EXPECT_EQ(Inspect(plug.Chain()).rampGain(), 1.0);
  EXPECT_EQ(Inspect(plug.Chain()).resetSampleRate(), 48000.0);
  std::vector<float> in(4, 0.0f), out(4), out2(4);
  Render(plug, in, in, 4, &out, &out2);
  EXPECT_EQ(Inspect(plug.Chain()).rampGain(), 1.0001);
}

TEST_F(TAVOTest, DefaultStateIsSixtyFourBytesOfPlainValues) {
  TAVO plug;
  IStateChunk state;
  ASSERT_TRUE(plug.SaveState(&state));
  ASSERT_EQ(state.Size(), 64);
  const double expected[] = {0, 0, 0, 5, 0, -90, 0, 0};
  EXPECT_EQ(std::memcmp(state.Data(), expected, 64), 0);
  // The default preset holds exactly that state.
  EXPECT_EQ(plug.GetPreset(0)->chunk.Size(), 64);
  EXPECT_EQ(std::memcmp(plug.GetPreset(0)->chunk.Data(), expected, 64), 0);
}

TEST_F(TAVOTest, ASixtyByteChunkRestoresSevenValuesAndZeroesTheLast) {
  TAVO plug;
  plug.GetParam(TAVO::kBypass)->SetValue(1);
  plug.ParamChanged(TAVO::kBypass);
  const double values[] = {3, 4, -5, 6, 7, -100, 2};
  IStateChunk chunk;
  chunk.PutBytes(values, sizeof values);
  chunk.PutBytes("\0\0\0\0", 4);
  EXPECT_EQ(plug.LoadState(&chunk, 0), -1);
  for (int i = 0; i < 7; ++i)
    EXPECT_EQ(plug.GetParam(i)->Value(), values[i]);
  EXPECT_EQ(plug.GetParam(TAVO::kBypass)->Value(), 0.0);
  // ParamChanged ran for every parameter: the gains and the bypass follow the restored values.
  EXPECT_FALSE(Inspect(plug.Chain()).bypassed());
  EXPECT_DOUBLE_EQ(Inspect(plug.Chain()).inputGain(), std::exp(3 * 0.1151292546497));
  EXPECT_DOUBLE_EQ(Inspect(plug.Chain()).outputGain(),
                   std::exp(-5 * 0.1151292546497) * std::exp(-0.13815510557964));
}

TEST_F(TAVOTest, StateRoundTripRendersIdentically) {
  TAVO a;
  a.GetParam(TAVO::kDrive)->SetValue(6.5);
  a.GetParam(TAVO::kAsymmetry)->SetValue(2.25);
  a.GetParam(TAVO::kCrosstalkLevel)->SetValue(-70);
  IStateChunk state;
  ASSERT_TRUE(a.SaveState(&state));
  TAVO b;
  DriftTestAccess::DriftAlike(a, b);
  ASSERT_EQ(b.LoadState(&state, 0), 64);
  a.LoadState(&state, 0); // both heard ParamChanged for everything
  std::vector<float> left(4096), right(4096);
  for (size_t i = 0; i < left.size(); ++i) {
    left[i] = static_cast<float>(0.5 * std::sin(0.05 * i));
    right[i] = static_cast<float>(0.3 * std::cos(0.021 * i));
  }
  std::vector<float> aL(4096), aR(4096), bL(4096), bR(4096);
  Render(a, left, right, 32, &aL, &aR);
  Render(b, left, right, 32, &bL, &bR);
  EXPECT_EQ(aL, bL);
  EXPECT_EQ(aR, bR);
}

TEST_F(TAVOTest, MonoInstanceNeverWritesTheSecondOutput) {
  TAVO plug;
  plug.Reset();
  plug.ConnectInputs(1, 1, false);
  plug.ConnectOutputs(1, 1, false);
  std::vector<float> in(256, 0.25f), out(256), untouched(256, 7.0f);
  Render(plug, in, in, 64, &out, &untouched);
  EXPECT_EQ(untouched, std::vector<float>(256, 7.0f));
  EXPECT_NE(out[200], 0.0f);
}

TEST_F(TAVOTest, EmptyBlocksWriteNothing) {
  TAVO plug;
  plug.Reset();
  std::vector<float> left(8, 1.0f), out(8, 9.0f), out2(8, 9.0f);
  float* in[2] = {left.data(), left.data()};
  float* outs[2] = {out.data(), out2.data()};
  plug.BindInputsFloat(0, 2, in, 0);
  plug.BindOutputsFloat(0, 2, outs);
  plug.RunProcess(0);
  plug.RunProcess(-5);
  EXPECT_EQ(out, std::vector<float>(8, 9.0f));
  EXPECT_EQ(out2, std::vector<float>(8, 9.0f));
}

TEST_F(TAVOTest, LongHostBlocksMatchShortOnes) {
  // A block longer than the scratch buffers is processed in pieces, with the same result.
  TAVO a, b;
  DriftTestAccess::DriftAlike(a, b);
  const size_t n = 3000;
  std::vector<float> left(n), right(n);
  for (size_t i = 0; i < n; ++i) {
    left[i] = static_cast<float>(0.8 * std::sin(0.013 * i));
    right[i] = static_cast<float>(-0.6 * std::sin(0.007 * i));
  }
  std::vector<float> aL(n), aR(n), bL(n), bR(n);
  Render(a, left, right, 32, &aL, &aR);
  Render(b, left, right, static_cast<int>(n), &bL, &bR);
  EXPECT_EQ(aL, bL);
  EXPECT_EQ(aR, bR);
}

TEST_F(TAVOTest, NonFiniteInputIsSilenceAndTheInstanceRecovers) {
  for (bool mono : {false, true}) {
    TAVO poisoned, clean;
    DriftTestAccess::DriftAlike(poisoned, clean);
    for (TAVO* p : {&poisoned, &clean}) {
      if (mono) {
        p->ConnectInputs(1, 1, false);
        p->ConnectOutputs(1, 1, false);
      }
    }
    std::vector<float> bad(64, 0.1f), good(64, 0.1f);
    bad[3] = std::nanf("");
    bad[9] = INFINITY;
    bad[10] = -INFINITY;
    good[3] = good[9] = good[10] = 0.0f;
    std::vector<float> pL(64), pR(64), cL(64), cR(64);
    Render(poisoned, bad, bad, 32, &pL, &pR);
    Render(clean, good, good, 32, &cL, &cR);
    EXPECT_EQ(pL, cL) << "mono " << mono;
    std::vector<float> tone(512, 0.2f);
    std::vector<float> p2L(512), p2R(512), c2L(512), c2R(512);
    Render(poisoned, tone, tone, 32, &p2L, &p2R);
    Render(clean, tone, tone, 32, &c2L, &c2R);
    EXPECT_EQ(p2L, c2L) << "mono " << mono;
    for (float v : p2L)
      ASSERT_TRUE(std::isfinite(v));
  }
}

TEST_F(TAVOTest, RunProcessAllocatesNothing) {
  TAVO plug;
  plug.Reset();
  std::vector<float> left(64, 0.3f), right(64, -0.2f), outL(64), outR(64);
  float* in[2] = {left.data(), right.data()};
  float* out[2] = {outL.data(), outR.data()};
  // Including a block longer than the scratch buffers.
  std::vector<float> longIn(3000, 0.1f), longOutL(3000), longOutR(3000);
  float* longInPtrs[2] = {longIn.data(), longIn.data()};
  float* longOutPtrs[2] = {longOutL.data(), longOutR.data()};
  const long before = test::AllocationCount();
  for (int block = 0; block < 100; ++block) {
    std::lock_guard guard(plug.lock);
    plug.BindInputsFloat(0, 2, in, 64);
    plug.BindOutputsFloat(0, 2, out);
    plug.RunProcess(64);
    plug.RunBypass(64);
  }
  {
    std::lock_guard guard(plug.lock);
    plug.BindInputsFloat(0, 2, longInPtrs, 3000);
    plug.BindOutputsFloat(0, 2, longOutPtrs);
    plug.RunProcess(3000);
  }
  EXPECT_EQ(test::AllocationCount() - before, 0);
}

TEST_F(TAVOTest, CreateBuildsIndependentInstances) {
  auto a = MakeTAVO();
  auto b = MakeTAVO();
  ASSERT_TRUE(a && b);
  a->GetParam(TAVO::kDrive)->SetValue(9);
  EXPECT_EQ(b->GetParam(TAVO::kDrive)->Value(), 0.0);
}

} // namespace
} // namespace tavo
