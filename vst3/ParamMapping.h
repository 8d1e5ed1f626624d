#pragma once
// How a parameter looks to a host of this format: its normalised values, step count and flags.
// Continuous parameters map 0 … 1 through the parameter's own range and shape; lists and
// toggles have stepCount + 1 values at index / stepCount, and a host's value in between lands
// on the index the format's own rule gives (⌊normalised × (stepCount + 1)⌋, at most stepCount).

#include "framework/IParameter.h"
#include "vst3/abi/Controller.h"

namespace tavo::vst3 {

// 0 for a continuous parameter, the number of steps between its ends otherwise.
int StepCount(const IParameter& param);
// A normalised value outside 0 … 1 is taken at the nearer end; the caller drops NaN.
double PlainFromNormalized(const IParameter& param, double normalized);
// A plain value outside the range is taken at the nearer end.
double NormalizedFromPlain(const IParameter& param, double plain);

// [main thread] The parameter's description under the identifier `id`; `bypass` flags it as the
// host's bypass switch.
void DescribeParameter(const IParameter& param, ParamID id, bool bypass, ParameterInfo& info);

// Texts between the host's UTF-16 and the parameter's 8-bit texts, bounded by the destination.
void CopyToUtf16(char16_t* out, int outUnits, const char* text);
// False when the text holds a unit beyond 7-bit ASCII (no text of a parameter does) or is too
// long for `out`.
bool CopyFromUtf16(char* out, int outSize, const char16_t* text);

} // namespace tavo::vst3
