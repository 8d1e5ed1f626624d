#pragma once
// The demo's music: a few bars of a bass line with drums and a chord pad in stereo, made here
// from sines, envelopes and noise so the demo needs no sample files.

#include <cstdint>
#include <vector>

namespace tavo::host::cli {

struct DemoMusic {
  int rate = 44100;
  int channels = 2;
  std::vector<float> frames; // interleaved left, right
  int64_t needleMoment = 0;  // a frame just after a kick, where a meter reads the music's level
};

// Four bars at 112 beats per minute (about 9 seconds), peaking a little below -6 dBFS.
DemoMusic MakeDemoMusic(int rate);

// A sine of the given frequency and peak amplitude, frames long, one channel.
std::vector<float> Sine(double frequency, double amplitude, int rate, int64_t frames);

} // namespace tavo::host::cli
