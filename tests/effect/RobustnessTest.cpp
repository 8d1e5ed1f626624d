// The effect driven as a hostile host, editor or session file might drive it: absurd sample rates,
// parameter values outside every range, huge and non-finite samples through both input paths.
// Whatever arrives, every output sample is finite and within the clamp, and once rate, settings
// and input are normal again the instance renders like a new one with the same settings within
// RecoveryBound frames.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <mutex>
#include <numbers>
#include <random>
#include <type_traits>
#include <utility>
#include <vector>

#include "effect/TAVO.h"
#include "framework/IStateChunk.h"
#include "tests/support/DriftTestAccess.h"
#include "tests/support/SignalChainTestAccess.h"

namespace tavo {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kFloatMax = std::numeric_limits<float>::max();
// The clamp, times the ramp's last step, plus the noise floor (−88 dB at full trim) with room.
constexpr double kOutputBound = SignalChain::kClamp * 1.0001 + 1e-3;
constexpr int kMaxBlock = 256;
constexpr int kWindow = 1024;

// Frames until an instance that came through abuse renders like a new one: 12288 for the slowest
// per-frame memories (the DC blockers and the drive smoother keep 0.999 of themselves a frame)
// to forget the loudest output the engine makes, and 0.2 s for the leveller to let go of the
// loudest sample a host can send (its envelope falls by 203 time constants of 0.8 ms).
int RecoveryBound(double fs) {
  return 12288 + static_cast<int>(fs / 5);
}

using Settings = std::array<double, TAVO::kNumParams>;

class Robustness : public ::testing::Test {
protected:
  // An instance as the host makes one: rate, channels, Reset, then every setting.
  static std::unique_ptr<TAVO> Make(double fs, bool stereo, const Settings& settings) {
    auto plug = std::make_unique<TAVO>();
    plug->ConfigureSampleRate(fs);
    plug->ConnectInputs(1, 1, stereo);
    plug->ConnectOutputs(1, 1, stereo);
    plug->Reset();
    Apply(*plug, settings);
    return plug;
  }
  static void Apply(TAVO& plug, const Settings& settings) {
    for (int i = 0; i < TAVO::kNumParams; ++i)
      plug.SetParameterFromHost(i, settings[static_cast<size_t>(i)]);
  }
  Settings RandomSettings() {
    const TAVO reference; // not kept: a living instance holds a drift seed
    Settings s{};
    for (int i = 0; i < TAVO::kNumParams; ++i) {
      const IParameter& p = *reference.GetParam(i);
      s[static_cast<size_t>(i)] = std::uniform_real_distribution<double>(p.Min(), p.Max())(random);
    }
    s[TAVO::kVUMode] = std::floor(s[TAVO::kVUMode] + 0.5);
    s[TAVO::kBypass] = 0;
    return s;
  }

  // One block of `in` through the base's sequence as 64-bit (wide) or 32-bit samples, into
  // `out`; every output sample is held to the contract.
  void Block(TAVO& plug, int n, bool wide) {
    std::lock_guard guard(plug.lock);
    const int channels = plug.InputConnected(1) ? 2 : 1;
    if (wide) {
      double* ins[] = {in[0].data(), in[1].data()};
      double* outs[] = {out[0].data(), out[1].data()};
      plug.BindInputsDouble(0, channels, ins);
      plug.BindOutputsDouble(0, channels, outs);
      plug.RunProcess(n);
    } else {
      // What a 32-bit host holds: beyond the float range a sample is an infinity.
      std::vector<float> f[2], g[2];
      for (int c = 0; c < 2; ++c) {
        for (int i = 0; i < n; ++i) {
          const double v = in[c][static_cast<size_t>(i)];
          f[c].push_back(std::abs(v) > kFloatMax ? std::copysign(HUGE_VALF, v) : float(v));
        }
        g[c].assign(static_cast<size_t>(n), 0.0f);
      }
      float* ins[] = {f[0].data(), f[1].data()};
      float* outs[] = {g[0].data(), g[1].data()};
      plug.BindInputsFloat(0, channels, ins, n);
      plug.BindOutputsFloat(0, channels, outs);
      plug.RunProcess(n);
      for (int c = 0; c < 2; ++c)
        std::copy(g[c].begin(), g[c].end(), out[c].begin());
    }
    for (int c = 0; c < channels; ++c)
      for (int i = 0; i < n; ++i)
        violations += !(std::abs(out[c][static_cast<size_t>(i)]) <= kOutputBound);
  }
  // A two-tone test signal, continued from block to block.
  void Tone(int n) {
    for (int i = 0; i < n; ++i, ++phase) {
      const double t = static_cast<double>(phase) / 44100.0 * 2 * std::numbers::pi;
      in[0][static_cast<size_t>(i)] = 0.3 * std::sin(220 * t) + 0.1 * std::sin(1100 * t);
      in[1][static_cast<size_t>(i)] = 0.3 * std::sin(330 * t);
    }
  }

