#include "host/driver/HostProcess.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "host/engine/StandInControl.h"

namespace tavo::host {

namespace sel = hostabi::selector;

int32_t StepControlValue(int32_t step, int32_t steps) {
  constexpr double kLowest = -2147483648.0;
  constexpr double kSpan = 4294967295.0; // INT32_MAX − INT32_MIN
  if (steps <= 1) return INT32_MIN;
  const double t = static_cast<double>(std::clamp(step, 0, steps - 1)) / (steps - 1);
  return static_cast<int32_t>(kLowest + kSpan * t); // truncated towards zero, as the module does
}

HostProcess::HostProcess(HostModule& module, const TypeInfo& type, const ProcessOptions& options)
    : module_(&module), type_(type), options_(options) {}

HostProcess::~HostProcess() {
  Close();
}

int32_t HostProcess::Connect() {
  // The render instance the process asks the engine for while it connects is the new one.
  const auto before = standin::RenderInstances();
  if (const int32_t status = Call(sel::kProcessConnect); status != hostabi::kNoErr) return status;
  hostabi::SRenderInstance* instance = nullptr;
  for (hostabi::SRenderInstance* i : standin::RenderInstances())
    if (std::find(before.begin(), before.end(), i) == before.end()) instance = i;
  if (!instance) return kErrNoRenderInstance;
  renderer_ = std::make_unique<RenderThread>(instance, type_.inputs, type_.outputs,
                                             options_.variableQuantum, options_.maximumQuantum);
  return hostabi::kNoErr;
}

int32_t HostProcess::SendDefaults() {
  int32_t count = 0;
  int32_t status = ControlCount(count);
  for (int32_t i = 1; status == hostabi::kNoErr && i <= count; ++i) {
    int32_t value = 0;
    status = Call(sel::kProcessControlDefault, i, &value);
    if (status == hostabi::kNoErr) status = SetControl(i, value);
  }
  return status;
}

void HostProcess::Close() {
  if (!module_) return;
  renderer_.reset(); // the real-time thread stops before the process goes
  if (process_) {
    CloseEditor();
    module_->Call(sel::kGroupDestroyProcess, module_->Group(), process_);
    process_ = nullptr;
  }
  module_->Forget(this);
  module_ = nullptr;
}

// ---- Controls ----

int32_t HostProcess::ControlCount(int32_t& count) const {
  return Call(sel::kProcessControlCount, &count);
}

int32_t HostProcess::DescribeControl(int32_t index, ControlInfo& info) const {
  void* control = nullptr;
  int32_t status = Call(sel::kProcessControl, index, &control);
  if (status != 0) return status;
  auto ask = [&](uint32_t selector, auto... args) {
    return module_->Call(selector, control, args...);
  };
  info = ControlInfo{};
  info.index = index;
  char text[kTextLength + 1] = {};
  int32_t continuous = 0;
  uint8_t automatable = 0;
  if ((status = ask(sel::kControlID, &info.id)) != 0 ||
      (status = ask(sel::kControlFittedName, static_cast<char*>(text), kTextLength)) != 0 ||
      (status = ask(sel::kControlIsContinuous, &continuous)) != 0 ||
      (status = ask(sel::kControlAutomatable, &automatable)) != 0 ||
      (status = ask(sel::kControlStepCount, &info.steps)) != 0 ||
      (status = ask(sel::kControlDefault, &info.defaultValue)) != 0)
    return status;
  text[kTextLength] = '\0';
  info.name = text;
  info.continuous = continuous != 0;
  info.automatable = automatable != 0;
  if ((status = DisplayText(index, info.defaultValue, info.defaultText)) != 0 ||
      (status = DisplayText(index, INT32_MIN, info.lowestText)) != 0 ||
      (status = DisplayText(index, INT32_MAX, info.highestText)) != 0)
    return status;
  if (!info.continuous && info.steps > 0 && info.steps <= kMostListedSteps) {
    for (int32_t k = 0; k < info.steps; ++k) {
      std::string item;
      if ((status = DisplayText(index, StepControlValue(k, info.steps), item)) != 0) return status;
      info.items.push_back(std::move(item));
    }
  }
  return hostabi::kNoErr;
}

int32_t HostProcess::DescribeControls(std::vector<ControlInfo>& controls) const {
  controls.clear();
  int32_t count = 0;
  if (const int32_t status = ControlCount(count); status != 0) return status;
  for (int32_t i = 1; i <= count; ++i) {
    ControlInfo info;
    if (const int32_t status = DescribeControl(i, info); status != 0) return status;
    controls.push_back(std::move(info));
  }
  return hostabi::kNoErr;
}

int32_t HostProcess::SetControl(int32_t index, int32_t controlValue) {
  return Call(sel::kProcessSetControlFromHost, index, controlValue);
}

int32_t HostProcess::GetControl(int32_t index, int32_t& controlValue) const {
  return Call(sel::kProcessGetControlValue, index, &controlValue);
}

int32_t HostProcess::ValueFromText(int32_t index, const std::string& text,
                                   int32_t& controlValue) const {
  void* control = nullptr;
  if (const int32_t status = Call(sel::kProcessControl, index, &control); status != 0)
    return status;
  return module_->Call(sel::kControlValueFromText, control, text.c_str(), &controlValue);
}

int32_t HostProcess::DisplayText(int32_t index, int32_t controlValue, std::string& text) const {
  void* control = nullptr;
  if (const int32_t status = Call(sel::kProcessControl, index, &control); status != 0)
    return status;
  char buffer[kTextLength + 1] = {};
  const int32_t status = module_->Call(sel::kControlDisplayText, control,
                                       static_cast<char*>(buffer), kTextLength, controlValue);
  buffer[kTextLength] = '\0';
  text = buffer;
  return status;
}

int32_t HostProcess::IsBypassed(bool& bypassed) const {
  uint8_t answer = 0;
  const int32_t status = Call(sel::kProcessIsBypassed, &answer);
  bypassed = answer != 0;
  return status;
}

// ---- State ----

int32_t HostProcess::ChunkID(int32_t& id) const {
  return Call(sel::kProcessChunkID, int32_t{1}, &id);
}

int32_t HostProcess::SaveChunk(std::vector<uint8_t>& chunk) const {
  chunk.clear();
  int32_t id = 0, size = 0;
  int32_t status = ChunkID(id);
  if (status == 0) status = Call(sel::kProcessChunkSize, id, &size);
  if (status != 0) return status;
  if (size < static_cast<int32_t>(hostabi::kChunkHeaderBytes)) return hostabi::kErrChunk;
  chunk.assign(static_cast<size_t>(size), 0);
  auto* header = reinterpret_cast<hostabi::SFicPlugInChunk*>(chunk.data());
  if ((status = Call(sel::kProcessGetChunk, id, header)) != 0) {
    chunk.clear();
    return status;
  }
  // The module writes the size and the state; the rest of the header is the host's to fill.
  header->size = size;
  header->chunkID = id;
  header->productID = type_.productID;
  header->typeID = type_.typeID;
  module_->Call(sel::kGroupManufacturerID, module_->Group(), &header->manufacturerID);
  return hostabi::kNoErr;
}

namespace {

// Copies a chunk into memory the module may read whole, checking its size field first.
bool AlignedChunk(std::span<const uint8_t> bytes, std::vector<hostabi::SFicPlugInChunk>& store) {
  if (bytes.size() < hostabi::kChunkHeaderBytes) return false;
  int32_t size = 0;
  std::memcpy(&size, bytes.data(), sizeof size);
  if (size < 0 || static_cast<size_t>(size) != bytes.size()) return false;
  const size_t records =
      (bytes.size() + sizeof(hostabi::SFicPlugInChunk) - 1) / sizeof(hostabi::SFicPlugInChunk);
  store.assign(records, hostabi::SFicPlugInChunk{});
  std::memcpy(store.data(), bytes.data(), bytes.size());
  return true;
}

} // namespace

int32_t HostProcess::RestoreChunk(std::span<const uint8_t> chunk) {
  std::vector<hostabi::SFicPlugInChunk> store;
  if (!AlignedChunk(chunk, store)) return hostabi::kErrChunk;
  const hostabi::SFicPlugInChunk* header = store.data();
  return Call(sel::kProcessSetChunk, header->chunkID, header);
}

int32_t HostProcess::CompareChunk(std::span<const uint8_t> chunk, bool& equal) const {
  equal = false;
  std::vector<hostabi::SFicPlugInChunk> store;
  if (!AlignedChunk(chunk, store)) return hostabi::kErrChunk;
  const hostabi::SFicPlugInChunk* header = store.data();
  uint8_t answer = 0;
  const int32_t status = Call(sel::kProcessCompareChunk, header->chunkID, header, &answer);
  equal = status == 0 && answer != 0;
  return status;
}

int32_t HostProcess::Delay(int32_t& frames) const {
  return Call(sel::kProcessDelay, &frames);
}

// ---- Audio ----

int32_t HostProcess::Render(std::span<const float* const> inputs, std::span<float* const> outputs,
                            int64_t frames) {
  if (const int32_t status = Submit(inputs, outputs, frames); status != 0) return status;
  return WaitRendered();
}

int32_t HostProcess::Submit(std::span<const float* const> inputs, std::span<float* const> outputs,
                            int64_t frames) {
  if (!Live() || !renderer_) return kErrProcessClosed;
  return renderer_->Submit(inputs, outputs, frames);
}

int32_t HostProcess::WaitRendered() {
  if (!Live() || !renderer_) return kErrProcessClosed;
  return renderer_->Wait();
}

int32_t HostProcess::RenderBlockHere(std::span<const float* const> inputs,
                                     std::span<float* const> outputs, int32_t frames) {
  if (!Live() || !renderer_) return kErrProcessClosed;
  if (static_cast<int32_t>(inputs.size()) != type_.inputs ||
      static_cast<int32_t>(outputs.size()) != type_.outputs)
    return kErrBadArgument;
  return renderer_->RenderBlock(inputs.data(), outputs.data(), frames);
}

} // namespace tavo::host
