#include "framework/IParameter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/Decibels.h"
#include "base/FixedText.h"

namespace tavo {

namespace {
constexpr int kMaxPrecision = 6;
} // namespace

void IParameter::InitDouble(const char* name, double defaultValue, double min, double max,
                            double step, const char* unitLabel, const char* group) {
  if (kind_ == ParamKind::None) kind_ = ParamKind::Double;
  CopyText(name_, name);
  CopyText(unitLabel_, unitLabel);
  CopyText(group_, group);
  min_ = min;
  value_ = defaultValue;
  max_ = (min + step > max) ? min + step : max;
  step_ = step;
  defaultValue_ = defaultValue;

  // Decimals shown: as many as it takes for the step to become whole, at most six.
  precision_ = 0;
  for (double s = step; precision_ < kMaxPrecision && s != std::floor(s); s *= 10.0)
    ++precision_;
}

void IParameter::InitInt(const char* name, int defaultValue, int min, int max,
                         const char* unitLabel, const char* group) {
  if (kind_ == ParamKind::None) kind_ = ParamKind::Int;
  InitDouble(name, defaultValue, min, max, 1.0, unitLabel, group);
}

void IParameter::InitEnum(const char* name, int defaultValue, int count, const char* unitLabel,
                          const char* group) {
  if (kind_ == ParamKind::None) kind_ = ParamKind::Enum;
  InitInt(name, defaultValue, 0, count - 1, unitLabel, group);
}

void IParameter::InitBool(const char* name, bool defaultValue, const char* unitLabel,
                          const char* group) {
  if (kind_ == ParamKind::None) kind_ = ParamKind::Bool;
  InitEnum(name, defaultValue ? 1 : 0, 2, unitLabel, group);
  SetDisplayText(0, "off");
  SetDisplayText(1, "on");
}

void IParameter::SetShape(double shape) {
  if (shape != 0.0) shape_ = shape;
}

void IParameter::SetDisplayText(int value, const char* text) {
  DisplayText entry{};
  entry.value = value;
  CopyText(entry.text, text);
  displayTexts_.Add(entry);
}

void IParameter::SetValueClamped(double plain) {
  // A NaN (from a damaged chunk, say) has no place in the range; it would poison every gain
  // computed from it, so the parameter falls back to its default.
  if (std::isnan(plain)) plain = defaultValue_;
  value_ = std::clamp(plain, min_, max_);
}

double IParameter::FromNormalized(double normalized) const {
  return min_ + std::pow(normalized, shape_) * (max_ - min_);
}

void IParameter::SetNormalized(double normalized) {
  if (std::isnan(normalized)) return; // not a position on any control: keep the value
  double v = FromNormalized(normalized);
  // Discrete kinds land on a multiple of the step counted from zero, halves rounding up.
  if (kind_ != ParamKind::Double) v = std::floor(v / step_ + 0.5) * step_;
  value_ = std::min(v, max_);
}

double IParameter::ToNormalized(double plain) const {
  const double x = std::clamp(plain, min_, max_);
  return std::pow((x - min_) / (max_ - min_), 1.0 / shape_);
}

void IParameter::FormatValue(double x, bool isNormalized, char* out, size_t outSize,
                             bool useDisplayTexts) const {
  if (!out || outSize == 0) return;
  if (isNormalized) x = FromNormalized(x);
  if (useDisplayTexts && std::isfinite(x) && std::fabs(x) < 2147483648.0) {
    const char* text = GetDisplayTextFor(static_cast<int>(x));
    if (text[0] != '\0') {
      CopyText(out, outSize, text);
      return;
    }
  }
  if (displayNegated_) x = -x;
  if (precision_ != 0) {
    std::snprintf(out, outSize, "%.*f", precision_, x);
  } else if (std::isfinite(x) && std::fabs(x) < 2147483648.0) {
    std::snprintf(out, outSize, "%d", static_cast<int>(x)); // truncated, not rounded
  } else {
    std::snprintf(out, outSize, "%.0f", x);
  }
}

const char* IParameter::GetUnitLabel() const {
  const double v = Value();
  if (std::isfinite(v) && std::fabs(v) < 2147483648.0 &&
      GetDisplayTextFor(static_cast<int>(v))[0] != '\0') {
    return "";
  }
  return unitLabel_;
}

const char* IParameter::GetDisplayTextAt(int index, int* value) const {
  const DisplayText* entry = displayTexts_.Get(index);
  if (!entry) return "";
  if (value) *value = entry->value;
  return entry->text;
}

const char* IParameter::GetDisplayTextFor(int value) const {
  for (const DisplayText& entry : displayTexts_) {
    if (entry.value == value) return entry.text;
  }
  return "";
}

bool IParameter::MapDisplayText(const char* text, int* value) const {
  if (!text) return false;
  for (const DisplayText& entry : displayTexts_) {
    if (std::strcmp(entry.text, text) == 0) {
      if (value) *value = entry.value;
      return true;
    }
  }
  return false;
}

bool IParameter::PlainFromText(const char* text, double* plain) const {
  if (!text || !plain) return false;
  if (kind_ == ParamKind::Enum || kind_ == ParamKind::Bool) {
    int mapped = 0;
    if (!MapDisplayText(text, &mapped)) return false;
    *plain = mapped;
    return true;
  }
  const double typed = std::atof(text);
  *plain = displayNegated_ ? -typed : typed;
  return true;
}

double IParameter::GainFromDecibels() const {
  return std::exp(Value() * kDecibelsToNepers);
}

} // namespace tavo
