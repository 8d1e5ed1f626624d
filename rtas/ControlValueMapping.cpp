#include "rtas/ControlValueMapping.h"

#include <algorithm>
#include <cmath>

#include "framework/IParameter.h"

namespace tavo {

namespace {
constexpr double kLowest = -2147483648.0;
constexpr double kSpan = 4294967295.0; // 2147483647 - (-2147483648)

int32_t TruncateToInt(double v) {
  if (!(v == v)) return 0;
  return static_cast<int32_t>(std::clamp(v, -2147483648.0, 2147483647.0));
}
} // namespace

int32_t DiscreteControlValue(int32_t value, int32_t minValue, int32_t maxValue) {
  if (maxValue == minValue) return static_cast<int32_t>(kLowest);
  const double v =
      std::clamp<double>(value, std::min(minValue, maxValue), std::max(minValue, maxValue));
  return TruncateToInt(kLowest +
                       kSpan * (v - minValue) / (static_cast<double>(maxValue) - minValue));
}

int32_t LinearControlValue(double real, double minReal, double maxReal) {
  if (maxReal == minReal) return static_cast<int32_t>(kLowest);
  const double x = std::clamp(real, std::min(minReal, maxReal), std::max(minReal, maxReal));
  const double t = (x - minReal) / (maxReal - minReal);
  return TruncateToInt(std::floor(t * kSpan + kLowest + 0.5));
}

int32_t ControlValueOfParam(const IParameter& param) {
  const int32_t value = TruncateToInt(param.Value());
  switch (param.Kind()) {
  case ParamKind::Double:
    return LinearControlValue(param.Value(), param.Min(), param.Max());
  case ParamKind::Int:
    return DiscreteControlValue(value, TruncateToInt(param.Min()), TruncateToInt(param.Max()));
  case ParamKind::Bool:
  case ParamKind::Enum:
    return DiscreteControlValue(value, 0, param.GetDisplayTextCount() - 1);
  default:
    return 0;
  }
}

} // namespace tavo
