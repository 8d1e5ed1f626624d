#include "host/tavo-host/DemoSignal.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tavo::host::cli {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kBeatsPerMinute = 112.0;
constexpr int kBars = 4;
constexpr int kBeatsPerBar = 4;
// The mix is scaled so that its loudest sample sits here.
constexpr double kPeak = 0.45;
// How long after a kick a meter's needle has swung up (a VU meter rises in about 0.3 s).
constexpr double kNeedleDelay = 0.25;

// Equal-tempered frequency of a MIDI note number (69 is A4 at 440 Hz).
double NoteFrequency(int note) {
  return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

// A small deterministic noise source, so every run makes the same file.
class Noise {
public:
  double Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<double>(state_ >> 8) / 8388608.0 - 1.0;
  }

private:
  uint32_t state_ = 0x5EED;
};

struct Stereo {
  std::vector<double> left, right;
  explicit Stereo(size_t n) : left(n), right(n) {}
  // Adds a mono voice with a constant-power pan (-1 left … +1 right).
  void Add(size_t at, double value, double pan) {
    if (at >= left.size()) return;
    const double angle = (pan + 1.0) * std::numbers::pi / 4.0;
    left[at] += value * std::cos(angle);
    right[at] += value * std::sin(angle);
  }
};

// A plucked bass note: a few harmonics of a sawtooth, darkening and fading as it rings.
void Bass(Stereo& mix, size_t start, size_t length, double frequency, int rate) {
  for (size_t i = 0; i < length; ++i) {
    const double t = static_cast<double>(i) / rate;
    const double envelope = std::min(1.0, t * 400.0) * std::exp(-t * 3.0) *
                            std::min(1.0, static_cast<double>(length - i) / (0.01 * rate));
    double v = 0.0;
    for (int h = 1; h <= 6; ++h)
      v += std::sin(kTwoPi * frequency * h * t) / h * std::exp(-t * 2.5 * h);
    mix.Add(start + i, 0.55 * envelope * v, 0.0);
  }
}

// A kick: a sine falling from 140 Hz to 45 Hz under a short decay, with a click at the start.
void Kick(Stereo& mix, size_t start, int rate) {
  const size_t length = static_cast<size_t>(0.35 * rate);
  double phase = 0.0;
  for (size_t i = 0; i < length; ++i) {
    const double t = static_cast<double>(i) / rate;
    const double frequency = 45.0 + 95.0 * std::exp(-t * 28.0);
    phase += kTwoPi * frequency / rate;
    const double v = std::sin(phase) * std::exp(-t * 9.0) + 0.3 * std::exp(-t * 900.0);
    mix.Add(start + i, 0.9 * v, 0.0);
  }
}

// A snare: a 190 Hz body with a burst of brightened noise, a little right of centre.
void Snare(Stereo& mix, size_t start, int rate, Noise& noise) {
  const size_t length = static_cast<size_t>(0.22 * rate);
  double previous = 0.0;
  for (size_t i = 0; i < length; ++i) {
    const double t = static_cast<double>(i) / rate;
    const double n = noise.Next();
    const double bright = n - 0.6 * previous; // tilts the noise towards the highs
    previous = n;
    const double v = 0.45 * std::sin(kTwoPi * 190.0 * t) * std::exp(-t * 30.0) +
                     0.4 * bright * std::exp(-t * 18.0);
    mix.Add(start + i, v, 0.15);
  }
}

// A closed hi-hat: differenced noise, very short, left of centre.
void HiHat(Stereo& mix, size_t start, int rate, Noise& noise, double level) {
  const size_t length = static_cast<size_t>(0.05 * rate);
  double previous = 0.0;
  for (size_t i = 0; i < length; ++i) {
    const double t = static_cast<double>(i) / rate;
    const double n = noise.Next();
    const double v = (n - previous) * 0.5;
    previous = n;
    mix.Add(start + i, level * v * std::exp(-t * 90.0), -0.45);
  }
}

