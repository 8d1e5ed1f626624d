// The LV2 UI in a real X11 window (ctest LV2UIScaleOptionUnderXvfb runs these under a private
// Xvfb; without a display they skip): a display scale the host sets through the
// options interface after opening redraws the editor at it, resizes the window and asks the host
// to follow; anything that is not a positive float scale is refused and changes nothing.

#include <gtest/gtest.h>
#include <lv2/atom/atom.h>
#include <lv2/options/options.h>
#include <lv2/ui/ui.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "lv2/PortLayout.h"
#include "lv2/ui/TAVOUI.h"
#include "tests/lv2/LV2HostFixture.h"

// Last: its macros (None, Bool, Status) would rename what the headers above declare.
#include <X11/Xlib.h>

namespace tavo::test {
namespace {

class UIScaleOption : public ::testing::Test {
protected:
  void SetUp() override {
    display_ = XOpenDisplay(nullptr);
    if (!display_) GTEST_SKIP() << "no X display";
    descriptor_ = TAVOLV2UIDescriptor(0);
    std::vector<const LV2_Feature*> features = host_.Features(true, false);
    features.insert(features.begin(), &resizeFeature_);
    handle_ = descriptor_->instantiate(descriptor_, lv2::kStereoURI, "", nullptr, nullptr, &widget_,
                                       features.data());
    ASSERT_NE(handle_, nullptr);
    options_ = static_cast<const LV2_Options_Interface*>(
        descriptor_->extension_data(LV2_OPTIONS__interface));
    ASSERT_NE(options_, nullptr);
  }
  void TearDown() override {
    if (handle_) descriptor_->cleanup(handle_);
    if (display_) XCloseDisplay(display_);
  }

  uint32_t Set(const void* value, LV2_URID key, LV2_URID type, uint32_t size) {
    const LV2_Options_Option list[] = {{LV2_OPTIONS_INSTANCE, 0, key, size, type, value},
                                       {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr}};
    return options_->set(handle_, list);
  }
  uint32_t SetScale(float scale) {
    return Set(&scale, host_.Map(LV2_UI__scaleFactor), host_.Map(LV2_ATOM__Float), sizeof scale);
  }
  // The window's size once the UI has had an idle call.
  std::pair<unsigned, unsigned> WindowSize() {
    const auto* idle = static_cast<const LV2UI_Idle_Interface*>(
        descriptor_->extension_data(LV2_UI__idleInterface));
    idle->idle(handle_);
    XWindowAttributes attributes{};
    XSync(display_, False);
    XGetWindowAttributes(display_, static_cast<Window>(reinterpret_cast<uintptr_t>(widget_)),
                         &attributes);
    return {static_cast<unsigned>(attributes.width), static_cast<unsigned>(attributes.height)};
  }

  static int Resize(LV2UI_Feature_Handle self, int width, int height) {
    static_cast<UIScaleOption*>(self)->asked_.emplace_back(width, height);
    return 0;
  }

  LV2Host host_;
  Display* display_ = nullptr;
  const LV2UI_Descriptor* descriptor_ = nullptr;
  LV2UI_Handle handle_ = nullptr;
  LV2UI_Widget widget_ = nullptr;
  const LV2_Options_Interface* options_ = nullptr;
  LV2UI_Resize resize_{this, &UIScaleOption::Resize};
  LV2_Feature resizeFeature_{LV2_UI__resize, &resize_};
  std::vector<std::pair<int, int>> asked_;
};

TEST_F(UIScaleOption, AScaleSetAfterOpeningResizesTheWindowAndAsksTheHost) {
  ASSERT_EQ(asked_.size(), 1u);
  EXPECT_EQ(asked_.back(), std::make_pair(304, 416));
  EXPECT_EQ(WindowSize(), std::make_pair(304u, 416u));

  EXPECT_EQ(SetScale(2.0f), static_cast<uint32_t>(LV2_OPTIONS_SUCCESS));
  EXPECT_EQ(asked_.back(), std::make_pair(608, 832));
  EXPECT_EQ(WindowSize(), std::make_pair(608u, 832u));

  EXPECT_EQ(SetScale(1.5f), static_cast<uint32_t>(LV2_OPTIONS_SUCCESS));
  EXPECT_EQ(asked_.back(), std::make_pair(456, 624));
  EXPECT_EQ(WindowSize(), std::make_pair(456u, 624u));
}

TEST_F(UIScaleOption, AnythingButAPositiveFloatScaleIsRefusedAndChangesNothing) {
  const int32_t two = 2;
  EXPECT_EQ(Set(&two, host_.Map(LV2_UI__scaleFactor), host_.Map(LV2_ATOM__Int), sizeof two),
            static_cast<uint32_t>(LV2_OPTIONS_ERR_BAD_VALUE));
  EXPECT_EQ(SetScale(0.0f), static_cast<uint32_t>(LV2_OPTIONS_ERR_BAD_VALUE));
  EXPECT_EQ(SetScale(-2.0f), static_cast<uint32_t>(LV2_OPTIONS_ERR_BAD_VALUE));
  const float scale = 2.0f;
  EXPECT_EQ(Set(&scale, host_.Map("urn:example:other"), host_.Map(LV2_ATOM__Float), sizeof scale),
            static_cast<uint32_t>(LV2_OPTIONS_ERR_BAD_KEY));
  EXPECT_EQ(asked_.size(), 1u);
  EXPECT_EQ(WindowSize(), std::make_pair(304u, 416u));
  // An empty list is no change at all.
  const LV2_Options_Option none{LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr};
  EXPECT_EQ(options_->set(handle_, &none), static_cast<uint32_t>(LV2_OPTIONS_SUCCESS));
}

} // namespace
} // namespace tavo::test
