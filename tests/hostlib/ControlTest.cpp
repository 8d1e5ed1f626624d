#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <initializer_list>
#include <string>

#include "hostlib/CDAEError.h"
#include "hostlib/CPluginControl_Continuous.h"
#include "hostlib/CPluginControl_Discrete.h"
#include "hostlib/HostInterface.h"
#include "hostlib/NameVariants.h"

namespace {

constexpr int32_t kLowest = -2147483647 - 1;
constexpr int32_t kHighest = 2147483647;

template <typename Control>
std::string Display(const Control& control, int32_t width, int32_t controlValue) {
  std::string dest(static_cast<size_t>(width) + 1, '#');
  control.GetDisplayText(dest.data(), width, controlValue);
  return dest.c_str();
}

int32_t ThrownCode(const CPluginControl& control, const char* text) {
  try {
    control.ControlValueFromText(text);
  } catch (const CDAEError& e) {
    return e.Code();
  }
  return 0;
}

// The adaptor's range of prefixes for parameter controls: "" … "E".
CPluginControl_Linear MakeLinear(double lo, double hi, double step = 0.1, double def = 0.0) {
  return CPluginControl_Linear(0x206C6420, "Gain\nGn", lo, hi, step, def, true, UnitPrefix(),
                               LargestPrefix());
}

} // namespace

TEST(DiscreteControl, RangeEndsMapToTheFullControlSpan) {
  CPluginControl_Discrete c(1, "Steps", 0, 10, 0, true);
  EXPECT_EQ(c.ControlValueFromValue(0), kLowest);
  EXPECT_EQ(c.ControlValueFromValue(10), kHighest);
  EXPECT_EQ(c.ValueFromControlValue(kLowest), 0);
  EXPECT_EQ(c.ValueFromControlValue(kHighest), 10);
  EXPECT_EQ(c.ValueFromControlValue(0), 5);
  EXPECT_EQ(c.GetStepCount(), 11);
}

TEST(DiscreteControl, EveryValueSurvivesTheRoundTrip) {
  CPluginControl_Discrete c(1, "Steps", -7, 13, 0, true);
  for (int32_t v = -7; v <= 13; ++v)
    EXPECT_EQ(c.ValueFromControlValue(c.ControlValueFromValue(v)), v);
}

TEST(DiscreteControl, OutOfRangeValuesAreClamped) {
  CPluginControl_Discrete c(1, "Steps", 0, 10, 3, true);
  EXPECT_EQ(c.ControlValueFromValue(-5), kLowest);
  EXPECT_EQ(c.ControlValueFromValue(99), kHighest);
  EXPECT_EQ(c.GetControlValue(), c.ControlValueFromValue(3));
}

TEST(DiscreteControl, DefaultIsStoredInOwnUnits) {
  CPluginControl_Discrete c(1, "Steps", 0, 10, 3, true);
  c.SetDefaultFromControlValue(c.ControlValueFromValue(7));
  EXPECT_EQ(c.DefaultValue(), 7);
  EXPECT_EQ(c.GetDefaultControlValue(), c.ControlValueFromValue(7));
}

TEST(DiscreteControl, DisplayFallsBackToStarWhenTooNarrow) {
  CPluginControl_Discrete c(1, "Steps", 0, 1000, 0, true);
  EXPECT_EQ(Display(c, 8, c.ControlValueFromValue(1000)), "1000");
  EXPECT_EQ(Display(c, 3, c.ControlValueFromValue(1000)), "*");
  EXPECT_EQ(Display(c, 0, c.ControlValueFromValue(1000)), "");
}

TEST(DiscreteControl, ParsesLeadingDigitsLikeTheCLibrary) {
  CPluginControl_Discrete c(1, "Steps", 0, 10, 0, true);
  EXPECT_EQ(c.ControlValueFromText("7 steps"), c.ControlValueFromValue(7));
  EXPECT_EQ(c.ControlValueFromText("abc"), c.ControlValueFromValue(0));
  EXPECT_EQ(c.ControlValueFromText("99999999999999999999"), kHighest);
  EXPECT_EQ(c.ControlValueFromText(nullptr), kLowest);
}

