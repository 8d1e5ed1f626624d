#pragma once
// A small VST 3 host for the fuzz targets that drive the VST 3 layer: a stream that hands out its
// bytes in pieces of the input's choosing, parameter-change queues that give their points as the
// input wrote them, and processors and controllers made through the module's factory and reached
// only through the interfaces a host holds. Instances are made once and brought back to the same
// settings before every input, so that a crash replays from its input alone.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "effect/TAVODescriptor.h"
#include "fuzz/FuzzChecks.h"
#include "vst3/ClassIds.h"
#include "vst3/Factory.h"
#include "vst3/abi/Controller.h"
#include "vst3/abi/Processing.h"

namespace tavo::fuzz {

using namespace tavo::vst3;

// The settings of a session as a user leaves them, as plain values in parameter order: every
// knob away from its default, the second VU mode, the effect on.
inline constexpr double kSessionPlain[TAVOParams::kNumParams] = {6.0, 7.5,   -4.5, 2.5,
                                                                 3.0, -75.0, 2.0,  0.0};

// Host objects live as long as the target: their reference counts only count.
template <class Interface> class HostObject : public Interface {
public:
  tresult TAVO_VST3_CALL queryInterface(const TUID iid, void** obj) override {
    if (!obj) return kInvalidArgument;
    *obj = nullptr;
    if (!SameUid(iid, FUnknown::kIid) && !SameUid(iid, Interface::kIid)) return kNoInterface;
    *obj = this;
    addRef();
    return kResultOk;
  }
  uint32_t TAVO_VST3_CALL addRef() override { return ++refs_; }
  uint32_t TAVO_VST3_CALL release() override { return --refs_; }

private:
  uint32_t refs_ = 1;
};

// A stream over bytes the host holds. Reads hand out at most the next piece's size, cycling
// through the pieces; a piece of 0 is a read the stream fails (as some hosts' streams answer at
// their end). Writes append.
class PiecewiseStream final : public HostObject<IBStream> {
public:
  void Offer(const uint8_t* data, size_t size, std::vector<uint8_t> pieces) {
    bytes.assign(data, data + size);
    pieces_ = std::move(pieces);
    Rewind();
  }
  void Rewind() {
    position_ = 0;
    nextPiece_ = 0;
    failedAt_ = SIZE_MAX;
  }
  // The bytes a reader could see: up to the first failed read, else all of them.
  size_t Readable() const { return std::min(failedAt_, bytes.size()); }

  tresult TAVO_VST3_CALL read(void* buffer, int32_t numBytes, int32_t* numBytesRead) override {
    if (numBytesRead) *numBytesRead = 0;
    if (!buffer || numBytes < 0) return kInvalidArgument;
    size_t piece = SIZE_MAX;
    if (!pieces_.empty()) {
      piece = pieces_[nextPiece_];
      nextPiece_ = (nextPiece_ + 1) % pieces_.size();
      if (piece == 0) {
        failedAt_ = std::min(failedAt_, position_);
        return kResultFalse;
      }
    }
    const size_t n = std::min({static_cast<size_t>(numBytes), bytes.size() - position_, piece});
    if (n > 0) std::memcpy(buffer, bytes.data() + position_, n);
    position_ += n;
    if (numBytesRead) *numBytesRead = static_cast<int32_t>(n);
    return kResultOk;
  }
  tresult TAVO_VST3_CALL write(void* buffer, int32_t numBytes, int32_t* numBytesWritten) override {
    if (numBytesWritten) *numBytesWritten = 0;
    if (!buffer || numBytes < 0) return kInvalidArgument;
    const auto* from = static_cast<const uint8_t*>(buffer);
    bytes.insert(bytes.end(), from, from + numBytes);
    if (numBytesWritten) *numBytesWritten = numBytes;
    return kResultOk;
  }
  tresult TAVO_VST3_CALL seek(int64_t pos, int32_t mode, int64_t* result) override {
    const int64_t base = mode == kIBSeekSet   ? 0
                         : mode == kIBSeekCur ? static_cast<int64_t>(position_)
                                              : static_cast<int64_t>(bytes.size());
    if (pos < -base || pos > static_cast<int64_t>(bytes.size()) - base) return kInvalidArgument;
    position_ = static_cast<size_t>(base + pos);
    if (result) *result = static_cast<int64_t>(position_);
    return kResultOk;
  }
  tresult TAVO_VST3_CALL tell(int64_t* pos) override {
    if (!pos) return kInvalidArgument;
    *pos = static_cast<int64_t>(position_);
    return kResultOk;
  }

  std::vector<uint8_t> bytes;

private:
  std::vector<uint8_t> pieces_;
  size_t position_ = 0;
  size_t nextPiece_ = 0;
  size_t failedAt_ = SIZE_MAX;
};

// One parameter's points, in the order the input wrote them, whatever their offsets.
class PointQueue final : public HostObject<IParamValueQueue> {
public:
  struct Point {
    int32_t offset;
    double value;
  };
  ParamID TAVO_VST3_CALL getParameterId() override { return id; }
  int32_t TAVO_VST3_CALL getPointCount() override { return static_cast<int32_t>(points.size()); }
  tresult TAVO_VST3_CALL getPoint(int32_t index, int32_t& offset, double& value) override {
    if (index < 0 || index >= getPointCount()) return kInvalidArgument;
    offset = points[index].offset;
    value = points[index].value;
    return kResultOk;
  }
  tresult TAVO_VST3_CALL addPoint(int32_t offset, double value, int32_t& index) override {
    index = getPointCount();
    points.push_back({offset, value});
    return kResultOk;
  }

