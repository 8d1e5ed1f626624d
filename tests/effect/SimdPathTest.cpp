// The choice of kernel build: what TAVO_SIMD asks for is honoured only as far as the machine
// allows, so a test run or a benchmark can narrow the path but never force one the processor
// cannot execute.

#include <gtest/gtest.h>

#include <cstdlib>

#include "effect/SimdPath.h"

namespace tavo {
namespace {

TEST(SimdPathChoice, UnsetOrUnknownRequestsTakeTheBestAvailablePath) {
  for (const char* request : {static_cast<const char*>(nullptr), "", "AVX2", "avx512", "neon"}) {
    EXPECT_EQ(ChooseSimdPath(request, true, true), SimdPath::Avx2);
    EXPECT_EQ(ChooseSimdPath(request, true, false), SimdPath::Sse2);
    EXPECT_EQ(ChooseSimdPath(request, false, false), SimdPath::Scalar);
  }
}

TEST(SimdPathChoice, RequestsNarrowButNeverExceedWhatTheMachineHas) {
  EXPECT_EQ(ChooseSimdPath("scalar", true, true), SimdPath::Scalar);
  EXPECT_EQ(ChooseSimdPath("sse2", true, true), SimdPath::Sse2);
  EXPECT_EQ(ChooseSimdPath("avx2", true, false), SimdPath::Sse2);
  EXPECT_EQ(ChooseSimdPath("avx2", false, false), SimdPath::Scalar);
  EXPECT_EQ(ChooseSimdPath("sse2", false, false), SimdPath::Scalar);
}

TEST(SimdPathChoice, ProcessPathFollowsTheEnvironmentAndIsAvailable) {
  const SimdPath active = ActiveSimdPath();
  EXPECT_TRUE(SimdPathAvailable(active)) << SimdPathName(active);
  EXPECT_EQ(active, ChooseSimdPath(std::getenv("TAVO_SIMD"), SimdPathAvailable(SimdPath::Sse2),
                                   SimdPathAvailable(SimdPath::Avx2)));
  EXPECT_TRUE(SimdPathAvailable(SimdPath::Scalar));
}

} // namespace
} // namespace tavo
