// The pieces tavo-host is built from, each on its own: the spectrum, the demo music, output
// files that appear only when complete, output formats, and settings read against a process.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>

#include "drawing/LICE_Png.h"
#include "host/engine/StandInControl.h"
#include "host/tavo-host/AudioFile.h"
#include "host/tavo-host/CommandError.h"
#include "host/tavo-host/ControlSettings.h"
#include "host/tavo-host/DemoSignal.h"
#include "host/tavo-host/PlotImage.h"
#include "host/tavo-host/Spectrum.h"

namespace fs = std::filesystem;
using namespace tavo::host;
using namespace tavo::host::cli;

namespace {

constexpr size_t kN = 8192;

std::vector<float> Tones(std::initializer_list<std::pair<int, double>> binsAndAmplitudes) {
  std::vector<float> x(kN);
  for (size_t i = 0; i < kN; ++i)
    for (auto [bin, a] : binsAndAmplitudes)
      x[i] += static_cast<float>(a * std::sin(2 * std::numbers::pi * bin * i / kN));
  return x;
}

TEST(Spectrum, AFullScaleSineReadsZeroDecibelsAtItsBin) {
  const auto db = MagnitudeSpectrumDb(Tones({{200, 1.0}}));
  ASSERT_EQ(db.size(), kN / 2 + 1);
  EXPECT_NEAR(db[200], 0.0, 0.01);
  EXPECT_LT(db[180], -100.0);
}

TEST(Spectrum, AHarmonicAHundredDecibelsDownStaysVisible) {
  const auto db = MagnitudeSpectrumDb(Tones({{200, 0.5}, {600, 0.5e-5}}));
  EXPECT_NEAR(db[200], -6.02, 0.01);
  EXPECT_NEAR(db[600], -106.02, 0.5);
}

TEST(DemoMusic, IsTheSameStereoPieceEveryTime) {
  const DemoMusic a = MakeDemoMusic(44100);
  EXPECT_EQ(a.frames, MakeDemoMusic(44100).frames);
  EXPECT_GT(a.frames.size() / 2, 8u * 44100u); // several seconds
  float peak = 0.0f;
  bool stereo = false;
  for (size_t i = 0; i < a.frames.size(); i += 2) {
    peak = std::max({peak, std::fabs(a.frames[i]), std::fabs(a.frames[i + 1])});
    stereo = stereo || a.frames[i] != a.frames[i + 1];
  }
  EXPECT_NEAR(peak, 0.45f, 1e-6f);
  EXPECT_TRUE(stereo);
  EXPECT_LT(a.needleMoment, static_cast<int64_t>(a.frames.size() / 2));
}

class Folder : public ::testing::Test {
protected:
  void SetUp() override {
    char name[] = "/tmp/tavo-cli-test-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    dir_ = name;
  }
  void TearDown() override { fs::remove_all(dir_); }
  size_t Entries() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir_), {}));
  }
  fs::path dir_;
};

TEST_F(Folder, AnOutputAppearsOnlyWhenCommitted) {
  const std::string target = (dir_ / "out.bin").string();
  {
    TempOutput abandoned(target);
    abandoned.WriteAll("half", 4);
    EXPECT_EQ(Entries(), 1u); // the hidden temporary file
    EXPECT_FALSE(fs::exists(target));
  }
  EXPECT_EQ(Entries(), 0u);
  TempOutput done(target);
  done.WriteAll("whole", 5);
  done.Commit();
  EXPECT_EQ(fs::file_size(target), 5u);
  EXPECT_EQ(Entries(), 1u);
  EXPECT_THROW(TempOutput((dir_ / "missing" / "x").string()), CommandError);
}

