#pragma once
// "NAME=VALUE" as the command line gives it, read against the controls of a process: the name
// matches a control's name without regard to case (or is its index), the value is a number in
// a continuous control's range, or one of a discrete control's texts (any case) or its step
// number. What does not fit is a CommandError that lists what would.

#include <cstdint>
#include <string>
#include <vector>

#include "host/driver/HostProcess.h"

namespace tavo::host::cli {

struct ControlSetting {
  int32_t index = 0;
  int32_t controlValue = 0;
  std::string name; // the control's own name
};

ControlSetting ReadSetting(const std::string& assignment, const std::vector<ControlInfo>& controls,
                           const HostProcess& process);

// The lowest and highest real value of a continuous control, read from its display texts at the
// two ends of the control range; false when they are not plain numbers.
bool ContinuousRange(const ControlInfo& control, double& lowest, double& highest);

} // namespace tavo::host::cli
