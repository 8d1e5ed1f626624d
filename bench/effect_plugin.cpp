// The whole plug-in as the host drives it: a TAVO instance after Reset, 32-frame blocks (and, for
// the stereo chain at Drive 5, also 64, 256 and 1024) of 32-bit float audio through BindInputsFloat
// / BindOutputsFloat / RunProcess under the processing lock, editor attached (so the needle moves
// every block). Reports ns_per_frame and realtime_x (real-time factor at 44.1 kHz).

#include <benchmark/benchmark.h>

#include <cmath>
#include <mutex>
#include <vector>

#include "bench/BenchSignal.h"
#include "bench/effect_counters.h"
#include "effect/SimdPath.h"
#include "effect/TAVO.h"

namespace {

constexpr double kFs = 44100;
constexpr int kBlock = 32;
using tavo::bench::kSignalFrames;

std::vector<float> Signal(double f1, double f2) {
  return tavo::bench::TwoPartialsUnderASwell<float>(f1, f2);
}

// The first argument is the Drive.
void RunPlugin(benchmark::State& state, bool stereo, int block = kBlock) {
  const double drive = static_cast<double>(state.range(0));
  auto inL = Signal(220, 1500);
  auto inR = Signal(330, 2100);
  std::vector<float> outL(static_cast<std::size_t>(block)), outR(static_cast<std::size_t>(block));

  tavo::TAVO plug;
  plug.ConfigureSampleRate(kFs);
  if (!stereo) {
    plug.ConnectInputs(1, 1, false);
    plug.ConnectOutputs(1, 1, false);
  }
  plug.Reset();
  plug.GetParam(tavo::TAVO::kDrive)->SetValue(drive);
  plug.ParamChanged(tavo::TAVO::kDrive);
  plug.ParamChanged(tavo::TAVO::kOutputCompensation);
  const int channels = stereo ? 2 : 1;

  std::size_t pos = 0;
  const tavo::bench::FrameCounters counters;
  for (auto _ : state) {
    float* ins[] = {inL.data() + pos, inR.data() + pos};
    float* outs[] = {outL.data(), outR.data()};
    {
      std::lock_guard guard(plug.lock);
      plug.BindInputsFloat(0, channels, ins, block);
      plug.BindOutputsFloat(0, channels, outs);
      plug.RunProcess(block);
    }
    benchmark::DoNotOptimize(outL.data());
    benchmark::DoNotOptimize(outR.data());
    pos =
        (pos + static_cast<std::size_t>(block)) % (kSignalFrames - static_cast<std::size_t>(block));
  }
  counters.Report(state, block);
  state.SetLabel(tavo::SimdPathName(tavo::ActiveSimdPath()));
}

void ChainMono(benchmark::State& state) {
  RunPlugin(state, false);
}
void ChainStereo(benchmark::State& state) {
  RunPlugin(state, true);
}
BENCHMARK(ChainMono)->Name("Chain/Mono")->ArgName("Drive")->Arg(0)->Arg(5)->Arg(10);
BENCHMARK(ChainStereo)->Name("Chain/Stereo")->ArgName("Drive")->Arg(0)->Arg(5)->Arg(10);
// The block sizes hosts also use.
void ChainStereoBlocks(benchmark::State& state) {
  RunPlugin(state, true, static_cast<int>(state.range(1)));
}
BENCHMARK(ChainStereoBlocks)
    ->Name("Chain/Stereo")
    ->ArgNames({"Drive", "Block"})
    ->Args({5, 64})
    ->Args({5, 256})
    ->Args({5, 1024});

} // namespace
