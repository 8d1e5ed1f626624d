// tavo-host as a person runs it: the built program on files made here, in a fresh folder.

#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kRate = 44100;

struct Sound {
  int channels = 0;
  int rate = 0;
  std::vector<float> frames; // interleaved
  int64_t Frames() const { return channels ? static_cast<int64_t>(frames.size()) / channels : 0; }
};

Sound Sine(int channels, double seconds, double amplitude, double hz = 1000.0) {
  Sound s{channels, kRate, {}};
  const auto n = static_cast<size_t>(seconds * kRate);
  for (size_t i = 0; i < n; ++i)
    for (int c = 0; c < channels; ++c)
      s.frames.push_back(static_cast<float>(
          amplitude * std::sin(2 * std::numbers::pi * hz * static_cast<double>(i) / kRate)));
  return s;
}

// Level in dB of one channel from frame `from` on.
double LevelDb(const Sound& s, int channel, int64_t from) {
  double sum = 0.0;
  for (int64_t i = from; i < s.Frames(); ++i)
    sum += std::pow(s.frames[static_cast<size_t>(i * s.channels + channel)], 2.0);
  return 10.0 * std::log10(sum / static_cast<double>(s.Frames() - from));
}

class TavoHost : public ::testing::Test {
protected:
  void SetUp() override {
    char name[] = "/tmp/tavo-host-test-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    dir_ = name;
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  void Write(const std::string& name, const Sound& s, int format) const {
    SF_INFO info{};
    info.channels = s.channels;
    info.samplerate = s.rate;
    info.format = format;
    SNDFILE* f = sf_open(Path(name).c_str(), SFM_WRITE, &info);
    ASSERT_NE(f, nullptr) << sf_strerror(nullptr);
    sf_writef_float(f, s.frames.data(), s.Frames());
    sf_close(f);
  }
  Sound Read(const std::string& name) const {
    SF_INFO info{};
    SNDFILE* f = sf_open(Path(name).c_str(), SFM_READ, &info);
    EXPECT_NE(f, nullptr) << name;
    Sound s{info.channels, info.samplerate, {}};
    if (!f) return s;
    s.frames.resize(static_cast<size_t>(info.frames * info.channels));
    sf_readf_float(f, s.frames.data(), info.frames);
    sf_close(f);
    return s;
  }

  // Runs tavo-host in the test's folder; answers its exit status, with stdout and stderr kept.
  int Run(const std::string& arguments) {
    const std::string command = "cd '" + dir_.string() + "' && '" TAVO_HOST_FILE "' " + arguments +
                                " >stdout.txt 2>stderr.txt";
    const int status = std::system(command.c_str());
    out_ = Slurp("stdout.txt");
    err_ = Slurp("stderr.txt");
    fs::remove(dir_ / "stdout.txt");
    fs::remove(dir_ / "stderr.txt");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Slurp(const std::string& name) const {
    std::ifstream f(dir_ / name);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
  }
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_))
      names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir_;
  std::string out_, err_;
};

