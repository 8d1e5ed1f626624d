// The host driver against the real module: TAVO.so loaded beside the engine stand-ins and
// reached only through the driver.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "tests/host/driver/DriverFixture.h"

using namespace tavo::host;
using namespace tavo::host::test;

namespace {

TEST_F(HostDriver, DescribesTheGroupAndItsMonoAndStereoTypes) {
  ModuleInfo info;
  ASSERT_EQ(module_->Describe(info), 0);
  EXPECT_EQ(info.manufacturer, "Quenstrel");
  EXPECT_EQ(info.product, "TAVO");
  EXPECT_EQ(info.settingsPath, "Plug-Ins/Quenstrel/TAVO/1");
  ASSERT_EQ(info.types.size(), 2u);
  EXPECT_EQ(info.types[0].typeID, hostabi::FourCC("TAV1"));
  EXPECT_EQ(info.types[0].inputs, 1);
  EXPECT_EQ(info.types[1].typeID, hostabi::FourCC("TAV2"));
  EXPECT_EQ(info.types[1].outputs, 2);
  EXPECT_EQ(info.types[1].category, 64);

  std::unique_ptr<HostProcess> p;
  ProcessOptions six;
  six.channels = 6;
  EXPECT_EQ(module_->CreateProcess(six, p), kErrNoSuchType);
  EXPECT_EQ(StatusText(kErrNoSuchType), "the module has no type for that channel count (-30004)");
  EXPECT_EQ(StatusText(hostabi::kErrChunk).find("state chunk"), 4u);
}

TEST(HostModuleLoad, RefusesAMissingFileAndALibraryThatIsNoModule) {
  standin::ResetAll();
  std::unique_ptr<HostModule> module;
  std::string detail;
  EXPECT_EQ(HostModule::Load("/nonexistent/TAVO.so", module, &detail), kErrModuleFile);
  EXPECT_NE(detail.find("/nonexistent/TAVO.so"), std::string::npos);
  EXPECT_EQ(HostModule::Load(DSI_LIBRARY_FILE, module, &detail), kErrModuleExports);
  EXPECT_EQ(module, nullptr);
}

TEST(StepControlValue, SpreadsTheStepsOverTheWholeRange) {
  EXPECT_EQ(StepControlValue(0, 2), INT32_MIN);
  EXPECT_EQ(StepControlValue(1, 2), INT32_MAX);
  EXPECT_EQ(StepControlValue(1, 3), 0); // -0.5 truncates towards zero
  EXPECT_EQ(StepControlValue(7, 3), INT32_MAX);
  EXPECT_EQ(StepControlValue(0, 1), INT32_MIN);
}

TEST_F(HostDriver, ASecondHoldOnTheModuleSharesItsGroupAndLeavesTheFirstWorking) {
  std::unique_ptr<HostModule> second;
  ASSERT_EQ(HostModule::Load(TAVO_MODULE_FILE, second), 0);
  EXPECT_EQ(second->Group(), module_->Group());
  auto p = Create();
  second.reset(); // its close is the second open's: the group stays
  const Stereo in(320, 0.1f);
  Render(*p, in);
  int32_t count = 0;
  EXPECT_EQ(p->ControlCount(count), 0);
  EXPECT_EQ(count, 9);
}

TEST_F(HostDriver, SentDefaultsPutTheOutputCompensationInEffect) {
  ProcessOptions mono;
  mono.channels = 1;
  ProcessOptions untouched = mono;
  untouched.sendDefaults = false;
  auto sent = Create(mono);
  auto raw = Create(untouched);
  EXPECT_EQ(sent->Type().typeID, hostabi::FourCC("TAV1"));
  std::vector<float> in(32 * 400), a(in.size()), b(in.size());
  for (size_t i = 0; i < in.size(); ++i)
    in[i] = 0.001f * std::sin(0.1425f * static_cast<float>(i));
  const float* ins[] = {in.data()};
  float* outA[] = {a.data()};
  float* outB[] = {b.data()};
  ASSERT_EQ(sent->Render(ins, outA, static_cast<int64_t>(in.size())), 0);
  ASSERT_EQ(raw->Render(ins, outB, static_cast<int64_t>(in.size())), 0);
  double ea = 0.0, eb = 0.0;
  for (size_t i = in.size() / 2; i < in.size(); ++i)
    ea += a[i] * a[i], eb += b[i] * b[i];
  // The -1.2 dB of the output compensation at its default.
  EXPECT_NEAR(10.0 * std::log10(ea / eb), -1.2, 0.05);
  float* two[] = {a.data(), b.data()};
  EXPECT_EQ(sent->Render(ins, two, 32), kErrBadArgument); // a mono process has one output
}

TEST_F(HostDriver, AJobOnTheRenderThreadMatchesTheSameBlocksRenderedByHand) {
  // 45 frames past a whole number of quanta: the last block is padded with silence.
  const Stereo in(32 * 50 + 45, 0.25f);
  // One instance after the other, each the only one alive: both drift from the first seed.
  const Stereo out = Render(*Create(), in);
  auto byHand = Create();
  Stereo expected(in.left.size());
  for (size_t at = 0; at < in.left.size(); at += 32) {
    const int32_t n = static_cast<int32_t>(std::min<size_t>(32, in.left.size() - at));
    const float* ins[] = {in.left.data() + at, in.right.data() + at};
    float* outs[] = {expected.left.data() + at, expected.right.data() + at};
    ASSERT_EQ(byHand->RenderBlockHere(ins, outs, n), 0);
  }
  EXPECT_EQ(out.left, expected.left);
  EXPECT_EQ(out.right, expected.right);
  float peak = 0.0f;
  for (float s : out.left)
    peak = std::max(peak, std::fabs(s));
  EXPECT_GT(peak, 0.1f);
}

TEST_F(HostDriver, AVariableQuantumRendersJobsOfAnyLength) {
  ProcessOptions options;
  options.variableQuantum = true;
  options.maximumQuantum = 100;
  auto p = Create(options);
  const Stereo in(1037, 0.25f);
  const Stereo out = Render(*p, in);
  for (float s : out.right)
    ASSERT_TRUE(std::isfinite(s));
  // A block larger than the maximum quantum reaches the engine as the host hands it over.
  Stereo big(4096, 0.25f);
  EXPECT_EQ(p->RenderBlockHere(big.In(), big.Out(), 4096), 0);
  EXPECT_EQ(p->Render(in.In(), big.Out(), -1), kErrBadArgument);
}

TEST_F(HostDriver, ChunksSaveRestoreAndCompareAcrossInstances) {
  auto first = Create();
  std::vector<ControlInfo> controls;
  ASSERT_EQ(first->DescribeControls(controls), 0);
  ASSERT_EQ(controls.size(), 9u);
  EXPECT_EQ(controls[0].name, "Master Bypass");
  EXPECT_EQ(controls[kDrive - 1].name, "Drive");
  EXPECT_EQ(controls[kDrive - 1].highestText, "10.0");
  EXPECT_EQ(controls[kVUMode - 1].items,
            (std::vector<std::string>{"Input", "RMS Difference Out-In", "Output"}));

  ASSERT_EQ(first->SetControl(kDrive, StepControlValue(700, 1001)), 0);
  std::vector<uint8_t> chunk;
  ASSERT_EQ(first->SaveChunk(chunk), 0);
  // The second instance is created once the first is gone, so that both drift from the first
  // seed and render alike.
  const Stereo in(4000, 0.5f);
  const Stereo firstOut = Render(*first, in);
  first.reset();
  auto second = Create();
  bool equal = true;
  ASSERT_EQ(second->CompareChunk(chunk, equal), 0);
  EXPECT_FALSE(equal);
  ASSERT_EQ(second->RestoreChunk(chunk), 0);
  ASSERT_EQ(second->CompareChunk(chunk, equal), 0);
  EXPECT_TRUE(equal);
  EXPECT_EQ(firstOut.left, Render(*second, in).left);

  // A size field that disagrees with the bytes handed over never reaches the module.
  chunk.push_back(0);
  EXPECT_EQ(second->RestoreChunk(chunk), hostabi::kErrChunk);
  chunk.resize(40);
  EXPECT_EQ(second->CompareChunk(chunk, equal), hostabi::kErrChunk);
}

TEST_F(HostDriver, TheEditorIsWorkedThroughItsWindowLikeAPersonWould) {
  auto p = Create();
  int32_t width = 0, height = 0;
  ASSERT_EQ(p->EditorSize(width, height), 0);
  EXPECT_EQ(width, 304);
  EXPECT_EQ(height, 416);
  std::vector<uint32_t> pixels;
  EXPECT_EQ(p->ReadEditorFrame(pixels, width, height), kErrEditorNotOpen);

  ASSERT_EQ(p->OpenEditor(), 0);
  EXPECT_EQ(p->EditorTimerPeriodMs(), 40);
  bool drew = false;
  ASSERT_EQ(p->TickEditor(&drew), 0);
  EXPECT_TRUE(drew);
  ASSERT_EQ(p->ReadEditorFrame(pixels, width, height), 0);
  ASSERT_EQ(pixels.size(), 304u * 416u);
  const std::vector<uint32_t> before = pixels;

  // Dragging Drive up by a fifth of its knob reaches the host as Drive 0.5.
  ASSERT_EQ(p->Drag(84, 168, 84, 148), 0);
  int32_t drive = 0;
  ASSERT_EQ(p->GetControl(kDrive, drive), 0);
  std::string shown;
  ASSERT_EQ(p->DisplayText(kDrive, drive, shown), 0);
  EXPECT_EQ(shown, "0.5");
  // A click on the third lamp selects the third VU mode.
  ASSERT_EQ(p->Click(230, 25), 0);
  int32_t mode = 0;
  ASSERT_EQ(p->GetControl(kVUMode, mode), 0);
  EXPECT_EQ(mode, StepControlValue(2, 3));
  ASSERT_EQ(p->TickEditor(&drew), 0);
  EXPECT_TRUE(drew);
  ASSERT_EQ(p->ReadEditorFrame(pixels, width, height), 0);
  EXPECT_NE(pixels, before);
  EXPECT_EQ(p->EditorEvent(99, 0, 0), kErrBadArgument);

  ASSERT_EQ(p->CloseEditor(), 0);
  EXPECT_FALSE(p->EditorOpen());
  EXPECT_EQ(p->TickEditor(), kErrEditorNotOpen);
}

TEST_F(HostDriver, AtEveryDisplayScaleTheSameDragInEditorPixelsSetsTheSameDrive) {
  for (int percent : {100, 150, 200}) {
    SCOPED_TRACE(percent);
    auto p = Create();
    ASSERT_EQ(p->OpenEditor(), 0);
    // Offscreen on Linux; on Windows the window is told its monitor's DPI changed.
    ASSERT_EQ(p->SetEditorScale(percent), 0);
    ASSERT_EQ(p->TickEditor(), 0);
    std::vector<uint32_t> pixels;
    int32_t width = 0, height = 0;
    ASSERT_EQ(p->ReadEditorFrame(pixels, width, height), 0);
    EXPECT_EQ(width, 304 * percent / 100);
    EXPECT_EQ(height, 416 * percent / 100);
    // Window pixels: up by a fifth of the knob, whatever the scale.
    const auto at = [percent](int v) { return v * percent / 100; };
    ASSERT_EQ(p->Drag(at(84), at(168), at(84), at(148), at(20)), 0);
    int32_t drive = 0;
    ASSERT_EQ(p->GetControl(kDrive, drive), 0);
    std::string shown;
    ASSERT_EQ(p->DisplayText(kDrive, drive, shown), 0);
    EXPECT_EQ(shown, "0.5");
    // The lamps answer where they are drawn.
    ASSERT_EQ(p->Click(at(230), at(25)), 0);
    int32_t mode = 0;
    ASSERT_EQ(p->GetControl(kVUMode, mode), 0);
    EXPECT_EQ(mode, StepControlValue(2, 3));
  }
  auto p = Create();
  ASSERT_EQ(p->OpenEditor(), 0);
  EXPECT_EQ(p->SetEditorScale(50), kErrBadArgument);
  EXPECT_EQ(p->SetEditorScale(500), kErrBadArgument);
}

TEST_F(HostDriver, ClosingTheModuleClosesProcessesStillOpen) {
  auto p = Create();
  ASSERT_EQ(p->OpenEditor(), 0);
  Stereo in(32 * 100, 0.1f);
  Stereo out(in.left.size());
  ASSERT_EQ(p->Submit(in.In(), out.Out(), static_cast<int64_t>(in.left.size())), 0);
  module_.reset(); // waits for the job, detaches the editor, destroys the process
  EXPECT_FALSE(p->EditorOpen());
  int32_t count = 0;
  EXPECT_EQ(p->ControlCount(count), kErrProcessClosed);
  EXPECT_EQ(p->Render(in.In(), out.Out(), 32), kErrProcessClosed);
  EXPECT_TRUE(standin::RenderInstances().empty());
}

} // namespace