TEST(DiscreteControl, AcceptsDigitsEditingKeysAndSeparators) {
  CPluginControl_Discrete c(1, "Steps", 0, 10, 0, true);
  for (int ch : std::initializer_list<int>{'0', '9', 8, 28, 29, '+', '-', '.', ':', '|'})
    EXPECT_TRUE(c.AcceptsCharacter(ch)) << ch;
  for (int ch : std::initializer_list<int>{'a', ' ', 30, 31, 'O'})
    EXPECT_FALSE(c.AcceptsCharacter(ch)) << ch;
}

TEST(DiscreteControl, ReportsItselfAsDiscreteWithoutHints) {
  CPluginControl_Discrete c(0x12345678, "Steps", 0, 10, 0, false);
  EXPECT_EQ(c.GetControlID(), 0x12345678);
  EXPECT_EQ(c.IsContinuous(), 0);
  EXPECT_EQ(c.ControlHint1(), 0);
  EXPECT_EQ(c.ControlHint2(), 0);
  EXPECT_FALSE(c.IsAutomatable());
}

TEST(DiscreteControl, SingleValueRangeDoesNotDivideByZero) {
  CPluginControl_Discrete c(1, "Fixed", 4, 4, 4, true);
  EXPECT_EQ(c.ControlValueFromValue(4), kLowest);
  EXPECT_EQ(c.ValueFromControlValue(kHighest), 4);
}

// ---------------------------------------------------------------------------------------------

class ListControl : public ::testing::Test {
protected:
  CPluginControl_List list{2, "Mode", {"Low", "High", "Extreme\nExtr\nX"}, 1, true};
};

TEST_F(ListControl, TypedPrefixSelectsTheFirstItemIgnoringCase) {
  EXPECT_EQ(list.ControlValueFromText("lo"), list.ControlValueFromValue(0));
  EXPECT_EQ(list.ControlValueFromText("HIGH"), list.ControlValueFromValue(1));
  EXPECT_EQ(list.ControlValueFromText("extreme"), list.ControlValueFromValue(2));
  // Cut to one character the third item's fitting variant is its shortest, "X".
  EXPECT_EQ(list.ControlValueFromText("x"), list.ControlValueFromValue(2));
}

TEST_F(ListControl, UnknownTextFallsBackToTheNumber) {
  EXPECT_EQ(list.ControlValueFromText("2"), list.ControlValueFromValue(2));
  EXPECT_EQ(list.ControlValueFromText("nothing"), list.ControlValueFromValue(0));
}

TEST_F(ListControl, DisplayFitsTheItemVariant) {
  EXPECT_EQ(Display(list, 16, list.ControlValueFromValue(2)), "Extreme");
  EXPECT_EQ(Display(list, 4, list.ControlValueFromValue(2)), "Extr");
  EXPECT_EQ(Display(list, 2, list.ControlValueFromValue(2)), "X");
  EXPECT_EQ(Display(list, 2, list.ControlValueFromValue(1)), "Hi");
}

TEST_F(ListControl, RangeFollowsTheItemCount) {
  EXPECT_EQ(list.GetStepCount(), 3);
  EXPECT_EQ(list.GetControlValue(), list.ControlValueFromValue(1));
}

TEST_F(ListControl, AcceptsEverythingButTheVerticalArrows) {
  EXPECT_TRUE(list.AcceptsCharacter('z'));
  EXPECT_TRUE(list.AcceptsCharacter(' '));
  EXPECT_FALSE(list.AcceptsCharacter(30));
  EXPECT_FALSE(list.AcceptsCharacter(31));
}

// ---------------------------------------------------------------------------------------------

class OnOffControl : public ::testing::Test {
protected:
  CPluginControl_OnOff bypass{
      hostabi::kMasterBypassID, "Master Bypass\nMastrByp\nMByp\nByp", 0, true, "On", "Off"};
};

