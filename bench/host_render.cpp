// The host's path end to end: TAVO.so loaded beside the engine stand-ins, a stereo process at
// Drive 5 rendered in the fixed quantum of 32 frames through the engine's render callback, the
// process core, the adaptor and the chain, into the host's float buffers. The benchmark thread
// is the host's real-time thread. Compare with Chain/Stereo/Drive:5 (same signal, same blocks,
// the chain called directly) in the same run: the difference is what hosting costs.

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "bench/BenchSignal.h"
#include "bench/effect_counters.h"
#include "host/driver/HostDriver.h"
#include "host/engine/StandInControl.h"

namespace {

using namespace tavo::host;

constexpr int kRate = 44100;
constexpr int kBlock = 32;
using tavo::bench::kSignalFrames;

std::vector<float> Signal(double f1, double f2) {
  return tavo::bench::TwoPartialsUnderASwell<float>(f1, f2);
}

void HostRenderStereo(benchmark::State& state) {
  standin::ResetAll();
  std::unique_ptr<HostModule> module;
  std::unique_ptr<HostProcess> process;
  ProcessOptions options;
  options.sampleRate = kRate;
  int32_t drive = 0;
  if (HostModule::Load(TAVO_MODULE_FILE, module) != 0 ||
      module->CreateProcess(options, process) != 0 ||
      process->ValueFromText(3, std::to_string(state.range(0)), drive) != 0 ||
      process->SetControl(3, drive) != 0) {
    state.SkipWithError("the module cannot be loaded and set up");
    return;
  }
  const auto inL = Signal(220, 1500);
  const auto inR = Signal(330, 2100);
  std::vector<float> outL(kBlock), outR(kBlock);
  float* outs[] = {outL.data(), outR.data()};

  size_t pos = 0;
  const tavo::bench::FrameCounters counters;
  for (auto _ : state) {
    const float* ins[] = {inL.data() + pos, inR.data() + pos};
    process->RenderBlockHere(ins, outs, kBlock);
    benchmark::DoNotOptimize(outL.data());
    benchmark::DoNotOptimize(outR.data());
    pos = (pos + kBlock) % (kSignalFrames - kBlock);
  }
  counters.Report(state, kBlock);
}
BENCHMARK(HostRenderStereo)->Name("Host/RenderStereo")->ArgName("Drive")->Arg(5);

} // namespace
