#pragma once
// The material every audio benchmark plays: one second at 44.1 kHz, looped, of two partials under
// a slow level swell, different in each channel. One definition, so the chain, the plug-in and
// the host's render path are always timed on the same samples.

#include <cmath>
#include <cstddef>
#include <vector>

namespace tavo::bench {

inline constexpr double kSignalRate = 44100;
inline constexpr int kSignalFrames = 44100;

template <typename Sample> std::vector<Sample> TwoPartialsUnderASwell(double f1, double f2) {
  std::vector<Sample> v(kSignalFrames);
  for (int i = 0; i < kSignalFrames; ++i) {
    const double t = i / kSignalRate;
    v[static_cast<std::size_t>(i)] =
        static_cast<Sample>((0.3 + 0.25 * std::sin(2 * M_PI * 0.5 * t)) *
                            (std::sin(2 * M_PI * f1 * t) + 0.3 * std::sin(2 * M_PI * f2 * t)));
  }
  return v;
}

} // namespace tavo::bench
