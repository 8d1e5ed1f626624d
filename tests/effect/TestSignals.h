#pragma once
// Small helpers shared by the effect's tests: tones and level measurements.

#include <cmath>
#include <numbers>
#include <span>
#include <vector>

namespace tavo::testing {

inline std::vector<double> Sine(double frequency, double amplitude, double sampleRate, int frames) {
  std::vector<double> v(static_cast<std::size_t>(frames));
  for (int i = 0; i < frames; ++i)
    v[static_cast<std::size_t>(i)] =
        amplitude * std::sin(2 * std::numbers::pi * frequency * i / sampleRate);
  return v;
}

inline double Rms(std::span<const double> v) {
  double sum = 0;
  for (double x : v)
    sum += x * x;
  return std::sqrt(sum / static_cast<double>(v.size()));
}

inline double Decibels(double ratio) {
  return 20 * std::log10(ratio);
}

// Level of the second half of `out` relative to the second half of `in`, in dB.
inline double SettledGainDb(std::span<const double> in, std::span<const double> out) {
  const std::size_t half = in.size() / 2;
  return Decibels(Rms(out.subspan(half)) / Rms(in.subspan(half)));
}

} // namespace tavo::testing
