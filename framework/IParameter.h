#pragma once
// One automatable setting of a plug-in. Processing and state speak the plain value (in the
// parameter's own units, between min and max); the host adaptor, the editor and its controls
// speak the normalised value 0..1, mapped through the range and the display shape.
//
// The plug-in base creates one fresh record per parameter; the effect's constructor then gives it
// its kind and range with one initialiser and adds display texts. After that only the value
// changes.

#include <cstddef>
#include <cstdint>

#include "base/GrowableBuffer.h"
#include "base/RelaxedAtomic.h"

namespace tavo {

enum class ParamKind : int32_t { None = 0, Bool = 1, Int = 2, Enum = 3, Double = 4 };

class IParameter {
public:
  static constexpr size_t kTextSize = 32; // 31 characters and the terminator

  // A text for one integer value, as 36 bytes: the value, then the text.
  struct DisplayText {
    int32_t value;
    char text[kTextSize];
  };
  static_assert(sizeof(DisplayText) == 36);

  IParameter() = default;
  IParameter(const IParameter&) = delete;
  IParameter& operator=(const IParameter&) = delete;

  // [main thread · during construction of the effect] Initialisers. The outermost one decides the
  // kind: InitBool goes through InitEnum, InitInt and InitDouble but leaves the kind Bool.
  // Texts longer than 31 characters are cut.
  void InitDouble(const char* name, double defaultValue, double min, double max, double step,
                  const char* unitLabel = "", const char* group = "");
  void InitInt(const char* name, int defaultValue, int min, int max, const char* unitLabel = "",
               const char* group = "");
  void InitEnum(const char* name, int defaultValue, int count, const char* unitLabel = "",
                const char* group = "");
  void InitBool(const char* name, bool defaultValue, const char* unitLabel = "",
                const char* group = "");
  void SetShape(double shape); // 0.0 is ignored
  // Appends a text for a value; an earlier text for the same value keeps precedence.
  void SetDisplayText(int value, const char* text);

  // [any thread · processing lock held by writers] The plain value.
  double Value() const { return value_; }
  void SetValue(double plain) { value_ = plain; }
  // Stores a plain value clamped to [min, max], without rounding to the step (state restore,
  // host automation). NaN stores the default.
  void SetValueClamped(double plain);

  // [processing lock held] Sets the plain value from a normalised one; non-Double kinds are
  // rounded to a multiple of the step. There is no lower clamp. NaN is ignored.
  void SetNormalized(double normalized);
  double GetNormalized() const { return ToNormalized(Value()); }
  double ToNormalized(double plain) const;
  double FromNormalized(double normalized) const;

  // [any thread] Writes the text shown for x into out (bounded by outSize).
  void FormatValue(double x, bool isNormalized, char* out, size_t outSize,
                   bool useDisplayTexts) const;

  const char* GetName() const { return name_; }
  const char* GetGroup() const { return group_; }
  const char* GetUnitLabel() const; // empty when a display text shows the current value
  int GetDisplayTextCount() const { return displayTexts_.Count(); }
  // The entry's text, writing its value when `value` is given; "" for an index out of range.
  const char* GetDisplayTextAt(int index, int* value = nullptr) const;
  const char* GetDisplayTextFor(int value) const; // "" when there is none
  bool MapDisplayText(const char* text, int* value) const;
  // The plain value a typed text stands for, as the editor's entry box reads it: a list or a
  // toggle by one of its display texts (false for any other text), a number as written (negated
  // for a parameter shown negated; no number reads as 0). The caller clamps it into the range.
  bool PlainFromText(const char* text, double* plain) const;
  double GainFromDecibels() const; // the value read as decibels, as a linear factor

  ParamKind Kind() const { return kind_; }
  double Min() const { return min_; }
  double Max() const { return max_; }
  double Step() const { return step_; }
  double Shape() const { return shape_; }
  double DefaultValue() const { return defaultValue_; }
  int Precision() const { return precision_; }
  bool DisplayNegated() const { return displayNegated_; }
  void SetDisplayNegated(bool negated) { displayNegated_ = negated; }
  bool Automatable() const { return automatable_; }
  void SetAutomatable(bool automatable) { automatable_ = automatable; }

private:
  ParamKind kind_ = ParamKind::None;
  RelaxedAtomic<double> value_{0.0};
  double min_ = 0.0;
  double max_ = 1.0;
  double step_ = 1.0;
  double shape_ = 1.0;
  double defaultValue_ = 0.0;
  int32_t precision_ = 0;
  char name_[kTextSize] = {};
  char unitLabel_[kTextSize] = {};
  char group_[kTextSize] = {};
  bool displayNegated_ = false;
  bool automatable_ = true;
  GrowableArray<DisplayText> displayTexts_;
};

} // namespace tavo
