#pragma once
// A host with the module loaded through the driver, for the driver's tests: a fresh engine
// before, and after, a check that everything the driver did was something a host may do.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "host/driver/HostDriver.h"
#include "host/engine/StandInControl.h"

namespace tavo::host::test {

constexpr int32_t kDrive = 3;  // control index of the Drive parameter
constexpr int32_t kVUMode = 8; // control index of the VU Mode parameter

struct Stereo {
  std::vector<float> left, right;
  explicit Stereo(size_t frames, float amplitude = 0.0f) : left(frames), right(frames) {
    for (size_t i = 0; i < frames; ++i)
      left[i] = right[i] = amplitude * std::sin(0.1425f * static_cast<float>(i));
  }
  std::vector<const float*> In() const { return {left.data(), right.data()}; }
  std::vector<float*> Out() { return {left.data(), right.data()}; }
};

class HostDriver : public ::testing::Test {
protected:
  void SetUp() override {
    standin::ResetAll();
    ASSERT_EQ(HostModule::Load(TAVO_MODULE_FILE, module_), 0);
  }
  void TearDown() override {
    module_.reset();
    // Everything the driver did was something a host may do.
    EXPECT_EQ(standin::ErrorCount(), 0);
    EXPECT_EQ(standin::DigiExtErrorCount(), 0);
    EXPECT_TRUE(standin::RenderInstances().empty());
    EXPECT_TRUE(standin::OpenWindowPorts().empty());
  }
  std::unique_ptr<HostProcess> Create(ProcessOptions options = {}) {
    std::unique_ptr<HostProcess> p;
    EXPECT_EQ(module_->CreateProcess(options, p), 0);
    return p;
  }
  Stereo Render(HostProcess& p, const Stereo& in) {
    Stereo out(in.left.size());
    EXPECT_EQ(p.Render(in.In(), out.Out(), static_cast<int64_t>(in.left.size())), 0);
    return out;
  }

  std::unique_ptr<HostModule> module_;
};

} // namespace tavo::host::test