  // Brings `abused` back to a normal rate and settings and renders the test signal through it and
  // through a new instance with the same settings. Answers the frame from which on, window after
  // window, their difference stays 40 dB below the new one's level (two instances' drift and
  // noise floor never agree sample for sample), or a frame past the bound.
  int RecoveryFrames(TAVO& abused, double fs, const Settings& settings) {
    abused.ConfigureSampleRate(fs);
    abused.Reset();
    Apply(abused, settings);
    const auto fresh = Make(fs, abused.InputConnected(1), settings);
    const int limit = RecoveryBound(fs) + kWindow;
    int recovered = 0;
    for (int at = 0; at < recovered + 2 * kWindow && at < limit; at += kWindow) {
      double difference = 0, level = 0;
      for (int frame = 0; frame < kWindow; frame += 64) {
        Tone(64);
        Block(abused, 64, frame % 128 == 0);
        const auto mine = out;
        Block(*fresh, 64, frame % 128 == 0);
        for (int c = 0; c < 2; ++c)
          for (int i = 0; i < 64; ++i) {
            const double o = out[c][static_cast<size_t>(i)];
            difference +=
                (mine[c][static_cast<size_t>(i)] - o) * (mine[c][static_cast<size_t>(i)] - o);
            level += o * o;
          }
      }
      // Root mean squares over the window's frames of both channels.
      const double samples = 2.0 * kWindow;
      if (std::sqrt(difference / samples) > 0.01 * std::sqrt(level / samples) + 1e-4)
        recovered = at + kWindow;
    }
    worstRecovery = std::max(worstRecovery, recovered);
    return recovered;
  }
  void TearDown() override { RecordProperty("worst_recovery_frames", worstRecovery); }

