#include "rtas/IPlugProcess.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <stdexcept>
#include <vector>

#include "framework/IParameter.h"
#include "framework/IStateChunk.h"
#include "graphics/IGraphics.h"
#include "hostlib/CHostEngine.h"
#include "hostlib/CModuleState.h"
#include "hostlib/CPluginControl_Continuous.h"
#include "hostlib/CPluginControl_Discrete.h"
#include "hostlib/CProcessGroup.h"
#include "hostlib/CProcessType.h"
#include "platform/ModulePath.h"
#include "rtas/ControlValueMapping.h"
#include "rtas/IPlugCustomUI.h"
#include "rtas/IPlugDigiView.h"

using namespace hostabi;

namespace tavo {

namespace {
constexpr const char* kMasterBypassName = "Master Bypass\nMastrByp\nMByp\nByp";

int32_t Truncated(double v) {
  return static_cast<int32_t>(std::clamp(v, -2147483648.0, 2147483647.0));
}

std::unique_ptr<CPluginControl> ControlForParam(const IParameter& param, int paramIdx) {
  const int32_t id = kParamControlID + paramIdx;
  switch (param.Kind()) {
  case ParamKind::Double:
    return std::make_unique<CPluginControl_Linear>(
        id, param.GetName(), param.Min(), param.Max(), param.Step(), param.DefaultValue(),
        param.Automatable(), UnitPrefix(), LargestPrefix());
  case ParamKind::Int:
    return std::make_unique<CPluginControl_Discrete>(
        id, param.GetName(), Truncated(param.Min()), Truncated(param.Max()),
        Truncated(param.DefaultValue()), param.Automatable());
  case ParamKind::Bool:
  case ParamKind::Enum: {
    std::vector<std::string> items;
    for (int i = 0; i < param.GetDisplayTextCount(); ++i)
      items.emplace_back(param.GetDisplayTextAt(i));
    return std::make_unique<CPluginControl_List>(id, param.GetName(), std::move(items),
                                                 Truncated(param.DefaultValue()),
                                                 param.Automatable());
  }
  default:
    return nullptr;
  }
}
} // namespace

int MaximumBlockSizeFromHost() {
  const CHostEngine& engine = CHostEngine::Get();
  int32_t variable = 0;
  engine.Gestalt(kGestaltVariableQuantum, &variable); // the answer alone tells
  if (variable == 0) return kFixedQuantum;
  const int32_t quantum = engine.MaximumQuantum();
  return quantum > 0 ? quantum : kFixedQuantum;
}

int HostVersionFromEngine() {
  const int32_t v = CHostEngine::Get().Version() & 0xFFFF;
  return ((v & 0xFF00) * 10 + (v & 0xFF)) * 16;
}

IPlugProcess::IPlugProcess(int32_t id, PlugFactory factory)
    : moduleInstance(platform::CurrentModule()), chunkID(id) {
  if (factory) plug = factory();
}

IPlugProcess::~IPlugProcess() {
  editorUI.reset();
  CHostEngine::Get().UnRegisterDirectMIDIClient(0); // this program registers none
  plug.reset();
}

void IPlugProcess::AttachToPlug() {
  if (plug) plug->AttachProcess(&bridge);
}

int IPlugProcess::MaxBlockSize() const {
  return MaximumBlockSizeFromHost();
}

IPlugCustomUI& IPlugProcess::EnsureEditorUI() {
  if (!editorUI) {
    editorUI = std::make_unique<IPlugCustomUI>(bridge);
    // The rectangle is known from here on, whoever asks first.
    editorUI->GetEditorRect(&viewRect.top, &viewRect.left, &viewRect.bottom, &viewRect.right);
  }
  return *editorUI;
}

// ---- Editor hosting ----

int32_t IPlugProcess::GetEditorRect(SViewRect* rect) {
  if (!plug || !rect) return kNoErr;
  EnsureEditorUI().GetEditorRect(&viewRect.top, &viewRect.left, &viewRect.bottom, &viewRect.right);
  *rect = viewRect;
  return kNoErr;
}

std::unique_ptr<CPlugInView> IPlugProcess::CreateEditorView() {
  if (!plug) return nullptr;
  std::unique_ptr<IPlugFrameView> frame;
  try {
    EnsureEditorUI().GetEditorRect(&viewRect.top, &viewRect.left, &viewRect.bottom,
                                   &viewRect.right);
    frame = std::make_unique<IPlugFrameView>(viewRect.right, viewRect.bottom);
    IPlugDigiView* view = frame->AddEditorView(IPlugDigiView::kDescription);
    if (!view) throw std::runtime_error("no editor view class");
    view->SetEditorUI(editorUI.get());
    hostView = view;
    return frame;
  } catch (...) {
    // A view made earlier must not keep pointing at the interface object that goes here.
    if (hostView) hostView->SetEditorUI(nullptr);
    editorUI.reset();
    hostView = nullptr;
    return nullptr;
  }
}

int32_t IPlugProcess::SetEditorWindow(void* window) {
  windowPort = window;
  CEffectProcess::SetEditorWindow(window);
  if (window) {
    if (editorUI) {
      editorUI->OpenEditor(CHostEngine::Get().NativeWindow(window), 0, 0);
      editorUI->RedrawAll(viewRect.left, viewRect.top, viewRect.right, viewRect.bottom);
    }
    return kNoErr;
  }
  if (editorUI) editorUI->CloseEditor();
  return hostView ? hostView->SetWindow(nullptr) : kNoErr;
}

void IPlugProcess::EditorResizing() {
  if (editorUI) editorUI->CloseEditor();
}

// ---- Controls ----

void IPlugProcess::InitializeEffect() {
  if (!plug) return;
  AddControl(std::make_unique<CPluginControl_OnOff>(kMasterBypassID, kMasterBypassName, 0, true,
                                                    "On", "Off"));
  SetMasterBypassIndex(kMasterBypassIndex);
  for (int i = 0; i < plug->NParams(); ++i) {
    if (std::unique_ptr<CPluginControl> control = ControlForParam(*plug->GetParam(i), i))
      AddControl(std::move(control));
  }
  ConnectPlugChannels();
  plug->ConfigureSampleRate(SampleRate());
  plug->Reset();
}

void IPlugProcess::ConnectPlugChannels() {
  const int connectedIn = std::min<int>(
      std::max<int>(InputCount(), 0) + plug->ExtraInputConnected(), plug->NInChannels());
  const int connectedOut = std::min<int>(std::max<int>(OutputCount(), 0), plug->NOutChannels());
  plug->ConnectInputs(0, connectedIn, true);
  plug->ConnectInputs(connectedIn, plug->NInChannels() - connectedIn, false);
  plug->ConnectOutputs(0, connectedOut, true);
  plug->ConnectOutputs(connectedOut, plug->NOutChannels() - connectedOut, false);
}

int32_t IPlugProcess::SetControlValue(int32_t index, int32_t value) {
  if (IsValidControl(index)) Control(index)->SetControlValue(value);
  return CEffectProcess::SetControlValue(index, value);
}

void IPlugProcess::ControlValueChanged(int32_t index) {
  // The master bypass belongs to the host: it never reaches the plug-in's parameters.
  if (!plug || !IsValidControl(index) || index == MasterBypassIndex()) return;
  const int paramIdx = index - kFirstParamControl;
  const IParameter* param = plug->GetParam(paramIdx);
  if (!param) return;
  const CPluginControl* control = Control(index);
  const int32_t controlValue = control->GetControlValue();
  double value = 0.0;
  switch (param->Kind()) {
  case ParamKind::Bool:
  case ParamKind::Int:
  case ParamKind::Enum:
    if (auto* discrete = dynamic_cast<const CPluginControl_Discrete*>(control))
      value = discrete->ValueFromControlValue(controlValue);
    break;
  case ParamKind::Double:
    if (auto* continuous = dynamic_cast<const CPluginControl_Continuous*>(control))
      value = continuous->RealFromControlValue(controlValue);
    break;
  default:
    break;
  }
  plug->SetParameterFromHost(paramIdx, value);
}

void IPlugProcess::Inform(int paramIdx) {
  const IParameter* param = plug ? plug->GetParam(paramIdx) : nullptr;
  if (!param) return;
  SetControlValue(paramIdx + kFirstParamControl, ControlValueOfParam(*param));
}

int32_t IPlugProcess::GetControlUnderMouse(int32_t, int32_t, int32_t* index) {
  IGraphics* editor = GraphicsOf(plug.get());
  const int paramIdx = editor ? editor->TakeAutomationParam() : -1;
  if (index) *index = paramIdx < 0 ? 0 : paramIdx + kFirstParamControl;
  return kNoErr;
}

int32_t IPlugProcess::QueryFourArguments(int32_t, int32_t, int32_t, int32_t*) {
  return kNoErr;
}

void IPlugProcess::ExtraInputConnected() {
  SetExtraInputFlag(true);
  if (plug) plug->SetExtraInputConnected(1);
}

void IPlugProcess::ExtraInputDisconnected() {
  SetExtraInputFlag(false);
  if (plug) plug->SetExtraInputConnected(0);
}

// ---- State chunk ----

int32_t IPlugProcess::GetNumChunks(int32_t* count) {
  if (count) *count = 1;
  return kNoErr;
}

int32_t IPlugProcess::GetChunkID(int32_t index, int32_t* id) {
  if (index != 1) return kErrChunk;
  if (id) *id = chunkID;
  return kNoErr;
}

int32_t IPlugProcess::StateBytes(IStateChunk* state) {
  if (!plug || !plug->SaveState(state)) return -1;
  return state->Size();
}

int32_t IPlugProcess::GetChunkSize(int32_t id, int32_t* size) {
  if (id != chunkID) return kErrChunk;
  IStateChunk state;
  const int32_t bytes = StateBytes(&state);
  if (bytes < 0) return kErrChunk;
  if (size) *size = bytes + static_cast<int32_t>(kChunkHeaderBytes);
  return kNoErr;
}

int32_t IPlugProcess::GetChunk(int32_t id, SFicPlugInChunk* chunk) {
  if (id != chunkID || !chunk) return kErrChunk;
  IStateChunk state;
  const int32_t bytes = StateBytes(&state);
  if (bytes < 0) return kErrChunk;
  chunk->size = bytes + static_cast<int32_t>(kChunkHeaderBytes);
  if (bytes > 0)
    std::memcpy(reinterpret_cast<uint8_t*>(chunk) + kChunkHeaderBytes, state.Data(),
                static_cast<size_t>(bytes));
  return kNoErr;
}

int32_t IPlugProcess::ReadableStateBytes(const SFicPlugInChunk& chunk) {
  // The host's size field is all that bounds its buffer. In 64 bits, so that no size can wrap.
  const int64_t carried =
      static_cast<int64_t>(chunk.size) - static_cast<int64_t>(kChunkHeaderBytes);
  if (carried < 0 || carried > kLargestChunkState) return -1;
  IStateChunk own;
  const int32_t ownBytes = StateBytes(&own);
  if (ownBytes < 0) return -1;
  // A longer state (padding, or a later version with more parameters) is read as far as this
  // plug-in's own state reaches.
  return static_cast<int32_t>(std::min<int64_t>(carried, ownBytes));
}

int32_t IPlugProcess::SetChunk(int32_t id, const SFicPlugInChunk* chunk) {
  if (id != chunkID || !chunk || !plug) return kErrChunk;
  const int32_t bytes = ReadableStateBytes(*chunk);
  if (bytes < 0) return kErrChunk;
  IStateChunk state;
  state.PutBytes(reinterpret_cast<const uint8_t*>(chunk) + kChunkHeaderBytes, bytes);
  // A short state restores the values it carries, sets the first missing one to 0 clamped into
  // its range and keeps the ones after it.
  plug->LoadState(&state, 0);
  for (int i = 0; i < plug->NParams(); ++i)
    Inform(i);
  MarkStateChanged();
  return kNoErr;
}

int32_t IPlugProcess::CompareChunk(int32_t id, const SFicPlugInChunk* chunk, uint8_t* equal) {
  if (id != chunkID || !chunk || !plug) return kErrChunk;
  // The bytes a restore would read: a chunk that SetChunk refuses is refused here too, and one
  // that carries less than a whole state never equals the current one.
  const int32_t bytes = ReadableStateBytes(*chunk);
  if (bytes < 0) return kErrChunk;
  const size_t count = static_cast<size_t>(plug->NParams());
  bool same = false;
  if (static_cast<size_t>(bytes) >= count * sizeof(double)) {
    // The host's bytes need not be aligned for doubles.
    std::vector<double> values(count);
    if (count > 0)
      std::memcpy(values.data(), reinterpret_cast<const uint8_t*>(chunk) + kChunkHeaderBytes,
                  count * sizeof(double));
    same = plug->StateEquals(values.data(), 0);
  }
  if (equal) *equal = same ? 1 : 0;
  return kNoErr;
}

// ---- The plug-in's side ----

void IPlugProcess::Bridge::SetControlValue(int controlIdx, int32_t controlValue) {
  owner_.SetControlValue(controlIdx, controlValue);
}

int32_t IPlugProcess::Bridge::GetControlValue(int controlIdx, int32_t* controlValue) {
  if (!owner_.IsValidControl(controlIdx)) return kErrGeneric;
  return owner_.CEffectProcess::GetControlValue(controlIdx, controlValue);
}

int32_t IPlugProcess::Bridge::GetControlDefault(int controlIdx, int32_t* controlValue) {
  if (!owner_.IsValidControl(controlIdx)) return kErrGeneric;
  return owner_.GetControlDefaultValue(controlIdx, controlValue);
}

void IPlugProcess::Bridge::SetEditorUI(void* editorUI) {
  owner_.editorUI.reset(static_cast<IPlugCustomUI*>(editorUI));
  if (owner_.hostView) owner_.hostView->SetEditorUI(owner_.editorUI.get());
}

void IPlugProcess::Bridge::TouchControl(int controlIdx) {
  owner_.TouchControl(controlIdx);
}

void IPlugProcess::Bridge::ReleaseControl(int controlIdx) {
  owner_.ReleaseControl(controlIdx);
}

void IPlugProcess::Bridge::ProcessHook7() {
  if (CProcessGroup* group = owner_.Type() ? owner_.Type()->Group() : nullptr)
    group->GiveHostATurn();
}

void* IPlugProcess::Bridge::GetModuleInstance() {
  return owner_.moduleInstance;
}

intptr_t IPlugProcess::Bridge::EnterResourceContext() {
  return CModuleState::EnterResourceContext();
}

void IPlugProcess::Bridge::LeaveResourceContext(intptr_t previous) {
  CModuleState::LeaveResourceContext(static_cast<int16_t>(previous));
}

IPlugRTAS* IPlugProcess::Bridge::GetPlug() {
  return owner_.plug.get();
}

IGraphics* IPlugProcess::Bridge::GetEditor() {
  return GraphicsOf(owner_.plug.get());
}

void IPlugProcess::Bridge::MarkStateChanged() {
  owner_.MarkStateChanged();
}

int IPlugProcess::Bridge::GetMaxBlockSize() {
  return owner_.MaxBlockSize();
}

double IPlugProcess::Bridge::GetTempo() {
  STransportState state{};
  const CAdaptorPlugIn* instance = owner_.TransportInstance();
  return instance && instance->Transport(state) ? state.tempo : 0.0;
}

void IPlugProcess::Bridge::GetTimeSignature(int* numerator, int* denominator) {
  STransportState state{};
  const CAdaptorPlugIn* instance = owner_.TransportInstance();
  if (!instance || !instance->Transport(state)) return;
  if (numerator) *numerator = state.numerator;
  if (denominator) *denominator = state.denominator;
}

int IPlugProcess::Bridge::GetSamplePosition() {
  STransportState state{};
  const CAdaptorPlugIn* instance = owner_.TransportInstance();
  return instance && instance->Transport(state) ? static_cast<int>(state.sampleLocation) : 0;
}

void IPlugProcess::Bridge::GetTimeInfo(ITimeInfo* info) {
  STransportState state{};
  const CAdaptorPlugIn* instance = owner_.TransportInstance();
  if (!info || !instance || !instance->Transport(state)) return;
  info->samplePos = static_cast<double>(state.sampleLocation);
  info->tempo = state.tempo;
  info->numerator = state.numerator;
  info->denominator = state.denominator;
  info->transportRunning = state.running != 0;
  const int64_t location = state.running ? state.sampleLocation : state.stoppedLocation;
  int64_t ticks = 0;
  instance->LocationToTicks(location, ticks);
  info->ppqPos = static_cast<double>(ticks) / static_cast<double>(kTicksPerQuarter);
  info->lastBarPos = 0.0;
  info->cycleStart = 0.0;
  info->cycleEnd = 0.0;
  info->loopEnabled = false;
}

int IPlugProcess::Bridge::GetHostVersion() {
  return HostVersionFromEngine();
}

void IPlugProcess::Bridge::CloseEditorForResize() {
  owner_.EditorResizing();
}

void IPlugProcess::Bridge::SendEditorResized() {
  owner_.SendEditorResized();
}

} // namespace tavo
