#pragma once
// The numbers the effect's sound is built from, each under a name that says what it is.
//
// They are written out to the last digit because renders must come out identical on every
// toolchain. Where a number is a formula of others the formula is given in the comment, and a
// static_assert below checks that the literal is exactly what the formula gives, so that the
// derivation can be trusted without replacing the literal by an expression that a later edit
// could make round differently.

#include <cstdint>

#include "base/Decibels.h"

namespace tavo {

// ---- units ----

// kDecibelsToNepers (base/Decibels.h) turns decibels into the exponent of a linear gain.
// ln(|x|) × kNepersToDecibels is 20·log10|x| (20 / ln 10).
inline constexpr double kNepersToDecibels = 8.685889638065037;
inline constexpr double kTwoPi = 6.283185307179586;
// The rate a chain or an engine assumes before it is told one, and serves for a rate that is not
// a positive number.
inline constexpr double kDefaultSampleRate = 44100.0;

// ---- parameters to engine settings ----

// The Drive knob (0 … 10) in dB of drive gain: −40 dB at 0, +20 dB at 10.
inline constexpr double kDriveDbPerStep = 6;
inline constexpr double kDriveDbAtZero = 40; // subtracted: Drive 0 is −40 dB
inline constexpr double DriveToDb(double drive) {
  return drive * kDriveDbPerStep - kDriveDbAtZero;
}
// The drive above its floor, Drive × 6, as the engine's drive-dependent tone uses it.
inline constexpr double DriveAboveFloorDb(double driveDb) {
  return driveDb + kDriveDbAtZero;
}
// Depth base of the random drift: Input Trim × 0.01 + 0.2.
inline constexpr double kDriftBasePerTrimDb = 0.01;
inline constexpr double kDriftBaseAtZeroTrim = 0.2;
// Asymmetry knob (0 … 10) to the engine's asymmetry (0 … 1).
inline constexpr double kAsymmetryKnobScale = 0.1;
// What Reset and a new engine configure before the first block: 0 dB of drive, a flat response,
// the drift base of 0 dB trim and the asymmetry of the knob's default 5.
inline constexpr double kResetDriveDb = 0;
inline constexpr double kResetResponse = 0;
inline constexpr double kResetDriftBase = 0.2;
inline constexpr double kResetAsymmetry = 0.5;

// ---- signal chain ----

inline constexpr double kRampStepPerFrame = 0.0001; // the start-up ramp: 10000 frames to 1
inline constexpr double kOutputClamp = 20;          // safety clamp before the noise
// The bypass crossfade is a one-pole smoother: wet ← wet × 0.99 + step, step = 1 − 0.99 when the
// engine is heard and 0 when bypassed.
inline constexpr double kWetSmoothing = 0.99;
inline constexpr double kWetStep = 0.010000000000000009; // 1 − 0.99
// Crosstalk levels at or below this one leave the channels apart.
inline constexpr double kCrosstalkOffDb = -120;
// The crosstalk path: a low shelf at 867 Hz, q 0.24, −3.1 dB (−6.2 dB below it); the path into
// the right channel is 1 dB louder than the one into the left.
inline constexpr double kCrosstalkShelfHz = 867;
inline constexpr double kCrosstalkShelfQ = 0.24;
inline constexpr double kCrosstalkShelfDb = -3.1;
inline constexpr double kCrosstalkIntoRightExtraDb = 1;
// Noise floor: −90 dB plus a tenth of the input trim in dB. 10.361632918473001 = 90 dB in
// nepers (90 × kDecibelsToNepers).
inline constexpr double kNoiseFloorNepers = 10.361632918473001;
inline constexpr double kNoiseTrimShare = 0.1;
// The noise level before the first block set-up, 2^-15.
inline constexpr double kNoiseLevelBeforeFirstBlock = 0.000030517578125;
// Noise shelf: high shelf at 850 Hz, q 0.2, whose factor in dB is driveDb / 4 − 14, so the top
// is 48 dB down at Drive 0 and 18 dB down at Drive 10. 5340.707511102648 = 2π × 850.
inline constexpr double kNoiseShelfRadiansPerSecond = 5340.707511102648;
inline constexpr double kNoiseShelfQ = 0.2;
inline constexpr double kNoiseShelfDbPerDriveDb = 0.25;
inline constexpr double kNoiseShelfDbOffset = 14; // subtracted
// Trimmed input samples this loud or louder are taken as damaged: no 32-bit host can send one,
// even at full trim (FLT_MAX × 10 × the ramp's 1.0001 < 2^132). Below it every state of the
// chain stays finite.
inline constexpr double kLoudestInput = 0x1p132;

// ---- saturator engine ----

inline constexpr int kOversampling = 2;
// One-pole pre-filter around the shaper, time constant 1.7958 ms at the oversampled rate; the
// post-filter raises its pole and its gain to this power, which inverts it only approximately.
inline constexpr double kPreFilterSeconds = 0.0017958;
inline constexpr double kPostFilterExponent = 3.131;
// Drive smoother: driveGain ← target × (1 − 0.999) + driveGain × 0.999.
inline constexpr double kDriveSmoothing = 0.999;
inline constexpr double kDriveSmootherStep = 0.0010000000000000009; // 1 − 0.999
// Inverse make-up gain: 0.28061551207734 / driveGain, about −11.04 dB minus the drive.
inline constexpr double kMakeupGain = 0.28061551207734;
inline constexpr double kDitherLevel = 1e-11; // dither at the engine's input
// The leveller: a power envelope with a 0.8 ms time constant; above the threshold (122 in twice
// dB of level) its gain falls at a 2.1:1 ratio. Below it the gain is 25 / √(25² + 1).
inline constexpr double kLevellerSeconds = 0.0008;
inline constexpr double kLevellerThreshold = 122;
inline constexpr double kLevellerSlope = -0.5238095238095238; // 1 / 2.1 − 1
inline constexpr double kLevellerRatio = 25;
// 1 % below the threshold's envelope, so the power curve cannot round across it.
inline constexpr double kLevellerIdleMargin = 0.99;
// The leveller hears a tenth of its gained input (of the mean of the two channels in stereo,
// that is 0.05 of their sum); the shaper gets four times it.
inline constexpr double kLevellerFeedbackShare = 0.1;
inline constexpr double kLevellerFeedbackShareOfSum = 0.05;
inline constexpr double kShaperInputGain = 4;
// Weight of the shaper's even-order term: 0.0125 at Drive 0 rising by 0.0121875 per dB of drive
// (0.74375 at Drive 10).
inline constexpr double kEvenAmountAtZero = 0.0125;
inline constexpr double kEvenAmountPerDb = 0.0121875;
// Asymmetry: positive side 1 − asym × 0.1, negative side 1.1 − asym × 0.9.
inline constexpr double kPosScaleDrop = 0.1;
inline constexpr double kNegScaleAtZero = 1.1;
inline constexpr double kNegScaleDrop = 0.9;
// One-pole shelf amounts in decibel-like units become k = exp(amount × 0.115) − 1 (0.115, not
// kDecibelsToNepers).
inline constexpr double kOnePoleShelfNepers = 0.115;
// Drive shelf at 14 kHz: amount (60 − Drive × 6) × asym × 0.17, none at Drive 10.
inline constexpr double kDriveShelfHz = 14000;
inline constexpr double kDriveShelfFadeDb = 60;
inline constexpr double kDriveShelfPerAsymmetry = 0.17;
// Pre- and de-emphasis: opposite high shelves of half the Freq Response each, q 0.4, at
// 2374 Hz before the shaper and 3374 Hz after it. 14916.281919244338 = 2π × 2374 and
// 21199.467226423923 = 2π × 3374.
inline constexpr double kEmphasisShare = 0.5;
inline constexpr double kEmphasisQ = 0.4;
inline constexpr double kPreEmphasisRadiansPerSecond = 14916.281919244338;
inline constexpr double kDeEmphasisRadiansPerSecond = 21199.467226423923;
// Tone low-pass: 12 kHz, below a response of 0 lowered by 6000 × (|r| × 0.05)^0.3 Hz (about
// 7126.5 Hz at −10).
inline constexpr double kToneLowpassHz = 12000;
inline constexpr double kToneLowpassDropHz = 6000;
inline constexpr double kToneLowpassResponseScale = 0.05;
inline constexpr double kToneLowpassCurve = 0.3;
// Low peak at 56 Hz, 1.8 octaves wide, gain |r| × 0.05 + (30 − Drive × 6) × 0.02 dB.
// 351.85837720205683 = 2π × 56.
inline constexpr double kLowPeakRadiansPerSecond = 351.85837720205683;
inline constexpr double kLowPeakOctaves = 1.8;
inline constexpr double kLowPeakDbPerResponse = 0.05;
inline constexpr double kLowPeakDriveOffsetDb = 30;
inline constexpr double kLowPeakDbPerDriveDb = 0.02;
// Air shelf at 10 kHz, amount 0.7 × the response above 0.
inline constexpr double kAirShelfHz = 10000;
inline constexpr double kAirShelfPerResponse = 0.7;
// Drift among 0.25, 0.5, 0.75 and 1.0 with a 5 ms time constant, depth 0.5 × base^5; a new
// target is drawn once the value is within 0.1 of the old one.
inline constexpr std::int32_t kDriftSteps = 4;
inline constexpr double kDriftStepSize = 0.25;
inline constexpr double kDriftSeconds = 0.005;
inline constexpr double kDriftDepthExponent = 5;
inline constexpr double kDriftDepthScale = 0.5;
inline constexpr double kDriftRetargetDistance = 0.1;
inline constexpr double kDcBlockerPole = 0.999;

// ---- level meter ----

// VU ballistics: 99 % of a step in 300 ms either way, pow(0.01, 1 / (fs × 0.001 × 300)).
inline constexpr double kVuRemainder = 0.01;
inline constexpr double kVuMilliseconds = 300;
inline constexpr double kSecondsPerMillisecond = 0.001;
inline constexpr double kRmsSeconds = 0.6; // time constant of the RMS detectors
inline constexpr double kRmsFloor = 1e-06; // output RMS below it reads as silence
// +18 dB between the VU level and the needle. 2.0723265836946 = 18 dB in nepers.
inline constexpr double kNeedleGainNepers = 2.0723265836946;
// In the difference mode 3.95 dB reads 1.0; beyond ±50 dB the needle sits at the knee.
inline constexpr double kDifferenceAtUnityDb = 3.95;
inline constexpr double kDifferenceRangeDb = 50;
inline constexpr double kNeedleKnee = 0.638;
inline constexpr double kNeedleRateAboveKnee = 0.43;
inline constexpr double kNeedleRest = 0.015; // silence in the level modes
inline constexpr double kNeedleMax = 0.98;

// ---- filters ----

// One-pole designs: a = (3·fs − 2π·fc) / (3·fs + 2π·fc), b = 2π·fc / (3·fs + 2π·fc).
inline constexpr double kOnePoleRateFactor = 3;
// The noise generator: seed ← (seed × 3877 + 29573) mod 139968; value 1 − seed × 2 / 139968.
inline constexpr std::int32_t kNoiseMultiplier = 3877;
inline constexpr std::int32_t kNoiseIncrement = 29573;
inline constexpr std::int32_t kNoiseModulus = 139968;
inline constexpr double kNoiseInverseModulus = 7.144490169181527e-06; // 1 / 139968

// ---- derivations ----

static_assert(kNoiseFloorNepers == 90 * kDecibelsToNepers);
static_assert(kNeedleGainNepers == 18 * kDecibelsToNepers);
static_assert(kNoiseShelfRadiansPerSecond == kTwoPi * 850);
static_assert(kPreEmphasisRadiansPerSecond == kTwoPi * 2374);
static_assert(kDeEmphasisRadiansPerSecond == kTwoPi * 3374);
static_assert(kLowPeakRadiansPerSecond == kTwoPi * 56);
static_assert(kWetStep == 1 - kWetSmoothing);
static_assert(kDriveSmootherStep == 1 - kDriveSmoothing);
static_assert(kLevellerSlope == 1 / 2.1 - 1);
static_assert(kLevellerFeedbackShareOfSum == kLevellerFeedbackShare * 0.5);
static_assert(kNoiseInverseModulus == 1.0 / kNoiseModulus);
static_assert(kNoiseLevelBeforeFirstBlock == 0x1p-15);
static_assert(kResetDriftBase == kDriftBaseAtZeroTrim);
static_assert(kResetAsymmetry == 5 * kAsymmetryKnobScale);
static_assert(DriveToDb(0) == -40 && DriveToDb(10) == 20);

} // namespace tavo
