// The display scale an LV2 host announces to the editor's UI: read from the options as a float,
// and anything else a host might send left at 1.

#include <gtest/gtest.h>

#include <lv2/atom/atom.h>
#include <lv2/options/options.h>
#include <lv2/ui/ui.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "lv2/HostFeatures.h"
#include "tests/lv2/LV2HostFixture.h"

namespace tavo::test {
namespace {

class HostScaleFactor : public ::testing::Test {
protected:
  // The host's features with one scale option of the given type and size.
  float Read(const void* value, LV2_URID type, uint32_t size, bool withMap = true) {
    options_ = {{LV2_OPTIONS_INSTANCE, 0, host_.Map(LV2_UI__scaleFactor), size, type, value},
                {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr}};
    optionsFeature_.data = options_.data();
    std::vector<const LV2_Feature*> features = host_.Features(withMap, false);
    features.insert(features.begin(), &optionsFeature_);
    return lv2::HostFeatures::Read(features.data()).scaleFactor;
  }
  LV2_URID Float() { return host_.Map(LV2_ATOM__Float); }

  LV2Host host_;
  std::vector<LV2_Options_Option> options_;
  LV2_Feature optionsFeature_{LV2_OPTIONS__options, nullptr};
};

TEST_F(HostScaleFactor, AFloatOptionGivesTheScale) {
  const float two = 2.0f, between = 1.25f;
  EXPECT_EQ(Read(&two, Float(), sizeof two), 2.0f);
  EXPECT_EQ(Read(&between, Float(), sizeof between), 1.25f);
}

TEST_F(HostScaleFactor, AnythingElseLeavesTheEditorAtOne) {
  const float two = 2.0f, zero = 0.0f, negative = -2.0f, nan = std::nanf(""), inf = INFINITY;
  const int32_t integer = 2;
  EXPECT_EQ(Read(&integer, host_.Map(LV2_ATOM__Int), sizeof integer), 1.0f);
  EXPECT_EQ(Read(&two, Float(), 2), 1.0f);                 // a size that is not a float's
  EXPECT_EQ(Read(nullptr, Float(), sizeof two), 1.0f);     // no value
  EXPECT_EQ(Read(&two, Float(), sizeof two, false), 1.0f); // no map: no options at all
  for (const float* bad : {&zero, &negative, &nan, &inf})
    EXPECT_EQ(Read(bad, Float(), sizeof two), 1.0f) << *bad;
}

} // namespace
} // namespace tavo::test
