#pragma once
// The host's side of the interface, as a test host needs it: the module loaded as a host loads
// it, a memory stream that can hand out its bytes a few at a time, parameter-change queues, a
// component handler that records what it hears, and the processor and controller pair.

#include <cstdint>
#include <string>
#include <vector>

#include "vst3/abi/Controller.h"
#include "vst3/abi/Factory.h"
#include "vst3/abi/Messages.h"
#include "vst3/abi/Processing.h"
#include "vst3/abi/View.h"

namespace tavo::test {

using namespace tavo::vst3;

// An identifier as the interface passes it.
inline const char* Id(const Uid& uid) {
  return reinterpret_cast<const char*>(uid.bytes.data());
}

// The view's content-scale interface (a reference for the caller to release), or null.
inline IPlugViewContentScaleSupport* ContentScaleOf(IPlugView* view) {
  void* support = nullptr;
  if (view->queryInterface(Id(IPlugViewContentScaleSupport::kIid), &support) != kResultOk)
    return nullptr;
  return static_cast<IPlugViewContentScaleSupport*>(support);
}

// Host objects live on the test's stack: their reference counts only count.
template <class Interface> class HostObject : public Interface {
public:
  tresult TAVO_VST3_CALL queryInterface(const TUID iid, void** obj) override {
    if (SameUid(iid, FUnknown::kIid) || SameUid(iid, Interface::kIid)) {
      *obj = this;
      addRef();
      return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
  }
  uint32_t TAVO_VST3_CALL addRef() override { return ++refs; }
  uint32_t TAVO_VST3_CALL release() override { return --refs; }
  int refs = 1;
};

// A stream over a byte vector; reads and writes move at most `step` bytes a call.
class MemoryStream final : public HostObject<IBStream> {
public:
  MemoryStream() = default;
  explicit MemoryStream(std::vector<uint8_t> data) : bytes(std::move(data)) {}
  tresult TAVO_VST3_CALL read(void* buffer, int32_t numBytes, int32_t* numBytesRead) override;
  tresult TAVO_VST3_CALL write(void* buffer, int32_t numBytes, int32_t* numBytesWritten) override;
  tresult TAVO_VST3_CALL seek(int64_t pos, int32_t mode, int64_t* result) override;
  tresult TAVO_VST3_CALL tell(int64_t* pos) override;

  std::vector<uint8_t> bytes;
  size_t position = 0;
  int32_t step = INT32_MAX;
  int calls = 0;
};

class ValueQueue final : public HostObject<IParamValueQueue> {
public:
  struct Point {
    int32_t offset;
    double value;
  };
  explicit ValueQueue(ParamID paramId) : id(paramId) {}
  uint32_t TAVO_VST3_CALL getParameterId() override { return id; }
  int32_t TAVO_VST3_CALL getPointCount() override { return static_cast<int32_t>(points.size()); }
  tresult TAVO_VST3_CALL getPoint(int32_t index, int32_t& offset, double& value) override;
  tresult TAVO_VST3_CALL addPoint(int32_t offset, double value, int32_t& index) override;

  ParamID id;
  std::vector<Point> points;
};

class ParameterChanges final : public HostObject<IParameterChanges> {
public:
  int32_t TAVO_VST3_CALL getParameterCount() override {
    return static_cast<int32_t>(queues.size());
  }
  IParamValueQueue* TAVO_VST3_CALL getParameterData(int32_t index) override;
  IParamValueQueue* TAVO_VST3_CALL addParameterData(const uint32_t& id, int32_t& index) override;
  // The queue of parameter `id`, created when it is not there.
  ValueQueue& Queue(ParamID id);

  std::vector<ValueQueue> queues;
};

class RecordingHandler final : public HostObject<IComponentHandler> {
public:
  tresult TAVO_VST3_CALL beginEdit(ParamID id) override;
  tresult TAVO_VST3_CALL performEdit(ParamID id, double value) override;
  tresult TAVO_VST3_CALL endEdit(ParamID id) override;
  tresult TAVO_VST3_CALL restartComponent(int32_t flags) override;
  std::vector<std::string> calls;
};

// A message the host creates for the plug-in: its ID and float attributes (what TAVO sends).
class Message final : public IMessage, public IAttributeList {
public:
  tresult TAVO_VST3_CALL queryInterface(const TUID iid, void** obj) override;
  uint32_t TAVO_VST3_CALL addRef() override { return ++refs_; }
  uint32_t TAVO_VST3_CALL release() override;
  const char* TAVO_VST3_CALL getMessageID() override { return id_.c_str(); }
  void TAVO_VST3_CALL setMessageID(const char* id) override { id_ = id ? id : ""; }
  IAttributeList* TAVO_VST3_CALL getAttributes() override { return this; }
  tresult TAVO_VST3_CALL setInt(const char*, int64_t) override { return kNotImplemented; }
  tresult TAVO_VST3_CALL getInt(const char*, int64_t&) override { return kResultFalse; }
  tresult TAVO_VST3_CALL setFloat(const char* id, double value) override;
  tresult TAVO_VST3_CALL getFloat(const char* id, double& value) override;
  tresult TAVO_VST3_CALL setString(const char*, const char16_t*) override {
    return kNotImplemented;
  }
  tresult TAVO_VST3_CALL getString(const char*, char16_t*, uint32_t) override {
    return kResultFalse;
  }
  tresult TAVO_VST3_CALL setBinary(const char*, const void*, uint32_t) override {
    return kNotImplemented;
  }
  tresult TAVO_VST3_CALL getBinary(const char*, const void*&, uint32_t&) override {
    return kResultFalse;
  }
  static int alive; // messages not yet released, across all

private:
  Message() { ++alive; }
  ~Message() { --alive; }
  friend class HostApplication;
  int refs_ = 1;
  std::string id_;
  std::vector<std::pair<std::string, double>> floats_;
};

class HostApplication final : public HostObject<IHostApplication> {
public:
  tresult TAVO_VST3_CALL getName(String128 name) override;
  // Messages only.
  tresult TAVO_VST3_CALL createInstance(TUID cid, TUID iid, void** obj) override;
};

// The bundle's binary, loaded as a host of the platform loads it (tests/vst3/posix: dlopen, the
// three entries looked up, ModuleEntry, the factory; tests/vst3/win: LoadLibrary, the factory
// looked up by its plain name, InitDll when it is there, the factory), and in reverse when it goes.
class Module {
public:
  explicit Module(const std::string& bundle);
  ~Module();
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;

  bool Loaded() const { return factory != nullptr; }
  std::string error;
  IPluginFactory* factory = nullptr;

private:
  void* handle_ = nullptr;
  bool (*exit_)() = nullptr;
};

// The path of the bundle's binary: <bundle>/Contents/x86_64-linux/TAVO.so on Linux,
// <bundle>/Contents/x86_64-win/TAVO.vst3 or <bundle>/Contents/x86-win/TAVO.vst3 on Windows.
std::string BundleBinary(const std::string& bundle);

// A processor and its controller, created and initialised as a host does (a controller of its
// own class, found through the processor), and torn down in the host's order.
struct PluginPair {
  explicit PluginPair(IPluginFactory* factory);
  ~PluginPair();
  PluginPair(const PluginPair&) = delete;
  PluginPair& operator=(const PluginPair&) = delete;

  HostApplication host;
  IConnectionPoint* processorPoint = nullptr; // connected to each other, as hosts do
  IConnectionPoint* controllerPoint = nullptr;
  IComponent* component = nullptr;
  IAudioProcessor* processor = nullptr;
  IEditController* controller = nullptr;
};

} // namespace tavo::test
