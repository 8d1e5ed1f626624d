// The routine dispatcher: one plain function per selector, each binding its target object and
// arguments to one operation of the host library and running it through the common runner,
// which turns every exception into a status so that none reaches the host.
//
// The selectors, their targets, argument lists, answers and host-client brackets are laid out
// once, in hostlib/HostInterface.h. This file names, for each Bound selector, the operation it
// runs; the wrapper that checks the target, applies the bracket and catches exceptions is made
// from the interface's own description of the selector, with the argument types the host calls
// it with, so a routine cannot disagree with the header about its arguments. The Refused
// selectors need no line here: their routines come from the header's table alone.
//
// Target handles come from the host. A routine follows its handle only after checking that it
// names an object the module gave out and that is still alive — the group, one of its types, a
// live process, one of a live process's controls or its editor view — and answers the generic
// failure otherwise.

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

#include "drawing/LICE_IBitmap.h"
#include "graphics/IGraphics.h"
#include "hostlib/CDAEError.h"
#include "hostlib/CModuleState.h"
#include "hostlib/CPluginControl_Continuous.h"
#include "hostlib/NameVariants.h"
#include "module/IPlugGroup.h"
#include "module/ModuleEntry.h"
#include "rtas/EditorWindowHost.h"
#include "rtas/IPlugCustomUI.h"
#include "rtas/IPlugDigiView.h"

using namespace hostabi;
namespace sel = hostabi::selector;
using sel::Answer;
using sel::Bracket;
using sel::Target;

namespace tavo {
namespace {

// ---- Targets ----

CProcessGroup* AsGroup(void* handle) {
  CProcessGroup* group = ModuleGroup();
  return handle && handle == static_cast<void*>(group) ? group : nullptr;
}

CEffectType* AsType(void* handle) {
  CProcessGroup* group = ModuleGroup();
  if (!group || !handle) return nullptr;
  for (int32_t i = 1; i <= group->TypeCount(); ++i)
    if (static_cast<void*>(group->TypeByIndex(i)) == handle) return group->TypeByIndex(i);
  return nullptr;
}

template <typename Visit> void ForEachProcess(Visit&& visit) {
  CProcessGroup* group = ModuleGroup();
  if (!group) return;
  for (int32_t i = 1; i <= group->TypeCount(); ++i)
    for (CEffectProcess* process : group->TypeByIndex(i)->Processes())
      if (visit(process)) return;
}

CEffectProcess* AsProcess(void* handle) {
  CEffectProcess* found = nullptr;
  if (handle)
    ForEachProcess(
        [&](CEffectProcess* p) { return static_cast<void*>(p) == handle && (found = p); });
  return found;
}

CPluginControl* AsControl(void* handle) {
  CPluginControl* found = nullptr;
  if (!handle) return nullptr;
  ForEachProcess([&](CEffectProcess* p) {
    for (int32_t i = 1; i <= p->ControlCount(); ++i)
      if (static_cast<void*>(p->Control(i)) == handle) found = p->Control(i);
    return found != nullptr;
  });
  return found;
}

IPlugFrameView* AsView(void* handle) {
  IPlugFrameView* found = nullptr;
  if (!handle) return nullptr;
  ForEachProcess([&](CEffectProcess* p) {
    if (static_cast<void*>(p->EditorView()) == handle)
      found = dynamic_cast<IPlugFrameView*>(p->EditorView());
    return found != nullptr;
  });
  return found;
}

// What each kind of target is in the host library, and how a handle is checked.
template <Target> struct TargetKind;
template <> struct TargetKind<Target::Group> {
  static CProcessGroup* Find(void* handle) { return AsGroup(handle); }
};
template <> struct TargetKind<Target::Type> {
  static CEffectType* Find(void* handle) { return AsType(handle); }
};
template <> struct TargetKind<Target::Process> {
  static CEffectProcess* Find(void* handle) { return AsProcess(handle); }
};
template <> struct TargetKind<Target::Control> {
  static CPluginControl* Find(void* handle) { return AsControl(handle); }
};
template <> struct TargetKind<Target::View> {
  static IPlugFrameView* Find(void* handle) { return AsView(handle); }
};

// ---- The runner ----

// [main thread] The host-client bracket the selector asks for at the host's interface version,
// around an exception barrier.
template <typename Call> int32_t Run(Bracket bracket, Call&& call) {
  CProcessGroup* group = ModuleGroup();
  const bool enter =
      group && sel::BracketApplies(bracket, CModuleState::hostInterfaceVersion.load());
  if (enter) group->EnterHostClient();
  int32_t status = kNoErr;
  try {
    status = std::forward<Call>(call)();
  } catch (const std::bad_alloc&) {
    status = kErrOutOfMemory;
  } catch (const CDAEError& e) {
    status = e.Code();
  } catch (...) {
    status = kErrGeneric;
  }
  if (enter) group->LeaveHostClient();
  return status;
}

// The routine of a Bound selector: checks the target the header names for it, then runs Op on
// it with the host's arguments. The routine's type is the header's RoutineFn<S>.
template <uint32_t S, auto Op, typename Fn = sel::RoutineFn<S>> struct Bound;
template <uint32_t S, auto Op, typename... A>
struct Bound<S, Op, int32_t(HOSTABI_CALL*)(void*, A...)> {
  static constexpr sel::SRoutineInfo info = *sel::Info(S);
  static_assert(info.answer == Answer::Bound, "a Refused selector has no operation");

