#pragma once
// Shared set-up for tests that run the host library against the engine stand-ins: every
// stand-in and every module-wide item of the library starts fresh.

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

#include "host/engine/StandInControl.h"
#include "hostlib/CDAEError.h"
#include "hostlib/CEffectProcess.h"
#include "hostlib/CHostEngine.h"
#include "hostlib/CModuleState.h"
#include "hostlib/CPluginControl_Continuous.h"
#include "hostlib/CPluginControl_Discrete.h"
#include "hostlib/CProcessGroup.h"
#include "hostlib/CTokenService.h"
#include "tests/support/FreshHost.h"

inline constexpr int32_t kLowest = -2147483647 - 1;
inline constexpr int32_t kHighest = 2147483647;

// A process as the adaptor would build it: the master bypass at 1 and one gain control at 2.
class TestProcess : public CEffectProcessRTAS {
public:
  struct Change {
    int32_t index;
    bool bypassedAtHook;
  };
  std::vector<Change> changes;
  int32_t lastFrames = -1;
  int renders = 0;
  bool throwInRender = false;
  bool makeView = false;
  bool throwInView = false;

  void InitializeEffect() override {
    AddControl(std::make_unique<CPluginControl_OnOff>(
        hostabi::kMasterBypassID, "Master Bypass\nMastrByp\nMByp\nByp", 0, true, "On", "Off"));
    SetMasterBypassIndex(1);
    AddControl(std::make_unique<CPluginControl_Linear>(0x206C6420, "Gain", -20.0, 20.0, 0.1, 0.0,
                                                       true, UnitPrefix(), LargestPrefix()));
  }
  void ControlValueChanged(int32_t index) override { changes.push_back({index, IsBypassed()}); }
  void RenderAudio(float** inputs, float** outputs, int32_t frames) override {
    ++renders;
    lastFrames = frames;
    if (throwInRender) throw std::runtime_error("render failed");
    for (int32_t c = 0; c < OutputCount(); ++c)
      for (int32_t i = 0; i < frames; ++i)
        outputs[c][i] = 2.0f * inputs[c][i];
  }

  class View : public CPlugInView {
  public:
    explicit View(bool fail) : fail_(fail) {}
    void Initialize() override {
      if (fail_) throw CDAEError(-1234);
      initialized = true;
    }
    bool initialized = false;

  private:
    bool fail_;
  };
  // What was already in place when the view was asked for.
  int32_t controlsAtView = -1;
  int32_t processIDAtView = -1;
  std::unique_ptr<CPlugInView> CreateEditorView() override {
    controlsAtView = ControlCount();
    processIDAtView = ProcessID();
    if (!makeView) return nullptr;
    return std::make_unique<View>(throwInView);
  }
};

// Knobs for the next process the factory makes.
struct NextProcess {
  static inline bool makeView = false;
  static inline bool throwInView = false;
};

inline std::unique_ptr<CEffectProcess> MakeTestProcess() {
  auto p = std::make_unique<TestProcess>();
  p->makeView = NextProcess::makeView;
  p->throwInView = NextProcess::throwInView;
  return p;
}

// The group as the module entry builds it: mono 'TAV1' and stereo 'TAV2'.
class TestGroup : public CEffectGroup {
public:
  TestGroup(const char* productNames = "TAVO\nTAVO") {
    SetManufacturerNames("Quenstrel\nQuenstrel\nQnSl", hostabi::FourCC("QnSl"));
    SetProductNames(productNames, 1);
    AddFeatureCode(14);
  }
  void CreateEffectTypes() override {
    for (int channels : {1, 2}) {
      auto type = std::make_unique<CEffectTypeRTAS>(channels == 1 ? hostabi::FourCC("TAV1")
                                                                  : hostabi::FourCC("TAV2"),
                                                    hostabi::FourCC("TAVO"), 64, true);
      type->SetNames("TAVO\nTAVO");
      type->SetProperty(6, CEffectType::kPropertyPlugInType);
      type->SetStemFormats(channels - 1, channels - 1, 0);
      for (int code : {8, 48, 55})
        type->AddFeatureCode(code);
      type->SetProcessFactory(&MakeTestProcess);
      AddType(std::move(type));
    }
  }
};

class HostFixture : public ::testing::Test {
protected:
  void SetUp() override {
    tavo::test::StartFreshHost();
    NextProcess::makeView = false;
    NextProcess::throwInView = false;
  }
  void TearDown() override { CTokenService::Stop(); }

  // A stereo process made through an initialised group, as the host makes one.
  std::unique_ptr<TestProcess> MakeProcess(int32_t typeIndex = 2) {
    if (!group) {
      group = std::make_unique<TestGroup>();
      group->Initialize();
    }
    std::unique_ptr<CEffectProcess> p;
    EXPECT_EQ(group->CreateProcess(typeIndex, 0, &p), 0);
    return std::unique_ptr<TestProcess>(dynamic_cast<TestProcess*>(p.release()));
  }

  std::unique_ptr<TestGroup> group;
};
