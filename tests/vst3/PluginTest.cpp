// TAVO as a VST 3 host sees it: the factory's classes, the buses and the arrangements it takes,
// the parameters with their texts, and the whole lifecycle, many times over.

#include <string>

#include "tests/vst3/Vst3Fixture.h"

namespace tavo::test {
namespace {

std::string Narrow(const char16_t* text) {
  std::string out;
  for (; *text; ++text)
    out += static_cast<char>(*text);
  return out;
}

using Vst3Scan = Vst3Host;

TEST_F(Vst3Scan, FactoryListsTheEffectAndItsController) {
  PFactoryInfo factoryInfo{};
  ASSERT_EQ(module.factory->getFactoryInfo(&factoryInfo), kResultOk);
  EXPECT_STREQ(factoryInfo.vendor, "Quenstrel");
  EXPECT_EQ(factoryInfo.flags, PFactoryInfo::kUnicode);
  ASSERT_EQ(module.factory->countClasses(), 2);

  void* obj = nullptr;
  ASSERT_EQ(module.factory->queryInterface(Id(IPluginFactory3::kIid), &obj), kResultOk);
  auto* factory3 = static_cast<IPluginFactory3*>(obj);
  PClassInfo2 info{};
  ASSERT_EQ(factory3->getClassInfo2(0, &info), kResultOk);
  EXPECT_STREQ(info.category, "Audio Module Class");
  EXPECT_STREQ(info.subCategories, "Fx|Distortion");
  EXPECT_STREQ(info.name, "TAVO");
  EXPECT_STREQ(info.vendor, "Quenstrel");
  EXPECT_STREQ(info.version, "1.0.0");
  EXPECT_EQ(info.cardinality, kManyInstances);
  PClassInfoW wide{};
  ASSERT_EQ(factory3->getClassInfoUnicode(1, &wide), kResultOk);
  EXPECT_STREQ(wide.category, "Component Controller Class");
  EXPECT_EQ(Narrow(wide.name), "TAVO");
  EXPECT_EQ(factory3->getClassInfo2(2, &info), kInvalidArgument);
  factory3->release();

  // An unknown class or interface: null and kNoInterface.
  const char unknown[16] = {1, 2, 3};
  obj = &info;
  EXPECT_EQ(module.factory->createInstance(unknown, Id(IComponent::kIid), &obj), kNoInterface);
  EXPECT_EQ(obj, nullptr);
  PClassInfo first{};
  module.factory->getClassInfo(0, &first);
  EXPECT_EQ(module.factory->createInstance(first.cid, unknown, &obj), kNoInterface);
  EXPECT_EQ(obj, nullptr);
}

using Vst3Buses = Vst3Host;

TEST_F(Vst3Buses, MonoAndStereoAreTakenAndEveryOtherArrangementRefused) {
  PluginPair pair(module.factory);
  ASSERT_NE(pair.processor, nullptr);
  ASSERT_NE(pair.controller, nullptr);
  EXPECT_EQ(pair.component->getBusCount(kAudio, kInput), 1);
  EXPECT_EQ(pair.component->getBusCount(kEvent, kInput), 0);
  BusInfo bus{};
  ASSERT_EQ(pair.component->getBusInfo(kAudio, kOutput, 0, bus), kResultOk);
  EXPECT_EQ(bus.channelCount, 2);
  EXPECT_EQ(bus.busType, kMain);
  EXPECT_EQ(bus.flags, BusInfo::kDefaultActive);

  SpeakerArrangement mono = kArrMono, stereo = kArrStereo, six = 0x3F;
  EXPECT_EQ(pair.processor->setBusArrangements(&mono, 1, &mono, 1), kResultTrue);
  pair.component->getBusInfo(kAudio, kInput, 0, bus);
  EXPECT_EQ(bus.channelCount, 1);
  SpeakerArrangement arr = 0;
  pair.processor->getBusArrangement(kOutput, 0, arr);
  EXPECT_EQ(arr, kArrMono);

  // Refusals of widths TAVO has no path for leave the arrangement as it was.
  EXPECT_EQ(pair.processor->setBusArrangements(&six, 1, &six, 1), kResultFalse);
  EXPECT_EQ(pair.processor->setBusArrangements(&stereo, 0, &stereo, 1), kResultFalse);
  SpeakerArrangement two[] = {kArrStereo, kArrStereo};
  EXPECT_EQ(pair.processor->setBusArrangements(two, 2, two, 2), kResultFalse);
  EXPECT_EQ(pair.processor->setBusArrangements(&stereo, 1, &six, 1), kResultFalse);
  pair.processor->getBusArrangement(kInput, 0, arr);
  EXPECT_EQ(arr, kArrMono);

  // A mixed pair is refused, and TAVO takes the nearest pair it has, the output's width on both
  // sides, which the host reads back (Ardour asks stereo in, mono out on a mono track).
  EXPECT_EQ(pair.processor->setBusArrangements(&mono, 1, &stereo, 1), kResultFalse);
  pair.processor->getBusArrangement(kInput, 0, arr);
  EXPECT_EQ(arr, kArrStereo);
  EXPECT_EQ(pair.processor->setBusArrangements(&stereo, 1, &mono, 1), kResultFalse);
  pair.processor->getBusArrangement(kInput, 0, arr);
  EXPECT_EQ(arr, kArrMono);
  pair.component->getBusInfo(kAudio, kOutput, 0, bus);
  EXPECT_EQ(bus.channelCount, 1);

  EXPECT_EQ(pair.processor->setBusArrangements(&stereo, 1, &stereo, 1), kResultTrue);
  EXPECT_EQ(pair.processor->getLatencySamples(), 6u);
  EXPECT_EQ(pair.processor->getTailSamples(), kNoTail);
  EXPECT_EQ(pair.processor->canProcessSampleSize(kSample64), kResultTrue);
  EXPECT_EQ(pair.processor->canProcessSampleSize(7), kResultFalse);
}

using Vst3Parameters = Vst3Host;

TEST_F(Vst3Parameters, EightParametersWithRangesStepsAndTheBypassFlag) {
  PluginPair pair(module.factory);
  IEditController* c = pair.controller;
  ASSERT_EQ(c->getParameterCount(), 8);
  ParameterInfo info{};
  ASSERT_EQ(c->getParameterInfo(0, info), kResultOk);
  EXPECT_EQ(info.id, 0u);
  EXPECT_EQ(Narrow(info.title), "Input Trim");
  EXPECT_EQ(Narrow(info.units), "dB");
  EXPECT_EQ(info.stepCount, 0);
  EXPECT_DOUBLE_EQ(info.defaultNormalizedValue, 0.5);
  EXPECT_EQ(info.flags, ParameterInfo::kCanAutomate);
  ASSERT_EQ(c->getParameterInfo(3, info), kResultOk); // Asymmetry 5 of 0 … 10
  EXPECT_DOUBLE_EQ(info.defaultNormalizedValue, 0.5);
  ASSERT_EQ(c->getParameterInfo(5, info), kResultOk); // Crosstalk Level -90 of -120 … -60
  EXPECT_DOUBLE_EQ(info.defaultNormalizedValue, 0.5);
  ASSERT_EQ(c->getParameterInfo(6, info), kResultOk);
  EXPECT_EQ(Narrow(info.title), "VU Mode");
  EXPECT_EQ(info.stepCount, 2);
  EXPECT_EQ(info.flags, ParameterInfo::kCanAutomate | ParameterInfo::kIsList);
  EXPECT_EQ(Narrow(info.units), "");
  ASSERT_EQ(c->getParameterInfo(7, info), kResultOk);
  EXPECT_EQ(Narrow(info.title), "Bypass");
  EXPECT_EQ(info.stepCount, 1);
  EXPECT_EQ(info.flags, ParameterInfo::kCanAutomate | ParameterInfo::kIsBypass);
  EXPECT_EQ(c->getParameterInfo(8, info), kInvalidArgument);
  EXPECT_EQ(c->getParameterInfo(-1, info), kInvalidArgument);

  EXPECT_DOUBLE_EQ(c->normalizedParamToPlain(1, 0.25), 2.5);
  EXPECT_DOUBLE_EQ(c->plainParamToNormalized(0, -10.0), 0.25);
  // Lists take index / steps, and a value between lands by ⌊n × (steps + 1)⌋.
  EXPECT_DOUBLE_EQ(c->plainParamToNormalized(6, 1.0), 0.5);
  EXPECT_DOUBLE_EQ(c->normalizedParamToPlain(6, 0.34), 1.0);
  EXPECT_DOUBLE_EQ(c->normalizedParamToPlain(6, 0.66), 1.0);
  EXPECT_DOUBLE_EQ(c->normalizedParamToPlain(6, 0.67), 2.0);
  EXPECT_DOUBLE_EQ(c->normalizedParamToPlain(7, 0.49), 0.0);
  EXPECT_DOUBLE_EQ(c->normalizedParamToPlain(7, 0.5), 1.0);
  EXPECT_DOUBLE_EQ(c->normalizedParamToPlain(1, 1.7), 10.0);
}

TEST_F(Vst3Parameters, TextsAndParsingAreTheEditorsOwn) {
  PluginPair pair(module.factory);
  IEditController* c = pair.controller;
  String128 text{};
  ASSERT_EQ(c->getParamStringByValue(1, 0.5, text), kResultOk);
  EXPECT_EQ(Narrow(text), "5.00");
  ASSERT_EQ(c->getParamStringByValue(0, 0.25, text), kResultOk);
  EXPECT_EQ(Narrow(text), "-10.0");
  ASSERT_EQ(c->getParamStringByValue(6, 0.5, text), kResultOk);
  EXPECT_EQ(Narrow(text), "RMS Difference Out-In");
  ASSERT_EQ(c->getParamStringByValue(7, 1.0, text), kResultOk);
  EXPECT_EQ(Narrow(text), "on");
  EXPECT_NE(c->getParamStringByValue(99, 0.5, text), kResultOk);

  double value = -1.0;
  char16_t trim[] = u"-3.5";
  ASSERT_EQ(c->getParamValueByString(0, trim, value), kResultOk);
  EXPECT_DOUBLE_EQ(value, 0.4125);
  char16_t output[] = u"Output";
  ASSERT_EQ(c->getParamValueByString(6, output, value), kResultOk);
  EXPECT_DOUBLE_EQ(value, 1.0);
  char16_t huge[] = u"500";
  ASSERT_EQ(c->getParamValueByString(1, huge, value), kResultOk);
  EXPECT_DOUBLE_EQ(value, 1.0); // taken at the end of the range, as the editor takes it
  char16_t unknown[] = u"Sideways";
  EXPECT_EQ(c->getParamValueByString(6, unknown, value), kResultFalse);
  char16_t wide[] = u"5\u00e9";
  EXPECT_EQ(c->getParamValueByString(1, wide, value), kResultFalse);
  EXPECT_EQ(c->getParamValueByString(8, trim, value), kResultFalse);
}

TEST_F(Vst3Parameters, HostValuesReachTheControllerClampedAndUnknownOnesAreIgnored) {
  PluginPair pair(module.factory);
  IEditController* c = pair.controller;
  RecordingHandler handler;
  ASSERT_EQ(c->setComponentHandler(&handler), kResultOk);
  EXPECT_EQ(c->setParamNormalized(1, 0.3), kResultOk);
  EXPECT_DOUBLE_EQ(c->getParamNormalized(1), 0.3);
  EXPECT_EQ(c->setParamNormalized(1, 1.5), kResultOk);
  EXPECT_DOUBLE_EQ(c->getParamNormalized(1), 1.0);
  EXPECT_EQ(c->setParamNormalized(1, std::nan("")), kInvalidArgument);
  EXPECT_DOUBLE_EQ(c->getParamNormalized(1), 1.0);
  EXPECT_EQ(c->setParamNormalized(1234, 0.5), kInvalidArgument);
  EXPECT_EQ(c->getParamNormalized(1234), 0.0);
  // The host's own values are never echoed back to it.
  EXPECT_TRUE(handler.calls.empty());
  EXPECT_GT(handler.refs, 1);
  c->setComponentHandler(nullptr);
  EXPECT_EQ(handler.refs, 1);
}

// A host compiled from other declarations reaches the methods only by their slot in the table and
// the target's convention (__stdcall on 32-bit Windows: `this` and every argument on the stack,
// popped by the method; a double comes back on the x87 stack). Calls through bare slots of that
// convention find each method with its arguments and results intact.
template <class Result, class... Args> Result CallSlot(void* object, int slot, Args... args) {
  using Method = Result(TAVO_VST3_CALL*)(void*, Args...);
  void* const* table = *static_cast<void* const* const*>(object);
  return reinterpret_cast<Method>(table[slot])(object, args...);
}

using Vst3Slots = Vst3Host;

TEST_F(Vst3Slots, MethodsSitInTheirSlotsWithTheTargetsCallingConvention) {
  EXPECT_EQ(CallSlot<int32_t>(module.factory, 4), 2); // countClasses
  PluginPair pair(module.factory);
  ASSERT_NE(pair.controller, nullptr);
  void* controller = pair.controller;
  EXPECT_EQ(CallSlot<int32_t>(controller, 8), 8); // getParameterCount
  // setParamNormalized(id, double) pops 16 bytes on 32-bit Windows; getParamNormalized(id)
  // returns a double.
  EXPECT_EQ(CallSlot<tresult>(controller, 15, ParamID{1}, 0.25), kResultOk);
  EXPECT_DOUBLE_EQ(CallSlot<double>(controller, 14, ParamID{1}), 0.25);
  EXPECT_DOUBLE_EQ(CallSlot<double>(controller, 12, ParamID{0}, 0.25), -10.0); // to plain
  void* component = pair.component;
  EXPECT_EQ(CallSlot<int32_t>(component, 7, int32_t{kAudio}, int32_t{kOutput}), 1); // buses
  void* processor = pair.processor;
  EXPECT_EQ(CallSlot<uint32_t>(processor, 6), 6u); // getLatencySamples
  EXPECT_EQ(CallSlot<uint32_t>(processor, 10), kNoTail);
  // A TBool argument takes a whole slot of the stack: canProcessSampleSize, then setProcessing.
  EXPECT_EQ(CallSlot<tresult>(processor, 5, int32_t{kSample64}), kResultTrue);
  EXPECT_EQ(CallSlot<tresult>(processor, 8, TBool{0}), kResultOk);
}

using Vst3Lifecycle = Vst3Host;

TEST_F(Vst3Lifecycle, TwoHundredInstancesComeAndGoThroughTheWholeLifecycle) {
  Channels in = TestSignal(2, 300);
  for (int i = 0; i < 200; ++i) {
    PluginPair pair(module.factory);
    ASSERT_NE(pair.controller, nullptr);
    // A host that initialises twice and terminates twice (as one that asks the component for its
    // controller does) tears down no more than once.
    ASSERT_EQ(pair.component->initialize(&pair.host), kResultOk);
    Prepare(pair, 1 + i % 2, 128);
    Channels signal(in.begin(), in.begin() + 1 + i % 2);
    Channels out(signal.size(), std::vector<float>(300));
    EXPECT_EQ(ProcessBlock(pair.processor, signal, out, 0, 77, {{5, 1, 0.7}}), kResultOk);
    MemoryStream state;
    EXPECT_EQ(pair.component->getState(&state), kResultOk);
    state.position = 0;
    EXPECT_EQ(pair.controller->setComponentState(&state), kResultOk);
    EXPECT_EQ(pair.component->terminate(), kResultOk);
  }
}

TEST_F(Vst3Lifecycle, CallsBeforeInitialiseAndAfterTerminateAreAnsweredNotFollowed) {
  PClassInfo info{};
  module.factory->getClassInfo(0, &info);
  void* obj = nullptr;
  ASSERT_EQ(module.factory->createInstance(info.cid, Id(IComponent::kIid), &obj), kResultOk);
  auto* component = static_cast<IComponent*>(obj);
  ASSERT_EQ(component->queryInterface(Id(IAudioProcessor::kIid), &obj), kResultOk);
  auto* processor = static_cast<IAudioProcessor*>(obj);
  ProcessData data{};
  EXPECT_EQ(processor->process(data), kNotInitialized);
  EXPECT_EQ(component->setActive(false), kResultOk);
  EXPECT_EQ(processor->setProcessing(false), kResultOk);
  MemoryStream stream;
  EXPECT_EQ(component->getState(&stream), kNotInitialized);
  HostApplication host;
  ASSERT_EQ(component->initialize(&host), kResultOk);
  EXPECT_EQ(component->terminate(), kResultOk);
  EXPECT_EQ(processor->process(data), kNotInitialized);
  EXPECT_EQ(processor->release(), 1u);
  EXPECT_EQ(component->release(), 0u);
}

} // namespace
} // namespace tavo::test
