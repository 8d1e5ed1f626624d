// What the host pays when it shows and parses control values: the linear control's display text
// (prefix choice, decimals that give way to the width) and its parser, against a bare
// fixed-notation format as the baseline.

#include <benchmark/benchmark.h>

#include <cstdio>

#include "hostlib/CPluginControl_Continuous.h"

namespace {

CPluginControl_Linear MakeGain() {
  return CPluginControl_Linear(0x206C6420, "Gain", -1e6, 1e6, 1.0, 0.0, true, UnitPrefix(),
                               LargestPrefix());
}

void BM_PrintfBaseline(benchmark::State& state) {
  char text[32];
  double x = 1500.0;
  for (auto _ : state) {
    std::snprintf(text, sizeof text, "%.*f", 1, x);
    benchmark::DoNotOptimize(text);
    x += 1.0;
  }
  state.counters["ns_per_text"] =
      benchmark::Counter(static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PrintfBaseline)->Name("HostControl/PrintfBaseline");

void BM_LinearDisplayText(benchmark::State& state) {
  const CPluginControl_Linear gain = MakeGain();
  char text[32];
  int32_t c = gain.ControlValueFromReal(1500.0);
  for (auto _ : state) {
    gain.GetDisplayText(text, static_cast<int32_t>(state.range(0)), c);
    benchmark::DoNotOptimize(text);
    c += 997;
  }
  state.counters["ns_per_text"] =
      benchmark::Counter(static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_LinearDisplayText)->Name("HostControl/LinearDisplay/Width")->Arg(8)->Arg(3);

void BM_LinearParseText(benchmark::State& state) {
  const CPluginControl_Linear gain = MakeGain();
  for (auto _ : state)
    benchmark::DoNotOptimize(gain.ControlValueFromText("1.5 k"));
  state.counters["ns_per_text"] =
      benchmark::Counter(static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_LinearParseText)->Name("HostControl/LinearParse");

} // namespace
