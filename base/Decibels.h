#pragma once
// Decibels to nepers: exp(dB × kDecibelsToNepers) is the linear gain of dB decibels. Written out
// to the last digit, and in one place, so that every layer that turns decibels into a gain (the
// parameters' display, the effect's sound) rounds the same way on every toolchain.

namespace tavo {

// ln 10 / 20
inline constexpr double kDecibelsToNepers = 0.1151292546497;

} // namespace tavo
