#include "host/tavo-host/Spectrum.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

namespace tavo::host::cli {

namespace {

// The four-term Blackman-Harris window's coefficients.
constexpr double kA0 = 0.35875, kA1 = 0.48829, kA2 = 0.14128, kA3 = 0.01168;
// Below this a magnitude is shown as silence.
constexpr double kFloorDb = -200.0;

void Fft(std::vector<std::complex<double>>& x) {
  const size_t n = x.size();
  for (size_t i = 1, j = 0; i < n; ++i) {
    size_t bit = n >> 1;
    for (; j & bit; bit >>= 1)
      j ^= bit;
    j ^= bit;
    if (i < j) std::swap(x[i], x[j]);
  }
  for (size_t length = 2; length <= n; length <<= 1) {
    const double angle = -2.0 * std::numbers::pi / static_cast<double>(length);
    const std::complex<double> step(std::cos(angle), std::sin(angle));
    for (size_t start = 0; start < n; start += length) {
      std::complex<double> w(1.0, 0.0);
      for (size_t k = 0; k < length / 2; ++k) {
        const std::complex<double> a = x[start + k];
        const std::complex<double> b = x[start + k + length / 2] * w;
        x[start + k] = a + b;
        x[start + k + length / 2] = a - b;
        w *= step;
      }
    }
  }
}

} // namespace

std::vector<double> MagnitudeSpectrumDb(std::span<const float> samples) {
  size_t n = 1;
  while (n * 2 <= samples.size())
    n *= 2;
  if (n < 2) return {};
  std::vector<std::complex<double>> x(n);
  double gain = 0.0;
  for (size_t i = 0; i < n; ++i) {
    const double p = 2.0 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(n - 1);
    const double w = kA0 - kA1 * std::cos(p) + kA2 * std::cos(2 * p) - kA3 * std::cos(3 * p);
    gain += w;
    x[i] = samples[i] * w;
  }
  Fft(x);
  // A sine of amplitude 1 gives a peak of gain / 2 at its bin.
  std::vector<double> db(n / 2 + 1);
  for (size_t k = 0; k < db.size(); ++k) {
    const double magnitude = std::abs(x[k]) * 2.0 / gain;
    db[k] = magnitude > 0.0 ? std::max(20.0 * std::log10(magnitude), kFloorDb) : kFloorDb;
  }
  return db;
}

} // namespace tavo::host::cli
