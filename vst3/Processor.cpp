#include "vst3/Processor.h"

#include <new>

#include "graphics/IGraphics.h"
#include "vst3/ClassIds.h"
#include "vst3/ParamMapping.h"

namespace tavo::vst3 {

namespace {

int ChannelsOf(SpeakerArrangement arrangement) {
  if (arrangement == kArrMono) return 1;
  if (arrangement == kArrStereo) return 2;
  return 0;
}

} // namespace

Processor::~Processor() = default;

tresult Processor::queryInterface(const TUID iid, void** obj) {
  if (!obj) return kInvalidArgument;
  *obj = nullptr;
  if (SameUid(iid, FUnknown::kIid) || SameUid(iid, IPluginBase::kIid) ||
      SameUid(iid, IComponent::kIid)) {
    *obj = static_cast<IComponent*>(this);
  } else if (SameUid(iid, IAudioProcessor::kIid)) {
    *obj = static_cast<IAudioProcessor*>(this);
  } else if (SameUid(iid, IProcessContextRequirements::kIid)) {
    *obj = static_cast<IProcessContextRequirements*>(this);
  } else if (SameUid(iid, IConnectionPoint::kIid)) {
    *obj = static_cast<IConnectionPoint*>(this);
  } else {
    return kNoInterface;
  }
  addRef();
  return kResultOk;
}

uint32_t Processor::release() {
  const uint32_t left = refs_.Release();
  if (left == 0) delete this;
  return left;
}

tresult Processor::initialize(FUnknown* context) {
  const bool first = initialized_ == 0;
  const tresult made = InitializeOnce(initialized_, plug_);
  if (!first || made != kResultOk) return made;
  connection_.SetHost(context);
  return kResultOk;
}

tresult Processor::terminate() {
  if (initialized_ > 0 && --initialized_ == 0) {
    plug_.reset();
    active_ = false;
    connection_.SetHost(nullptr);
  }
  return kResultOk;
}

tresult Processor::getControllerClassId(TUID classId) {
  if (!classId) return kInvalidArgument;
  CopyUid(kControllerCid, classId);
  return kResultOk;
}

tresult Processor::setIoMode(int32_t /*mode*/) {
  return kResultOk; // realtime and offline are processed alike
}

int32_t Processor::getBusCount(int32_t type, int32_t dir) {
  return type == kAudio && (dir == kInput || dir == kOutput) ? 1 : 0;
}

tresult Processor::getBusInfo(int32_t type, int32_t dir, int32_t index, BusInfo& bus) {
  if (type != kAudio || (dir != kInput && dir != kOutput) || index != 0) return kInvalidArgument;
  bus = {};
  bus.mediaType = kAudio;
  bus.direction = dir;
  bus.channelCount = plug_ ? plug_->Channels() : 2;
  CopyToUtf16(bus.name, static_cast<int>(std::size(bus.name)), dir == kInput ? "Input" : "Output");
  bus.busType = kMain;
  bus.flags = BusInfo::kDefaultActive;
  return kResultOk;
}

tresult Processor::getRoutingInfo(RoutingInfo&, RoutingInfo&) {
  return kResultFalse; // one bus each way: nothing to route
}

tresult Processor::activateBus(int32_t type, int32_t dir, int32_t index, TBool) {
  return getBusCount(type, dir) > index && index >= 0 ? kResultOk : kInvalidArgument;
}

tresult Processor::setActive(TBool state) {
  // Hosts deactivate instances that never were active, or never set up: that is no error.
  if (!plug_) return state ? kNotInitialized : kResultOk;
  active_ = state != 0;
  plug_->SetActive(active_);
  return kResultOk;
}

tresult Processor::setState(IBStream* state) {
  if (!plug_) return kNotInitialized;
  return plug_->ReadState(state) ? kResultOk : kResultFalse;
}

tresult Processor::getState(IBStream* state) {
  if (!plug_) return kNotInitialized;
  return plug_->WriteState(state) ? kResultOk : kResultFalse;
}

tresult Processor::setBusArrangements(SpeakerArrangement* inputs, int32_t numIns,
                                      SpeakerArrangement* outputs, int32_t numOuts) {
  if (!plug_) return kNotInitialized;
  if (active_ || numIns != 1 || numOuts != 1 || !inputs || !outputs) return kResultFalse;
  const int channels = ChannelsOf(inputs[0]);
  if (channels != 0 && inputs[0] == outputs[0])
    return plug_->SetChannels(channels) ? kResultTrue : kResultFalse;
  // A pair TAVO does not take: it adapts to the nearest one it does, the output's width on both
  // sides (what the host will read back), and says no.
  const int wanted = ChannelsOf(outputs[0]);
  if (wanted != 0) plug_->SetChannels(wanted);
  return kResultFalse;
}

tresult Processor::getBusArrangement(int32_t dir, int32_t index, SpeakerArrangement& arr) {
  if ((dir != kInput && dir != kOutput) || index != 0) return kInvalidArgument;
  arr = plug_ && plug_->Channels() == 1 ? kArrMono : kArrStereo;
  return kResultOk;
}

tresult Processor::canProcessSampleSize(int32_t symbolicSampleSize) {
  return symbolicSampleSize == kSample32 || symbolicSampleSize == kSample64 ? kResultTrue
                                                                            : kResultFalse;
}

uint32_t Processor::getLatencySamples() {
  return static_cast<uint32_t>(kTAVODescriptor.latency);
}

tresult Processor::setupProcessing(ProcessSetup& setup) {
  if (!plug_) return kNotInitialized;
  if (active_) return kResultFalse;
  return plug_->Setup(setup) ? kResultOk : kInvalidArgument;
}

tresult Processor::setProcessing(TBool) {
  return kResultOk; // activation already started the history afresh
}

tresult Processor::process(ProcessData& data) {
  if (!plug_) return kNotInitialized;
  return plug_->Process(data) ? kResultOk : kInvalidArgument;
}

tresult Processor::notify(IMessage* message) {
  if (!IsMessage(message, kLevelRequestId)) return kResultFalse;
  const IGraphics* graphics = plug_ ? GraphicsOf(plug_.get()) : nullptr;
  const IControl* needle = graphics ? graphics->GetControl(plug_->MeterControl()) : nullptr;
  if (!needle) return kResultFalse;
  const double level = needle->Value();
  return connection_.Send(kLevelId, &level) ? kResultOk : kResultFalse;
}

} // namespace tavo::vst3
