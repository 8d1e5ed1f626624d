#pragma once
// How a parameter's plain value travels to the host as a control value: discrete kinds through
// the integer mapping of their host control, Double through the linear real mapping. The host
// control for a parameter spans the parameter's range (Bool and Enum: one step per display text).

#include <cstdint>

namespace tavo {

class IParameter;

constexpr int kFirstParamControl = 2;           // control 1 is the master bypass
constexpr int32_t kParamControlID = 0x206C6420; // ' ld ', plus the parameter index

int32_t DiscreteControlValue(int32_t value, int32_t minValue, int32_t maxValue);
int32_t LinearControlValue(double real, double minReal, double maxReal);

// [any thread] The control value the host is told for the parameter's current plain value.
int32_t ControlValueOfParam(const IParameter& param);

} // namespace tavo
