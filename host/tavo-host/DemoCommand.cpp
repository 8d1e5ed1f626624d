// tavo-host demo: renders a short piece of music at three Drive settings, and measures and draws
// what the effect does to a tone: its level curve and the harmonics it adds.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "host/tavo-host/AudioFile.h"
#include "host/tavo-host/CommandError.h"
#include "host/tavo-host/Commands.h"
#include "host/tavo-host/DemoSignal.h"
#include "host/tavo-host/PlotImage.h"
#include "host/tavo-host/Spectrum.h"

namespace tavo::host::cli {

namespace {

namespace fs = std::filesystem;

constexpr int kRate = 44100;
constexpr int kDrives[] = {0, 5, 10};
constexpr LICE_pixel kDriveColours[] = {0xFF7CC7F2, 0xFFF2B544, 0xFFF2564B};

// The level curve: 1 kHz tones from kLowestDb to kHighestDb (peak dBFS), each long enough for
// the engine's level follower to settle before the measured part.
constexpr double kToneHz = 1000.0;
constexpr double kLowestDb = -60.0, kHighestDb = 6.0, kLevelStepDb = 2.0;
constexpr double kToneSeconds = 0.6, kMeasuredSeconds = 0.25;
// The harmonics: a -6 dBFS tone, analysed once settled; each harmonic's level is the loudest
// bin within a few bins of its frequency (the window spreads a tone over about four).
constexpr double kSpectrumAmplitude = 0.5;
constexpr double kSpectrumSeconds = 1.5;
constexpr size_t kAnalysedFrames = 32768;
constexpr int kHarmonics = 10;
constexpr size_t kPeakSearchBins = 3;
constexpr double kSpectrumFloorDb = -150.0;
constexpr double kBarWidth = 0.26; // in harmonics

double Db(double linear) {
  return linear > 0.0 ? 20.0 * std::log10(linear) : -200.0;
}

double Rms(std::span<const float> x, size_t channels, size_t channel) {
  double sum = 0.0;
  size_t n = 0;
  for (size_t i = channel; i < x.size(); i += channels, ++n)
    sum += static_cast<double>(x[i]) * x[i];
  return n ? std::sqrt(sum / static_cast<double>(n)) : 0.0;
}

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::unique_ptr<HostProcess> DriveProcess(HostModule& module, int channels, int drive) {
  SessionOptions options;
  options.settings = {"Drive=" + std::to_string(drive)};
  return OpenSession(module, channels, kRate, options);
}

void WriteWav(const fs::path& path, const std::vector<float>& frames, int channels) {
  TempOutput file(path.string());
  SoundWriter writer(file, {SF_FORMAT_WAV, SF_FORMAT_PCM_24}, channels, kRate);
  writer.Write(frames.data(), static_cast<int64_t>(frames.size()) / channels);
  writer.Commit();
}

// Output level (peak-equivalent dBFS of its RMS) against input peak level, for one Drive.
PlotSeries LevelCurve(HostModule& module, int drive) {
  PlotSeries s;
  const auto frames = static_cast<int64_t>(kToneSeconds * kRate);
  const auto measured = static_cast<size_t>(kMeasuredSeconds * kRate);
  for (double level = kLowestDb; level <= kHighestDb + 1e-9; level += kLevelStepDb) {
    auto process = DriveProcess(module, 1, drive);
    const auto out =
        RenderThrough(*process, Sine(kToneHz, std::pow(10.0, level / 20.0), kRate, frames));
    const std::span<const float> tail(out.data() + out.size() - measured, measured);
    s.x.push_back(level);
    s.y.push_back(Db(Rms(tail, 1, 0) * std::sqrt(2.0)));
  }
  return s;
}

// The level of each harmonic of a settled -6 dBFS tone: the loudest bin near each multiple.
PlotSeries Harmonics(HostModule& module, int drive) {
  auto process = DriveProcess(module, 1, drive);
  const auto frames = static_cast<int64_t>(kSpectrumSeconds * kRate);
  const auto out = RenderThrough(*process, Sine(kToneHz, kSpectrumAmplitude, kRate, frames));
  const auto db = MagnitudeSpectrumDb(
      std::span<const float>(out.data() + out.size() - kAnalysedFrames, kAnalysedFrames));
  const double binHz = static_cast<double>(kRate) / kAnalysedFrames;
  PlotSeries s;
  for (int k = 1; k <= kHarmonics; ++k) {
    const auto centre = static_cast<size_t>(std::lround(k * kToneHz / binHz));
    double loudest = kSpectrumFloorDb;
    for (size_t b = centre - kPeakSearchBins; b <= centre + kPeakSearchBins && b < db.size(); ++b)
      loudest = std::max(loudest, db[b]);
    s.x.push_back(k);
    s.y.push_back(loudest);
  }
  return s;
}

void DrawPlots(HostModule& module, const fs::path& path) {
  PlotAxes curve;
  curve.title = "Level curve of a 1 kHz tone";
  curve.xLabel = "input level (dBFS peak)";
  curve.yLabel = "output level (dBFS, a sine of the same RMS)";
  curve.xMin = kLowestDb;
  curve.xMax = kHighestDb;
  curve.yMin = -66;
  curve.yMax = 6;
  curve.xStep = 6;
  curve.yStep = 6;
  curve.xTick = curve.yTick = [](double v) { return Format("%.0f", v); };
  curve.guides.push_back({kLowestDb, kLowestDb, kHighestDb, kHighestDb});
  curve.footnote = "grey: output = input";

  PlotAxes spectrum;
  spectrum.title = "Harmonics of a -6 dBFS, 1 kHz tone, once settled";
  spectrum.xLabel = "harmonic (x 1 kHz)";
  spectrum.yLabel = "level (dBFS)";
  spectrum.xMin = 0.5;
  spectrum.xMax = kHarmonics + 0.5;
  spectrum.yMin = kSpectrumFloorDb;
  spectrum.yMax = 0;
  spectrum.xStep = 1;
  spectrum.yStep = 15;
  spectrum.xTick = [](double v) { return Format("%.0f", v); };
  spectrum.yTick = [](double v) { return Format("%.0f", v); };

  for (size_t i = 0; i < std::size(kDrives); ++i) {
    const std::string label = "Drive " + std::to_string(kDrives[i]);
    PlotSeries c = LevelCurve(module, kDrives[i]);
    c.label = label;
    c.colour = kDriveColours[i];
    curve.series.push_back(std::move(c));
    PlotSeries h = Harmonics(module, kDrives[i]);
    h.colour = kDriveColours[i];
    // Three bars side by side at each harmonic.
    for (double& x : h.x)
      x += (static_cast<double>(i) - 1.0) * kBarWidth;
    h.barWidth = kBarWidth * 0.9;
    spectrum.series.push_back(std::move(h));
  }
  PlotImage image(1280, 640);
  image.Heading("TAVO \u00b7 Drive 0, 5 and 10",
                "measured through the module as a host renders it: 44.1 kHz, mono, the other "
                "controls at their defaults");
  image.Legend({30, 84, 900, 108}, curve.series);
  image.Panel({20, 120, 620, 620}, curve);
  image.Panel({640, 120, 1260, 620}, spectrum);
  const auto png = image.Png();
  if (png.empty()) throw CommandError("cannot encode " + path.string());
  TempOutput file(path.string());
  file.WriteAll(png.data(), png.size());
  file.Commit();
}

} // namespace

int RunDemo(HostModule& module, const std::string& folder) {
  const fs::path dir(folder);
  std::error_code error;
  fs::create_directories(dir, error);
  if (error) throw CommandError("cannot make " + folder + ": " + error.message());

  struct Written {
    fs::path path;
    std::string what;
  };
  std::vector<Written> written;
  auto levels = [](const std::vector<float>& frames) {
    float peak = 0.0f;
    for (float s : frames)
      peak = std::max(peak, std::fabs(s));
    const double rms = (Rms(frames, 2, 0) + Rms(frames, 2, 1)) / 2;
    return "peak " + Format("%.1f", Db(peak)) + " dBFS, RMS " + Format("%.1f", Db(rms)) + " dBFS";
  };

  const DemoMusic music = MakeDemoMusic(kRate);
  WriteWav(dir / "input.wav", music.frames, music.channels);
  written.push_back({dir / "input.wav",
                     "the demo music, untouched: bass, drums and chords, " + levels(music.frames)});
  for (int drive : kDrives) {
    auto process = DriveProcess(module, music.channels, drive);
    const auto out = RenderThrough(*process, music.frames);
    const fs::path wav = dir / ("tavo-drive-" + std::to_string(drive) + ".wav");
    WriteWav(wav, out, music.channels);
    written.push_back({wav, "through TAVO at Drive " + std::to_string(drive) + ", " + levels(out)});
  }
  // The editor after the music has played at Drive 5 up to a loud moment, where the needle
  // shows the music's level.
  auto shown = DriveProcess(module, music.channels, 5);
  RenderThrough(*shown, std::vector<float>(music.frames.begin(),
                                           music.frames.begin() + music.needleMoment * 2));
  WriteEditorPng(*shown, (dir / "editor.png").string());
  written.push_back({dir / "editor.png", "the editor at Drive 5 while the music plays"});
  DrawPlots(module, dir / "curves.png");
  written.push_back(
      {dir / "curves.png", "level curves and harmonics of a 1 kHz tone at Drive 0, 5, 10"});

  std::cout << "TAVO demo: wrote " << written.size() << " files in " << folder << "\n";
  for (const Written& w : written)
    std::cout << "  " << w.path.string() << "  " << w.what << "\n";
  return 0;
}

} // namespace tavo::host::cli
