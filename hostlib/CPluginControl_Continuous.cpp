#include "hostlib/CPluginControl_Continuous.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>

#include "hostlib/CDAEError.h"
#include "hostlib/HostInterface.h"
#include "hostlib/NameVariants.h"

namespace {

constexpr int32_t kBackspace = 8;
constexpr int32_t kArrowLeft = 28;
constexpr int32_t kArrowRight = 29;

std::string Fixed(double value, int32_t decimals) {
  const int length = std::snprintf(nullptr, 0, "%.*f", decimals, value);
  if (length <= 0) return {};
  std::string text(static_cast<size_t>(length), '\0');
  std::snprintf(text.data(), text.size() + 1, "%.*f", decimals, value);
  // A value that rounds to zero never shows a sign, whatever decimals the width left.
  if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
}

bool EndsWith(const std::string& text, const std::string& ending) {
  return text.size() >= ending.size() &&
         text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

std::span<const SMetricPrefix> PrefixRange(const SMetricPrefix* first, const SMetricPrefix* last) {
  const SMetricPrefix* begin = kMetricPrefixes.data();
  const SMetricPrefix* end = begin + kMetricPrefixes.size();
  // Pointers from elsewhere are compared with the total order, never with the built-in "<".
  const std::less<const SMetricPrefix*> before;
  if (!first || !last || before(first, begin) || !before(last, end) || before(last, first))
    return {};
  return {first, static_cast<size_t>(last - first) + 1};
}

} // namespace

CPluginControl_Continuous::CPluginControl_Continuous(int32_t controlID, const char* name,
                                                     double minReal, double maxReal,
                                                     double defaultReal, bool automatable,
                                                     const SMetricPrefix* prefixFirst,
                                                     const SMetricPrefix* prefixLast)
    : controlID(controlID), name(name ? name : ""), minReal(minReal), maxReal(maxReal),
      defaultReal(defaultReal), automatable(automatable ? 1 : 0),
      prefixes(PrefixRange(prefixFirst, prefixLast)) {}

void CPluginControl_Continuous::SetDecimals(int32_t count) {
  decimals = std::clamp(count, 0, kMostDecimals);
}

void CPluginControl_Continuous::GetFittedName(char* dest, int32_t maxLength) const {
  FitNameVariant(name.c_str(), maxLength, dest);
}

std::string CPluginControl_Continuous::FormatReal(double x, int32_t width) const {
  const size_t w = width < 0 ? 0 : static_cast<size_t>(width);

  // The chosen prefix is the last one whose factor lies strictly below |x|: 1000 stays
  // unprefixed, 1001 becomes "1.0k".
  double scale = 1.0;
  std::string prefix;
  if (x != 0.0 && !prefixes.empty()) {
    size_t chosen = 0;
    while (chosen + 1 < prefixes.size() && std::fabs(x) > prefixes[chosen + 1].factor)
      ++chosen;
    scale = prefixes[chosen].factor;
    prefix = prefixes[chosen].text;
  }

  int32_t n = decimals;
  if (x < 0.0 && x > -std::pow(10.0, -n)) x = 0.0;

  std::string number = Fixed(x / scale, n);
  while (number.size() + prefix.size() > w && n > 0)
    number = Fixed(x / scale, --n);

  if (!unit.empty() && number.size() + prefix.size() + unit.size() + 1 <= w)
    return number + " " + prefix + unit;
  if (number.size() + prefix.size() + unit.size() <= w) return number + prefix + unit;
  if (number.size() + prefix.size() <= w) return number + prefix;
  for (const std::string& starred : {"* " + prefix + unit, "*" + prefix + unit, "*" + prefix}) {
    if (starred.size() <= w) return starred;
  }
  return "*";
}

void CPluginControl_Continuous::GetDisplayText(char* dest, int32_t maxLength, int32_t c) const {
  CopyBoundedText(FormatReal(RealFromControlValue(c), maxLength).c_str(), dest, maxLength);
}

int32_t CPluginControl_Continuous::ControlValueFromText(const char* text) const {
  const char* start = text ? text : "";
  char* end = nullptr;
  double value = std::strtod(start, &end);
  if (end == start || std::isnan(value)) throw CDAEError(hostabi::kErrGeneric);

  // One word may follow the number, directly or after blanks; a second word is an error.
  const char* p = end;
  while (std::isspace(static_cast<unsigned char>(*p)))
    ++p;
  const char* wordStart = p;
  while (*p && !std::isspace(static_cast<unsigned char>(*p)))
    ++p;
  std::string suffix(wordStart, p);
  while (std::isspace(static_cast<unsigned char>(*p)))
    ++p;
  if (*p) throw CDAEError(hostabi::kErrGeneric);

  if (!unit.empty() && EndsWith(suffix, unit)) suffix.resize(suffix.size() - unit.size());
  if (!prefixes.empty()) {
    const auto match = std::find_if(prefixes.begin(), prefixes.end(),
                                    [&](const SMetricPrefix& m) { return suffix == m.text; });
    if (match == prefixes.end()) throw CDAEError(hostabi::kErrGeneric);
    value *= match->factor;
  } else if (!suffix.empty()) {
    throw CDAEError(hostabi::kErrGeneric);
  }
  return ControlValueFromReal(value);
}

bool CPluginControl_Continuous::AcceptsCharacter(int32_t c) const {
  if ((c >= '0' && c <= '9') || c == '.' || c == kBackspace || c == kArrowLeft ||
      c == kArrowRight || c == '+' || c == '-')
    return true;
  if (c <= 0 || c > 255) return false;
  const char ch = static_cast<char>(c);
  for (const SMetricPrefix& m : prefixes)
    for (const char* q = m.text; *q; ++q)
      if (*q == ch) return true;
  return unit.find(ch) != std::string::npos;
}

// ---------------------------------------------------------------------------------------------

namespace {
int32_t StepCount(double minReal, double maxReal, double step) {
  const double steps = (maxReal - minReal) / step + 1.0;
  if (std::isnan(steps)) return 1;
  return static_cast<int32_t>(std::clamp(steps, -2147483648.0, 2147483647.0));
}
} // namespace

CPluginControl_Linear::CPluginControl_Linear(int32_t controlID, const char* name, double minReal,
                                             double maxReal, double step, double defaultReal,
                                             bool automatable, const SMetricPrefix* prefixFirst,
                                             const SMetricPrefix* prefixLast)
    : CPluginControl_Continuous(controlID, name, minReal, maxReal, defaultReal, automatable,
                                prefixFirst, prefixLast),
      stepCount(StepCount(minReal, maxReal, step)) {
  controlValue = ControlValueFromReal(defaultReal);
}

int32_t CPluginControl_Linear::GetDefaultControlValue() const {
  return ControlValueFromReal(defaultReal);
}

void CPluginControl_Linear::SetDefaultFromControlValue(int32_t c) {
  defaultReal = RealFromControlValue(c);
}

int32_t CPluginControl_Linear::ControlValueFromReal(double x) const {
  if (std::isnan(x)) x = minReal;
  x = std::clamp(x, std::min(minReal, maxReal), std::max(minReal, maxReal));
  const double span = maxReal - minReal;
  const double t = span == 0.0 || std::isnan(span) ? 0.0 : (x - minReal) / span;
  const double c = std::floor(t * kControlSpan - 2147483648.0 + 0.5);
  if (std::isnan(c)) return kLowestControlValue;
  return static_cast<int32_t>(std::clamp(c, -2147483648.0, 2147483647.0));
}

double CPluginControl_Linear::RealFromControlValue(int32_t c) const {
  return minReal + (maxReal - minReal) * (c + 2147483648.0) / kControlSpan;
}
