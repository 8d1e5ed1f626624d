#include <gtest/gtest.h>

#include <cmath>

#include "effect/VuMeter.h"
#include "tests/effect/TestSignals.h"

namespace tavo {
namespace {

class VuMeterNeedle : public ::testing::Test {
protected:
  void SetUp() override { meter.SetSampleRate(44100); }

  // Runs n frames with the given samples and derives the block values, as the chain does.
  void Run(int n, double m, double a, double b) {
    for (int i = 0; i < n; ++i)
      meter.Step(m, a, b);
    meter.Settle();
  }

  VuMeter meter;
};

TEST_F(VuMeterNeedle, SilenceRestsAtTheBottomInBothLevelModes) {
  for (int mode : {0, 2}) {
    meter.SetMode(mode);
    Run(1000, 0, 0, 0);
    EXPECT_EQ(meter.UpdateNeedle(), 0.015);
  }
}

TEST_F(VuMeterNeedle, ConstantOneSettlesAtUnityLevelAndPinsTheNeedle) {
  meter.SetMode(0);
  Run(5 * 44100, 1.0, 1.0, 1.0);
  const double expected = 2 * meter.rectifierInput() / (1 - meter.rectifierFeedback());
  EXPECT_NEAR(meter.vuLevel(), expected, 1e-6);
  EXPECT_NEAR(meter.vuLevel(), 1.0, 1e-4);
  EXPECT_EQ(meter.UpdateNeedle(), 0.98); // (7.943 − 0.638) × 0.43 + 0.638 is above the stop
  EXPECT_NEAR(meter.meterValue(),
              (std::exp(2.0723265836946) * meter.vuLevel() - 0.638) * 0.43 + 0.638, 1e-12);
}

TEST_F(VuMeterNeedle, BlocksWithoutFramesLeaveTheNeedleWhereItIs) {
  meter.SetMode(0);
  Run(44100, 0.02, 0.02, 0.02);
  const double position = meter.UpdateNeedle();
  EXPECT_GT(position, 0.1);
  EXPECT_LT(position, 0.6);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(meter.UpdateNeedle(), position);
}

TEST_F(VuMeterNeedle, EqualRmsLevelsSitJustBelowTheKnee) {
  meter.SetMode(1);
  const auto tone = testing::Sine(1000, 0.3, 44100, 44100);
  for (double x : tone)
    meter.Step(x, x, x);
  meter.Settle();
  EXPECT_EQ(meter.rmsDifference(), 0.0);
  EXPECT_NEAR(meter.UpdateNeedle(), 0.6346, 5e-5);
  EXPECT_EQ(meter.UpdateNeedle(), std::exp(-3.95 * 0.1151292546497));
}

TEST_F(VuMeterNeedle, ZeroInputWithOutputReadsTheKnee) {
  meter.SetMode(1);
  Run(1000, 0.5, 0.0, 0.5);
  EXPECT_TRUE(std::isinf(meter.rmsDifference()));
  EXPECT_EQ(meter.UpdateNeedle(), 0.638);
}

TEST_F(VuMeterNeedle, SilenceOnBothSidesReadsTheKneeInDifferenceMode) {
  meter.SetMode(1);
  Run(1000, 0.0, 0.0, 0.0);
  EXPECT_EQ(meter.UpdateNeedle(), 0.638);
}

TEST_F(VuMeterNeedle, SixDecibelsLouderOutputReadsAboveTheKnee) {
  meter.SetMode(1);
  Run(5 * 44100, 0.0, 0.25, 0.5);
  EXPECT_NEAR(meter.rmsDifference(), 6.0206, 1e-3);
  const double v = std::exp((meter.rmsDifference() - 3.95) * 0.1151292546497);
  EXPECT_NEAR(meter.UpdateNeedle(), (v - 0.638) * 0.43 + 0.638, 1e-12);
}

TEST_F(VuMeterNeedle, OutputBelowOneMicroIsTakenAsSilence) {
  meter.SetMode(1);
  Run(100000, 0.0, 0.5, 5e-7);
  EXPECT_EQ(meter.rmsOut(), 0.0);
}

TEST_F(VuMeterNeedle, ClearingTheDifferenceLeavesTheDetectorsAlone) {
  meter.SetMode(1);
  Run(1000, 0.5, 0.25, 0.5);
  const double level = meter.vuLevel();
  const double rmsIn = meter.rmsIn();
  meter.ClearDifference();
  EXPECT_EQ(meter.rmsDifference(), 0.0);
  EXPECT_EQ(meter.vuLevel(), level);
  EXPECT_EQ(meter.rmsIn(), rmsIn);
}

TEST_F(VuMeterNeedle, LevelRisesAndFallsWithTheSameThreeHundredMillisecondBallistics) {
  // 99 % of a step of the rectified level is covered in 300 ms.
  EXPECT_NEAR(std::pow(meter.vuAttack(), 44100 * 0.3), 0.01, 1e-12);
  // Attack and release being equal, a fall from a settled level mirrors a rise from silence.
  VuMeter rising = meter;
  for (int i = 0; i < 22050; ++i)
    rising.Step(1.0, 0, 0);
  for (int i = 0; i < 20 * 44100; ++i)
    meter.Step(1.0, 0, 0);
  const double settled = meter.vuLevel();
  for (int i = 0; i < 22050; ++i)
    meter.Step(0.0, 0, 0);
  EXPECT_NEAR(rising.vuLevel() + meter.vuLevel(), settled, 1e-9);
}

} // namespace
} // namespace tavo
