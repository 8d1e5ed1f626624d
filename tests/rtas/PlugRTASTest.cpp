#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "framework/Trace.h"
#include "rtas/ControlValueMapping.h"
#include "rtas/IPlugRTAS.h"
#include "tests/support/HeadlessGraphics.h"

namespace tavo {
namespace {

// A host process with controls 1 .. count, recording what the plug-in asks of it.
class FakeProcess : public ProcessInterface {
public:
  explicit FakeProcess(int controls) : controls_(controls) {}
  void SetControlValue(int idx, int32_t v) override { log.push_back("Set " + S(idx) + " " + S(v)); }
  int32_t GetControlValue(int idx, int32_t* v) override {
    if (idx < 1 || idx > controls_) return -1;
    *v = 0;
    return 0;
  }
  int32_t GetControlDefault(int idx, int32_t* v) override { return GetControlValue(idx, v); }
  void SetEditorUI(void*) override {}
  void TouchControl(int idx) override { log.push_back("Touch " + S(idx)); }
  void ReleaseControl(int idx) override { log.push_back("Release " + S(idx)); }
  void ProcessHook7() override {}
  void* GetModuleInstance() override { return nullptr; }
  intptr_t EnterResourceContext() override { return 0; }
  void LeaveResourceContext(intptr_t) override {}
  IPlugRTAS* GetPlug() override { return nullptr; }
  IGraphics* GetEditor() override { return nullptr; }
  void MarkStateChanged() override { log.push_back("StateChanged"); }
  int GetMaxBlockSize() override { return maxBlock; }
  double GetTempo() override { return 96.0; }
  void GetTimeSignature(int* n, int* d) override { *n = 7, *d = 8; }
  int GetSamplePosition() override { return 4410; }
  void GetTimeInfo(ITimeInfo* info) override { info->tempo = 96.0; }
  int GetHostVersion() override { return 0x50010; }

  std::vector<std::string> log;
  int maxBlock = 32;

private:
  static std::string S(long v) { return std::to_string(v); }
  int controls_;
};

class Plug : public IPlugRTAS {
public:
  Plug() : IPlugRTAS(3, "1-1 2-2", 3, "Plug", "", "Maker", 0x10000, 1, 2, 6) {
    GetParam(0)->InitDouble("Gain", 0, -20, 20, 0.1);
    GetParam(1)->InitEnum("Mode", 1, 3);
    for (int i = 0; i < 3; ++i)
      GetParam(1)->SetDisplayText(i, "m");
    GetParam(2)->InitInt("Steps", 0, 0, 10);
    MakeDefaultPresets("only", 1);
  }
  void ParamChanged(int idx) override {
    IPlugRTAS::ParamChanged(idx);
    changed.push_back(idx);
  }
  void OnHostAttached() override { attached = true; }
  std::vector<int> changed;
  bool attached = false;
};

TEST(PlugRTASConstruction, ConnectsEverythingAndSizesTheBlock) {
  Plug plug;
  EXPECT_EQ(plug.ApiKind(), kApiRTAS);
  EXPECT_TRUE(plug.InputConnected(0) && plug.InputConnected(1));
  EXPECT_TRUE(plug.OutputConnected(1));
  EXPECT_EQ(plug.BlockSize(), 1024);
  ASSERT_NE(plug.GetLatencyDelay(), nullptr);
  EXPECT_EQ(plug.GetLatencyDelay()->Length(), 6);
  EXPECT_EQ(plug.Process(), nullptr);
  // Without a process every host-bound call is a quiet no-op.
  plug.BeginHostEdit(0);
  plug.SendAllParamsToHost();
  EXPECT_EQ(plug.Tempo(), 0.0);
  EXPECT_EQ(plug.SamplePosition(), 0);
}

TEST(PlugRTASConstruction, AttachingAProcessPrunesPresetsAndTakesTheHostsBlockSize) {
  Plug plug;
  FakeProcess process(4);
  process.maxBlock = 256;
  plug.AttachProcess(&process);
  EXPECT_EQ(plug.NPresets(), 1);
  EXPECT_EQ(plug.BlockSize(), 256);
  EXPECT_TRUE(plug.attached);
  EXPECT_EQ(plug.Tempo(), 96.0);
  int n = 0, d = 0;
  plug.TimeSignature(&n, &d);
  EXPECT_EQ(n * 10 + d, 78);
  EXPECT_EQ(plug.SamplePosition(), 4410);
}

TEST(PlugRTASHost, GesturesAndValuesGoToControlIndexPlusTwoWhenTheControlExists) {
  Plug plug;
  FakeProcess process(3); // controls 1..3: parameter 2's control (4) does not exist
  plug.AttachProcess(&process);
  plug.SendAllParamsToHost();
  EXPECT_EQ(process.log, (std::vector<std::string>{"Touch 2", "Set 2 0", "Release 2", "Touch 3",
                                                   "Set 3 0", "Release 3"}));
}

TEST(PlugRTASHost, ValuesAreConvertedByKind) {
  Plug plug;
  FakeProcess process(4);
  plug.AttachProcess(&process);
  plug.GetParam(0)->SetValue(20);
  plug.GetParam(1)->SetValue(2);
  plug.GetParam(2)->SetValue(10);
  for (int i = 0; i < 3; ++i)
    plug.SendParamToHost(i, 0.0);
  EXPECT_EQ(process.log,
            (std::vector<std::string>{"Set 2 2147483647", "Set 3 2147483647", "Set 4 2147483647"}));
}

TEST(PlugRTASHost, ControlValueMappingEndsAndMiddle) {
  EXPECT_EQ(DiscreteControlValue(0, 0, 10), INT32_MIN);
  EXPECT_EQ(DiscreteControlValue(10, 0, 10), INT32_MAX);
  EXPECT_EQ(DiscreteControlValue(99, 0, 10), INT32_MAX);
  EXPECT_EQ(LinearControlValue(-20, -20, 20), INT32_MIN);
  EXPECT_EQ(LinearControlValue(20, -20, 20), INT32_MAX);
  EXPECT_EQ(LinearControlValue(0, -20, 20), 0);
}

TEST(PlugRTASHost, HostKindIdentifiesTheHostOnce) {
  static std::vector<std::string> lines;
  lines.clear();
  SetTraceSink([](const char* fn, int, const char* msg) {
    if (std::string(fn) == "IPlugBase::SetHost") lines.push_back(msg);
  });
  Plug plug;
  FakeProcess process(4);
  plug.AttachProcess(&process);
  EXPECT_EQ(plug.HostKind(), 2);
  EXPECT_EQ(plug.HostKind(), 2);
  EXPECT_EQ(plug.HostVersion(false), 0x50010);
  char text[32];
  plug.HostVersionText(text, sizeof text);
  EXPECT_STREQ(text, "v5.0.16");
  SetTraceSink(nullptr);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].rfind("host_known:ProTools:v5.0.16", 0), 0u);
}

