#pragma once
// Magnitude spectra for the demo's plot: a Blackman-Harris window (sidelobes below -92 dB, so
// harmonics far below the tone stay visible) and a power-of-two FFT.

#include <span>
#include <vector>

namespace tavo::host::cli {

// The magnitude of each bin 0 … n/2 of the windowed signal, n = the largest power of two that
// fits in samples, in dB relative to a full-scale sine (a sine of amplitude 1 reads 0 dB at its
// bin).
std::vector<double> MagnitudeSpectrumDb(std::span<const float> samples);

} // namespace tavo::host::cli