TEST_F(OnOffControl, NarrowDisplayShowsDigits) {
  EXPECT_EQ(Display(bypass, 1, bypass.ControlValueFromValue(1)), "1");
  EXPECT_EQ(Display(bypass, 1, bypass.ControlValueFromValue(0)), "0");
  EXPECT_EQ(Display(bypass, 2, bypass.ControlValueFromValue(1)), "On");
  EXPECT_EQ(Display(bypass, 2, bypass.ControlValueFromValue(0)), "Of");
  EXPECT_EQ(Display(bypass, 8, bypass.ControlValueFromValue(0)), "Off");
}

TEST_F(OnOffControl, ParsesItsTextsIgnoringCase) {
  EXPECT_EQ(bypass.ControlValueFromText("ON"), kHighest);
  EXPECT_EQ(bypass.ControlValueFromText("off"), kLowest);
  EXPECT_EQ(bypass.ControlValueFromText("maybe"), kLowest);
}

TEST_F(OnOffControl, NameFitsTheLongestVariantThatFits) {
  char name[16];
  bypass.GetFittedName(name, 8);
  EXPECT_STREQ(name, "MastrByp");
  bypass.GetFittedName(name, 2);
  EXPECT_STREQ(name, "By");
  bypass.GetFittedName(name, 15);
  EXPECT_STREQ(name, "Master Bypass");
  bypass.GetFittedName(name, 0);
  EXPECT_STREQ(name, "");
}

TEST_F(OnOffControl, MissingTextsBecomeOnAndOff) {
  CPluginControl_OnOff c(1, "Sw", 1, false, "Enabled", nullptr);
  EXPECT_STREQ(c.OnText(), "On");
  EXPECT_STREQ(c.OffText(), "Off");
  EXPECT_EQ(c.GetControlValue(), kHighest);
}

TEST_F(OnOffControl, OverlongTextsAreCut) {
  const std::string longText(400, 'x');
  CPluginControl_OnOff c(1, "Sw", 0, false, longText.c_str(), "Off");
  EXPECT_EQ(std::strlen(c.OnText()), CPluginControl_OnOff::kTextBytes - 1);
}

TEST_F(OnOffControl, AcceptsTheLettersOfOnBesideDigits) {
  for (int ch : std::initializer_list<int>{'O', 'n', 'o', '1', 8})
    EXPECT_TRUE(bypass.AcceptsCharacter(ch)) << ch;
  EXPECT_FALSE(bypass.AcceptsCharacter('f'));
}

// ---------------------------------------------------------------------------------------------

class LinearControl : public ::testing::Test {
protected:
  CPluginControl_Linear gain = MakeLinear(-20.0, 20.0);
  CPluginControl_Linear wide = MakeLinear(-1e6, 1e6, 1.0);
};

TEST_F(LinearControl, RangeEndsAndCentre) {
  EXPECT_DOUBLE_EQ(gain.RealFromControlValue(kLowest), -20.0);
  EXPECT_DOUBLE_EQ(gain.RealFromControlValue(kHighest), 20.0);
  EXPECT_EQ(gain.ControlValueFromReal(0.0), 0);
  EXPECT_EQ(gain.ControlValueFromReal(-20.0), kLowest);
  EXPECT_EQ(gain.ControlValueFromReal(20.0), kHighest);
}

TEST_F(LinearControl, RealsOutsideTheRangeAreClampedAndNaNSitsAtTheBottom) {
  EXPECT_EQ(gain.ControlValueFromReal(1e300), kHighest);
  EXPECT_EQ(gain.ControlValueFromReal(-1e300), kLowest);
  EXPECT_EQ(gain.ControlValueFromReal(std::nan("")), kLowest);
}

TEST_F(LinearControl, ReversedRangeStillSpansTheControl) {
  CPluginControl_Linear down = MakeLinear(10.0, -10.0);
  EXPECT_EQ(down.ControlValueFromReal(10.0), kLowest);
  EXPECT_EQ(down.ControlValueFromReal(-10.0), kHighest);
}