TEST_F(TavoHost, AQuietToneKeepsItsLevelAndLinesUpWithTheInput) {
  const Sound in = Sine(2, 2.0, 0.001);
  Write("quiet.wav", in, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  ASSERT_EQ(Run("render quiet.wav -o out.wav"), 0) << err_;
  const Sound out = Read("out.wav");
  ASSERT_EQ(out.Frames(), in.Frames());
  EXPECT_EQ(out.channels, 2);
  // After the start-up (a quarter second), within 0.05 dB of the input.
  EXPECT_NEAR(LevelDb(out, 0, kRate / 4), LevelDb(in, 0, kRate / 4), 0.05);
  EXPECT_NEAR(LevelDb(out, 1, kRate / 4), LevelDb(in, 1, kRate / 4), 0.05);

  // Uncompensated, the same samples come 6 frames (the delay the process reports) later.
  ASSERT_EQ(Run("render quiet.wav -o raw.wav --no-delay-compensation -q"), 0);
  EXPECT_EQ(out_, "");
  const Sound raw = Read("raw.wav");
  ASSERT_EQ(raw.Frames(), in.Frames());
  EXPECT_TRUE(std::equal(raw.frames.begin() + 6 * 2, raw.frames.end(), out.frames.begin()));

  // Files render in large blocks; the real-time host's fixed quantum gives the same sound.
  ASSERT_EQ(Run("render quiet.wav -o fixed.wav --quantum 32 -q"), 0);
  EXPECT_EQ(Read("fixed.wav").frames, out.frames);
}

// The engine takes a -6 dBFS tone down by about 21 dB at Drive 10; the output compensation's
// -1.2 dB at its default comes on top.
TEST_F(TavoHost, DriveTenTakesALoudToneDownByAboutTwentyOneDecibels) {
  const Sound in = Sine(2, 1.5, 0.5);
  Write("loud.wav", in, SF_FORMAT_WAV | SF_FORMAT_PCM_24);
  ASSERT_EQ(Run("render loud.wav --set drive=10 -q"), 0) << err_;
  const Sound out = Read("loud-tavo.wav");
  ASSERT_EQ(out.channels, 2);
  EXPECT_NEAR(LevelDb(out, 0, kRate / 2) - LevelDb(in, 0, kRate / 2), -22.2, 0.3);
  EXPECT_NEAR(LevelDb(out, 1, kRate / 2) - LevelDb(in, 1, kRate / 2), -22.2, 0.3);
  Write("mono.wav", Sine(1, 1.5, 0.5), SF_FORMAT_WAV | SF_FORMAT_PCM_24);
  ASSERT_EQ(Run("render mono.wav --set drive=10 -q"), 0) << err_;
  EXPECT_NEAR(LevelDb(Read("mono-tavo.wav"), 0, kRate / 2) - LevelDb(in, 0, kRate / 2), -22.2, 0.3);
}

TEST_F(TavoHost, EveryFileOfABatchRendersAsItWouldAlone) {
  // Each file goes through a new instance, deleted before the next: every one drifts from the
  // first seed, so the second of two equal files comes out as the first does.
  Write("a.wav", Sine(2, 1.0, 0.6, 220.0), SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  Write("b.wav", Sine(2, 1.0, 0.6, 220.0), SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  ASSERT_EQ(Run("render a.wav b.wav --set drive=10 --out-dir batch -q"), 0) << err_;
  ASSERT_EQ(Run("render b.wav --set drive=10 --out-dir alone -q"), 0) << err_;
  EXPECT_EQ(Read("batch/b.wav").frames, Read("alone/b.wav").frames);
  EXPECT_EQ(Read("batch/a.wav").frames, Read("batch/b.wav").frames);
}

TEST_F(TavoHost, AnEmptyFileGivesAnEmptyFile) {
  Write("empty.wav", Sound{2, kRate, {}}, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  ASSERT_EQ(Run("render empty.wav --out-dir done"), 0) << err_;
  const Sound out = Read("done/empty.wav");
  EXPECT_EQ(out.Frames(), 0);
  EXPECT_EQ(out.channels, 2);
}

TEST_F(TavoHost, WhatCannotBeRenderedIsOneLineAndNoFile) {
  Write("six.wav", Sine(6, 0.1, 0.5), SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  Write("tone.wav", Sine(2, 0.1, 0.5), SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  std::ofstream(Path("text.wav")) << "not a sound\n";
  const std::vector<std::string> before = Files();
  for (const char* arguments :
       {"render six.wav -o out.wav", "render missing.wav -o out.wav", "render text.wav -o out.wav",
        "render tone.wav -o out.wav --set Drive=11", "render tone.wav -o out.wav --set Dirve=5",
        "render tone.wav -o tone.wav", "render tone.wav -o out.wav --bogus"}) {
    EXPECT_NE(Run(arguments), 0) << arguments;
    EXPECT_EQ(err_.rfind("tavo-host: error: ", 0), 0u) << arguments << ": " << err_;
    EXPECT_EQ(std::count(err_.begin(), err_.end(), '\n'), 1) << arguments << ": " << err_;
    EXPECT_EQ(Files(), before) << arguments; // no output, no temporary file left behind
  }
  EXPECT_NE(err_.find("--bogus"), std::string::npos);
}

TEST_F(TavoHost, IntegerOutputThatClipsIsAWarningWithTheCount) {
  Write("hot.wav", Sine(1, 0.5, 1.5), SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  ASSERT_EQ(Run("render hot.wav --bypass --sample-type pcm16 -q"), 0) << err_;
  EXPECT_NE(err_.find("warning"), std::string::npos) << err_;
  EXPECT_NE(err_.find("samples beyond full scale"), std::string::npos) << err_;
  ASSERT_EQ(Run("render hot.wav --bypass -o kept.wav -q"), 0) << err_;
  EXPECT_EQ(err_, ""); // float keeps them
}

TEST_F(TavoHost, ASavedStateRendersLikeTheSettingsItHolds) {
  Write("tone.wav", Sine(1, 0.5, 0.3), SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  ASSERT_EQ(Run("render --set 'Drive=7' --set 'VU Mode=output' tone.wav -o a.wav "
                "--save-state drive7.state -q"),
            0)
      << err_;
  ASSERT_EQ(Run("render tone.wav -o b.wav --state drive7.state -q"), 0) << err_;
  EXPECT_EQ(Read("a.wav").frames, Read("b.wav").frames);
  ASSERT_EQ(Run("render tone.wav -o c.wav -q"), 0);
  EXPECT_NE(Read("a.wav").frames, Read("c.wav").frames);
}

TEST_F(TavoHost, InfoListsTheControlsAndEditorDrawsTheWindow) {
  ASSERT_EQ(Run("info"), 0) << err_;
  for (const char* line : {"'TAV1'  1 in, 1 out", "'TAV2'  2 in, 2 out", "Output Compensation",
                           "Input | RMS Difference Out-In | Output", "delay 6 frames"})
    EXPECT_NE(out_.find(line), std::string::npos) << line;
  // The longest range stays apart from the default column after it.
  EXPECT_TRUE(std::regex_search(out_, std::regex("Out-In \\| Output  +-?[0-9]+ "))) << out_;
  ASSERT_EQ(Run("editor shot.png --set Drive=5"), 0) << err_;
  std::ifstream png(Path("shot.png"), std::ios::binary);
  unsigned char header[24] = {};
  png.read(reinterpret_cast<char*>(header), sizeof header);
  EXPECT_EQ(header[1], 'P');
  EXPECT_EQ((header[18] << 8) | header[19], 304); // width in the IHDR chunk
  EXPECT_EQ((header[22] << 8) | header[23], 416);
}

TEST_F(TavoHost, EditorDrawsAtTheDisplayScalesItIsPaintedFor) {
  struct Case {
    const char* scale;
    int width, height;
  };
  for (const Case& c : {Case{"1.5", 456, 624}, Case{"2", 608, 832}}) {
    ASSERT_EQ(Run(std::string("editor big.png --scale ") + c.scale), 0) << err_;
    std::ifstream png(Path("big.png"), std::ios::binary);
    unsigned char header[24] = {};
    png.read(reinterpret_cast<char*>(header), sizeof header);
    EXPECT_EQ((header[18] << 8) | header[19], c.width) << c.scale;
    EXPECT_EQ((header[22] << 8) | header[23], c.height) << c.scale;
  }
  EXPECT_NE(Run("editor big.png --scale 3"), 0);
}

} // namespace
