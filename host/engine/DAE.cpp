// The audio engine stand-in: answers gestalt queries, hands out token-service handles, checks
// every message record the module dispatches and keeps the most recent ones, registers processes
// and their controls, and renders the module's instances when the host program asks it to.

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

#include "host/engine/StandInControl.h"

using namespace hostabi;

namespace {

constexpr int32_t kMostControls = 4096;
constexpr int32_t kMostChannels = 64;

// The dispatched messages kept for the host program, the most recent ones in a ring of fixed
// size: a session that runs for hours sends a message for every automated control change, and
// the engine's memory must not grow with them.
class MessageRecord {
public:
  MessageRecord() { ring_.reserve(standin::kRecordedMessages); }
  void Add(const standin::DecodedMessage& m) {
    if (ring_.size() < standin::kRecordedMessages)
      ring_.push_back(m);
    else
      ring_[next_] = m;
    next_ = (next_ + 1) % standin::kRecordedMessages;
  }
  // Oldest first.
  std::vector<standin::DecodedMessage> Ordered() const {
    if (ring_.size() < standin::kRecordedMessages) return ring_;
    std::vector<standin::DecodedMessage> out(ring_.begin() + static_cast<std::ptrdiff_t>(next_),
                                             ring_.end());
    out.insert(out.end(), ring_.begin(), ring_.begin() + static_cast<std::ptrdiff_t>(next_));
    return out;
  }
  void Clear() {
    ring_.clear();
    next_ = 0;
  }

private:
  std::vector<standin::DecodedMessage> ring_;
  size_t next_ = 0; // where the next message goes
};

struct Instance {
  SRenderInstance record{};
  RenderCallback callback = nullptr;
};

struct Engine {
  std::mutex lock;
  // Held while a block renders; deleting an instance waits for it, as a host stops an instance
  // before it lets it go. Taken before `lock`, never after.
  std::mutex renderLock;
  std::map<int32_t, std::pair<int32_t, int32_t>> gestalt; // selector → (status, answer)
  int32_t maximumQuantum = 1024;
  int32_t version = 0x0801;
  bool alive = true;
  bool variableQuantum = false;
  int32_t dispatchStatus = 0;
  int32_t registrationStatus = 0;

  int32_t nextHandle = 0x100;
  std::set<int32_t> servers;
  std::map<int32_t, int32_t> types; // type handle → server
  std::set<int32_t> tokenObjects;
  std::set<int32_t> hostControlIDs;
  std::vector<standin::RegisteredProcess> processes;

  MessageRecord messages;
  int errors = 0;
  ModuleProc openProc = nullptr;
  ModuleProc closeProc = nullptr;
  int midiUnregistrations = 0;

  std::vector<std::unique_ptr<Instance>> instances;
  std::vector<float> silence;
  STransportState transport{0, 0, 120.0, 4, 4, 0};

