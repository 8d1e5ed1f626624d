// The VST 3 path end to end: the bundle's TAVO.so opened as a Linux host opens it (ModuleEntry,
// GetPluginFactory), the processor created, initialised, set to stereo at 44.1 kHz with 32-frame
// blocks and activated, Drive 5 delivered as a parameter change in the first block, then 32-frame
// blocks of float audio through process(). Compare with Chain/Stereo/Drive:5 in the same run
// (same signal, same blocks, the plug-in called directly): the difference is what the VST 3
// adaptor costs.

#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <vector>

#include "bench/BenchSignal.h"
#include "bench/effect_counters.h"
#include "vst3/abi/Factory.h"
#include "vst3/abi/Processing.h"

namespace {

using namespace tavo::vst3;

constexpr double kRate = 44100;
constexpr int kBlock = 32;
constexpr ParamID kDrive = 1;
constexpr double kDriveRange = 10.0;
using tavo::bench::kSignalFrames;

// One parameter with one point at the block's start: what a host sends for a knob set once.
class OneChange final : public IParameterChanges, public IParamValueQueue {
public:
  OneChange(ParamID id, double value) : id_(id), value_(value) {}
  tresult TAVO_VST3_CALL queryInterface(const TUID, void** obj) override {
    *obj = nullptr;
    return kNoInterface;
  }
  uint32_t TAVO_VST3_CALL addRef() override { return 1; }
  uint32_t TAVO_VST3_CALL release() override { return 1; }
  int32_t TAVO_VST3_CALL getParameterCount() override { return 1; }
  IParamValueQueue* TAVO_VST3_CALL getParameterData(int32_t index) override {
    return index == 0 ? this : nullptr;
  }
  IParamValueQueue* TAVO_VST3_CALL addParameterData(const uint32_t&, int32_t&) override {
    return nullptr;
  }
  uint32_t TAVO_VST3_CALL getParameterId() override { return id_; }
  int32_t TAVO_VST3_CALL getPointCount() override { return 1; }
  tresult TAVO_VST3_CALL getPoint(int32_t index, int32_t& offset, double& value) override {
    if (index != 0) return kInvalidArgument;
    offset = 0;
    value = value_;
    return kResultOk;
  }
  tresult TAVO_VST3_CALL addPoint(int32_t, double, int32_t&) override { return kResultFalse; }

private:
  ParamID id_;
  double value_;
};

struct Bundle {
  void* handle = dlopen(TAVO_VST3_FILE, RTLD_NOW | RTLD_LOCAL);
  IPluginFactory* factory = nullptr;
  Bundle() {
    if (!handle) return;
    auto entry = reinterpret_cast<bool (*)(void*)>(dlsym(handle, "ModuleEntry"));
    auto get = reinterpret_cast<IPluginFactory* (*)()>(dlsym(handle, "GetPluginFactory"));
    if (entry && get && entry(handle)) factory = get();
  }
  ~Bundle() {
    if (factory) {
      factory->release();
      if (auto exit = reinterpret_cast<bool (*)()>(dlsym(handle, "ModuleExit"))) exit();
    }
    if (handle) dlclose(handle);
  }
};

void VST3ProcessStereo(benchmark::State& state) {
  Bundle bundle;
  PClassInfo info{};
  void* obj = nullptr;
  if (!bundle.factory || bundle.factory->getClassInfo(0, &info) != kResultOk ||
      bundle.factory->createInstance(info.cid,
                                     reinterpret_cast<const char*>(IComponent::kIid.bytes.data()),
                                     &obj) != kResultOk) {
    state.SkipWithError("the VST 3 bundle cannot be loaded and its processor created");
    return;
  }
  auto* component = static_cast<IComponent*>(obj);
  component->initialize(nullptr);
  component->queryInterface(reinterpret_cast<const char*>(IAudioProcessor::kIid.bytes.data()),
                            &obj);
  auto* processor = static_cast<IAudioProcessor*>(obj);
  SpeakerArrangement stereo = kArrStereo;
  processor->setBusArrangements(&stereo, 1, &stereo, 1);
  ProcessSetup setup{kRealtime, kSample32, kBlock, kRate};
  processor->setupProcessing(setup);
  component->setActive(true);
  processor->setProcessing(true);

  const auto inL = tavo::bench::TwoPartialsUnderASwell<float>(220, 1500);
  const auto inR = tavo::bench::TwoPartialsUnderASwell<float>(330, 2100);
  std::vector<float> outL(kBlock), outR(kBlock);
  float* ins[2] = {};
  float* outs[2] = {outL.data(), outR.data()};
  AudioBusBuffers inBus{2, 0, {ins}};
  AudioBusBuffers outBus{2, 0, {outs}};
  OneChange drive(kDrive, static_cast<double>(state.range(0)) / kDriveRange);
  ProcessData data{kRealtime, kSample32, kBlock,  1,       1,       &inBus,
                   &outBus,   &drive,    nullptr, nullptr, nullptr, nullptr};

  size_t pos = 0;
  const tavo::bench::FrameCounters counters;
  for (auto _ : state) {
    ins[0] = const_cast<float*>(inL.data() + pos);
    ins[1] = const_cast<float*>(inR.data() + pos);
    processor->process(data);
    data.inputParameterChanges = nullptr; // the knob was set once
    benchmark::DoNotOptimize(outL.data());
    benchmark::DoNotOptimize(outR.data());
    pos = (pos + kBlock) % (kSignalFrames - kBlock);
  }
  counters.Report(state, kBlock);
  processor->setProcessing(false);
  component->setActive(false);
  processor->release();
  component->terminate();
  component->release();
}
BENCHMARK(VST3ProcessStereo)->Name("VST3/ProcessStereo")->ArgName("Drive")->Arg(5);

} // namespace
