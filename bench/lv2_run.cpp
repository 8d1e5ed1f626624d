// The LV2 path end to end: the bundle's TAVO.so opened as an LV2 host opens it, the stereo
// plug-in instantiated through its descriptor at 44.1 kHz, Drive 5 on its control port, and
// 32-frame blocks run through the descriptor's run() into the host's float buffers. Compare with
// Chain/Stereo/Drive:5 in the same run (same signal, same blocks, the plug-in called directly):
// the difference is what the LV2 adaptor costs.

#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <lv2/core/lv2.h>

#include <memory>
#include <vector>

#include "bench/BenchSignal.h"
#include "bench/effect_counters.h"
#include "lv2/PortLayout.h"

namespace {

constexpr double kRate = 44100;
constexpr int kBlock = 32;
constexpr int kNumParams = 8;
using tavo::bench::kSignalFrames;

struct Library {
  void* handle = dlopen(TAVO_LV2_FILE, RTLD_NOW | RTLD_LOCAL);
  ~Library() {
    if (handle) dlclose(handle);
  }
};

void LV2RunStereo(benchmark::State& state) {
  Library library;
  using Entry = const LV2_Descriptor* (*)(uint32_t);
  const auto entry =
      library.handle ? reinterpret_cast<Entry>(dlsym(library.handle, "lv2_descriptor")) : nullptr;
  const LV2_Descriptor* desc = entry ? entry(1) : nullptr;
  const LV2_Feature* features[] = {nullptr};
  LV2_Handle instance = desc ? desc->instantiate(desc, kRate, "", features) : nullptr;
  if (!instance) {
    state.SkipWithError("the LV2 bundle cannot be loaded and instantiated");
    return;
  }
  const tavo::lv2::PortLayout layout{2, kNumParams};
  // Every control at its default, the enable control on, Drive as asked.
  std::vector<float> controls = {0, 0, 0, 5, 0, -90, 0, 1, 0, 0};
  controls[1] = static_cast<float>(state.range(0));
  for (uint32_t p = layout.FirstParam(); p < layout.Count(); ++p)
    desc->connect_port(instance, p, &controls[p - layout.FirstParam()]);
  const auto inL = tavo::bench::TwoPartialsUnderASwell<float>(220, 1500);
  const auto inR = tavo::bench::TwoPartialsUnderASwell<float>(330, 2100);
  std::vector<float> outL(kBlock), outR(kBlock);
  desc->connect_port(instance, layout.AudioOut(0), outL.data());
  desc->connect_port(instance, layout.AudioOut(1), outR.data());
  desc->activate(instance);

  size_t pos = 0;
  const tavo::bench::FrameCounters counters;
  for (auto _ : state) {
    desc->connect_port(instance, layout.AudioIn(0), const_cast<float*>(inL.data() + pos));
    desc->connect_port(instance, layout.AudioIn(1), const_cast<float*>(inR.data() + pos));
    desc->run(instance, kBlock);
    benchmark::DoNotOptimize(outL.data());
    benchmark::DoNotOptimize(outR.data());
    pos = (pos + kBlock) % (kSignalFrames - kBlock);
  }
  counters.Report(state, kBlock);
  desc->cleanup(instance);
}
BENCHMARK(LV2RunStereo)->Name("LV2/RunStereo")->ArgName("Drive")->Arg(5);

} // namespace