  Engine() { Defaults(); }
  void Defaults() {
    gestalt = {{kGestaltVariableQuantum, {0, 0}},
               {kGestaltTokenService, {0, 0}},
               {kGestaltDSPManager, {0, standin::kDSPManagerHandle}},
               {kGestaltSampleRate, {0, 44100}}};
  }
  bool IsProcess(int32_t id) const {
    return std::any_of(processes.begin(), processes.end(),
                       [&](const auto& p) { return p.live && p.processID == id; });
  }
  Instance* Find(const SRenderInstance* record) {
    for (auto& i : instances)
      if (&i->record == record) return i.get();
    return nullptr;
  }
};

Engine& E() {
  static Engine engine;
  return engine;
}

// Checks one record against the message table; answers the decoded form or counts an error.
bool Decode(const uint8_t* r, standin::DecodedMessage& m) {
  using namespace hostabi::message;
  m.receiver = ReadInt32(r, kReceiverOffset);
  m.messageClass = ReadInt32(r, kClassOffset);
  m.kind = ReadInt32(r, kKindOffset);
  m.protocol = ReadInt32(r, kProtocolOffset);
  m.sender = ReadInt32(r, kSenderOffset);
  m.length = ReadInt16(r, kLengthOffset);
  m.value = 0;
  m.gestureState = 0;
  if (ReadInt32(r, kSignatureOffset) != kSignature) return false;
  for (size_t i = 0; i < kReservedBytes; ++i)
    if (r[kReservedOffset + i] != 0) return false;
  const int16_t expected = ExpectedLength(m.messageClass, m.kind);
  if (expected == 0 || m.length != expected) return false;
  if (m.receiver != m.sender) return false;
  const bool processMessage = m.kind == kKindEditorResized || m.kind == kKindFirstTouch;
  const int32_t protocol = m.kind == kKindEditorResized ? kProtocolProcess : kProtocolControl;
  if (m.protocol != protocol) return false;
  Engine& e = E();
  if (processMessage ? !e.IsProcess(m.receiver) : !e.hostControlIDs.count(m.receiver)) return false;
  if (m.kind == kKindControlValue) m.value = ReadInt32(r, kValueOffset);
  if (m.kind == kKindGesture) {
    m.gestureState = ReadInt16(r, kGestureStateOffset);
    if ((m.gestureState != 0 && m.gestureState != 1) || ReadInt32(r, kGestureOneOffset) != 1)
      return false;
  }
  return true;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Exports the module looks up.

extern "C" {

// An engine of a host that opens its modules itself lacks this one (built so for a test).
#if !defined(TAVO_STANDIN_WITHOUT_OPEN_CLOSE_PROCS)
int32_t HOSTABI_CALL SetPlugInOpenAndCloseProcs(ModuleProc open, ModuleProc close) {
  std::lock_guard g(E().lock);
  E().openProc = open;
  E().closeProc = close;
  return 0;
}
#endif

int32_t HOSTABI_CALL FicGestalt(int32_t selector, int32_t* answer) {
  std::lock_guard g(E().lock);
  const auto it = E().gestalt.find(selector);
  if (it == E().gestalt.end()) return standin::kGestaltUnknownSelector;
  if (!answer) {
    ++E().errors;
    return kErrGeneric;
  }
  if (!StatusFailed(it->second.first)) *answer = it->second.second;
  return it->second.first;
}

int32_t HOSTABI_CALL FicGetMaximumRTASQuantum() {
  std::lock_guard g(E().lock);
  return E().maximumQuantum;
}

int32_t HOSTABI_CALL FicGetVersion() {
  std::lock_guard g(E().lock);
  return E().version & 0xFFFF;
}

int32_t HOSTABI_CALL FicIsAlive() {
  std::lock_guard g(E().lock);
  return E().alive ? 1 : 0;
}

int32_t HOSTABI_CALL FicNewServer() {
  std::lock_guard g(E().lock);
  if (!E().alive) return 0;
  const int32_t h = E().nextHandle++;
  E().servers.insert(h);
  return h;
}

int32_t HOSTABI_CALL FicFindStandardType(int32_t server, int32_t standardType) {
  std::lock_guard g(E().lock);
  if (!E().servers.count(server) || standardType != kTokenServiceStandardType) {
    ++E().errors;
    return 0;
  }
  const int32_t h = E().nextHandle++;
  E().types[h] = server;
  return h;
}

int32_t HOSTABI_CALL FicNewObject(int32_t server, int32_t type) {
  std::lock_guard g(E().lock);
  const auto t = E().types.find(type);
  if (!E().servers.count(server) || t == E().types.end() || t->second != server) {
    ++E().errors;
    return 0;
  }
  const int32_t h = E().nextHandle++;
  E().tokenObjects.insert(h);
  return h;
}

int32_t HOSTABI_CALL FicDelete(int32_t handle) {
  std::lock_guard g(E().lock);
  Engine& e = E();
  if (e.tokenObjects.erase(handle)) return 0;
  if (e.servers.erase(handle)) {
    std::erase_if(e.types, [&](const auto& t) { return t.second == handle; });
    return 0;
  }
  ++e.errors;
  return kErrGeneric;
}

int32_t HOSTABI_CALL FicSDSDispatchToken(const void* record) {
  std::lock_guard g(E().lock);
  Engine& e = E();
  standin::DecodedMessage m{};
  if (!record || e.tokenObjects.empty() || !Decode(static_cast<const uint8_t*>(record), m)) {
    ++e.errors;
    return kErrGeneric;
  }
  e.messages.Add(m);
  return e.dispatchStatus;
}

int32_t HOSTABI_CALL FicUnRegisterDirectMIDIClient(int32_t) {
  std::lock_guard g(E().lock);
  ++E().midiUnregistrations;
  return 0;
}

int32_t HOSTABI_CALL FicRegisterControl(int32_t tokenObject, int32_t, int32_t* hostControlID) {
  std::lock_guard g(E().lock);
  Engine& e = E();
  if (!e.tokenObjects.count(tokenObject) || !hostControlID) {
    ++e.errors;
    return kErrGeneric;
  }
  if (StatusFailed(e.registrationStatus)) return e.registrationStatus;
  *hostControlID = e.nextHandle++;
  e.hostControlIDs.insert(*hostControlID);
  return 0;
}

int32_t HOSTABI_CALL FicRegisterProcess(int32_t tokenObject, const int32_t* hostControlIDs,
                                        int32_t count, int32_t* processID) {
  std::lock_guard g(E().lock);
  Engine& e = E();
  bool ok = e.tokenObjects.count(tokenObject) && processID && count >= 0 &&
            count <= kMostControls && (count == 0 || hostControlIDs);
  for (int32_t i = 0; ok && i < count; ++i)
    ok = e.hostControlIDs.count(hostControlIDs[i]) != 0;
  if (!ok) {
    ++e.errors;
    return kErrGeneric;
  }
  if (StatusFailed(e.registrationStatus)) return e.registrationStatus;
  standin::RegisteredProcess p{e.nextHandle++, {}, true};
  if (count > 0) p.hostControlIDs.assign(hostControlIDs, hostControlIDs + count);
  *processID = p.processID;
  e.processes.push_back(std::move(p));
  return 0;
}

int32_t HOSTABI_CALL FicUnregisterProcess(int32_t processID) {
  std::lock_guard g(E().lock);
  for (auto& p : E().processes) {
    if (p.live && p.processID == processID) {
      p.live = false;
      for (int32_t id : p.hostControlIDs)
        E().hostControlIDs.erase(id);
      return 0;
    }
  }
  ++E().errors;
  return kErrGeneric;
}

int32_t HOSTABI_CALL FicNewRenderInstance(RenderCallback callback, void* owner, int32_t inputs,
                                          int32_t outputs, SRenderInstance** instance) {
  std::lock_guard g(E().lock);
  Engine& e = E();
  if (!callback || !instance || inputs < 0 || outputs < 0 || inputs > kMostChannels ||
      outputs > kMostChannels) {
    ++e.errors;
    return kErrGeneric;
  }
  auto i = std::make_unique<Instance>();
  i->callback = callback;
  i->record.owner = owner;
  i->record.inputCount = inputs;
  i->record.outputCount = outputs;
  i->record.variableQuantum = e.variableQuantum ? 1 : 0;
  *instance = &i->record;
  e.instances.push_back(std::move(i));
  return 0;
}

int32_t HOSTABI_CALL FicStartRenderInstance(SRenderInstance* instance) {
  std::lock_guard g(E().lock);
  Instance* i = E().Find(instance);
  if (!i) {
    ++E().errors;
    return kErrGeneric;
  }
  i->record.started = 1;
  return 0;
}

int32_t HOSTABI_CALL FicDeleteRenderInstance(SRenderInstance* instance) {
  std::lock_guard r(E().renderLock);
  std::lock_guard g(E().lock);
  auto& list = E().instances;
  const auto it =
      std::find_if(list.begin(), list.end(), [&](const auto& i) { return &i->record == instance; });
  if (it == list.end()) {
    ++E().errors;
    return kErrGeneric;
  }
  list.erase(it);
  return 0;
}

int32_t HOSTABI_CALL FicGetTransport(const SRenderInstance* instance, STransportState* state) {
  std::lock_guard g(E().lock);
  if (!state || !E().Find(instance)) {
    ++E().errors;
    return kErrGeneric;
  }
  *state = E().transport;
  return 0;
}

// Ticks follow the transport's tempo at the engine's sample rate; the timeline has no tempo map.
int32_t HOSTABI_CALL FicLocationToTicks(const SRenderInstance* instance, int64_t location,
                                        int64_t* ticks) {
  std::lock_guard g(E().lock);
  Engine& e = E();
  const auto rate = e.gestalt.find(kGestaltSampleRate);
  const double sampleRate = rate != e.gestalt.end() ? rate->second.second : 0.0;
  if (!ticks || !e.Find(instance) || sampleRate <= 0.0 || !(e.transport.tempo > 0.0)) {
    ++e.errors;
    return kErrGeneric;
  }
  const double quarters = static_cast<double>(location) / sampleRate * e.transport.tempo / 60.0;
  *ticks = static_cast<int64_t>(std::llround(quarters * static_cast<double>(kTicksPerQuarter)));
  return 0;
}

} // extern "C"

// ---------------------------------------------------------------------------------------------
// The host program's side.

namespace standin {

void ResetEngine() {
  Engine& e = E();
  std::lock_guard g(e.lock);
  e.Defaults();
  e.maximumQuantum = 1024;
  e.version = 0x0801;
  e.alive = true;
  e.variableQuantum = false;
  e.dispatchStatus = 0;
  e.registrationStatus = 0;
  e.servers.clear();
  e.types.clear();
  e.tokenObjects.clear();
  e.hostControlIDs.clear();
  e.processes.clear();
  e.messages.Clear();
  e.errors = 0;
  e.openProc = e.closeProc = nullptr;
  e.midiUnregistrations = 0;
  e.instances.clear();
  e.transport = STransportState{0, 0, 120.0, 4, 4, 0};
}

void SetGestalt(int32_t selector, int32_t status, int32_t answer) {
  std::lock_guard g(E().lock);
  E().gestalt[selector] = {status, answer};
}

void SetVariableQuantum(bool on) {
  std::lock_guard g(E().lock);
  E().variableQuantum = on;
  E().gestalt[kGestaltVariableQuantum] = {0, on ? 1 : 0};
}

void SetTokenService(bool present) {
  std::lock_guard g(E().lock);
  E().gestalt[kGestaltTokenService] = {present ? 0 : kErrGeneric, 0};
}

void SetMaximumQuantum(int32_t frames) {
  std::lock_guard g(E().lock);
  E().maximumQuantum = frames;
}

void SetEngineVersion(int32_t version) {
  std::lock_guard g(E().lock);
  E().version = version;
}

void SetEngineAlive(bool alive) {
  std::lock_guard g(E().lock);
  E().alive = alive;
}

void SetDispatchStatus(int32_t status) {
  std::lock_guard g(E().lock);
  E().dispatchStatus = status;
}

void SetRegistrationStatus(int32_t status) {
  std::lock_guard g(E().lock);
  E().registrationStatus = status;
}

std::vector<DecodedMessage> DispatchedMessages() {
  std::lock_guard g(E().lock);
  return E().messages.Ordered();
}

void ClearDispatchedMessages() {
  std::lock_guard g(E().lock);
  E().messages.Clear();
}

int ErrorCount() {
  std::lock_guard g(E().lock);
  return E().errors;
}

int LiveServerCount() {
  std::lock_guard g(E().lock);
  return static_cast<int>(E().servers.size());
}

int LiveTokenObjectCount() {
  std::lock_guard g(E().lock);
  return static_cast<int>(E().tokenObjects.size());
}

std::vector<RegisteredProcess> RegisteredProcesses() {
  std::lock_guard g(E().lock);
  return E().processes;
}

ModuleProc RegisteredOpenProc() {
  std::lock_guard g(E().lock);
  return E().openProc;
}

ModuleProc RegisteredCloseProc() {
  std::lock_guard g(E().lock);
  return E().closeProc;
}

int UnregisteredMIDIClientCount() {
  std::lock_guard g(E().lock);
  return E().midiUnregistrations;
}

std::vector<SRenderInstance*> RenderInstances() {
  std::lock_guard g(E().lock);
  std::vector<SRenderInstance*> out;
  for (auto& i : E().instances)
    out.push_back(&i->record);
  return out;
}

RenderCallback RenderCallbackOf(SRenderInstance* instance) {
  std::lock_guard g(E().lock);
  const Instance* i = E().Find(instance);
  return i ? i->callback : nullptr;
}

void SetExtraInputConnected(SRenderInstance* instance, bool connected) {
  std::lock_guard g(E().lock);
  if (Instance* i = E().Find(instance))
    i->record.extraInputConnected = connected ? 1 : 0;
  else
    ++E().errors;
}

bool RenderBlock(SRenderInstance* instance, std::span<float*> buffers, int32_t frames,
                 int32_t bufferFrames) {
  Engine& e = E();
  std::lock_guard r(e.renderLock);
  RenderCallback callback = nullptr;
  {
    std::lock_guard g(e.lock);
    Instance* i = e.Find(instance);
    const int64_t wanted =
        i ? int64_t{i->record.inputCount} + i->record.extraInputConnected + i->record.outputCount
          : 0;
    if (!i || !i->record.started || static_cast<int64_t>(buffers.size()) != wanted || frames < 0 ||
        bufferFrames < 0 || frames > bufferFrames) {
      ++e.errors;
      return false;
    }
    if (e.silence.size() < static_cast<size_t>(bufferFrames))
      e.silence.resize(static_cast<size_t>(bufferFrames));
    std::fill(e.silence.begin(), e.silence.end(), 0.0f);
    callback = i->callback;
  }
  // The callback runs without the engine's state lock, so it may call back into the engine.
  SRenderContext context{buffers.data(), static_cast<int32_t>(buffers.size()), frames, bufferFrames,
                         e.silence.data()};
  callback(instance, &context);
  return true;
}

bool IsSilenceBuffer(const float* buffer) {
  std::lock_guard g(E().lock);
  return buffer && buffer == E().silence.data();
}

void SetTransport(const STransportState& state) {
  std::lock_guard g(E().lock);
  E().transport = state;
}

} // namespace standin
