#include "host/driver/HostModule.h"

#include <algorithm>

#include "host/driver/HostProcess.h"
#include "host/driver/ModuleLibrary.h"
#include "host/engine/StandInControl.h"

namespace tavo::host {

namespace sel = hostabi::selector;

namespace {

std::string FromHostString(const hostabi::SHostString& s) {
  return std::string(s.text, std::min<size_t>(s.length, sizeof s.text));
}

// Host strings are asked for at their longest; the module fits its name variants into that.
constexpr int32_t kLongestName = static_cast<int32_t>(sizeof(hostabi::SHostString::text));

} // namespace

int32_t HostModule::Load(const std::string& file, std::unique_ptr<HostModule>& out,
                         std::string* detail) {
  out.reset();
  std::unique_ptr<HostModule> m(new HostModule);
  m->file_ = file;
  // The engine stand-ins are already in the process: the module's load step hands them its
  // open and close procedures.
  std::string error;
  m->library_ = OpenModuleLibrary(file, &error);
  if (!m->library_) {
    if (detail) *detail = error;
    return kErrModuleFile;
  }
  auto find = [&](const char* name) { return ModuleLibrarySymbol(m->library_, name); };
  m->newPlugIn_ = reinterpret_cast<NewPlugInFn>(find("NewPlugIn"));
  m->winOpen_ = reinterpret_cast<WinPlugInOpenFn>(find("WinPlugInOpen"));
  m->winClose_ = reinterpret_cast<WinPlugInCloseFn>(find("WinPlugInClose"));
  m->getRoutine_ = reinterpret_cast<GetRoutineFn>(find("_PI_GetRoutineDescriptor"));
  if (!m->newPlugIn_ || !m->winOpen_ || !m->winClose_ || !m->getRoutine_) {
    if (detail) *detail = file + " does not export the four entry points of a module";
    return kErrModuleExports;
  }

  // The procedures handed over at load are the engine's way in; a module loaded earlier in this
  // process (so not loaded again) may not have handed any to this engine, and is opened the
  // way a host without them opens it.
  int32_t status = hostabi::kNoErr;
  const hostabi::ModuleProc open = standin::RegisteredOpenProc();
  if (open && standin::RegisteredCloseProc()) {
    m->close_ = standin::RegisteredCloseProc();
    status = open();
  } else {
    m->openedThroughWinPlugInOpen_ = true;
    status = m->winOpen_(kOpenValue);
  }
  if (status == hostabi::kNoErr)
    status = m->Call(sel::kModuleGroup, nullptr, static_cast<void**>(&m->group_));
  if (status == hostabi::kNoErr && !m->group_) status = kErrModuleNotOpen;
  if (status != hostabi::kNoErr) {
    if (detail) *detail = file + ": " + StatusText(status);
    return status; // the destructor closes and unloads it
  }
  out = std::move(m);
  return hostabi::kNoErr;
}

HostModule::~HostModule() {
  // Processes first, in the order a host tears down: each stops rendering, loses its editor
  // window and is destroyed while the module is still open.
  std::set<HostProcess*> open;
  {
    std::lock_guard guard(processesLock_);
    open.swap(processes_);
  }
  for (HostProcess* p : open)
    p->Close();
  if (getRoutine_) {
    if (openedThroughWinPlugInOpen_)
      winClose_();
    else if (close_)
      close_();
  }
  CloseModuleLibrary(library_);
}

int32_t HostModule::Routine(uint32_t selector, void** routine) const {
  if (!getRoutine_) return kErrModuleExports;
  return getRoutine_(selector, routine);
}

int32_t HostModule::TypeInfoAt(int32_t index, TypeInfo& info) const {
  void* type = nullptr;
  int32_t status = Call(sel::kGroupTypeByIndex, group_, index, &type);
  if (status != 0) return status;
  info = TypeInfo{};
  info.index = index;
  for (auto [selector, field] :
       {std::pair{sel::kTypeID, &info.typeID}, std::pair{sel::kTypeProductID, &info.productID},
        std::pair{sel::kTypeCategory, &info.category},
        std::pair{sel::kTypeInputChannels, &info.inputs},
        std::pair{sel::kTypeOutputChannels, &info.outputs}}) {
    if ((status = Call(selector, type, field)) != 0) return status;
  }
  hostabi::SHostString name{};
  if ((status = Call(sel::kTypeName, type, &name, kLongestName)) != 0) return status;
  info.name = FromHostString(name);
  return hostabi::kNoErr;
}

int32_t HostModule::Types(std::vector<TypeInfo>& types) const {
  types.clear();
  int32_t count = 0;
  if (const int32_t status = Call(sel::kGroupTypeCount, group_, &count); status != 0) return status;
  for (int32_t i = 1; i <= count; ++i) {
    TypeInfo info;
    if (const int32_t status = TypeInfoAt(i, info); status != 0) return status;
    types.push_back(std::move(info));
  }
  return hostabi::kNoErr;
}

int32_t HostModule::Describe(ModuleInfo& info) const {
  info = ModuleInfo{};
  hostabi::SHostString name{};
  int32_t status = Call(sel::kGroupManufacturerName, group_, &name, kLongestName);
  if (status != 0) return status;
  info.manufacturer = FromHostString(name);
  if ((status = Call(sel::kGroupProductName, group_, &name, kLongestName)) != 0) return status;
  info.product = FromHostString(name);
  if ((status = Call(sel::kGroupManufacturerID, group_, &info.manufacturerID)) != 0) return status;
  hostabi::SHostPath path{};
  if ((status = Call(sel::kGroupSettingsPath, group_, &path)) != 0) return status;
  path.text[sizeof path.text - 1] = '\0';
  info.settingsPath = path.text;
  return Types(info.types);
}

int32_t HostModule::CreateProcess(const ProcessOptions& options,
                                  std::unique_ptr<HostProcess>& out) {
  out.reset();
  if (options.sampleRate <= 0 || options.maximumQuantum <= 0 || options.channels <= 0 ||
      options.channels > RenderThread::kMostChannels)
    return kErrBadArgument;
  std::vector<TypeInfo> types;
  if (const int32_t status = Types(types); status != 0) return status;
  const auto type = std::find_if(types.begin(), types.end(), [&](const TypeInfo& t) {
    return t.inputs == options.channels && t.outputs <= RenderThread::kMostChannels;
  });
  if (type == types.end()) return kErrNoSuchType;

  // What the process reads from the engine while it is made: the rate and the quantum.
  standin::SetGestalt(hostabi::kGestaltSampleRate, 0, options.sampleRate);
  standin::SetVariableQuantum(options.variableQuantum);
  standin::SetMaximumQuantum(options.maximumQuantum);

  std::unique_ptr<HostProcess> made(new HostProcess(*this, *type, options));
  int32_t status = Call(sel::kGroupCreateProcess, group_, type->index, int32_t{0}, &made->process_);
  if (status == hostabi::kNoErr && !made->process_) status = hostabi::kErrGeneric;
  if (status != hostabi::kNoErr) {
    made->process_ = nullptr;
    return status;
  }
  {
    std::lock_guard guard(processesLock_);
    processes_.insert(made.get());
  }
  if ((status = made->Connect()) != hostabi::kNoErr) return status; // made closes itself
  if (options.sendDefaults && (status = made->SendDefaults()) != hostabi::kNoErr) return status;
  out = std::move(made);
  return hostabi::kNoErr;
}

void HostModule::Forget(HostProcess* process) {
  std::lock_guard guard(processesLock_);
  processes_.erase(process);
}

} // namespace tavo::host
