#include "tests/vst3/HostObjects.h"

#include <algorithm>
#include <cstring>

#include "vst3/abi/Uid.h"

namespace tavo::test {

tresult MemoryStream::read(void* buffer, int32_t numBytes, int32_t* numBytesRead) {
  ++calls;
  const size_t available = bytes.size() - std::min(position, bytes.size());
  const size_t n =
      std::min({static_cast<size_t>(std::max(numBytes, 0)), available, static_cast<size_t>(step)});
  if (n > 0) std::memcpy(buffer, bytes.data() + position, n);
  position += n;
  if (numBytesRead) *numBytesRead = static_cast<int32_t>(n);
  return kResultOk;
}

tresult MemoryStream::write(void* buffer, int32_t numBytes, int32_t* numBytesWritten) {
  ++calls;
  const size_t n = std::min(static_cast<size_t>(std::max(numBytes, 0)), static_cast<size_t>(step));
  if (bytes.size() < position + n) bytes.resize(position + n);
  std::memcpy(bytes.data() + position, buffer, n);
  position += n;
  if (numBytesWritten) *numBytesWritten = static_cast<int32_t>(n);
  return kResultOk;
}

tresult MemoryStream::seek(int64_t pos, int32_t mode, int64_t* result) {
  const int64_t base = mode == kIBSeekSet   ? 0
                       : mode == kIBSeekCur ? static_cast<int64_t>(position)
                                            : static_cast<int64_t>(bytes.size());
  if (base + pos < 0) return kInvalidArgument;
  position = static_cast<size_t>(base + pos);
  if (result) *result = static_cast<int64_t>(position);
  return kResultOk;
}

tresult MemoryStream::tell(int64_t* pos) {
  if (!pos) return kInvalidArgument;
  *pos = static_cast<int64_t>(position);
  return kResultOk;
}

tresult ValueQueue::getPoint(int32_t index, int32_t& offset, double& value) {
  if (index < 0 || index >= getPointCount()) return kInvalidArgument;
  offset = points[index].offset;
  value = points[index].value;
  return kResultOk;
}

tresult ValueQueue::addPoint(int32_t offset, double value, int32_t& index) {
  index = static_cast<int32_t>(points.size());
  points.push_back({offset, value});
  return kResultOk;
}

IParamValueQueue* ParameterChanges::getParameterData(int32_t index) {
  return index >= 0 && index < getParameterCount() ? &queues[index] : nullptr;
}

IParamValueQueue* ParameterChanges::addParameterData(const uint32_t& id, int32_t& index) {
  for (size_t i = 0; i < queues.size(); ++i) {
    if (queues[i].id == id) {
      index = static_cast<int32_t>(i);
      return &queues[i];
    }
  }
  index = static_cast<int32_t>(queues.size());
  queues.emplace_back(id);
  return &queues.back();
}

ValueQueue& ParameterChanges::Queue(ParamID id) {
  int32_t index = 0;
  addParameterData(id, index);
  return queues[index];
}

tresult RecordingHandler::beginEdit(ParamID id) {
  calls.push_back("begin " + std::to_string(id));
  return kResultOk;
}

tresult RecordingHandler::performEdit(ParamID id, double value) {
  calls.push_back("perform " + std::to_string(id) + " " + std::to_string(value));
  return kResultOk;
}

tresult RecordingHandler::endEdit(ParamID id) {
  calls.push_back("end " + std::to_string(id));
  return kResultOk;
}

tresult RecordingHandler::restartComponent(int32_t flags) {
  calls.push_back("restart " + std::to_string(flags));
  return kResultOk;
}

tresult HostApplication::getName(String128 name) {
  const char16_t text[] = u"TAVO test host";
  std::copy(std::begin(text), std::end(text), name);
  return kResultOk;
}

int Message::alive = 0;

tresult Message::queryInterface(const TUID iid, void** obj) {
  *obj = nullptr;
  if (SameUid(iid, FUnknown::kIid) || SameUid(iid, IMessage::kIid))
    *obj = static_cast<IMessage*>(this);
  else if (SameUid(iid, IAttributeList::kIid))
    *obj = static_cast<IAttributeList*>(this);
  else
    return kNoInterface;
  addRef();
  return kResultOk;
}

uint32_t Message::release() {
  const int left = --refs_;
  if (left == 0) delete this;
  return static_cast<uint32_t>(left);
}

tresult Message::setFloat(const char* id, double value) {
  if (!id) return kInvalidArgument;
  floats_.emplace_back(id, value);
  return kResultOk;
}

tresult Message::getFloat(const char* id, double& value) {
  for (const auto& [name, v] : floats_) {
    if (id && name == id) {
      value = v;
      return kResultOk;
    }
  }
  return kResultFalse;
}

tresult HostApplication::createInstance(TUID cid, TUID iid, void** obj) {
  *obj = nullptr;
  if (!SameUid(cid, IMessage::kIid) || !SameUid(iid, IMessage::kIid)) return kNoInterface;
  *obj = static_cast<IMessage*>(new Message());
  return kResultOk;
}

PluginPair::PluginPair(IPluginFactory* factory) {
  PClassInfo info{};
  factory->getClassInfo(0, &info);
  void* obj = nullptr;
  if (factory->createInstance(info.cid, Id(IComponent::kIid), &obj) != kResultOk) return;
  component = static_cast<IComponent*>(obj);
  component->initialize(&host);
  if (component->queryInterface(Id(IAudioProcessor::kIid), &obj) == kResultOk)
    processor = static_cast<IAudioProcessor*>(obj);
  char controllerCid[16] = {};
  component->getControllerClassId(controllerCid);
  if (factory->createInstance(controllerCid, Id(IEditController::kIid), &obj) == kResultOk) {
    controller = static_cast<IEditController*>(obj);
    controller->initialize(&host);
  }
  if (controller && component->queryInterface(Id(IConnectionPoint::kIid), &obj) == kResultOk) {
    processorPoint = static_cast<IConnectionPoint*>(obj);
    if (controller->queryInterface(Id(IConnectionPoint::kIid), &obj) == kResultOk) {
      controllerPoint = static_cast<IConnectionPoint*>(obj);
      processorPoint->connect(controllerPoint);
      controllerPoint->connect(processorPoint);
    }
  }
}

PluginPair::~PluginPair() {
  if (processor) processor->setProcessing(false);
  if (component) component->setActive(false);
  if (controllerPoint) {
    processorPoint->disconnect(controllerPoint);
    controllerPoint->disconnect(processorPoint);
    controllerPoint->release();
  }
  if (processorPoint) processorPoint->release();
  if (controller) {
    controller->setComponentHandler(nullptr);
    controller->terminate();
    controller->release();
  }
  if (processor) processor->release();
  if (component) {
    component->terminate();
    component->release();
  }
}

} // namespace tavo::test
