// The bundle's processor renders what the effect renders when called directly: the format layer
// adds no sound of its own.

#include <mutex>

#include "effect/TAVO.h"
#include "tests/vst3/Vst3Fixture.h"

namespace tavo::test {
namespace {

using Vst3Agreement = Vst3Host;

TEST_F(Vst3Agreement, ProcessorRendersAsTheEffectItself) {
  constexpr int kFrames = 4096, kBlock = 256;
  for (int channels : {1, 2}) {
    Channels in = TestSignal(channels, kFrames);
    const Channels viaBundle = Render(in, {kBlock}, {{0, TAVO::kDrive, 0.7}, {0, 5, 1.0}}, kBlock);

    auto plug = MakeTAVO();
    plug->ConfigureSampleRate(48000.0);
    plug->ConnectInputs(1, 1, channels == 2);
    plug->ConnectOutputs(1, 1, channels == 2);
    plug->Reset();
    for (int i = 0; i < plug->NParams(); ++i)
      plug->ParamChanged(i);
    plug->SetParameterFromHost(TAVO::kDrive, 7.0);
    plug->SetParameterFromHost(TAVO::kCrosstalkLevel, -60.0);
    Channels direct(channels, std::vector<float>(kFrames));
    for (int pos = 0; pos < kFrames; pos += kBlock) {
      float* ins[2] = {in[0].data() + pos, in[channels - 1].data() + pos};
      float* outs[2] = {direct[0].data() + pos, direct[channels - 1].data() + pos};
      std::lock_guard guard(plug->lock);
      plug->BindInputsFloat(0, channels, ins, kBlock);
      plug->BindOutputsFloat(0, channels, outs);
      plug->RunProcess(kBlock);
    }
    EXPECT_EQ(viaBundle, direct) << channels << " channels";
  }
}

} // namespace
} // namespace tavo::test