  ParamID id = 0;
  std::vector<Point> points;
};

// The block's queues, one per identifier, in the order their first point came.
class ChangeList final : public HostObject<IParameterChanges> {
public:
  int32_t TAVO_VST3_CALL getParameterCount() override { return static_cast<int32_t>(used_); }
  IParamValueQueue* TAVO_VST3_CALL getParameterData(int32_t index) override {
    return index >= 0 && static_cast<size_t>(index) < used_ ? &queues_[index] : nullptr;
  }
  IParamValueQueue* TAVO_VST3_CALL addParameterData(const uint32_t& id, int32_t& index) override {
    for (size_t i = 0; i < used_; ++i) {
      if (queues_[i].id == id) {
        index = static_cast<int32_t>(i);
        return &queues_[i];
      }
    }
    // Queues are kept for the next block: only their points are dropped.
    if (used_ == queues_.size()) queues_.emplace_back();
    queues_[used_].id = id;
    queues_[used_].points.clear();
    index = static_cast<int32_t>(used_++);
    return &queues_[index];
  }
  void Add(ParamID id, int32_t offset, double value) {
    int32_t index = 0;
    addParameterData(id, index)->addPoint(offset, value, index);
  }
  void Clear() { used_ = 0; }

private:
  std::vector<PointQueue> queues_;
  size_t used_ = 0;
};

// What the plug-in's objects are created with: a host that answers its name only.
class FuzzHostApplication final : public HostObject<IHostApplication> {
public:
  tresult TAVO_VST3_CALL getName(String128 name) override {
    const char16_t text[] = u"TAVO fuzz host";
    std::copy(std::begin(text), std::end(text), name);
    return kResultOk;
  }
  tresult TAVO_VST3_CALL createInstance(TUID, TUID, void** obj) override {
    if (obj) *obj = nullptr;
    return kNoInterface;
  }
};

// One object of the module's class `cid`, initialised, asked for `Interface`.
template <class Interface> Interface* Create(const Uid& cid, FUnknown* context) {
  IPluginFactory* factory = TakeFactory();
  void* obj = nullptr;
  Require(factory->createInstance(reinterpret_cast<const char*>(cid.bytes.data()),
                                  reinterpret_cast<const char*>(Interface::kIid.bytes.data()),
                                  &obj) == kResultOk);
  factory->release();
  auto* object = static_cast<Interface*>(obj);
  Require(object->initialize(context) == kResultOk);
  return object;
}

// A processor as a host holds it: the component and its audio processor.
struct FuzzProcessor {
  explicit FuzzProcessor(FUnknown* context)
      : component(Create<IComponent>(kProcessorCid, context)) {
    void* obj = nullptr;
    Require(
        component->queryInterface(reinterpret_cast<const char*>(IAudioProcessor::kIid.bytes.data()),
                                  &obj) == kResultOk);
    processor = static_cast<IAudioProcessor*>(obj);
  }
  ~FuzzProcessor() {
    processor->setProcessing(false);
    component->setActive(false);
    processor->release();
    component->terminate();
    component->release();
  }
  FuzzProcessor(const FuzzProcessor&) = delete;
  FuzzProcessor& operator=(const FuzzProcessor&) = delete;

  // Set up for `channels` at `rate`, blocks up to `maxBlock` of `sampleSize`, active and
  // processing.
  void Prepare(int channels, int32_t maxBlock, double rate, int32_t sampleSize) {
    SpeakerArrangement arr = channels == 1 ? kArrMono : kArrStereo;
    Require(processor->setBusArrangements(&arr, 1, &arr, 1) == kResultTrue);
    ProcessSetup setup{kRealtime, sampleSize, maxBlock, rate};
    Require(processor->setupProcessing(setup) == kResultOk);
    Require(component->setActive(true) == kResultOk);
    Require(processor->setProcessing(true) == kResultOk);
  }
  // A host's deactivation and activation around a bounce.
  void Reactivate() {
    Require(processor->setProcessing(false) == kResultOk);
    Require(component->setActive(false) == kResultOk);
    Require(component->setActive(true) == kResultOk);
    Require(processor->setProcessing(true) == kResultOk);
  }
  std::vector<uint8_t> Save() {
    PiecewiseStream stream;
    Require(component->getState(&stream) == kResultOk);
    return stream.bytes;
  }
  tresult Restore(const std::vector<uint8_t>& bytes) {
    PiecewiseStream stream;
    stream.Offer(bytes.data(), bytes.size(), {});
    return component->setState(&stream);
  }
  // A block of no frames that carries `changes` only.
  void Apply(ChangeList& changes) {
    ProcessData data{};
    data.processMode = kRealtime;
    data.inputParameterChanges = &changes;
    Require(processor->process(data) == kResultOk);
  }

  IComponent* component;
  IAudioProcessor* processor = nullptr;
};

struct FuzzController {
  explicit FuzzController(FUnknown* context)
      : controller(Create<IEditController>(kControllerCid, context)) {}
  ~FuzzController() {
    controller->terminate();
    controller->release();
  }
  FuzzController(const FuzzController&) = delete;
  FuzzController& operator=(const FuzzController&) = delete;

  // Every parameter's normalised value, as the host's generic editor shows them.
  std::vector<double> Values() {
    std::vector<double> values;
    for (int32_t i = 0; i < controller->getParameterCount(); ++i)
      values.push_back(controller->getParamNormalized(static_cast<ParamID>(i)));
    return values;
  }
  tresult RestoreComponent(const std::vector<uint8_t>& bytes) {
    PiecewiseStream stream;
    stream.Offer(bytes.data(), bytes.size(), {});
    return controller->setComponentState(&stream);
  }

  IEditController* controller;
};

} // namespace tavo::fuzz
