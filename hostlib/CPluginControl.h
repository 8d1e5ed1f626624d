#pragma once
// A host control: one setting of an instance as the host sees it. Every control speaks one value
// space towards the host, a signed 32-bit control value whose full range spans the control's
// range; the classes derived from this one convert it to and from their own units, show it as
// text, parse what the user types and tell how many steps it has.
//
// The virtual operations are declared in the host's slot order and must stay in it.
//
// Text destinations: a "maximum length" w means the destination holds at least w + 1 bytes; the
// result has at most w characters and is always NUL-terminated.

#include <cstdint>
#include <limits>

class CPluginControl {
public:
  static constexpr int32_t kLowestControlValue = std::numeric_limits<int32_t>::min();
  static constexpr double kControlSpan = 4294967295.0; // 2147483647 − (−2147483648)

  CPluginControl() = default;
  CPluginControl(const CPluginControl&) = delete;
  CPluginControl& operator=(const CPluginControl&) = delete;

  // [main thread] 0
  virtual int32_t GetControlID() const = 0;
  // [main thread] 1
  virtual int32_t GetDefaultControlValue() const = 0;
  // [main thread] 2 — stores the default in own units; the base keeps no default.
  virtual void SetDefaultFromControlValue(int32_t controlValue);
  // [main thread] 3
  virtual int32_t GetStepCount() const = 0;
  // [main thread · may throw CDAEError] 4 — text is NUL-terminated; null counts as empty.
  virtual int32_t ControlValueFromText(const char* text) const = 0;
  // [main thread] 5 — may the user type this character code into the value field.
  virtual bool AcceptsCharacter(int32_t character) const = 0;
  // [main thread] 6
  virtual void GetFittedName(char* dest, int32_t maxLength) const = 0;
  // [main thread] 7, 8 — 0 in every class here.
  virtual int32_t ControlHint1() const = 0;
  virtual int32_t ControlHint2() const = 0;
  // [main thread] 9 — 0 for the discrete family, 1 for the continuous family.
  virtual int32_t IsContinuous() const = 0;
  // [main thread] 10
  virtual void GetDisplayText(char* dest, int32_t maxLength, int32_t controlValue) const = 0;
  // [main thread] 11
  virtual bool IsAutomatable() const = 0;
  // 12 — the destructor's slot.
  virtual ~CPluginControl();

  // [main thread] The current control value; the lowest value until a derived constructor sets
  // the default.
  int32_t GetControlValue() const { return controlValue; }
  void SetControlValue(int32_t value) { controlValue = value; }

protected:
  int32_t controlValue = kLowestControlValue;
};

// Copies text into dest with at most maxLength characters and a terminating NUL.
void CopyBoundedText(const char* text, char* dest, int32_t maxLength);