  static int32_t HOSTABI_CALL Entry(void* target, A... args) {
    return Run(info.bracket, [&]() -> int32_t {
      if constexpr (info.target == Target::Module) {
        return Op(args...);
      } else {
        auto* object = TargetKind<info.target>::Find(target);
        if (!object) return kErrGeneric;
        return Op(*object, args...);
      }
    });
  }
};

// The routine of a Refused selector: a live target answers kErrUnsupported, anything else the
// generic failure. Nothing is written and nothing reaches the host's engine.
template <uint32_t S, typename Fn = sel::RoutineFn<S>> struct Refused;
template <uint32_t S, typename... A> struct Refused<S, int32_t(HOSTABI_CALL*)(void*, A...)> {
  static constexpr sel::SRoutineInfo info = *sel::Info(S);

  static int32_t HOSTABI_CALL Entry(void* target, A...) {
    return Run(info.bracket, [&]() -> int32_t {
      return TargetKind<info.target>::Find(target) ? kErrUnsupported : kErrGeneric;
    });
  }
};

// ---- Operations ----

template <typename T> int32_t Put(T* out, T value) {
  if (!out) return kErrGeneric;
  *out = value;
  return kNoErr;
}

// A getter of the target as an int32 answer: Value<&CEffectType::TypeID>.
template <typename M> struct ClassOf;
template <typename C, typename R> struct ClassOf<R (C::*)() const> { using type = C; };
template <auto Getter>
int32_t Value(typename ClassOf<decltype(Getter)>::type& target, int32_t* out) {
  return Put<int32_t>(out, (target.*Getter)());
}

// The module and the group.
int32_t GetModuleGroup(void** group) {
  return Put<void*>(group, static_cast<void*>(ModuleGroup()));
}
int32_t TypeCount(CProcessGroup& group, int32_t* count) {
  return Put(count, group.TypeCount());
}
int32_t ManufacturerName(CProcessGroup& group, SHostString* name, int32_t maxLength) {
  return group.GetManufacturerName(name, maxLength);
}
int32_t ProductName(CProcessGroup& group, SHostString* name, int32_t maxLength) {
  return group.GetProductName(name, maxLength);
}
int32_t TypeByIndex(CProcessGroup& group, int32_t index, void** type) {
  CEffectType* t = group.TypeByIndex(index);
  if (!t) return kErrNotAnEffectType;
  return Put<void*>(type, static_cast<void*>(t));
}
int32_t GroupCapability(CProcessGroup& group, void* type, int32_t capability, int32_t* value) {
  return group.CapabilityQuery(AsType(type), capability, value);
}
int32_t FindType(CProcessGroup& group, int32_t typeID, int32_t channels, int32_t stem,
                 int32_t* typeIndex) {
  return group.FindTypeForDescription({0, 0, typeID}, channels, stem, typeIndex);
}
int32_t ControlNameForType(CProcessGroup& group, int32_t typeIndex, int32_t value,
                           int32_t controlIndex, SHostString* name) {
  return group.GetControlNameForType(typeIndex, value, controlIndex, name);
}
int32_t CreateProcess(CProcessGroup& group, int32_t typeIndex, int32_t argument, void** process) {
  if (!process) return kErrGeneric;
  std::unique_ptr<CEffectProcess> made;
  const int32_t status = group.CreateProcess(typeIndex, argument, &made);
  if (status == kNoErr) *process = static_cast<void*>(made.release()); // the host's now
  return status;
}
int32_t DestroyProcess(CProcessGroup&, void* process) {
  CEffectProcess* p = AsProcess(process);
  if (!p) return kErrGeneric;
  std::unique_ptr<CEffectProcess>{p}.reset(); // handed out by CreateProcess
  return kNoErr;
}
int32_t ProcessCount(CProcessGroup& group, int32_t* count) {
  return Put(count, group.ProcessCount());
}
int32_t EnterHostClient(CProcessGroup& group) {
  return group.EnterHostClient();
}
int32_t LeaveHostClient(CProcessGroup& group) {
  return group.LeaveHostClient();
}
int32_t GiveHostATurn(CProcessGroup& group) {
  return group.GiveHostATurn();
}
int32_t SetInterfaceVersion(CProcessGroup& group, int32_t version) {
  group.SetHostInterfaceVersion(version);
  return kNoErr;
}
int32_t GroupSettingsPath(CProcessGroup& group, SHostPath* path) {
  return group.GetSettingsPath(path);
}
int32_t TypeInfo(CProcessGroup& group, int32_t typeIndex, STypeInfo* info) {
  if (!info) return kErrGeneric;
  return group.GetTypeInfo(typeIndex, info);
}
int32_t SkipEditorViews(CProcessGroup&, int32_t skip) {
  CModuleState::skipEditorViews.store(skip != 0);
  return kNoErr;
}

// Types.
int32_t TypeCapability(CEffectType& type, int32_t capability, int32_t* answer) {
  if (!answer) return kErrGeneric;
  return type.CapabilityQuery(capability, answer);
}
int32_t TypeName(CEffectType& type, SHostString* name, int32_t maxLength) {
  if (!name) return kErrGeneric;
  const int32_t width = std::clamp<int32_t>(maxLength, 0, static_cast<int32_t>(sizeof name->text));
  ToHostString(FittedNameVariant(type.Names().c_str(), width).c_str(), *name);
  return kNoErr;
}
int32_t TypeHasFeature(CEffectType& type, int32_t code, uint8_t* present) {
  return Put<uint8_t>(present, type.HasFeatureCode(code) ? 1 : 0);
}
int32_t TypeControlName(CEffectType& type, int32_t value, int32_t controlIndex, SHostString* name) {
  return type.GetControlName(value, controlIndex, name);
}
int32_t TypeProcessCount(CEffectType& type, int32_t* count) {
  return Put(count, static_cast<int32_t>(type.Processes().size()));
}
int32_t AddFeatureCode(CEffectType& type, int32_t code) {
  type.AddFeatureCode(code);
  return kNoErr;
}
int32_t SetStemFormats(CEffectType& type, int32_t inputStem, int32_t outputStem, int32_t extra) {
  type.SetStemFormats(inputStem, outputStem, extra); // throws for a format without channels
  return kNoErr;
}
int32_t SetProperty(CEffectType& type, int32_t value, int32_t property) {
  return type.SetProperty(value, property);
}
int32_t ProcessFactory(CEffectType& type, void** factory) {
  // Opaque to the host: it can tell whether the type makes processes, and nothing more.
  return Put(factory, reinterpret_cast<void*>(type.GetProcessFactory()));
}

// Processes.
int32_t EditorRect(CEffectProcess& process, SViewRect* rect) {
  return process.GetEditorRect(rect);
}
int32_t SetEditorWindow(CEffectProcess& process, void* window) {
  return process.SetEditorWindow(window);
}
int32_t ExtraInputConnected(CEffectProcess& process) {
  process.ExtraInputConnected();
  return kNoErr;
}
int32_t ExtraInputDisconnected(CEffectProcess& process) {
  process.ExtraInputDisconnected();
  return kNoErr;
}
int32_t ControlAutomatable(CEffectProcess& process, int32_t index, uint8_t* automatable) {
  if (!automatable) return kErrGeneric;
  return process.IsControlAutomatable(index, automatable);
}
int32_t ControlCount(CEffectProcess& process, int32_t* count) {
  return Put(count, process.ControlCount());
}
int32_t ControlOf(CEffectProcess& process, int32_t index, void** control) {
  if (!process.IsValidControl(index)) return kErrGeneric;
  return Put<void*>(control, static_cast<void*>(process.Control(index)));
}
int32_t Connect(CEffectProcess& process) {
  auto* realTime = dynamic_cast<CEffectProcessRTAS*>(&process);
  return realTime ? realTime->Connect() : kErrGeneric;
}
int32_t GetControlValue(CEffectProcess& process, int32_t index, int32_t* value) {
  if (!value) return kErrGeneric;
  return process.GetControlValue(index, value);
}
int32_t SetControlValue(CEffectProcess& process, int32_t index, int32_t value) {
  return process.SetControlValue(index, value);
}
int32_t ControlDefault(CEffectProcess& process, int32_t index, int32_t* value) {
  if (!value) return kErrGeneric;
  return process.GetControlDefaultValue(index, value);
}
int32_t IsBypassed(CEffectProcess& process, uint8_t* bypassed) {
  auto* realTime = dynamic_cast<CEffectProcessRTAS*>(&process);
  return Put<uint8_t>(bypassed, realTime && realTime->IsBypassed() ? 1 : 0);
}
int32_t EditorView(CEffectProcess& process, void** view) {
  return Put<void*>(view, static_cast<void*>(process.EditorView()));
}
int32_t CreateEditorView(CEffectProcess& process, void** view) {
  if (!view) return kErrGeneric;
  *view = static_cast<void*>(process.MakeEditorView());
  return kNoErr;
}
int32_t ChunkCount(CEffectProcess& process, int32_t* count) {
  if (!count) return kErrGeneric;
  return process.GetNumChunks(count);
}
int32_t ChunkID(CEffectProcess& process, int32_t index, int32_t* id) {
  return process.GetChunkID(index, id);
}
int32_t ChunkName(CEffectProcess& process, int32_t id, SHostString* name) {
  return process.GetChunkName(id, name);
}
int32_t ChunkSize(CEffectProcess& process, int32_t id, int32_t* size) {
  return process.GetChunkSize(id, size);
}
int32_t GetChunk(CEffectProcess& process, int32_t id, SFicPlugInChunk* chunk) {
  return process.GetChunk(id, chunk);
}
int32_t SetChunk(CEffectProcess& process, int32_t id, const SFicPlugInChunk* chunk) {
  return process.SetChunk(id, chunk);
}
int32_t CompareChunk(CEffectProcess& process, int32_t id, const SFicPlugInChunk* chunk,
                     uint8_t* equal) {
  return process.CompareChunk(id, chunk, equal);
}
int32_t Delay(CEffectProcess& process, int32_t* samples) {
  if (!samples) return kErrGeneric;
  return process.GetDelaySamples(samples);
}
int32_t ControlApplied(CEffectProcess& process, int32_t index, int32_t value) {
  return process.ControlValueApplied(index, value);
}
int32_t SetControlFromHost(CEffectProcess& process, int32_t index, int32_t value) {
  return process.SetControlValueFromHost(index, value);
}
int32_t ControlChanged(CEffectProcess& process, int32_t index) {
  process.ControlValueChanged(index);
  return kNoErr;
}
int32_t Query4(CEffectProcess& process, int32_t a, int32_t b, int32_t c, int32_t* answer) {
  return process.QueryFourArguments(a, b, c, answer);
}
int32_t TouchControl(CEffectProcess& process, int32_t index) {
  return process.TouchControl(index);
}
int32_t ReleaseControl(CEffectProcess& process, int32_t index) {
  return process.ReleaseControl(index);
}
int32_t ControlUnderMouse(CEffectProcess& process, int32_t x, int32_t y, int32_t* index) {
  if (!index) return kErrGeneric;
  return process.GetControlUnderMouse(x, y, index);
}
int32_t ProcessSettingsPath(CEffectProcess& process, SHostPath* path) {
  return process.GetSettingsPath(path);
}

// Controls.
int32_t SetDefault(CPluginControl& control, int32_t controlValue) {
  control.SetDefaultFromControlValue(controlValue);
  return kNoErr;
}
int32_t ValueFromText(CPluginControl& control, const char* text, int32_t* controlValue) {
  return Put(controlValue, control.ControlValueFromText(text));
}
int32_t AcceptsChar(CPluginControl& control, int32_t character, uint8_t* accepted) {
  return Put<uint8_t>(accepted, control.AcceptsCharacter(character) ? 1 : 0);
}
int32_t FittedName(CPluginControl& control, char* dest, int32_t maxLength) {
  if (!dest || maxLength < 0) return kErrGeneric;
  control.GetFittedName(dest, maxLength);
  return kNoErr;
}
int32_t DisplayText(CPluginControl& control, char* dest, int32_t maxLength, int32_t controlValue) {
  if (!dest || maxLength < 0) return kErrGeneric;
  control.GetDisplayText(dest, maxLength, controlValue);
  return kNoErr;
}
int32_t Automatable(CPluginControl& control, uint8_t* automatable) {
  return Put<uint8_t>(automatable, control.IsAutomatable() ? 1 : 0);
}
int32_t RealFromValue(CPluginControl& control, int32_t controlValue, double* real) {
  const auto* continuous = dynamic_cast<const CPluginControl_Continuous*>(&control);
  if (!continuous) return kErrGeneric;
  return Put(real, continuous->RealFromControlValue(controlValue));
}
int32_t ValueFromReal(CPluginControl& control, double real, int32_t* controlValue) {
  const auto* continuous = dynamic_cast<const CPluginControl_Continuous*>(&control);
  if (!continuous) return kErrGeneric;
  return Put(controlValue, continuous->ControlValueFromReal(real));
}

// The editor's view.
IGraphics* EditorOf(IPlugFrameView& view) {
  IPlugDigiView* editorView = view.EditorView();
  IPlugCustomUI* ui = editorView ? editorView->EditorUI() : nullptr;
  return ui ? ui->Editor() : nullptr;
}
MouseMods ModifiersFrom(int32_t bits) {
  return {(bits & sel::kModLeftButton) != 0, (bits & sel::kModRightButton) != 0,
          (bits & sel::kModShift) != 0, (bits & sel::kModControl) != 0, (bits & sel::kModAlt) != 0};
}
// One mouse operation of the editor at (x, y).
template <auto Event> int32_t Mouse(IPlugFrameView& view, int32_t x, int32_t y, int32_t modifiers) {
  IGraphics* editor = EditorOf(view);
  if (!editor) return kErrGeneric;
  (editor->*Event)(x, y, ModifiersFrom(modifiers));
  return kNoErr;
}
int32_t MouseWheel(IPlugFrameView& view, int32_t x, int32_t y, int32_t modifiers, int32_t delta) {
  IGraphics* editor = EditorOf(view);
  if (!editor) return kErrGeneric;
  editor->OnMouseWheel(x, y, ModifiersFrom(modifiers), delta);
  return kNoErr;
}
int32_t KeyDown(IPlugFrameView& view, int32_t x, int32_t y, int32_t key, uint8_t* handled) {
  IGraphics* editor = EditorOf(view);
  if (!editor || !handled) return kErrGeneric;
  *handled = editor->OnKeyDown(x, y, key) ? 1 : 0;
  return kNoErr;
}
int32_t TimerTick(IPlugFrameView& view, uint8_t* drew) {
  IGraphics* editor = EditorOf(view);
  if (!editor || !drew) return kErrGeneric;
  *drew = editorhost::TickEditorWindow(*editor) ? 1 : 0;
  return kNoErr;
}
int32_t TimerPeriod(IPlugFrameView& view, int32_t* milliseconds) {
  IGraphics* editor = EditorOf(view);
  if (!editor) return kErrGeneric;
  return Put<int32_t>(milliseconds, editorhost::EditorTimerPeriodMs(*editor));
}
int32_t ReadFrame(IPlugFrameView& view, uint32_t* pixels, int32_t width, int32_t height) {
  IGraphics* editor = EditorOf(view);
  const LICE_IBitmap* frame = editor ? editorhost::PresentedFrame(*editor) : nullptr;
  if (!frame || !pixels || !frame->PixelData() || width != frame->Width() ||
      height != frame->Height())
    return kErrGeneric;
  for (int32_t y = 0; y < height; ++y) {
    const int32_t row = frame->IsBottomUp() ? height - 1 - y : y;
    std::memcpy(pixels + static_cast<size_t>(y) * static_cast<size_t>(width),
                frame->PixelData() + static_cast<size_t>(row) * frame->RowSpan(),
                static_cast<size_t>(width) * sizeof(uint32_t));
  }
  return kNoErr;
}
int32_t ViewSize(IPlugFrameView& view, int32_t* width, int32_t* height) {
  if (!width || !height) return kErrGeneric;
  *width = view.Width();
  *height = view.Height();
  return kNoErr;
}
int32_t ViewDraw(IPlugFrameView& view, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (IPlugDigiView* editorView = view.EditorView()) editorView->Draw(left, top, right, bottom);
  return kNoErr;
}

// ---- The table ----

struct Entry {
  uint32_t selector;
  void* routine;
};
using Table = std::array<void*, sel::kSelectorLimit>;

template <typename F> void* Address(F* function) {
  return reinterpret_cast<void*>(function);
}
template <uint32_t S, auto Op> Entry Bind() {
  return {S, Address(&Bound<S, Op>::Entry)};
}

template <size_t I> void AddRefusal(Table& table) {
  constexpr sel::SRoutineInfo info = sel::kRoutines[I];
  if constexpr (info.answer == Answer::Refused)
    table[info.selector] = Address(&Refused<info.selector>::Entry);
}
template <size_t... I> void AddRefusals(Table& table, std::index_sequence<I...>) {
  (AddRefusal<I>(table), ...);
}

const Table& Routines() {
  static const Table table = [] {
    using namespace sel;
    const Entry bound[] = {
        Bind<kModuleGroup, &GetModuleGroup>(),
        Bind<kGroupTypeCount, &TypeCount>(),
        Bind<kGroupManufacturerName, &ManufacturerName>(),
        Bind<kGroupProductName, &ProductName>(),
        Bind<kGroupTypeByIndex, &TypeByIndex>(),
        Bind<kGroupCapability, &GroupCapability>(),
        Bind<kGroupFindType, &FindType>(),
        Bind<kGroupControlNameForType, &ControlNameForType>(),
        Bind<kProcessEditorRect, &EditorRect>(),
        Bind<kProcessSetEditorWindow, &SetEditorWindow>(),
        Bind<kGroupCreateProcess, &CreateProcess>(),
        Bind<kGroupDestroyProcess, &DestroyProcess>(),
        Bind<kGroupProcessCount, &ProcessCount>(),
        Bind<kGroupEnterHostClient, &EnterHostClient>(),
        Bind<kGroupLeaveHostClient, &LeaveHostClient>(),
        Bind<kGroupGiveHostATurn, &GiveHostATurn>(),
        Bind<kGroupSetInterfaceVersion, &SetInterfaceVersion>(),
        Bind<kGroupSettingsPath, &GroupSettingsPath>(),
        Bind<kGroupManufacturerID, &Value<&CProcessGroup::ManufacturerID>>(),
        Bind<kProcessExtraInputConnected, &ExtraInputConnected>(),
        Bind<kProcessExtraInputDisconnected, &ExtraInputDisconnected>(),
        Bind<kTypeID, &Value<&CEffectType::TypeID>>(),
        Bind<kTypeProductID, &Value<&CEffectType::ProductID>>(),
        Bind<kTypeCategory, &Value<&CEffectType::Category>>(),
        Bind<kTypeInputStem, &Value<&CEffectType::InputStemFormat>>(),
        Bind<kTypeOutputStem, &Value<&CEffectType::OutputStemFormat>>(),
        Bind<kTypeInputChannels, &Value<&CEffectType::InputChannels>>(),
        Bind<kTypeOutputChannels, &Value<&CEffectType::OutputChannels>>(),
        Bind<kTypeCapability, &TypeCapability>(),
        Bind<kTypeName, &TypeName>(),
        Bind<kTypeHasFeature, &TypeHasFeature>(),
        Bind<kTypeControlName, &TypeControlName>(),
        Bind<kTypeProcessCount, &TypeProcessCount>(),
        Bind<kProcessControlAutomatable, &ControlAutomatable>(),
        Bind<kProcessControlCount, &ControlCount>(),
        Bind<kProcessControl, &ControlOf>(),
        Bind<kProcessConnect, &Connect>(),
        Bind<kProcessMasterBypassIndex, &Value<&CProcess::MasterBypassIndex>>(),
        Bind<kProcessStateChangeCount, &Value<&CProcess::StateChangeCounter>>(),
        Bind<kProcessInputCount, &Value<&CProcess::InputCount>>(),
        Bind<kProcessOutputCount, &Value<&CProcess::OutputCount>>(),
        Bind<kProcessGetControlValue, &GetControlValue>(),
        Bind<kProcessSetControlValue, &SetControlValue>(),
        Bind<kProcessSampleRate, &Value<&CProcess::SampleRate>>(),
        Bind<kProcessControlDefault, &ControlDefault>(),
        Bind<kProcessID, &Value<&CProcess::ProcessID>>(),
        Bind<kProcessIsBypassed, &IsBypassed>(),
        Bind<kProcessEditorView, &EditorView>(),
        Bind<kControlID, &Value<&CPluginControl::GetControlID>>(),
        Bind<kControlDefault, &Value<&CPluginControl::GetDefaultControlValue>>(),
        Bind<kControlSetDefault, &SetDefault>(),
        Bind<kControlStepCount, &Value<&CPluginControl::GetStepCount>>(),
        Bind<kControlValueFromText, &ValueFromText>(),
        Bind<kControlAcceptsChar, &AcceptsChar>(),
        Bind<kControlFittedName, &FittedName>(),
        Bind<kControlHint1, &Value<&CPluginControl::ControlHint1>>(),
        Bind<kControlHint2, &Value<&CPluginControl::ControlHint2>>(),
        Bind<kControlIsContinuous, &Value<&CPluginControl::IsContinuous>>(),
        Bind<kControlDisplayText, &DisplayText>(),
        Bind<kControlAutomatable, &Automatable>(),
        Bind<kControlValue, &Value<&CPluginControl::GetControlValue>>(),
        Bind<kViewSize, &ViewSize>(),
        Bind<kViewDraw, &ViewDraw>(),
        Bind<kGroupTypeInfo, &TypeInfo>(),
        Bind<kGroupSkipEditorViews, &SkipEditorViews>(),
        Bind<kTypeAddFeatureCode, &AddFeatureCode>(),
        Bind<kTypeSetStemFormats, &SetStemFormats>(),
        Bind<kTypeSetProperty, &SetProperty>(),
        Bind<kTypeProcessFactory, &ProcessFactory>(),
        Bind<kProcessChunkCount, &ChunkCount>(),
        Bind<kProcessChunkID, &ChunkID>(),
        Bind<kProcessChunkName, &ChunkName>(),
        Bind<kProcessChunkSize, &ChunkSize>(),
        Bind<kProcessGetChunk, &GetChunk>(),
        Bind<kProcessSetChunk, &SetChunk>(),
        Bind<kProcessCompareChunk, &CompareChunk>(),
        Bind<kControlRealFromValue, &RealFromValue>(),
        Bind<kControlValueFromReal, &ValueFromReal>(),
        Bind<kProcessDelay, &Delay>(),
        Bind<kProcessControlApplied, &ControlApplied>(),
        Bind<kProcessSetControlFromHost, &SetControlFromHost>(),
        Bind<kProcessControlChanged, &ControlChanged>(),
        Bind<kProcessQuery4, &Query4>(),
        Bind<kProcessTouchControl, &TouchControl>(),
        Bind<kProcessReleaseControl, &ReleaseControl>(),
        Bind<kProcessControlUnderMouse, &ControlUnderMouse>(),
        Bind<kProcessSettingsPath, &ProcessSettingsPath>(),
        Bind<kProcessCreateEditorView, &CreateEditorView>(),
        Bind<kViewMouseDown, &Mouse<&IGraphics::OnMouseDown>>(),
        Bind<kViewMouseUp, &Mouse<&IGraphics::OnMouseUp>>(),
        Bind<kViewMouseDrag, &Mouse<&IGraphics::OnMouseDrag>>(),
        Bind<kViewMouseDoubleClick, &Mouse<&IGraphics::OnMouseDblClick>>(),
        Bind<kViewMouseWheel, &MouseWheel>(),
        Bind<kViewKeyDown, &KeyDown>(),
        Bind<kViewTimerTick, &TimerTick>(),
        Bind<kViewTimerPeriod, &TimerPeriod>(),
        Bind<kViewReadFrame, &ReadFrame>(),
    };
    Table t{};
    for (const Entry& e : bound)
      t[e.selector] = e.routine;
    AddRefusals(t, std::make_index_sequence<std::size(kRoutines)>{});
    return t;
  }();
  return table;
}

} // namespace
} // namespace tavo

// [any thread] Hands out the routine of a selector; the table is built once, on first use.
extern "C" int32_t HOSTABI_CALL _PI_GetRoutineDescriptor(uint32_t selector, void** routine) {
  if (routine) *routine = nullptr;
  if (selector >= hostabi::selector::kSelectorLimit) return hostabi::kErrUndefinedSelector;
  void* found = tavo::Routines()[selector];
  if (!found) return hostabi::kErrUndefinedSelector;
  if (routine) *routine = found;
  return hostabi::kNoErr;
}
