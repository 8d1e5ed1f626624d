// The routine dispatcher: one plain function per selector, each binding its target object and
// arguments to one operation of the host library and running it through the common runner,
// which turns every exception into a status so that none reaches the host.
//
// Target handles come from the host. Each routine checks that its handle names an object the
// module gave out and is still alive — the group, one of its types, a live process, one of a
// live process's controls or views — and answers the generic failure otherwise.

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

#include "hostlib/CDAEError.h"
#include "hostlib/CModuleState.h"
#include "hostlib/NameVariants.h"
#include "module/IPlugGroup.h"
#include "module/ModuleEntry.h"
#include "rtas/IPlugDigiView.h"

using namespace hostabi;
namespace sel = hostabi::selector;

namespace tavo {
namespace {

// [main thread] The runner: the optional host-client bracket around an exception barrier.
template <typename Call> int32_t Run(bool bracket, Call&& call) {
  CProcessGroup* group = ModuleGroup();
  const bool enter = bracket && group && CModuleState::hostInterfaceVersion.load() != 0;
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

template <typename T> int32_t Put(T* out, T value) {
  if (!out) return kErrGeneric;
  *out = value;
  return kNoErr;
}

// Runs `op` on a valid target of kind As; a handle that names nothing answers the generic
// failure.
template <auto As, typename Op> int32_t On(void* handle, bool bracket, Op&& op) {
  return Run(bracket, [&]() -> int32_t {
    auto* target = As(handle);
    if (!target) return kErrGeneric;
    return op(*target);
  });
}

// ---- Module and group ----

int32_t HOSTABI_CALL ModuleGroupRoutine(void*, void** group) {
  return Run(false, [&] { return Put<void*>(group, static_cast<void*>(ModuleGroup())); });
}
int32_t HOSTABI_CALL GroupTypeCount(void* g, int32_t* count) {
  return On<AsGroup>(g, false, [&](CProcessGroup& grp) { return Put(count, grp.TypeCount()); });
}
int32_t HOSTABI_CALL GroupManufacturerName(void* g, SHostString* name, int32_t maxLength) {
  return On<AsGroup>(g, false,
                     [&](CProcessGroup& grp) { return grp.GetManufacturerName(name, maxLength); });
}
int32_t HOSTABI_CALL GroupProductName(void* g, SHostString* name, int32_t maxLength) {
  return On<AsGroup>(g, false,
                     [&](CProcessGroup& grp) { return grp.GetProductName(name, maxLength); });
}
int32_t HOSTABI_CALL GroupTypeByIndex(void* g, int32_t index, void** type) {
  return On<AsGroup>(g, false, [&](CProcessGroup& grp) -> int32_t {
    CEffectType* t = grp.TypeByIndex(index);
    if (!t) return kErrNotAnEffectType;
    return Put<void*>(type, static_cast<void*>(t));
  });
}
int32_t HOSTABI_CALL GroupCapability(void* g, void* type, int32_t selector, int32_t* value) {
  return On<AsGroup>(g, false, [&](CProcessGroup& grp) {
    return grp.CapabilityQuery(AsType(type), selector, value);
  });
}
int32_t HOSTABI_CALL GroupFindType(void* g, int32_t typeID, int32_t channels, int32_t stem,
                                   int32_t* typeIndex) {
  return On<AsGroup>(g, false, [&](CProcessGroup& grp) {
    return grp.FindTypeForDescription({0, 0, typeID}, channels, stem, typeIndex);
  });
}
int32_t HOSTABI_CALL GroupControlNameForType(void* g, int32_t typeIndex, int32_t value,
                                             int32_t controlIndex, SHostString* name) {
  return On<AsGroup>(g, false, [&](CProcessGroup& grp) {
    return grp.GetControlNameForType(typeIndex, value, controlIndex, name);
  });
}
int32_t HOSTABI_CALL GroupCreateProcess(void* g, int32_t typeIndex, int32_t argument,
                                        void** process) {
  return On<AsGroup>(g, true, [&](CProcessGroup& grp) -> int32_t {
    if (!process) return kErrGeneric;
    std::unique_ptr<CEffectProcess> made;
    const int32_t status = grp.CreateProcess(typeIndex, argument, &made);
    if (status == kNoErr) *process = static_cast<void*>(made.release()); // the host's now
    return status;
  });
}
int32_t HOSTABI_CALL GroupDestroyProcess(void* g, void* process) {
  return On<AsGroup>(g, true, [&](CProcessGroup&) -> int32_t {
    CEffectProcess* p = AsProcess(process);
    if (!p) return kErrGeneric;
    std::unique_ptr<CEffectProcess>{p}.reset(); // handed out by GroupCreateProcess
    return kNoErr;
  });
}
int32_t HOSTABI_CALL GroupProcessCount(void* g, int32_t* count) {
  return On<AsGroup>(g, false, [&](CProcessGroup& grp) { return Put(count, grp.ProcessCount()); });
}
int32_t HOSTABI_CALL GroupEnterHostClient(void* g) {
  return On<AsGroup>(g, false, [&](CProcessGroup& grp) { return grp.EnterHostClient(); });
}
int32_t HOSTABI_CALL GroupLeaveHostClient(void* g) {
  return On<AsGroup>(g, false, [&](CProcessGroup& grp) { return grp.LeaveHostClient(); });
}
int32_t HOSTABI_CALL GroupGiveHostATurn(void* g) {
  return On<AsGroup>(g, false, [&](CProcessGroup& grp) { return grp.GiveHostATurn(); });
}
int32_t HOSTABI_CALL GroupSetInterfaceVersion(void* g, int32_t version) {
  return On<AsGroup>(g, false, [&](CProcessGroup& grp) {
    grp.SetHostInterfaceVersion(version);
    return kNoErr;
  });
}
int32_t HOSTABI_CALL GroupSettingsPath(void* g, SHostPath* path) {
  return On<AsGroup>(g, false, [&](CProcessGroup& grp) { return grp.GetSettingsPath(path); });
}
int32_t HOSTABI_CALL GroupManufacturerID(void* g, int32_t* id) {
  return On<AsGroup>(g, false, [&](CProcessGroup& grp) { return Put(id, grp.ManufacturerID()); });
}

// ---- Types ----

template <int32_t (CEffectType::*Getter)() const>
int32_t HOSTABI_CALL TypeValue(void* t, int32_t* out) {
  return On<AsType>(t, false, [&](CEffectType& type) { return Put(out, (type.*Getter)()); });
}
int32_t HOSTABI_CALL TypeCapability(void* t, int32_t selector, int32_t* answer) {
  return On<AsType>(t, false,
                    [&](CEffectType& type) { return type.CapabilityQuery(selector, answer); });
}
int32_t HOSTABI_CALL TypeName(void* t, SHostString* name, int32_t maxLength) {
  return On<AsType>(t, false, [&](CEffectType& type) -> int32_t {
    if (!name) return kErrGeneric;
    const int32_t width =
        std::clamp<int32_t>(maxLength, 0, static_cast<int32_t>(sizeof name->text));
    ToHostString(FittedNameVariant(type.Names().c_str(), width).c_str(), *name);
    return kNoErr;
  });
}
int32_t HOSTABI_CALL TypeHasFeature(void* t, int32_t code, uint8_t* answer) {
  return On<AsType>(t, false, [&](CEffectType& type) {
    return Put<uint8_t>(answer, type.HasFeatureCode(code) ? 1 : 0);
  });
}
int32_t HOSTABI_CALL TypeControlName(void* t, int32_t value, int32_t controlIndex,
                                     SHostString* name) {
  return On<AsType>(
      t, false, [&](CEffectType& type) { return type.GetControlName(value, controlIndex, name); });
}
int32_t HOSTABI_CALL TypeProcessCount(void* t, int32_t* count) {
  return On<AsType>(t, false, [&](CEffectType& type) {
    return Put(count, static_cast<int32_t>(type.Processes().size()));
  });
}

// ---- Processes ----

int32_t HOSTABI_CALL ProcessEditorRect(void* p, SViewRect* rect) {
  return On<AsProcess>(p, false,
                       [&](CEffectProcess& process) { return process.GetEditorRect(rect); });
}
int32_t HOSTABI_CALL ProcessSetEditorWindow(void* p, void* window) {
  return On<AsProcess>(p, false,
                       [&](CEffectProcess& process) { return process.SetEditorWindow(window); });
}
int32_t HOSTABI_CALL ProcessExtraInputConnected(void* p) {
  return On<AsProcess>(p, false, [&](CEffectProcess& process) {
    process.ExtraInputConnected();
    return kNoErr;
  });
}
int32_t HOSTABI_CALL ProcessExtraInputDisconnected(void* p) {
  return On<AsProcess>(p, false, [&](CEffectProcess& process) {
    process.ExtraInputDisconnected();
    return kNoErr;
  });
}
int32_t HOSTABI_CALL ProcessControlAutomatable(void* p, int32_t index, uint8_t* answer) {
  return On<AsProcess>(p, false, [&](CEffectProcess& process) {
    return process.IsControlAutomatable(index, answer);
  });
}
int32_t HOSTABI_CALL ProcessControlCount(void* p, int32_t* count) {
  return On<AsProcess>(p, false,
                       [&](CEffectProcess& process) { return Put(count, process.ControlCount()); });
}
int32_t HOSTABI_CALL ProcessControl(void* p, int32_t index, void** control) {
  return On<AsProcess>(p, false, [&](CEffectProcess& process) -> int32_t {
    if (!process.IsValidControl(index)) return kErrGeneric;
    return Put<void*>(control, static_cast<void*>(process.Control(index)));
  });
}
int32_t HOSTABI_CALL ProcessConnect(void* p) {
  return On<AsProcess>(p, true, [&](CEffectProcess& process) -> int32_t {
    auto* realTime = dynamic_cast<CEffectProcessRTAS*>(&process);
    return realTime ? realTime->Connect() : kErrGeneric;
  });
}
template <auto Getter> int32_t HOSTABI_CALL ProcessValue(void* p, int32_t* out) {
  return On<AsProcess>(
      p, false, [&](CEffectProcess& process) { return Put<int32_t>(out, (process.*Getter)()); });
}
int32_t HOSTABI_CALL ProcessGetControlValue(void* p, int32_t index, int32_t* value) {
  return On<AsProcess>(
      p, false, [&](CEffectProcess& process) { return process.GetControlValue(index, value); });
}
int32_t HOSTABI_CALL ProcessSetControlValue(void* p, int32_t index, int32_t value) {
  return On<AsProcess>(
      p, true, [&](CEffectProcess& process) { return process.SetControlValue(index, value); });
}
int32_t HOSTABI_CALL ProcessControlDefault(void* p, int32_t index, int32_t* value) {
  return On<AsProcess>(p, false, [&](CEffectProcess& process) {
    return process.GetControlDefaultValue(index, value);
  });
}
int32_t HOSTABI_CALL ProcessIsBypassed(void* p, uint8_t* answer) {
  return On<AsProcess>(p, false, [&](CEffectProcess& process) -> int32_t {
    auto* realTime = dynamic_cast<CEffectProcessRTAS*>(&process);
    return Put<uint8_t>(answer, realTime && realTime->IsBypassed() ? 1 : 0);
  });
}
int32_t HOSTABI_CALL ProcessEditorView(void* p, void** view) {
  return On<AsProcess>(p, false, [&](CEffectProcess& process) {
    return Put<void*>(view, static_cast<void*>(process.EditorView()));
  });
}
int32_t HOSTABI_CALL ProcessChunkCount(void* p, int32_t* count) {
  return On<AsProcess>(p, false,
                       [&](CEffectProcess& process) { return process.GetNumChunks(count); });
}
int32_t HOSTABI_CALL ProcessChunkID(void* p, int32_t index, int32_t* id) {
  return On<AsProcess>(p, false,
                       [&](CEffectProcess& process) { return process.GetChunkID(index, id); });
}
int32_t HOSTABI_CALL ProcessChunkName(void* p, int32_t id, SHostString* name) {
  return On<AsProcess>(p, false,
                       [&](CEffectProcess& process) { return process.GetChunkName(id, name); });
}
int32_t HOSTABI_CALL ProcessChunkSize(void* p, int32_t id, int32_t* size) {
  return On<AsProcess>(p, false,
                       [&](CEffectProcess& process) { return process.GetChunkSize(id, size); });
}
int32_t HOSTABI_CALL ProcessGetChunk(void* p, int32_t id, SFicPlugInChunk* chunk) {
  return On<AsProcess>(p, false,
                       [&](CEffectProcess& process) { return process.GetChunk(id, chunk); });
}
int32_t HOSTABI_CALL ProcessSetChunk(void* p, int32_t id, const SFicPlugInChunk* chunk) {
  return On<AsProcess>(p, true,
                       [&](CEffectProcess& process) { return process.SetChunk(id, chunk); });
}
int32_t HOSTABI_CALL ProcessCompareChunk(void* p, int32_t id, const SFicPlugInChunk* chunk,
                                         uint8_t* equal) {
  return On<AsProcess>(
      p, false, [&](CEffectProcess& process) { return process.CompareChunk(id, chunk, equal); });
}
int32_t HOSTABI_CALL ProcessDelay(void* p, int32_t* samples) {
  return On<AsProcess>(p, false,
                       [&](CEffectProcess& process) { return process.GetDelaySamples(samples); });
}
int32_t HOSTABI_CALL ProcessControlApplied(void* p, int32_t index, int32_t value) {
  return On<AsProcess>(
      p, false, [&](CEffectProcess& process) { return process.ControlValueApplied(index, value); });
}
int32_t HOSTABI_CALL ProcessSetControlFromHost(void* p, int32_t index, int32_t value) {
  return On<AsProcess>(p, true, [&](CEffectProcess& process) {
    return process.SetControlValueFromHost(index, value);
  });
}
int32_t HOSTABI_CALL ProcessControlChanged(void* p, int32_t index) {
  return On<AsProcess>(p, false, [&](CEffectProcess& process) {
    process.ControlValueChanged(index);
    return kNoErr;
  });
}
int32_t HOSTABI_CALL ProcessQuery4(void* p, int32_t a, int32_t b, int32_t c, int32_t* answer) {
  return On<AsProcess>(p, false, [&](CEffectProcess& process) {
    return process.QueryFourArguments(a, b, c, answer);
  });
}
int32_t HOSTABI_CALL ProcessTouchControl(void* p, int32_t index) {
  return On<AsProcess>(p, true,
                       [&](CEffectProcess& process) { return process.TouchControl(index); });
}
int32_t HOSTABI_CALL ProcessReleaseControl(void* p, int32_t index) {
  return On<AsProcess>(p, true,
                       [&](CEffectProcess& process) { return process.ReleaseControl(index); });
}
int32_t HOSTABI_CALL ProcessControlUnderMouse(void* p, int32_t x, int32_t y, int32_t* index) {
  return On<AsProcess>(
      p, false, [&](CEffectProcess& process) { return process.GetControlUnderMouse(x, y, index); });
}
int32_t HOSTABI_CALL ProcessSettingsPath(void* p, SHostPath* path) {
  return On<AsProcess>(p, false,
                       [&](CEffectProcess& process) { return process.GetSettingsPath(path); });
}

// ---- Controls ----

template <auto Getter> int32_t HOSTABI_CALL ControlValue(void* c, int32_t* out) {
  return On<AsControl>(
      c, false, [&](CPluginControl& control) { return Put<int32_t>(out, (control.*Getter)()); });
}
int32_t HOSTABI_CALL ControlSetDefault(void* c, int32_t controlValue) {
  return On<AsControl>(c, false, [&](CPluginControl& control) {
    control.SetDefaultFromControlValue(controlValue);
    return kNoErr;
  });
}
int32_t HOSTABI_CALL ControlValueFromText(void* c, const char* text, int32_t* controlValue) {
  return On<AsControl>(c, false, [&](CPluginControl& control) {
    return Put(controlValue, control.ControlValueFromText(text));
  });
}
int32_t HOSTABI_CALL ControlAcceptsChar(void* c, int32_t character, uint8_t* answer) {
  return On<AsControl>(c, false, [&](CPluginControl& control) {
    return Put<uint8_t>(answer, control.AcceptsCharacter(character) ? 1 : 0);
  });
}
int32_t HOSTABI_CALL ControlFittedName(void* c, char* dest, int32_t maxLength) {
  return On<AsControl>(c, false, [&](CPluginControl& control) -> int32_t {
    if (!dest || maxLength < 0) return kErrGeneric;
    control.GetFittedName(dest, maxLength);
    return kNoErr;
  });
}
int32_t HOSTABI_CALL ControlDisplayText(void* c, char* dest, int32_t maxLength,
                                        int32_t controlValue) {
  return On<AsControl>(c, false, [&](CPluginControl& control) -> int32_t {
    if (!dest || maxLength < 0) return kErrGeneric;
    control.GetDisplayText(dest, maxLength, controlValue);
    return kNoErr;
  });
}
int32_t HOSTABI_CALL ControlAutomatable(void* c, uint8_t* answer) {
  return On<AsControl>(c, false, [&](CPluginControl& control) {
    return Put<uint8_t>(answer, control.IsAutomatable() ? 1 : 0);
  });
}

// ---- Views ----

int32_t HOSTABI_CALL ViewSize(void* v, int32_t* width, int32_t* height) {
  return On<AsView>(v, false, [&](IPlugFrameView& view) -> int32_t {
    if (!width || !height) return kErrGeneric;
    *width = view.Width();
    *height = view.Height();
    return kNoErr;
  });
}
int32_t HOSTABI_CALL ViewDraw(void* v, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  return On<AsView>(v, false, [&](IPlugFrameView& view) {
    if (IPlugDigiView* editorView = view.EditorView()) editorView->Draw(left, top, right, bottom);
    return kNoErr;
  });
}

struct Entry {
  uint32_t selector;
  void* routine;
};

template <typename R, typename... A> void* Address(R(HOSTABI_CALL* f)(A...)) {
  return reinterpret_cast<void*>(f);
}

const std::array<void*, sel::kSelectorLimit>& Table() {
  static const std::array<void*, sel::kSelectorLimit> table = [] {
    const Entry entries[] = {
        {sel::kModuleGroup, Address(&ModuleGroupRoutine)},
        {sel::kGroupTypeCount, Address(&GroupTypeCount)},
        {sel::kGroupManufacturerName, Address(&GroupManufacturerName)},
        {sel::kGroupProductName, Address(&GroupProductName)},
        {sel::kGroupTypeByIndex, Address(&GroupTypeByIndex)},
        {sel::kGroupCapability, Address(&GroupCapability)},
        {sel::kGroupFindType, Address(&GroupFindType)},
        {sel::kGroupControlNameForType, Address(&GroupControlNameForType)},
        {sel::kGroupCreateProcess, Address(&GroupCreateProcess)},
        {sel::kGroupDestroyProcess, Address(&GroupDestroyProcess)},
        {sel::kGroupProcessCount, Address(&GroupProcessCount)},
        {sel::kGroupEnterHostClient, Address(&GroupEnterHostClient)},
        {sel::kGroupLeaveHostClient, Address(&GroupLeaveHostClient)},
        {sel::kGroupGiveHostATurn, Address(&GroupGiveHostATurn)},
        {sel::kGroupSetInterfaceVersion, Address(&GroupSetInterfaceVersion)},
        {sel::kGroupSettingsPath, Address(&GroupSettingsPath)},
        {sel::kGroupManufacturerID, Address(&GroupManufacturerID)},
        {sel::kTypeID, Address(&TypeValue<&CEffectType::TypeID>)},
        {sel::kTypeProductID, Address(&TypeValue<&CEffectType::ProductID>)},
        {sel::kTypeCategory, Address(&TypeValue<&CEffectType::Category>)},
        {sel::kTypeInputStem, Address(&TypeValue<&CEffectType::InputStemFormat>)},
        {sel::kTypeOutputStem, Address(&TypeValue<&CEffectType::OutputStemFormat>)},
        {sel::kTypeInputChannels, Address(&TypeValue<&CEffectType::InputChannels>)},
        {sel::kTypeOutputChannels, Address(&TypeValue<&CEffectType::OutputChannels>)},
        {sel::kTypeCapability, Address(&TypeCapability)},
        {sel::kTypeName, Address(&TypeName)},
        {sel::kTypeHasFeature, Address(&TypeHasFeature)},
        {sel::kTypeControlName, Address(&TypeControlName)},
        {sel::kTypeProcessCount, Address(&TypeProcessCount)},
        {sel::kProcessEditorRect, Address(&ProcessEditorRect)},
        {sel::kProcessSetEditorWindow, Address(&ProcessSetEditorWindow)},
        {sel::kProcessExtraInputConnected, Address(&ProcessExtraInputConnected)},
        {sel::kProcessExtraInputDisconnected, Address(&ProcessExtraInputDisconnected)},
        {sel::kProcessControlAutomatable, Address(&ProcessControlAutomatable)},
        {sel::kProcessControlCount, Address(&ProcessControlCount)},
        {sel::kProcessControl, Address(&ProcessControl)},
        {sel::kProcessConnect, Address(&ProcessConnect)},
        {sel::kProcessMasterBypassIndex, Address(&ProcessValue<&CProcess::MasterBypassIndex>)},
        {sel::kProcessStateChangeCount, Address(&ProcessValue<&CProcess::StateChangeCounter>)},
        {sel::kProcessInputCount, Address(&ProcessValue<&CProcess::InputCount>)},
        {sel::kProcessOutputCount, Address(&ProcessValue<&CProcess::OutputCount>)},
        {sel::kProcessGetControlValue, Address(&ProcessGetControlValue)},
        {sel::kProcessSetControlValue, Address(&ProcessSetControlValue)},
        {sel::kProcessSampleRate, Address(&ProcessValue<&CProcess::SampleRate>)},
        {sel::kProcessControlDefault, Address(&ProcessControlDefault)},
        {sel::kProcessID, Address(&ProcessValue<&CProcess::ProcessID>)},
        {sel::kProcessIsBypassed, Address(&ProcessIsBypassed)},
        {sel::kProcessEditorView, Address(&ProcessEditorView)},
        {sel::kProcessChunkCount, Address(&ProcessChunkCount)},
        {sel::kProcessChunkID, Address(&ProcessChunkID)},
        {sel::kProcessChunkName, Address(&ProcessChunkName)},
        {sel::kProcessChunkSize, Address(&ProcessChunkSize)},
        {sel::kProcessGetChunk, Address(&ProcessGetChunk)},
        {sel::kProcessSetChunk, Address(&ProcessSetChunk)},
        {sel::kProcessCompareChunk, Address(&ProcessCompareChunk)},
        {sel::kProcessDelay, Address(&ProcessDelay)},
        {sel::kProcessControlApplied, Address(&ProcessControlApplied)},
        {sel::kProcessSetControlFromHost, Address(&ProcessSetControlFromHost)},
        {sel::kProcessControlChanged, Address(&ProcessControlChanged)},
        {sel::kProcessQuery4, Address(&ProcessQuery4)},
        {sel::kProcessTouchControl, Address(&ProcessTouchControl)},
        {sel::kProcessReleaseControl, Address(&ProcessReleaseControl)},
        {sel::kProcessControlUnderMouse, Address(&ProcessControlUnderMouse)},
        {sel::kProcessSettingsPath, Address(&ProcessSettingsPath)},
        {sel::kControlID, Address(&ControlValue<&CPluginControl::GetControlID>)},
        {sel::kControlDefault, Address(&ControlValue<&CPluginControl::GetDefaultControlValue>)},
        {sel::kControlSetDefault, Address(&ControlSetDefault)},
        {sel::kControlStepCount, Address(&ControlValue<&CPluginControl::GetStepCount>)},
        {sel::kControlValueFromText, Address(&ControlValueFromText)},
        {sel::kControlAcceptsChar, Address(&ControlAcceptsChar)},
        {sel::kControlFittedName, Address(&ControlFittedName)},
        {sel::kControlHint1, Address(&ControlValue<&CPluginControl::ControlHint1>)},
        {sel::kControlHint2, Address(&ControlValue<&CPluginControl::ControlHint2>)},
        {sel::kControlIsContinuous, Address(&ControlValue<&CPluginControl::IsContinuous>)},
        {sel::kControlDisplayText, Address(&ControlDisplayText)},
        {sel::kControlAutomatable, Address(&ControlAutomatable)},
        {sel::kControlValue, Address(&ControlValue<&CPluginControl::GetControlValue>)},
        {sel::kViewSize, Address(&ViewSize)},
        {sel::kViewDraw, Address(&ViewDraw)},
    };
    std::array<void*, sel::kSelectorLimit> t{};
    for (const Entry& e : entries)
      t[e.selector] = e.routine;
    return t;
  }();
  return table;
}

} // namespace
} // namespace tavo

extern "C" int32_t HOSTABI_CALL _PI_GetRoutineDescriptor(uint32_t selector, void** routine) {
  if (routine) *routine = nullptr;
  if (selector >= hostabi::selector::kSelectorLimit) return hostabi::kErrUndefinedSelector;
  void* found = tavo::Table()[selector];
  if (!found) return hostabi::kErrUndefinedSelector;
  if (routine) *routine = found;
  return hostabi::kNoErr;
}
