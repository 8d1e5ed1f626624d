#pragma once
// The two figures every audio benchmark reports: processor time per frame in nanoseconds and the
// real-time factor at 44.1 kHz (how many times faster than real time one core renders).
// Measured on the benchmark thread's processor clock, so other load on the machine inflates the
// figures less than wall-clock time would.

#include <benchmark/benchmark.h>

#include <ctime>

namespace tavo::bench {

class FrameCounters {
public:
  FrameCounters() { start_ = Now(); }

  // Call once after the timing loop.
  void Report(benchmark::State& state, long long framesPerIteration) const {
    const double seconds = Now() - start_;
    const double frames = static_cast<double>(state.iterations()) * framesPerIteration;
    if (frames <= 0 || seconds <= 0) return;
    state.counters["ns_per_frame"] = seconds * 1e9 / frames;
    state.counters["realtime_x"] = frames / 44100.0 / seconds;
  }

private:
  static double Now() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
  }
  double start_;
};

} // namespace tavo::bench
