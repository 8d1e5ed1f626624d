// links: tavo_hostlib
// Feeds arbitrary typed text to the parser of every control class, and arbitrary control values
// and field widths to their display. Parsing may refuse text (CDAEError); nothing may crash or
// read outside its buffers.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "hostlib/CDAEError.h"
#include "hostlib/CPluginControl_Continuous.h"
#include "hostlib/CPluginControl_Discrete.h"
#include "hostlib/HostInterface.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const CPluginControl_Discrete discrete(1, "Steps\nSt", -5, 10, 0, true);
  static const CPluginControl_List list(2, "Mode", {"Low\nLo", "High", "", "Extreme\nExtr\nX"}, 1,
                                        true);
  static const CPluginControl_OnOff onOff(hostabi::kMasterBypassID,
                                          "Master Bypass\nMastrByp\nMByp\nByp", 0, true);
  static CPluginControl_Linear linear(3, "Gain", -1e6, 1e6, 0.5, 0.0, true, UnitPrefix(),
                                      LargestPrefix());
  static CPluginControl_Linear tiny(4, "Time", 1e-15, 1e-3, 1e-15, 1e-6, true, &kMetricPrefixes[0],
                                    &kMetricPrefixes[4]);
  static bool once = [] {
    linear.SetUnit("dB");
    tiny.SetUnit("s");
    tiny.SetDecimals(3);
    return true;
  }();
  (void)once;
  const CPluginControl* controls[] = {&discrete, &list, &onOff, &linear, &tiny};

  const std::string text(reinterpret_cast<const char*>(data), size);
  for (const CPluginControl* control : controls) {
    try {
      (void)control->ControlValueFromText(text.c_str());
    } catch (const CDAEError& e) {
      if (e.Code() != hostabi::kErrGeneric) __builtin_trap();
    }
  }

  if (size >= 5) {
    int32_t controlValue;
    std::memcpy(&controlValue, data, sizeof controlValue);
    const int32_t width = data[4] % 40;
    std::vector<char> dest(static_cast<size_t>(width) + 1, '\x7f');
    for (const CPluginControl* control : controls) {
      control->GetDisplayText(dest.data(), width, controlValue);
      if (std::strlen(dest.data()) > static_cast<size_t>(width)) __builtin_trap();
      control->GetFittedName(dest.data(), width);
      (void)control->AcceptsCharacter(controlValue);
    }
  }
  return 0;
}
