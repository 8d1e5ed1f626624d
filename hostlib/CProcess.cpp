#include "hostlib/CProcess.h"

#include <algorithm>
#include <cstring>

#include "hostlib/CDAEError.h"
#include "hostlib/CHostEngine.h"
#include "hostlib/CPluginControl_Discrete.h"
#include "hostlib/CTokenService.h"
#include "hostlib/MessageRecord.h"

using namespace hostabi;

namespace {
constexpr const char* kControlsChunkName = "Complete Controls State";
constexpr const char* kUndefinedSettingsPath = "Plug-Ins/Undefined BaseName";
} // namespace

CProcess::CProcess() {
  chunks.push_back({kControlsStateChunkID, kControlsChunkName});
}

CProcess::~CProcess() {
  UnregisterFromHost();
}

int32_t CProcess::GetEditorRect(SViewRect*) {
  return kNoErr;
}

int32_t CProcess::SetEditorWindow(void* window) {
  editorWindow = window;
  return kNoErr;
}

int32_t CProcess::IsControlAutomatable(int32_t index, uint8_t* automatable) {
  if (automatable) *automatable = IsValidControl(index) && Control(index)->IsAutomatable();
  return kNoErr;
}

int32_t CProcess::GetControlValue(int32_t index, int32_t* value) {
  if (value) *value = IsValidControl(index) ? Control(index)->GetControlValue() : 0;
  return kNoErr;
}

int32_t CProcess::SetControlValue(int32_t index, int32_t value) {
  if (!IsValidControl(index)) return kNoErr;
  if (HostTablesReady()) {
    TouchControl(index);
    const SMessageRecord m =
        MakeControlValueMessage(message::kClassSetValue, HostControlID(index), value);
    const int32_t status = Dispatch(m.bytes.data());
    ReleaseControl(index);
    return status;
  }
  SetControlValueFromHost(index, value);
  return ControlValueApplied(index, value);
}

int32_t CProcess::GetControlDefaultValue(int32_t index, int32_t* value) {
  if (!IsValidControl(index)) return GetControlValue(index, value);
  if (value) *value = Control(index)->GetDefaultControlValue();
  return kNoErr;
}

int32_t CProcess::GetNumChunks(int32_t* count) {
  if (count) *count = static_cast<int32_t>(chunks.size());
  return kNoErr;
}

int32_t CProcess::GetChunkID(int32_t index, int32_t* chunkID) {
  if (index < 1 || index > static_cast<int32_t>(chunks.size())) return kErrChunk;
  if (chunkID) *chunkID = chunks[static_cast<size_t>(index - 1)].chunkID;
  return kNoErr;
}

int32_t CProcess::GetChunkName(int32_t chunkID, SHostString* name) {
  if (!name) return kNoErr;
  for (const RegisteredChunk& c : chunks)
    if (c.chunkID == chunkID) ToHostString(c.name.c_str(), *name);
  return kNoErr;
}

int32_t CProcess::GetChunkSize(int32_t chunkID, int32_t* size) {
  if (chunkID != kControlsStateChunkID) return kErrChunk;
  if (size) *size = static_cast<int32_t>(kChunkHeaderBytes + sizeof(int32_t) * controls.size());
  return kNoErr;
}

int32_t CProcess::GetChunk(int32_t chunkID, SFicPlugInChunk* chunk) {
  int32_t size = 0;
  if (const int32_t status = GetChunkSize(chunkID, &size); status != kNoErr) return status;
  if (!chunk) return kErrChunk;
  chunk->size = size;
  chunk->chunkID = chunkID;
  auto* values = reinterpret_cast<uint8_t*>(chunk) + kChunkHeaderBytes;
  for (size_t i = 0; i < controls.size(); ++i) {
    const int32_t v = controls[i]->GetControlValue();
    std::memcpy(values + i * sizeof v, &v, sizeof v);
  }
  return kNoErr;
}

int32_t CProcess::SetChunk(int32_t chunkID, const SFicPlugInChunk* chunk) {
  int32_t size = 0;
  if (const int32_t status = GetChunkSize(chunkID, &size); status != kNoErr) return status;
  if (!chunk || chunk->size < static_cast<int32_t>(kChunkHeaderBytes) || chunk->size > size)
    return kErrChunk;
  const auto count = (static_cast<size_t>(chunk->size) - kChunkHeaderBytes) / sizeof(int32_t);
  const auto* values = reinterpret_cast<const uint8_t*>(chunk) + kChunkHeaderBytes;
  for (size_t i = 0; i < count; ++i) {
    int32_t v;
    std::memcpy(&v, values + i * sizeof v, sizeof v);
    SetControlValueFromHost(static_cast<int32_t>(i + 1), v);
  }
  ++stateChangeCounter;
  return kNoErr;
}

int32_t CProcess::CompareChunk(int32_t chunkID, const SFicPlugInChunk* chunk, uint8_t* equal) {
  int32_t size = 0;
  if (const int32_t status = GetChunkSize(chunkID, &size); status != kNoErr) return status;
  if (!chunk || !equal) return kErrChunk;
  *equal = 0;
  if (chunk->size != size) return kNoErr;
  const auto* values = reinterpret_cast<const uint8_t*>(chunk) + kChunkHeaderBytes;
  for (size_t i = 0; i < controls.size(); ++i) {
    int32_t v;
    std::memcpy(&v, values + i * sizeof v, sizeof v);
    if (v != controls[i]->GetControlValue()) return kNoErr;
  }
  *equal = 1;
  return kNoErr;
}

