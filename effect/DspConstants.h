#pragma once
// Numbers the effect's arithmetic is built from. They are written out to the last digit because
// renders must come out identical on every toolchain; do not replace them by expressions.

namespace tavo {

// exp(dB × kDecibelsToNepers) is the linear gain of dB decibels (ln 10 / 20).
inline constexpr double kDecibelsToNepers = 0.1151292546497;
// ln(|x|) × kNepersToDecibels is 20·log10|x| (20 / ln 10).
inline constexpr double kNepersToDecibels = 8.685889638065037;
inline constexpr double kTwoPi = 6.283185307179586;

} // namespace tavo