  std::mt19937 random{20240611};
  std::array<std::vector<double>, 2> in{std::vector<double>(kMaxBlock),
                                        std::vector<double>(kMaxBlock)};
  std::array<std::vector<double>, 2> out = in;
  long phase = 0;
  int violations = 0;
  int worstRecovery = 0;
};

TEST_F(Robustness, SampleRatesOutsideTheSupportedRangeAreServedAtItsNearestEnd) {
  const Settings normal = RandomSettings();
  for (const double fs : {1.0, 100.0, 1000.0, 4000.0, 5e-324, 1e300}) {
    auto abused = Make(44100, true, normal);
    abused->ConfigureSampleRate(fs);
    abused->Reset();
    const auto nearest = Make(fs < 8000 ? 8000 : 768000, true, normal);
    DriftTestAccess::DriftAlike(*abused, *nearest);
    for (int block = 0; block < 16; ++block) {
      Tone(kMaxBlock);
      Block(*abused, kMaxBlock, false);
      const auto mine = out;
      Block(*nearest, kMaxBlock, false);
      ASSERT_EQ(mine, out) << fs;
    }
    const int frames = RecoveryFrames(*abused, 44100, normal);
    EXPECT_LE(frames, RecoveryBound(44100)) << fs;
  }
  EXPECT_EQ(violations, 0);
}

TEST_F(Robustness, NormalisedValuesFromTheEditorAreTakenAtTheNearerEnd) {
  const Settings normal = RandomSettings();
  const std::pair<int, double> abuse[] = {
      {TAVO::kDrive, -kInf},           {TAVO::kDrive, -1e6},      {TAVO::kDrive, -10},
      {TAVO::kInputTrim, -kInf},       {TAVO::kAsymmetry, -kInf}, {TAVO::kFreqResponse, -1e6},
      {TAVO::kOutputCompensation, 1e6}};
  for (const auto& [param, value] : abuse) {
    auto abused = Make(44100, param % 2 == 0, normal);
    abused->SetParameterFromGUI(param, value);
    const IParameter& p = *abused->GetParam(param);
    EXPECT_EQ(p.Value(), value < 0 ? p.Min() : p.Max()) << param;
    for (int block = 0; block < 4; ++block) {
      Tone(kMaxBlock);
      Block(*abused, kMaxBlock, false);
    }
    const int frames = RecoveryFrames(*abused, 44100, normal);
    EXPECT_LE(frames, RecoveryBound(44100)) << param;
  }
  EXPECT_EQ(violations, 0);
}

TEST_F(Robustness, HugeAndNonFiniteSamplesAreTakenAsSilenceOnBothInputPaths) {
  const Settings normal = RandomSettings();
  for (const double sample : {1e300, -1e300, kInf, kNaN})
    for (const bool stereo : {true, false})
      for (const bool wide : {true, false}) {
        auto abused = Make(44100, stereo, normal);
        auto silent = Make(44100, stereo, normal);
        DriftTestAccess::DriftAlike(*abused, *silent);
        for (int block = 0; block < 4; ++block) {
          Tone(kMaxBlock);
          in[0][17] = 0;
          Block(*silent, kMaxBlock, wide);
          const auto expected = out;
          in[0][17] = sample;
          Block(*abused, kMaxBlock, wide);
          ASSERT_EQ(out, expected) << sample;
        }
      }
  EXPECT_EQ(violations, 0);
}

// Everything at once, at random: rates, editor and host values, session files and samples.
TEST_F(Robustness, RandomAbuseNeverLeavesAnInstanceBroken) {
  const double rates[] = {1, 100, 1000, 4000, 5e-324, 1e300, 0, -48000, kNaN, kInf, 22050, 192000};
  const double values[] = {-kInf, kInf, kNaN, -1e300, 1e300, -1e6, -10, -0.5, 1.5, 10, 1e6};
  const double samples[] = {1e300, -1e300, kInf, -kInf, kNaN, kFloatMax, -kFloatMax, 1e30};
  const auto pick = [this](const auto& list) { return list[random() % std::size(list)]; };
  for (int round = 0; round < 8; ++round) {
    const double fs = std::array{44100.0, 48000.0, 96000.0, 22050.0}[round % 4];
    const Settings normal = RandomSettings();
    auto plug = Make(fs, round % 2 == 0, normal);
    for (int block = 0; block < 48; ++block) {
      const int param = static_cast<int>(random() % TAVO::kNumParams);
      switch (random() % 4) {
      case 0:
        plug->ConfigureSampleRate(pick(rates));
        plug->Reset();
        break;
      case 1:
        plug->SetParameterFromGUI(param, random() % 2 ? pick(values) : random() / 1e9 - 1);
        break;
      case 2:
        plug->SetParameterFromHost(param, pick(values));
        break;
      default: {
        IStateChunk file;
        for (int i = 0; i < TAVO::kNumParams; ++i)
          file.PutDouble(pick(values));
        plug->LoadState(&file, 0);
      }
      }
      const int n = 1 + static_cast<int>(random() % kMaxBlock);
      Tone(n);
      for (int k = 0; k < 3; ++k)
        in[random() % 2][random() % static_cast<size_t>(n)] = pick(samples);
      Block(*plug, n, random() % 2 == 0);
    }
    const int frames = RecoveryFrames(*plug, fs, normal);
    EXPECT_LE(frames, RecoveryBound(fs)) << round;
  }
  EXPECT_EQ(violations, 0);
}

// The last line of defence, tried on every state of the chain in turn: a state that turns
// infinite or NaN never outlives the block that meets it. Either the chain overwrites it before
// it matters and runs on unchanged, or the block comes out silent and the chain starts over:
// from the next block on it renders as a new chain would.
TEST(ChainStartingOver, APoisonedStateNeverOutlivesItsBlock) {
  constexpr int kN = 32;
  ChainSettings settings;
  settings.drive = 7;
  settings.crosstalkDb = -70;
  std::vector<double> tone(kN);
  for (int i = 0; i < kN; ++i)
    tone[static_cast<size_t>(i)] = 0.4 * std::sin(0.3 * i);
  using Out = std::array<std::vector<double>, 2>;
  const auto run = [&](SignalChain& c) {
    Out o{std::vector<double>(kN), std::vector<double>(kN)};
    const double* ins[] = {tone.data(), tone.data()};
    double* outs[] = {o[0].data(), o[1].data()};
    c.Process(settings, 44100, true, ins, outs, kN);
    return o;
  };
  SignalChain primed;
  primed.Reset(44100);
  run(primed);

  int poisoned = 0, startedOver = 0;
  const auto check = [&](auto poison) {
    for (const double value : {kNaN, kInf}) {
      SignalChain chain = primed, twin = primed, fresh;
      fresh.Reset(44100);
      poison(chain, value);
      const Out first = run(chain), twinFirst = run(twin);
      for (const auto& channel : first)
        for (double v : channel)
          ASSERT_TRUE(std::isfinite(v)) << "state " << poisoned;
      const Out next = run(chain);
      const bool unchanged = first == twinFirst && next == run(twin);
      const bool overAgain = next == run(fresh);
      ASSERT_TRUE(unchanged || overAgain) << "state " << poisoned << " " << value;
      startedOver += overAgain;
    }
    ++poisoned;
  };
  // Every double of every state record, one at a time, written through a snapshot.
  const auto everyDouble = [&](auto record) {
    using Record = std::remove_cvref_t<decltype(record(std::declval<ChainStateRecords&>()))>;
    for (size_t k = 0; k < sizeof(Record) / sizeof(double); ++k)
      check([&](SignalChain& c, double value) {
        SignalChainTestAccess::RewriteStates(c, [&](ChainStateRecords& r) {
          double raw[sizeof(Record) / sizeof(double)];
          std::memcpy(raw, &record(r), sizeof raw);
          raw[k] = value;
          std::memcpy(static_cast<void*>(&record(r)), raw, sizeof raw);
        });
      });
  };
  everyDouble([](ChainStateRecords & r) -> auto& { return r.saturatorLeft; });
  everyDouble([](ChainStateRecords & r) -> auto& { return r.saturatorRight; });
  everyDouble([](ChainStateRecords & r) -> auto& { return r.left; });
  everyDouble([](ChainStateRecords & r) -> auto& { return r.right; });
  for (double SaturatorShared::*field :
       {&SaturatorShared::driveGain, &SaturatorShared::makeup, &SaturatorShared::driftGain,
        &SaturatorShared::envelope, &SaturatorShared::pending})
    check([&](SignalChain& c, double value) {
      SignalChainTestAccess::RewriteStates(c,
                                           [&](ChainStateRecords& r) { r.shared.*field = value; });
    });
  EXPECT_GT(startedOver, poisoned); // most of the 2 × poisoned tries reach the guard
}

} // namespace
} // namespace tavo