int32_t CProcess::GetDelaySamples(int32_t* samples) {
  if (samples) *samples = 0;
  return kNoErr;
}

int32_t CProcess::ControlValueApplied(int32_t, int32_t) {
  return kNoErr;
}

int32_t CProcess::SetControlValueFromHost(int32_t index, int32_t value) {
  int32_t status = kNoErr;
  if (IsValidControl(index)) {
    Control(index)->SetControlValue(value);
    ControlValueChanged(index);
    if (HostTablesReady()) {
      const SMessageRecord m =
          MakeControlValueMessage(message::kClassCurrentValue, HostControlID(index), value);
      status = Dispatch(m.bytes.data());
    }
  }
  ++stateChangeCounter;
  return status;
}

void CProcess::ControlValueChanged(int32_t) {}

int32_t CProcess::QueryFourArguments(int32_t, int32_t, int32_t, int32_t* answer) {
  if (answer) *answer = 0;
  return kNoErr;
}

int32_t CProcess::TouchControl(int32_t index) {
  if (!HostTablesReady() || !IsValidControl(index)) return kNoErr;
  int32_t status = kNoErr;
  int32_t& count = touchCounts[static_cast<size_t>(index)];
  if (count == 0) {
    const SMessageRecord touch = MakeGestureMessage(HostControlID(index), true);
    status = Dispatch(touch.bytes.data());
    const SMessageRecord first = MakeProcessMessage(message::kKindFirstTouch, processID);
    const int32_t second = Dispatch(first.bytes.data());
    if (status == kNoErr) status = second;
  }
  ++count;
  return status;
}

int32_t CProcess::ReleaseControl(int32_t index) {
  if (!HostTablesReady() || !IsValidControl(index)) return kNoErr;
  int32_t& count = touchCounts[static_cast<size_t>(index)];
  // A release without an open gesture would leave the count negative and swallow the next
  // touch; it is ignored instead.
  if (count <= 0) return kNoErr;
  if (--count > 0) return kNoErr;
  const SMessageRecord release = MakeGestureMessage(HostControlID(index), false);
  return Dispatch(release.bytes.data());
}

int32_t CProcess::GetControlUnderMouse(int32_t, int32_t, int32_t* index) {
  if (index) *index = 0;
  return kNoErr;
}

int32_t CProcess::GetSettingsPath(SHostPath* path) {
  if (!path) return kNoErr;
  std::strncpy(path->text, kUndefinedSettingsPath, sizeof path->text - 1);
  path->text[sizeof path->text - 1] = '\0';
  return kNoErr;
}

std::unique_ptr<CPlugInView> CProcess::CreateEditorView() {
  return nullptr;
}

int32_t CProcess::AddControl(std::unique_ptr<CPluginControl> control) {
  if (!control) return 0;
  controls.push_back(std::move(control));
  return ControlCount();
}

void CProcess::SetMasterBypassIndex(int32_t index) {
  masterBypassIndex = index;
  const auto* discrete = dynamic_cast<const CPluginControl_Discrete*>(Control(index));
  if (!discrete || discrete->GetControlID() == 0) return;
  const int32_t id = discrete->GetControlID();
  const auto at = std::lower_bound(bypassControlIDs.begin(), bypassControlIDs.end(), id);
  if (at == bypassControlIDs.end() || *at != id) bypassControlIDs.insert(at, id);
}

CPluginControl* CProcess::Control(int32_t index) const {
  return IsValidControl(index) ? controls[static_cast<size_t>(index - 1)].get() : nullptr;
}

bool CProcess::HostTablesReady() const {
  // Controls added after registration have no host identity; they stay inside the module.
  return CTokenService::IsAvailable() && processID != 0 &&
         hostControlIDs.size() == controls.size() + 1;
}

int32_t CProcess::HostControlID(int32_t index) const {
  return index >= 1 && static_cast<size_t>(index) < hostControlIDs.size()
             ? hostControlIDs[static_cast<size_t>(index)]
             : 0;
}

int32_t CProcess::TouchCount(int32_t index) const {
  return index >= 1 && static_cast<size_t>(index) < touchCounts.size()
             ? touchCounts[static_cast<size_t>(index)]
             : 0;
}

int32_t CProcess::SendEditorResized() {
  if (!HostTablesReady()) return kNoErr;
  const SMessageRecord m = MakeProcessMessage(message::kKindEditorResized, processID);
  return Dispatch(m.bytes.data());
}

void CProcess::RegisterWithHost() {
  const CHostEngine& engine = CHostEngine::Get();
  const int32_t object = CTokenService::Object();
  hostControlIDs.assign(controls.size() + 1, 0);
  touchCounts.assign(controls.size() + 1, 0);
  for (int32_t k = 1; k <= ControlCount(); ++k) {
    const int32_t status = engine.RegisterControl(object, Control(k)->GetControlID(),
                                                  &hostControlIDs[static_cast<size_t>(k)]);
    if (StatusFailed(status)) throw CDAEError(status);
  }
  int32_t id = 0;
  const int32_t status =
      engine.RegisterProcess(object, hostControlIDs.data() + 1, ControlCount(), &id);
  if (StatusFailed(status)) throw CDAEError(status);
  processID = id;
}

void CProcess::UnregisterFromHost() {
  if (processID != 0 && CTokenService::IsAvailable())
    CHostEngine::Get().UnregisterProcess(processID);
  processID = 0;
}

int32_t CProcess::Dispatch(const void* record) const {
  return CHostEngine::Get().DispatchToken(record);
}
