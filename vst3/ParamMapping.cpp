#include "vst3/ParamMapping.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace tavo::vst3 {

int StepCount(const IParameter& param) {
  if (param.Kind() == ParamKind::Double) return 0;
  return static_cast<int>(std::lround(param.Max() - param.Min()));
}

double PlainFromNormalized(const IParameter& param, double normalized) {
  const double n = std::clamp(normalized, 0.0, 1.0);
  const int steps = StepCount(param);
  if (steps == 0) return param.FromNormalized(n);
  return param.Min() + std::min<double>(steps, std::floor(n * (steps + 1)));
}

double NormalizedFromPlain(const IParameter& param, double plain) {
  const int steps = StepCount(param);
  if (steps == 0) return param.ToNormalized(plain);
  const double index = std::clamp(std::round(plain) - param.Min(), 0.0, double(steps));
  return index / steps;
}

void DescribeParameter(const IParameter& param, ParamID id, bool bypass, ParameterInfo& info) {
  info = {};
  info.id = id;
  constexpr int kUnits = static_cast<int>(std::size(ParameterInfo{}.title));
  CopyToUtf16(info.title, kUnits, param.GetName());
  CopyToUtf16(info.shortTitle, kUnits, param.GetName());
  // The unit of the value itself: a list or toggle shows a text in its place.
  CopyToUtf16(info.units, kUnits, param.GetDisplayTextCount() > 0 ? "" : param.GetUnitLabel());
  info.stepCount = StepCount(param);
  info.defaultNormalizedValue = NormalizedFromPlain(param, param.DefaultValue());
  info.unitId = 0;
  info.flags = ParameterInfo::kCanAutomate;
  if (param.Kind() == ParamKind::Enum) info.flags |= ParameterInfo::kIsList;
  if (bypass) info.flags |= ParameterInfo::kIsBypass;
}

void CopyToUtf16(char16_t* out, int outUnits, const char* text) {
  if (!out || outUnits <= 0) return;
  int i = 0;
  for (; text && text[i] != '\0' && i < outUnits - 1; ++i)
    out[i] = static_cast<unsigned char>(text[i]);
  out[i] = u'\0';
}

bool CopyFromUtf16(char* out, int outSize, const char16_t* text) {
  if (!out || outSize <= 0 || !text) return false;
  for (int i = 0; i < outSize; ++i) {
    if (text[i] > 0x7F) return false;
    out[i] = static_cast<char>(text[i]);
    if (text[i] == u'\0') return true;
  }
  out[outSize - 1] = '\0';
  return false;
}

} // namespace tavo::vst3