// A soft chord: sines of the notes with a slow swell, spread across the stereo field.
void Chord(Stereo& mix, size_t start, size_t length, const std::vector<int>& notes, int rate) {
  for (size_t k = 0; k < notes.size(); ++k) {
    const double frequency = NoteFrequency(notes[k]);
    const double pan = notes.size() > 1 ? -0.6 + 1.2 * k / (notes.size() - 1) : 0.0;
    for (size_t i = 0; i < length; ++i) {
      const double t = static_cast<double>(i) / rate;
      const double envelope = std::min(1.0, t * 4.0) * std::min(1.0, (length - i) / (0.2 * rate));
      const double v =
          std::sin(kTwoPi * frequency * t) + 0.2 * std::sin(kTwoPi * 2 * frequency * t);
      mix.Add(start + i, 0.06 * envelope * v, pan);
    }
  }
}

} // namespace

std::vector<float> Sine(double frequency, double amplitude, int rate, int64_t frames) {
  std::vector<float> out(static_cast<size_t>(std::max<int64_t>(frames, 0)));
  for (size_t i = 0; i < out.size(); ++i)
    out[i] = static_cast<float>(amplitude *
                                std::sin(kTwoPi * frequency * static_cast<double>(i) / rate));
  return out;
}

DemoMusic MakeDemoMusic(int rate) {
  const double beat = 60.0 / kBeatsPerMinute;
  const size_t beatFrames = static_cast<size_t>(beat * rate);
  const size_t eighth = beatFrames / 2;
  const size_t bars = static_cast<size_t>(kBars * kBeatsPerBar);
  // One extra beat lets the last notes ring out.
  Stereo mix(beatFrames * (bars + 1));
  Noise noise;

  // A minor, F major, C major, G major; the bass plays eighths on each chord's root and fifth.
  const int roots[kBars] = {33, 29, 36, 31}; // A1, F1, C2, G1
  const std::vector<int> chords[kBars] = {{57, 60, 64}, {57, 60, 65}, {55, 60, 64}, {55, 59, 62}};
  const int pattern[8] = {0, 0, 12, 0, 7, 0, 10, 7}; // semitones above the root, per eighth
  for (int bar = 0; bar < kBars; ++bar) {
    const size_t barStart = static_cast<size_t>(bar) * kBeatsPerBar * beatFrames;
    Chord(mix, barStart, kBeatsPerBar * beatFrames, chords[bar], rate);
    for (int e = 0; e < 8; ++e)
      Bass(mix, barStart + e * eighth, eighth, NoteFrequency(roots[bar] + pattern[e]), rate);
    for (int b = 0; b < kBeatsPerBar; ++b) {
      const size_t at = barStart + b * beatFrames;
      if (b == 0 || b == 2) Kick(mix, at, rate);
      if (b == 1 || b == 3) Snare(mix, at, rate, noise);
      HiHat(mix, at, rate, noise, 0.35);
      HiHat(mix, at + eighth, rate, noise, 0.2);
    }
    // A pickup kick before the next bar.
    Kick(mix, barStart + 3 * beatFrames + eighth, rate);
  }

  double peak = 0.0;
  for (size_t i = 0; i < mix.left.size(); ++i)
    peak = std::max({peak, std::fabs(mix.left[i]), std::fabs(mix.right[i])});
  const double scale = peak > 0.0 ? kPeak / peak : 1.0;
  DemoMusic music;
  music.rate = rate;
  music.needleMoment =
      static_cast<int64_t>((2 * kBeatsPerBar + 2) * beatFrames + kNeedleDelay * rate);
  music.frames.resize(mix.left.size() * 2);
  for (size_t i = 0; i < mix.left.size(); ++i) {
    music.frames[2 * i] = static_cast<float>(mix.left[i] * scale);
    music.frames[2 * i + 1] = static_cast<float>(mix.right[i] * scale);
  }
  return music;
}

} // namespace tavo::host::cli
