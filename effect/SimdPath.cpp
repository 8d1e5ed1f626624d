#include "effect/SimdPath.h"

#include <cstdlib>
#include <cstring>

#include "effect/StereoLane.h"

namespace tavo {

namespace {

bool ProcessorHasAvx2() {
#if TAVO_HAVE_AVX2_PATH
  // Also checks that the system saves the wide registers across context switches.
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") != 0;
#else
  return false;
#endif
}

} // namespace

const char* SimdPathName(SimdPath path) {
  switch (path) {
  case SimdPath::Scalar:
    return "scalar";
  case SimdPath::Sse2:
    return "sse2";
  case SimdPath::Avx2:
    return "avx2";
  }
  return "scalar";
}

SimdPath ChooseSimdPath(const char* request, bool sse2Available, bool avx2Available) {
  const SimdPath sse2OrLess = sse2Available ? SimdPath::Sse2 : SimdPath::Scalar;
  const SimdPath best = avx2Available ? SimdPath::Avx2 : sse2OrLess;
  if (request == nullptr) return best;
  if (std::strcmp(request, "scalar") == 0) return SimdPath::Scalar;
  if (std::strcmp(request, "sse2") == 0) return sse2OrLess;
  return best; // "avx2", empty or unknown
}

bool SimdPathAvailable(SimdPath path) {
  static const bool avx2 = ProcessorHasAvx2();
#if TAVO_HAVE_SSE2
  constexpr bool sse2 = true; // part of every x86-64 processor and required by this build
#else
  constexpr bool sse2 = false;
#endif
  switch (path) {
  case SimdPath::Scalar:
    return true;
  case SimdPath::Sse2:
    return sse2;
  case SimdPath::Avx2:
    return avx2;
  }
  return false;
}

SimdPath ActiveSimdPath() {
  static const SimdPath path =
      ChooseSimdPath(std::getenv("TAVO_SIMD"), SimdPathAvailable(SimdPath::Sse2),
                     SimdPathAvailable(SimdPath::Avx2));
  return path;
}

} // namespace tavo
