// The effect's sound path: the saturator engine alone, the whole chain, and the straightforward
// scalar transcription of the stereo chain as the baseline the optimised path is measured
// against. Each reports ns_per_frame and realtime_x (real-time factor at 44.1 kHz).

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "bench/BenchSignal.h"
#include "bench/effect_counters.h"
#include "effect/SaturatorEngine.h"
#include "effect/SignalChain.h"
#include "effect/SimdPath.h"
#include "tests/support/reference/ReferenceChain.h"

namespace {

constexpr double kFs = 44100;
constexpr int kBlock = 32;
using tavo::bench::kSignalFrames;

std::vector<double> Signal(double f1, double f2) {
  return tavo::bench::TwoPartialsUnderASwell<double>(f1, f2);
}

// The engine alone, each frame's front interleaved with the previous frame's core, then the back
// pass (the chain runs its stages five frames deep; see effect/SignalChainFrames.h).
template <class Kernel, class T> void RunStaged(Kernel& k, const T* in, T* out, int n) {
  typename Kernel::Front front[kBlock];
  T core[kBlock];
  for (int i = 0; i < n; ++i) {
    front[i] = k.ProcessFront(in[i]);
    if (i > 0) core[i - 1] = k.ProcessCore(front[i - 1].w);
  }
  core[n - 1] = k.ProcessCore(front[n - 1].w);
  for (int i = 0; i < n; ++i)
    out[i] = k.ProcessBack(core[i], front[i]);
}

void EngineMono(benchmark::State& state) {
  const auto in = Signal(220, 1500);
  std::vector<double> out(kBlock);
  tavo::SaturatorEngine engine;
  engine.Configure(kFs, tavo::DriveToDb(5), 0, 0.2, 0.5);
  std::size_t pos = 0;
  const tavo::bench::FrameCounters counters;
  for (auto _ : state) {
    auto k = engine.BeginMono();
    RunStaged(k, in.data() + pos, out.data(), kBlock);
    engine.EndMono(k);
    benchmark::DoNotOptimize(out.data());
    pos = (pos + kBlock) % (kSignalFrames - kBlock);
  }
  counters.Report(state, kBlock);
}
BENCHMARK(EngineMono)->Name("Engine/Mono");

// frameByFrame: every stage of a frame before the next frame, as a plain loop would.
void EngineStereo(benchmark::State& state, bool frameByFrame) {
  const auto inL = Signal(220, 1500);
  const auto inR = Signal(330, 2100);
  std::vector<tavo::StereoLane> in;
  for (std::size_t i = 0; i < inL.size(); ++i)
    in.emplace_back(inL[i], inR[i]);
  std::vector<tavo::StereoLane> out(kBlock);
  tavo::SaturatorEngine engine;
  engine.Configure(kFs, tavo::DriveToDb(5), 0, 0.2, 0.5);
  std::size_t pos = 0;
  const tavo::bench::FrameCounters counters;
  for (auto _ : state) {
    auto k = engine.BeginStereo<tavo::StereoLane>();
    if (frameByFrame) {
      for (int i = 0; i < kBlock; ++i)
        out[static_cast<std::size_t>(i)] = k.Process(in[pos + i]);
    } else {
      RunStaged(k, in.data() + pos, out.data(), kBlock);
    }
    engine.EndStereo(k);
    benchmark::DoNotOptimize(out.data());
    pos = (pos + kBlock) % (kSignalFrames - kBlock);
  }
  counters.Report(state, kBlock);
}
BENCHMARK_CAPTURE(EngineStereo, staged, false)->Name("Engine/Stereo");
BENCHMARK_CAPTURE(EngineStereo, frameByFrame, true)->Name("Engine/Stereo/FrameByFrame");

// The signal chain alone, as TAVO drives it: 32-frame blocks of 64-bit samples, no format
// conversion and no lock (the whole plug-in is measured as Chain/*).
template <class Chain> void RunChain(benchmark::State& state, bool stereo) {
  const double drive = static_cast<double>(state.range(0));
  const auto inL = Signal(220, 1500);
  const auto inR = Signal(330, 2100);
  std::vector<double> outL(kBlock), outR(kBlock);
  Chain chain;
  chain.Reset(kFs);
  tavo::ChainSettings settings;
  settings.drive = drive;
  std::size_t pos = 0;
  const tavo::bench::FrameCounters counters;
  for (auto _ : state) {
    const double* ins[] = {inL.data() + pos, inR.data() + pos};
    double* outs[] = {outL.data(), outR.data()};
    chain.Process(settings, kFs, stereo, ins, outs, kBlock);
    benchmark::DoNotOptimize(outL.data());
    benchmark::DoNotOptimize(outR.data());
    pos = (pos + kBlock) % (kSignalFrames - kBlock);
  }
  counters.Report(state, kBlock);
  state.SetLabel(tavo::SimdPathName(tavo::ActiveSimdPath()));
}

void SignalChainMono(benchmark::State& state) {
  RunChain<tavo::SignalChain>(state, false);
}
void SignalChainStereo(benchmark::State& state) {
  RunChain<tavo::SignalChain>(state, true);
}
void ChainScalarReferenceStereo(benchmark::State& state) {
  RunChain<tavo::reference::Chain>(state, true);
}
BENCHMARK(SignalChainMono)->Name("SignalChain/Mono")->ArgName("Drive")->Arg(5);
BENCHMARK(SignalChainStereo)->Name("SignalChain/Stereo")->ArgName("Drive")->Arg(5);
BENCHMARK(ChainScalarReferenceStereo)
    ->Name("ChainScalarReference/Stereo")
    ->ArgName("Drive")
    ->Arg(5);

} // namespace
