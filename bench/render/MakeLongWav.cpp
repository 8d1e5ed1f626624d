// Writes the long input that `make bench` times tavo-host on: a stereo 24-bit WAV at 44.1 kHz
// of two tones per channel under a slow swell with a little noise, as many seconds as asked.
//
//   tavo_bench_wav OUT.wav SECONDS

#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: tavo_bench_wav OUT.wav SECONDS\n");
    return 2;
  }
  constexpr int kRate = 44100;
  constexpr int kPiece = 65536;
  const long long frames = std::atoll(argv[2]) * kRate;
  SF_INFO info{};
  info.samplerate = kRate;
  info.channels = 2;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_24;
  SNDFILE* file = sf_open(argv[1], SFM_WRITE, &info);
  if (!file) {
    std::fprintf(stderr, "tavo_bench_wav: %s: %s\n", argv[1], sf_strerror(nullptr));
    return 1;
  }
  std::vector<float> piece(2 * kPiece);
  unsigned noise = 1;
  for (long long at = 0; at < frames; at += kPiece) {
    const long long n = std::min<long long>(kPiece, frames - at);
    for (long long i = 0; i < n; ++i) {
      const double t = static_cast<double>(at + i) / kRate;
      const double swell = 0.3 + 0.25 * std::sin(2 * M_PI * 0.5 * t);
      noise = noise * 1664525u + 1013904223u;
      const double hiss = 0.01 * (static_cast<double>(noise >> 8) / 8388608.0 - 1.0);
      piece[2 * i] = static_cast<float>(
          swell * (std::sin(2 * M_PI * 220 * t) + 0.3 * std::sin(2 * M_PI * 1500 * t)) + hiss);
      piece[2 * i + 1] = static_cast<float>(
          swell * (std::sin(2 * M_PI * 330 * t) + 0.3 * std::sin(2 * M_PI * 2100 * t)) - hiss);
    }
    if (sf_writef_float(file, piece.data(), n) != n) {
      std::fprintf(stderr, "tavo_bench_wav: %s: %s\n", argv[1], sf_strerror(file));
      sf_close(file);
      return 1;
    }
  }
  return sf_close(file) == 0 ? 0 : 1;
}
