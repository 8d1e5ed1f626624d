// The same samples on every platform: the effect's arithmetic is IEEE additions, multiplications,
// divisions and square roots, and where it needs more (the leveller's curve) it does not call the
// C library, whose logarithm and exponential round differently on each platform. A render at
// double precision is hashed here against one value, which the Linux and both Windows suites
// check alike.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "effect/SignalChain.h"

namespace tavo {
namespace {

std::uint64_t Fnv1a(const std::vector<double>& samples) {
  std::uint64_t h = 0xCBF29CE484222325ull;
  for (double s : samples) {
    unsigned char bytes[sizeof s];
    std::memcpy(bytes, &s, sizeof s);
    for (unsigned char b : bytes)
      h = (h ^ b) * 0x100000001B3ull;
  }
  return h;
}

// Two tones under a slow swell and a little noise, made by rotation and a congruential generator:
// additions and multiplications only, so every platform makes the same input.
struct Input {
  std::vector<double> left, right;
  explicit Input(int frames) : left(std::size_t(frames)), right(std::size_t(frames)) {
    double c1 = 1, s1 = 0, c2 = 1, s2 = 0, c3 = 1, s3 = 0;
    std::uint64_t seed = 12345;
    for (std::size_t i = 0; i < std::size_t(frames); ++i) {
      seed = seed * 6364136223846793005ull + 1442695040888963407ull;
      const double noise = double(seed >> 11) * 0x1p-53 - 0.5;
      double t = c1 * 0.99989546 - s1 * 0.014459;
      s1 = s1 * 0.99989546 + c1 * 0.014459;
      c1 = t;
      t = c2 * 0.99976 - s2 * 0.021664;
      s2 = s2 * 0.99976 + c2 * 0.021664;
      c2 = t;
      t = c3 * 0.99999999 - s3 * 0.0002;
      s3 = s3 * 0.99999999 + c3 * 0.0002;
      c3 = t;
      const double swell = 0.5 + 0.5 * s3;
      left[i] = swell * (0.8 * s1 + 0.3 * noise);
      right[i] = swell * (1.2 * s2 - 0.2 * noise);
    }
  }
};

std::uint64_t RenderHash(bool stereo) {
  constexpr int kFrames = 44100;
  constexpr int kBlock = 256;
  const Input in(kFrames);
  SignalChain chain;
  chain.Reset(44100);
  ChainSettings settings;
  settings.drive = 6.5;
  settings.asymmetry = 3;
  settings.freqResponse = 2;
  settings.crosstalkDb = -70;
  settings.inputTrimDb = 3;
  std::vector<double> outL(kFrames), outR(kFrames);
  for (int at = 0; at < kFrames; at += kBlock) {
    const double* ins[] = {in.left.data() + at, in.right.data() + at};
    double* outs[] = {outL.data() + at, outR.data() + at};
    chain.Process(settings, 44100, stereo, ins, outs,
                  kBlock < kFrames - at ? kBlock : kFrames - at);
  }
  if (stereo) outL.insert(outL.end(), outR.begin(), outR.end());
  return Fnv1a(outL);
}

TEST(PlatformRender, OneSecondHashesAlikeOnEveryPlatformAndBuild) {
  // Every build of the stereo kernels gives the same bits (StereoPathAgreementTest), so the
  // processor's own choice of build does not matter either.
  EXPECT_EQ(RenderHash(false), 0xB2BF7F90C6AFC65Aull) << "mono";
  EXPECT_EQ(RenderHash(true), 0xD78C94698F15E416ull) << "stereo";
}

} // namespace
} // namespace tavo