TEST(OutputFormat, FallsBackToWhatTheFormatHoldsUnlessAskedOtherwise) {
  const FileFormat floatWav{SF_FORMAT_WAV, SF_FORMAT_FLOAT};
  EXPECT_EQ(OutputFormat(floatWav, 0, 0, 2, 44100).Code(), floatWav.Code());
  EXPECT_EQ(OutputFormat(floatWav, SF_FORMAT_FLAC, 0, 2, 44100).subtype, SF_FORMAT_PCM_24);
  EXPECT_EQ(OutputFormat(floatWav, SF_FORMAT_OGG, 0, 1, 48000).subtype, SF_FORMAT_VORBIS);
  EXPECT_THROW(OutputFormat(floatWav, SF_FORMAT_FLAC, SF_FORMAT_FLOAT, 2, 44100), CommandError);
  EXPECT_EQ(MajorFormatForPath("a/b.AIF"), SF_FORMAT_AIFF);
  EXPECT_EQ(MajorFormatForPath("a/b.txt"), 0);
  EXPECT_THROW(SubtypeNamed("pcm12"), CommandError);
}

TEST(PlotImage, PutsAPointWhereItsAxesSay) {
  PlotImage image(400, 300);
  PlotAxes axes;
  axes.xMin = axes.yMin = 0;
  axes.xMax = axes.yMax = 1;
  axes.series.push_back({"flat", 0xFFFF0000, {0.0, 1.0}, {0.5, 0.5}});
  image.Panel({0, 0, 400, 300}, axes);
  // The plot area is the panel less room for titles and labels: 64 … 384 across, 48 … 248 down.
  const auto png = image.Png();
  std::unique_ptr<LICE_IBitmap> decoded(LoadPngFromMemory(png.data(), png.size(), nullptr));
  ASSERT_NE(decoded, nullptr);
  const auto at = [&](int x, int y) { return decoded->PixelData()[y * decoded->RowSpan() + x]; };
  EXPECT_EQ(at(224, 148), 0xFFFF0000u);
  EXPECT_NE(at(224, 140), 0xFFFF0000u);
  EXPECT_EQ(at(70, 148), 0xFFFF0000u);
}

class Settings : public ::testing::Test {
protected:
  void SetUp() override {
    standin::ResetAll();
    ASSERT_EQ(HostModule::Load(TAVO_MODULE_FILE, module_), 0);
    ASSERT_EQ(module_->CreateProcess({}, process_), 0);
    ASSERT_EQ(process_->DescribeControls(controls_), 0);
  }
  ControlSetting Read(const std::string& text) { return ReadSetting(text, controls_, *process_); }
  std::string Refusal(const std::string& text) {
    try {
      Read(text);
    } catch (const CommandError& e) {
      return e.what();
    }
    return "";
  }
  std::unique_ptr<HostModule> module_;
  std::unique_ptr<HostProcess> process_;
  std::vector<ControlInfo> controls_;
};

TEST_F(Settings, NamesMatchInAnyCaseAndValuesGoThroughTheControlsReading) {
  const ControlSetting drive = Read("drive = 6");
  EXPECT_EQ(drive.index, 3);
  int32_t expected = 0;
  ASSERT_EQ(process_->ValueFromText(3, "6", expected), 0);
  EXPECT_EQ(drive.controlValue, expected);
  EXPECT_EQ(Read("Input Trim=-3dB").index, 2);
  EXPECT_EQ(Read("3=10").controlValue, INT32_MAX);
  EXPECT_EQ(Read("vu mode=rms difference out-in").controlValue, StepControlValue(1, 3));
  EXPECT_EQ(Read("VU Mode=2").controlValue, INT32_MAX);
  EXPECT_EQ(Read("bypass=on").index, 9);
}

TEST_F(Settings, WhatDoesNotFitSaysWhatWould) {
  EXPECT_NE(Refusal("Drive=11").find("0.0 to 10.0"), std::string::npos);
  EXPECT_NE(Refusal("Drive=loud").find("0.0 to 10.0"), std::string::npos);
  EXPECT_NE(Refusal("Dirve=5").find("Master Bypass, Input Trim, Drive"), std::string::npos);
  EXPECT_NE(Refusal("VU Mode=3").find("Input, RMS Difference Out-In, Output (or 0 to 2)"),
            std::string::npos);
  EXPECT_NE(Refusal("Drive").find("NAME=VALUE"), std::string::npos);
}

} // namespace
