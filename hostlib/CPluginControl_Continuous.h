#pragma once
// Controls over a real-valued range. The continuous control owns the display formatter (metric
// prefixes, unit, decimals that give way to a narrow field) and the parser; its derived classes
// decide how reals map onto control values. The linear control spreads its range evenly.

#include <array>
#include <span>
#include <string>

#include "hostlib/CPluginControl.h"

struct SMetricPrefix {
  const char* text;
  double factor;
};

// "f" … "E", smallest factor first.
inline constexpr std::array<SMetricPrefix, 12> kMetricPrefixes{{{"f", 1e-15},
                                                                {"p", 1e-12},
                                                                {"n", 1e-9},
                                                                {"u", 1e-6},
                                                                {"m", 1e-3},
                                                                {"", 1.0},
                                                                {"k", 1e3},
                                                                {"M", 1e6},
                                                                {"G", 1e9},
                                                                {"T", 1e12},
                                                                {"P", 1e15},
                                                                {"E", 1e18}}};

// The range "" … "E" that parameter controls use.
inline const SMetricPrefix* UnitPrefix() {
  return &kMetricPrefixes[5];
}
inline const SMetricPrefix* LargestPrefix() {
  return &kMetricPrefixes[11];
}

class CPluginControl_Continuous : public CPluginControl {
public:
  // [main thread] prefixFirst … prefixLast (both inside kMetricPrefixes, first not after last)
  // is the range of prefixes the formatter may choose and the parser accepts; null, or a range
  // that is not inside the table, means none.
  CPluginControl_Continuous(int32_t controlID, const char* name, double minReal, double maxReal,
                            double defaultReal, bool automatable, const SMetricPrefix* prefixFirst,
                            const SMetricPrefix* prefixLast);

  int32_t GetControlID() const override { return controlID; }
  int32_t ControlValueFromText(const char* text) const override;
  bool AcceptsCharacter(int32_t character) const override;
  void GetFittedName(char* dest, int32_t maxLength) const override;
  int32_t ControlHint1() const override { return 0; }
  int32_t ControlHint2() const override { return 0; }
  int32_t IsContinuous() const override { return 1; }
  void GetDisplayText(char* dest, int32_t maxLength, int32_t controlValue) const override;
  bool IsAutomatable() const override { return automatable != 0; }

  // [any thread] 13, 14
  virtual int32_t ControlValueFromReal(double real) const = 0;
  virtual double RealFromControlValue(int32_t controlValue) const = 0;

  // [main thread] At most kMostDecimals decimals are kept.
  static constexpr int32_t kMostDecimals = 17;
  void SetDecimals(int32_t count);
  void SetUnit(const char* text) { unit = text ? text : ""; }

  // [any thread] The text for a real value in a field of the given width (no NUL bound).
  std::string FormatReal(double real, int32_t width) const;

  double MinReal() const { return minReal; }
  double MaxReal() const { return maxReal; }
  double DefaultReal() const { return defaultReal; }
  int32_t Decimals() const { return decimals; }
  const std::string& Name() const { return name; }

protected:
  int32_t controlID;
  std::string name;
  double minReal;
  double maxReal;
  double defaultReal;
  uint8_t automatable;
  int32_t decimals = 1;
  std::string unit;
  std::span<const SMetricPrefix> prefixes; // prefixFirst … prefixEnd
};

class CPluginControl_Linear : public virtual CPluginControl_Continuous {
public:
  // [main thread] stepCount = (int)((maxReal − minReal) / step + 1); the current value starts at
  // the default.
  CPluginControl_Linear(int32_t controlID, const char* name, double minReal, double maxReal,
                        double step, double defaultReal, bool automatable,
                        const SMetricPrefix* prefixFirst, const SMetricPrefix* prefixLast);

  int32_t GetDefaultControlValue() const override;
  void SetDefaultFromControlValue(int32_t controlValue) override;
  int32_t GetStepCount() const override { return stepCount; }
  int32_t ControlValueFromReal(double real) const override;
  double RealFromControlValue(int32_t controlValue) const override;

private:
  int32_t stepCount;
};
