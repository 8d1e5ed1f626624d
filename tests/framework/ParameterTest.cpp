#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "framework/IParameter.h"

namespace tavo {
namespace {

std::string Format(const IParameter& p, double x, bool normalized, bool texts) {
  char out[64];
  p.FormatValue(x, normalized, out, sizeof out, texts);
  return out;
}

TEST(ParameterInit, DoubleDerivesPrecisionFromTheStep) {
  IParameter p;
  p.InitDouble("Crosstalk Level", -90, -120, -60, 0.1, "dB");
  EXPECT_EQ(p.Kind(), ParamKind::Double);
  EXPECT_EQ(p.Precision(), 1);
  EXPECT_EQ(Format(p, -90, false, true), "-90.0");
  EXPECT_STREQ(p.GetUnitLabel(), "dB");

  const struct {
    double step;
    int precision;
  } cases[] = {{1.0, 0}, {0.5, 1}, {0.25, 2}, {0.01, 2}, {0.001, 3}, {1e-9, 6}};
  for (const auto& c : cases) {
    IParameter q;
    q.InitDouble("x", 0, 0, 10, c.step);
    EXPECT_EQ(q.Precision(), c.precision) << c.step;
  }
}

TEST(ParameterInit, RangeNarrowerThanOneStepIsWidened) {
  IParameter p;
  p.InitDouble("x", 0, 0, 0.5, 1);
  EXPECT_EQ(p.Max(), 1.0);
}

TEST(ParameterInit, DefaultIsStoredUnclampedAndUnrounded) {
  IParameter p;
  p.InitDouble("x", 12.345, 0, 10, 0.1);
  EXPECT_EQ(p.Value(), 12.345);
  EXPECT_EQ(p.DefaultValue(), 12.345);
}

TEST(ParameterInit, BoolKeepsItsKindThroughTheInnerInitialisers) {
  IParameter p;
  p.InitBool("Bypass", true);
  EXPECT_EQ(p.Kind(), ParamKind::Bool);
  EXPECT_EQ(p.Min(), 0);
  EXPECT_EQ(p.Max(), 1);
  EXPECT_EQ(p.Step(), 1);
  EXPECT_EQ(p.Value(), 1);
  ASSERT_EQ(p.GetDisplayTextCount(), 2);
  int v = -1;
  EXPECT_STREQ(p.GetDisplayTextAt(0, &v), "off");
  EXPECT_EQ(v, 0);
  EXPECT_STREQ(p.GetDisplayTextAt(1, &v), "on");
  EXPECT_EQ(v, 1);
  EXPECT_EQ(Format(p, 1, false, true), "on");
  EXPECT_STREQ(p.GetUnitLabel(), "");
}

TEST(ParameterInit, OverlongTextsAreCutAtTheirField) {
  IParameter p;
  const std::string longName(100, 'n');
  p.InitDouble(longName.c_str(), 0, 0, 1, 0.1, longName.c_str(), longName.c_str());
  p.SetDisplayText(0, longName.c_str());
  EXPECT_EQ(std::string(p.GetName()), longName.substr(0, 31));
  EXPECT_EQ(std::string(p.GetGroup()), longName.substr(0, 31));
  EXPECT_EQ(std::string(p.GetDisplayTextAt(0)), longName.substr(0, 31));
}

TEST(ParameterNormalized, EnumRoundsHalfUpToTheStep) {
  IParameter p;
  p.InitEnum("VU Mode", 0, 3);
  EXPECT_EQ(p.Min(), 0);
  EXPECT_EQ(p.Max(), 2);
  p.SetNormalized(0.74);
  EXPECT_EQ(p.Value(), 1);
  p.SetNormalized(0.75);
  EXPECT_EQ(p.Value(), 2);
}

TEST(ParameterNormalized, IntClampsAboveButNotBelow) {
  IParameter p;
  p.InitInt("x", 0, -5, 5);
  EXPECT_EQ(p.Kind(), ParamKind::Int);
  p.SetNormalized(0.51);
  EXPECT_EQ(p.Value(), 0);
  p.SetNormalized(1.2);
  EXPECT_EQ(p.Value(), 5);
  p.SetNormalized(-0.1);
  EXPECT_EQ(p.Value(), -6);
}

TEST(ParameterNormalized, DoubleKeepsUnroundedValues) {
  IParameter p;
  p.InitDouble("Drive", 0, 0, 10, 0.01);
  p.SetNormalized(0.123);
  EXPECT_DOUBLE_EQ(p.Value(), 1.23);
  p.SetNormalized(0.1234);
  EXPECT_DOUBLE_EQ(p.Value(), 1.234);
}

TEST(ParameterNormalized, NotANumberLeavesTheValueAlone) {
  IParameter p;
  p.InitDouble("x", 3, 0, 10, 0.1);
  p.SetNormalized(std::nan(""));
  EXPECT_EQ(p.Value(), 3.0);
  p.SetValueClamped(std::nan(""));
  EXPECT_EQ(p.Value(), 3.0); // the default
}

TEST(ParameterNormalized, ToNormalizedClampsToTheRange) {
  IParameter p;
  p.InitDouble("x", 0, -20, 20, 0.1);
  EXPECT_EQ(p.ToNormalized(-100), 0.0);
  EXPECT_EQ(p.ToNormalized(100), 1.0);
  EXPECT_EQ(p.ToNormalized(0), 0.5);
}

TEST(ParameterNormalized, ShapeBendsBothDirectionsAndZeroIsIgnored) {
  IParameter p;
  p.InitDouble("x", 0, 0, 100, 0.1);
  p.SetShape(0.0);
  EXPECT_EQ(p.Shape(), 1.0);
  p.SetShape(2.0);
  p.SetNormalized(0.5);
  EXPECT_DOUBLE_EQ(p.Value(), 25.0);
  EXPECT_DOUBLE_EQ(p.GetNormalized(), 0.5);
}

TEST(ParameterFormat, IntegralStepTruncatesTowardZero) {
  IParameter p;
  p.InitDouble("x", 0, -10, 10, 1);
  EXPECT_EQ(Format(p, 2.7, false, false), "2");
  EXPECT_EQ(Format(p, -2.7, false, false), "-2");
}

TEST(ParameterFormat, NormalizedInputIsMappedWithoutRounding) {
  IParameter p;
  p.InitDouble("x", 0, 0, 10, 0.01);
  EXPECT_EQ(Format(p, 0.1234, true, false), "1.23");
}

TEST(ParameterFormat, NonFiniteAndHugeValuesDoNotBreakTheFormatter) {
  IParameter p;
  p.InitInt("x", 0, 0, 10);
  p.SetDisplayText(0, "zero");
  EXPECT_EQ(Format(p, 1e300, false, true), Format(p, 1e300, false, false));
  EXPECT_FALSE(Format(p, std::nan(""), false, true).empty());
}

TEST(ParameterDisplayTexts, FirstEntryWinsAndLookupsAreExact) {
  IParameter p;
  p.InitEnum("x", 0, 3);
  p.SetDisplayText(1, "one");
  p.SetDisplayText(1, "uno");
  EXPECT_STREQ(p.GetDisplayTextFor(1), "one");
  EXPECT_STREQ(p.GetDisplayTextFor(2), "");
  int v = -1;
  EXPECT_TRUE(p.MapDisplayText("uno", &v));
  EXPECT_EQ(v, 1);
  EXPECT_FALSE(p.MapDisplayText("One", &v));
  EXPECT_STREQ(p.GetDisplayTextAt(5), ""); // out of range answers empty
  IParameter empty;
  EXPECT_FALSE(empty.MapDisplayText("", &v));
}

TEST(ParameterGain, DecibelsBecomeALinearFactor) {
  IParameter p;
  p.InitDouble("Trim", -6, -20, 20, 0.1);
  EXPECT_NEAR(p.GainFromDecibels(), 0.501187, 1e-6);
}

} // namespace
} // namespace tavo
