#include "hostlib/CPluginControl_Discrete.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <strings.h>

#include "hostlib/NameVariants.h"

namespace {

constexpr int32_t kBackspace = 8;
constexpr int32_t kArrowLeft = 28;
constexpr int32_t kArrowRight = 29;
constexpr size_t kLongestListComparison = 255;

// The C library's decimal reading: leading blanks, a sign, digits; 0 when there are none.
// Out-of-range numbers saturate instead of overflowing.
int32_t LeadingInteger(const char* text) {
  if (!text) return 0;
  const long v = std::strtol(text, nullptr, 10);
  return static_cast<int32_t>(std::clamp<long>(v, std::numeric_limits<int32_t>::min(),
                                               std::numeric_limits<int32_t>::max()));
}

bool EqualIgnoringCase(const std::string& a, const char* b) {
  return strcasecmp(a.c_str(), b) == 0;
}

} // namespace

CPluginControl_Discrete::CPluginControl_Discrete(int32_t controlID, const char* name,
                                                 int32_t minValue, int32_t maxValue,
                                                 int32_t defaultValue, bool automatable)
    : controlID(controlID), name(name ? name : ""), minValue(minValue), maxValue(maxValue),
      defaultValue(defaultValue), automatable(automatable ? 1 : 0) {
  controlValue = ControlValueFromValue(defaultValue);
}

int32_t CPluginControl_Discrete::ControlValueFromValue(int32_t value) const {
  // A range of one value has no span to spread over; it sits at the bottom.
  if (maxValue == minValue) return kLowestControlValue;
  const int32_t lo = std::min(minValue, maxValue);
  const int32_t hi = std::max(minValue, maxValue);
  const double v = std::clamp(value, lo, hi);
  const double position = (v - minValue) / (static_cast<double>(maxValue) - minValue);
  return static_cast<int32_t>(-2147483648.0 + kControlSpan * position);
}

int32_t CPluginControl_Discrete::ValueFromControlValue(int32_t c) const {
  const double span = static_cast<double>(maxValue) - minValue;
  return static_cast<int32_t>(
      std::floor(minValue + span * (c - (-2147483648.0)) / kControlSpan + 0.5));
}

int32_t CPluginControl_Discrete::GetDefaultControlValue() const {
  return ControlValueFromValue(defaultValue);
}

void CPluginControl_Discrete::SetDefaultFromControlValue(int32_t c) {
  defaultValue = ValueFromControlValue(c);
}

int32_t CPluginControl_Discrete::GetStepCount() const {
  const int64_t steps = static_cast<int64_t>(maxValue) - minValue + 1;
  return static_cast<int32_t>(std::clamp<int64_t>(steps, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

int32_t CPluginControl_Discrete::ControlValueFromText(const char* text) const {
  return ControlValueFromValue(LeadingInteger(text));
}

bool CPluginControl_Discrete::AcceptsCharacter(int32_t c) const {
  return (c >= '0' && c <= '9') || c == kBackspace || c == kArrowLeft || c == kArrowRight ||
         c == '+' || c == '-' || c == '.' || c == ':' || c == '|';
}

void CPluginControl_Discrete::GetFittedName(char* dest, int32_t maxLength) const {
  FitNameVariant(name.c_str(), maxLength, dest);
}

void CPluginControl_Discrete::GetDisplayText(char* dest, int32_t maxLength, int32_t c) const {
  char number[16];
  std::snprintf(number, sizeof number, "%d", ValueFromControlValue(c));
  const bool fits = maxLength >= 0 && std::strlen(number) <= static_cast<size_t>(maxLength);
  CopyBoundedText(fits ? number : "*", dest, maxLength);
}

// ---------------------------------------------------------------------------------------------

CPluginControl_List::CPluginControl_List(int32_t controlID, const char* name,
                                         std::vector<std::string> items, int32_t defaultValue,
                                         bool automatable)
    : CPluginControl_Discrete(controlID, name, 0,
                              static_cast<int32_t>(std::max<size_t>(items.size(), 1) - 1),
                              defaultValue, automatable),
      items(std::move(items)) {}

int32_t CPluginControl_List::ControlValueFromText(const char* text) const {
  const char* typed = text ? text : "";
  const auto width = static_cast<int32_t>(std::min(std::strlen(typed), kLongestListComparison));
  // Each item is cut to what has been typed so far, so "lo" already picks "Low".
  for (int32_t value = minValue; value <= maxValue; ++value) {
    const auto index = static_cast<size_t>(value - minValue);
    if (index >= items.size()) break;
    if (EqualIgnoringCase(FittedNameVariant(items[index].c_str(), width), typed))
      return ControlValueFromValue(value);
  }
  return CPluginControl_Discrete::ControlValueFromText(text);
}

bool CPluginControl_List::AcceptsCharacter(int32_t c) const {
  return c != 30 && c != 31;
}

void CPluginControl_List::GetDisplayText(char* dest, int32_t maxLength, int32_t c) const {
  const int32_t value = ValueFromControlValue(c);
  const auto index = static_cast<int64_t>(value) - minValue;
  const char* item = (index >= 0 && static_cast<size_t>(index) < items.size())
                         ? items[static_cast<size_t>(index)].c_str()
                         : nullptr;
  FitNameVariant(item, maxLength, dest);
}

// ---------------------------------------------------------------------------------------------

CPluginControl_OnOff::CPluginControl_OnOff(int32_t controlID, const char* name,
                                           int32_t defaultValue, bool automatable,
                                           const char* onText, const char* offText)
    : CPluginControl_Discrete(controlID, name, 0, 1, defaultValue, automatable) {
  if (!onText || !offText) {
    onText = "On";
    offText = "Off";
  }
  CopyBoundedText(onText, this->onText.data(), kTextBytes - 1);
  CopyBoundedText(offText, this->offText.data(), kTextBytes - 1);
}

int32_t CPluginControl_OnOff::ControlValueFromText(const char* text) const {
  const char* typed = text ? text : "";
  if (strcasecmp(typed, onText.data()) == 0) return ControlValueFromValue(1);
  return ControlValueFromValue(0);
}

bool CPluginControl_OnOff::AcceptsCharacter(int32_t c) const {
  return c == 'O' || c == 'n' || c == 'o' || CPluginControl_Discrete::AcceptsCharacter(c);
}

void CPluginControl_OnOff::GetDisplayText(char* dest, int32_t maxLength, int32_t c) const {
  const bool on = ValueFromControlValue(c) != 0;
  if (maxLength >= 2)
    CopyBoundedText(on ? onText.data() : offText.data(), dest, maxLength);
  else
    CopyBoundedText(on ? "1" : "0", dest, maxLength);
}
