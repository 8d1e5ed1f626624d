#pragma once
// The two flush rules of the effect's arithmetic. Recursive filter states are flushed so that a
// decaying tail ends in exact zeros instead of turning into subnormal numbers, whose arithmetic
// is slow on most processors.

#include <bit>
#include <cstdint>
#include <initializer_list>

namespace tavo {

namespace detail {
inline unsigned BiasedExponent(double v) {
  return static_cast<unsigned>((std::bit_cast<std::uint64_t>(v) >> 52) & 0x7FFu);
}
} // namespace detail

// Zero and subnormal values (biased exponent 0) become +0.
inline double FlushTiny(double v) {
  return detail::BiasedExponent(v) == 0 ? 0.0 : v;
}

// Values below 2^-54 in magnitude, infinities and NaNs become +0: used where a sample leaves the
// effect, so that nothing unplayable ever reaches the host.
inline double FlushTinyOrNonFinite(double v) {
  const unsigned e = detail::BiasedExponent(v);
  return (e < 969 || e == 2047) ? 0.0 : v;
}

// Zero, subnormal, infinite and NaN values become +0; every other value passes unchanged. The
// mono output's flush: no NaN leaves the effect, and no normal sample is touched.
inline double FlushSubnormalOrNonFinite(double v) {
  const unsigned e = detail::BiasedExponent(v);
  return (e == 0 || e == 2047) ? 0.0 : v;
}

// Whether none of the values is an infinity or a NaN. [any thread · no allocation]
inline bool AllFinite(std::initializer_list<double> values) {
  bool finite = true;
  for (double v : values)
    finite &= detail::BiasedExponent(v) != 2047;
  return finite;
}

} // namespace tavo