TEST(PlugRTASHost, HostAutomationMovesTheEditorFirstAndNeverEchoes) {
  Plug plug;
  FakeProcess process(4);
  plug.AttachProcess(&process);
  auto g = std::make_unique<test::HeadlessGraphics>(&plug);
  auto* a = new test::PlainControl(&plug, IBounds(0, 0, 10, 10), 0);
  auto* b = new test::PlainControl(&plug, IBounds(10, 0, 20, 10), 0);
  g->AttachControl(std::unique_ptr<IControl>(a));
  g->AttachControl(std::unique_ptr<IControl>(b));
  plug.AttachEditor(std::move(g));
  process.log.clear();
  plug.changed.clear();
  plug.SetParameterFromHost(0, 30.0); // beyond the range: stored clamped
  EXPECT_EQ(plug.GetParam(0)->Value(), 20.0);
  EXPECT_EQ(a->Value(), 1.0);
  EXPECT_EQ(b->Value(), 1.0);
  EXPECT_EQ(plug.changed, std::vector<int>{0});
  EXPECT_TRUE(process.log.empty());
  plug.SetParameterFromHost(9, 1.0); // unknown parameter: nothing happens
  EXPECT_EQ(plug.changed, std::vector<int>{0});
}

TEST(PlugRTASHost, ExtraInputChangeClearsScratchOnlyWhenItChanges) {
  Plug plug;
  plug.SetExtraInputConnected(1);
  EXPECT_EQ(plug.ExtraInputConnected(), 1);
  plug.SetExtraInputConnected(1);
  plug.SetExtraInputConnected(0);
  EXPECT_EQ(plug.ExtraInputConnected(), 0);
}

TEST(PlugRTASHost, StateChangesAreCountedByTheProcess) {
  Plug plug;
  FakeProcess process(4);
  plug.AttachProcess(&process);
  plug.NotifyStateChanged();
  EXPECT_EQ(process.log, std::vector<std::string>{"StateChanged"});
}

} // namespace
} // namespace tavo