TEST_F(LinearControl, StepCountTruncates) {
  EXPECT_EQ(gain.GetStepCount(), 401);
  EXPECT_EQ(MakeLinear(0.0, 1.0, 0.3).GetStepCount(), 4);
  EXPECT_EQ(MakeLinear(0.0, 1.0, 0.0).GetStepCount(), 2147483647);
}

TEST_F(LinearControl, DefaultRoundTripsThroughControlValues) {
  CPluginControl_Linear c = MakeLinear(-20.0, 20.0, 0.1, 5.0);
  EXPECT_EQ(c.GetControlValue(), c.ControlValueFromReal(5.0));
  c.SetDefaultFromControlValue(c.ControlValueFromReal(-10.0));
  EXPECT_NEAR(c.DefaultReal(), -10.0, 1e-8);
}

TEST_F(LinearControl, DisplayPicksPrefixAndDropsDecimalsToFit) {
  EXPECT_EQ(wide.FormatReal(1500.0, 8), "1.5k");
  EXPECT_EQ(wide.FormatReal(12.34, 3), "12");
  EXPECT_EQ(wide.FormatReal(123456.0, 4), "123k");
  EXPECT_EQ(wide.FormatReal(123456.0, 3), "* k");
  EXPECT_EQ(wide.FormatReal(-0.04, 8), "0.0");
  EXPECT_EQ(wide.FormatReal(1000.0, 8), "1000.0");
  EXPECT_EQ(wide.FormatReal(1001.0, 8), "1.0k");
  EXPECT_EQ(wide.FormatReal(0.0, 8), "0.0");
}

TEST_F(LinearControl, NeverShowsNegativeZeroAfterDroppingDecimals) {
  EXPECT_EQ(wide.FormatReal(-0.3, 2), "0");
  EXPECT_EQ(wide.FormatReal(-0.6, 2), "-1");
}

TEST_F(LinearControl, DisplayTextIsBoundedToTheWidth) {
  EXPECT_EQ(Display(wide, 8, wide.ControlValueFromReal(1500.0)), "1.5k");
  EXPECT_EQ(Display(wide, 1, wide.ControlValueFromReal(123456.0)), "*");
  EXPECT_EQ(Display(wide, 0, wide.ControlValueFromReal(123456.0)), "");
}

TEST_F(LinearControl, UnitIsSeparatedByABlankWhenThereIsRoom) {
  gain.SetUnit("dB");
  EXPECT_EQ(gain.FormatReal(-6.0, 10), "-6.0 dB");
  EXPECT_EQ(gain.FormatReal(-6.0, 6), "-6.0dB");
  EXPECT_EQ(gain.FormatReal(-6.0, 4), "-6.0");
  EXPECT_EQ(gain.FormatReal(-16.0, 2), "*");
  EXPECT_EQ(wide.FormatReal(-123456.0, 3), "* k");
}

TEST_F(LinearControl, StarFormsKeepTheUnitWhenTheyCan) {
  CPluginControl_Linear hz(1, "Freq", 0.0, 1e9, 1.0, 0.0, true, UnitPrefix(), &kMetricPrefixes[6]);
  hz.SetUnit("Hz");
  EXPECT_EQ(hz.FormatReal(123456789.0, 5), "* kHz");
  EXPECT_EQ(hz.FormatReal(123456789.0, 4), "*kHz");
  EXPECT_EQ(hz.FormatReal(123456789.0, 2), "*k");
  EXPECT_EQ(hz.FormatReal(123456.0, 7), "123.5k");
}

TEST_F(LinearControl, ParsesPrefixesWithAndWithoutABlank) {
  EXPECT_EQ(wide.ControlValueFromText("1.5k"), wide.ControlValueFromReal(1500.0));
  EXPECT_EQ(wide.ControlValueFromText("1.5 k"), wide.ControlValueFromReal(1500.0));
  EXPECT_EQ(wide.ControlValueFromText("  -250  "), wide.ControlValueFromReal(-250.0));
  EXPECT_EQ(wide.ControlValueFromText("1M"), wide.ControlValueFromReal(1e6));
}

