#pragma once
// Controls over an integer range: the plain discrete control, a list of texts (one per value)
// and the on/off switch.

#include <array>
#include <string>
#include <vector>

#include "hostlib/CPluginControl.h"

class CPluginControl_Discrete : public CPluginControl {
public:
  // [main thread] Both ends of the range are included; the current value starts at the default.
  CPluginControl_Discrete(int32_t controlID, const char* name, int32_t minValue, int32_t maxValue,
                          int32_t defaultValue, bool automatable);

  int32_t GetControlID() const override { return controlID; }
  int32_t GetDefaultControlValue() const override;
  void SetDefaultFromControlValue(int32_t controlValue) override;
  int32_t GetStepCount() const override;
  int32_t ControlValueFromText(const char* text) const override;
  bool AcceptsCharacter(int32_t character) const override;
  void GetFittedName(char* dest, int32_t maxLength) const override;
  int32_t ControlHint1() const override { return 0; }
  int32_t ControlHint2() const override { return 0; }
  int32_t IsContinuous() const override { return 0; }
  void GetDisplayText(char* dest, int32_t maxLength, int32_t controlValue) const override;
  bool IsAutomatable() const override { return automatable != 0; }

  // [any thread] Own value → control value: clamped into the range, spread over the full
  // 32-bit span and truncated towards zero.
  int32_t ControlValueFromValue(int32_t value) const;
  // [any thread] Control value → own value, rounded half up.
  int32_t ValueFromControlValue(int32_t controlValue) const;

  int32_t MinValue() const { return minValue; }
  int32_t MaxValue() const { return maxValue; }
  int32_t DefaultValue() const { return defaultValue; }
  const std::string& Name() const { return name; }

protected:
  int32_t controlID;
  std::string name;
  int32_t minValue;
  int32_t maxValue;
  int32_t defaultValue;
  uint8_t automatable;
};

class CPluginControl_List : public CPluginControl_Discrete {
public:
  // [main thread] Values 0 … items.size() − 1; each item may itself hold "\n"-separated
  // variants, longest first.
  CPluginControl_List(int32_t controlID, const char* name, std::vector<std::string> items,
                      int32_t defaultValue, bool automatable);

  int32_t ControlValueFromText(const char* text) const override;
  bool AcceptsCharacter(int32_t character) const override;
  void GetDisplayText(char* dest, int32_t maxLength, int32_t controlValue) const override;

  const std::vector<std::string>& Items() const { return items; }

private:
  std::vector<std::string> items;
};

class CPluginControl_OnOff : public CPluginControl_Discrete {
public:
  static constexpr size_t kTextBytes = 255;

  // [main thread] Values 0 and 1. When either text is null both are "On" and "Off"; longer texts
  // are cut to 254 characters.
  CPluginControl_OnOff(int32_t controlID, const char* name, int32_t defaultValue, bool automatable,
                       const char* onText = nullptr, const char* offText = nullptr);

  int32_t ControlValueFromText(const char* text) const override;
  bool AcceptsCharacter(int32_t character) const override;
  void GetDisplayText(char* dest, int32_t maxLength, int32_t controlValue) const override;

  const char* OnText() const { return onText.data(); }
  const char* OffText() const { return offText.data(); }

private:
  std::array<char, kTextBytes> onText{};
  std::array<char, kTextBytes> offText{};
};
