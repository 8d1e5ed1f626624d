#pragma once
// Which build of the stereo frame kernels runs: the plain double transcription, the SSE2 lanes
// or, on x86-64 processors that have it, the same lane source compiled for AVX2. All three give
// bit-identical samples; they differ only in speed. The choice is made once per process from the
// processor, and the environment variable TAVO_SIMD (scalar, sse2 or avx2) can narrow it for
// tests and benchmarks.

namespace tavo {

enum class SimdPath { Scalar, Sse2, Avx2 };

inline constexpr SimdPath kAllSimdPaths[] = {SimdPath::Scalar, SimdPath::Sse2, SimdPath::Avx2};

// "scalar", "sse2" or "avx2". [any thread · pure]
const char* SimdPathName(SimdPath path);

// [any thread · pure] The path for a TAVO_SIMD value (null when unset) on a machine where the
// SSE2 and AVX2 paths are or are not available: the one asked for if available, else the best
// available one below it; unset or unknown values get the best available path.
SimdPath ChooseSimdPath(const char* request, bool sse2Available, bool avx2Available);

// [any thread] Whether this build has the path and this processor can run it.
bool SimdPathAvailable(SimdPath path);

// [any thread] The path chosen for this process, decided at the first call (the chain's
// constructor makes it, so the audio thread never does).
SimdPath ActiveSimdPath();

} // namespace tavo