TEST_F(LinearControl, ParsesAndStripsTheUnit) {
  gain.SetUnit("dB");
  EXPECT_EQ(gain.ControlValueFromText("-6dB"), gain.ControlValueFromReal(-6.0));
  EXPECT_EQ(gain.ControlValueFromText("-6 dB"), gain.ControlValueFromReal(-6.0));
  EXPECT_EQ(gain.ControlValueFromText("0.015625 kdB"), gain.ControlValueFromReal(15.625));
}

TEST_F(LinearControl, BadTextThrowsTheGenericStatus) {
  EXPECT_EQ(ThrownCode(wide, ""), hostabi::kErrGeneric);
  EXPECT_EQ(ThrownCode(wide, "k"), hostabi::kErrGeneric);
  EXPECT_EQ(ThrownCode(wide, "1 q"), hostabi::kErrGeneric);
  EXPECT_EQ(ThrownCode(wide, "1 k k"), hostabi::kErrGeneric);
  EXPECT_EQ(ThrownCode(wide, "1m"), hostabi::kErrGeneric); // "m" lies outside "" … "E"
  EXPECT_EQ(ThrownCode(wide, "nan"), hostabi::kErrGeneric);
  EXPECT_EQ(ThrownCode(wide, nullptr), hostabi::kErrGeneric);
}

TEST_F(LinearControl, WithoutPrefixesAnySuffixIsAnError) {
  CPluginControl_Linear bare(1, "Bare", 0.0, 1.0, 0.1, 0.0, true, nullptr, nullptr);
  EXPECT_EQ(ThrownCode(bare, "0.5 k"), hostabi::kErrGeneric);
  EXPECT_EQ(bare.ControlValueFromText("0.5"), bare.ControlValueFromReal(0.5));
  EXPECT_EQ(bare.FormatReal(1500.0, 8), "1500.0");
}

TEST_F(LinearControl, PrefixRangeOutsideTheTableMeansNone) {
  SMetricPrefix foreign{"k", 1e3};
  CPluginControl_Linear c(1, "C", 0.0, 1e6, 1.0, 0.0, true, &foreign, &foreign);
  EXPECT_EQ(c.FormatReal(1500.0, 8), "1500.0");
  CPluginControl_Linear backwards(1, "C", 0.0, 1e6, 1.0, 0.0, true, LargestPrefix(), UnitPrefix());
  EXPECT_EQ(backwards.FormatReal(1500.0, 8), "1500.0");
}

TEST_F(LinearControl, AcceptsDigitsPrefixLettersAndUnitLetters) {
  gain.SetUnit("dB");
  for (int ch : std::initializer_list<int>{'0', '.', '+', '-', 'k', 'M', 'E', 'd', 'B', 8, 28, 29})
    EXPECT_TRUE(gain.AcceptsCharacter(ch)) << ch;
  for (int ch : std::initializer_list<int>{'m', 'x', ' ', 30, 0, 1000})
    EXPECT_FALSE(gain.AcceptsCharacter(ch)) << ch;
}

TEST_F(LinearControl, DecimalsAreBounded) {
  gain.SetDecimals(400);
  EXPECT_EQ(gain.Decimals(), CPluginControl_Continuous::kMostDecimals);
  gain.SetDecimals(-3);
  EXPECT_EQ(gain.Decimals(), 0);
  EXPECT_EQ(gain.FormatReal(12.7, 8), "13");
  EXPECT_EQ(gain.IsContinuous(), 1);
}

// ---------------------------------------------------------------------------------------------

TEST(NameVariants, TakesFirstFittingElseCutsTheLast) {
  EXPECT_EQ(FittedNameVariant("Alpha\nAlp\nA", 3), "Alp");
  EXPECT_EQ(FittedNameVariant("Alpha\nAlp\nAb", 1), "A");
  EXPECT_EQ(FittedNameVariant("Alpha", -4), "");
  EXPECT_EQ(FittedNameVariant(nullptr, 10), "");
  EXPECT_EQ(FittedNameVariant("", 10), "");
  EXPECT_EQ(FittedNameVariant("A\n", 0), "");
}
