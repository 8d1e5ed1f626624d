#include "host/tavo-host/ControlSettings.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <strings.h>

#include "host/tavo-host/CommandError.h"

namespace tavo::host::cli {

namespace {

std::string Trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool SameText(const std::string& a, const std::string& b) {
  return a.size() == b.size() && strcasecmp(a.c_str(), b.c_str()) == 0;
}

// A whole text that is a number, optionally followed by the unit "dB" the controls display.
bool ReadNumber(std::string text, double& value) {
  text = Trim(text);
  if (text.size() > 2 && SameText(text.substr(text.size() - 2), "db"))
    text = Trim(text.substr(0, text.size() - 2));
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return end && *end == '\0' && std::isfinite(value);
}

bool ReadStep(const std::string& text, int32_t steps, int32_t& step) {
  const std::string t = Trim(text);
  if (t.empty() ||
      !std::all_of(t.begin(), t.end(), [](unsigned char c) { return std::isdigit(c); }))
    return false;
  const long n = std::strtol(t.c_str(), nullptr, 10);
  if (n < 0 || n >= steps) return false;
  step = static_cast<int32_t>(n);
  return true;
}

std::string NameList(const std::vector<ControlInfo>& controls) {
  std::string list;
  for (const ControlInfo& c : controls)
    list += (list.empty() ? "" : ", ") + c.name;
  return list;
}

std::string ItemList(const ControlInfo& control) {
  std::string list;
  for (const std::string& item : control.items)
    list += (list.empty() ? "" : ", ") + item;
  return list;
}

} // namespace

bool ContinuousRange(const ControlInfo& control, double& lowest, double& highest) {
  double a = 0.0, b = 0.0;
  if (!ReadNumber(control.lowestText, a) || !ReadNumber(control.highestText, b)) return false;
  lowest = std::min(a, b);
  highest = std::max(a, b);
  return true;
}

ControlSetting ReadSetting(const std::string& assignment, const std::vector<ControlInfo>& controls,
                           const HostProcess& process) {
  const auto equals = assignment.find('=');
  if (equals == std::string::npos)
    throw CommandError("--set " + assignment + ": write NAME=VALUE, NAME one of " +
                       NameList(controls));
  const std::string name = Trim(assignment.substr(0, equals));
  const std::string value = Trim(assignment.substr(equals + 1));

  const ControlInfo* control = nullptr;
  for (const ControlInfo& c : controls)
    if (SameText(c.name, name) || name == std::to_string(c.index)) control = &c;
  if (!control)
    throw CommandError("--set " + assignment + ": no control is named '" + name +
                       "'; the controls are " + NameList(controls));

  ControlSetting setting{control->index, 0, control->name};
  if (control->continuous) {
    double x = 0.0, lowest = 0.0, highest = 0.0;
    const bool ranged = ContinuousRange(*control, lowest, highest);
    if (!ReadNumber(value, x) || (ranged && (x < lowest || x > highest)))
      throw CommandError("--set " + assignment + ": " + control->name + " takes a number from " +
                         control->lowestText + " to " + control->highestText);
    // The value goes through the control's own reading of a typed number, as a host's value
    // field would hand it over.
    char typed[64];
    std::snprintf(typed, sizeof typed, "%.17g", x);
    const int32_t status = process.ValueFromText(control->index, typed, setting.controlValue);
    if (status != 0)
      throw CommandError("--set " + assignment + ": " + control->name +
                         " refused the value: " + StatusText(status));
    return setting;
  }

  int32_t step = -1;
  for (size_t k = 0; k < control->items.size(); ++k)
    if (SameText(control->items[k], value)) step = static_cast<int32_t>(k);
  if (step < 0 && !ReadStep(value, control->steps, step))
    throw CommandError("--set " + assignment + ": " + control->name + " takes " +
                       ItemList(*control) + " (or 0 to " + std::to_string(control->steps - 1) +
                       ")");
  setting.controlValue = StepControlValue(step, control->steps);
  return setting;
}

} // namespace tavo::host::cli
