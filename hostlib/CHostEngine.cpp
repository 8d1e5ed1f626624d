#include "hostlib/CHostEngine.h"

#include <cstring>

using namespace hostabi;
namespace ex = hostabi::exports;

namespace {
template <typename Fn> Fn Find(CHostEngine::Lookup lookup, const SEngineSymbol& symbol) {
  return reinterpret_cast<Fn>(lookup(symbol));
}
} // namespace

CHostEngine& CHostEngine::Get() {
  static CHostEngine engine;
  return engine;
}

void CHostEngine::Resolve(Lookup lookup) {
  lookup_ = lookup ? lookup : &LookUpEngineSymbol;
  setOpenClose_ = Find<SetOpenCloseProcsFn>(lookup_, ex::kSetOpenCloseProcs);
  gestalt_ = Find<GestaltFn>(lookup_, ex::kGestalt);
  maximumQuantum_ = Find<Int32Fn>(lookup_, ex::kMaximumQuantum);
  version_ = Find<Int32Fn>(lookup_, ex::kGetVersion);
  isAlive_ = Find<Int32Fn>(lookup_, ex::kIsAlive);
  newServer_ = Find<Int32Fn>(lookup_, ex::kNewServer);
  findStandardType_ = Find<FindStandardTypeFn>(lookup_, ex::kFindStandardType);
  newObject_ = Find<NewObjectFn>(lookup_, ex::kNewObject);
  delete_ = Find<HandleFn>(lookup_, ex::kDelete);
  dispatchToken_ = Find<DispatchTokenFn>(lookup_, ex::kDispatchToken);
  unregisterMIDIClient_ = Find<HandleFn>(lookup_, ex::kUnRegisterDirectMIDIClient);
  registerControl_ = Find<RegisterControlFn>(lookup_, ex::kRegisterControl);
  registerProcess_ = Find<RegisterProcessFn>(lookup_, ex::kRegisterProcess);
  unregisterProcess_ = Find<HandleFn>(lookup_, ex::kUnregisterProcess);
  newRenderInstance_ = Find<NewRenderInstanceFn>(lookup_, ex::kNewRenderInstance);
  startRenderInstance_ = Find<RenderInstanceFn>(lookup_, ex::kStartRenderInstance);
  deleteRenderInstance_ = Find<RenderInstanceFn>(lookup_, ex::kDeleteRenderInstance);
  getTransport_ = Find<GetTransportFn>(lookup_, ex::kGetTransport);
  locationToTicks_ = Find<LocationToTicksFn>(lookup_, ex::kLocationToTicks);
  nativeWindow_ = Find<NativeWindowFn>(lookup_, ex::kNativeWindow);
  idle_ = Find<IdleFn>(lookup_, ex::kIdle);
  getKeyMap_ = Find<GetKeyMapFn>(lookup_, ex::kGetKeyMap);
  openResourceFile_ = Find<OpenResourceFileFn>(lookup_, ex::kOpenResourceFile);
  closeResourceFile_ = Find<CloseResourceFileFn>(lookup_, ex::kCloseResourceFile);
  currentResourceFile_ = Find<CurrentResourceFileFn>(lookup_, ex::kCurrentResourceFile);
  useResourceFile_ = Find<UseResourceFileFn>(lookup_, ex::kUseResourceFile);
  initSADriver_ = Find<Int32Fn>(lookup_, ex::kInitSADriver);
  getCardList_ = Find<GetCardListFn>(lookup_, ex::kGetCardList);
  getDSPList_ = Find<GetDSPListFn>(lookup_, ex::kGetDSPList);
  managerVersion_ = Find<ManagerVersionFn>(lookup_, ex::kManagerVersion);
  managerDefaultClient_ = Find<ManagerDefaultClientFn>(lookup_, ex::kManagerDefaultClient);
  managerRegisterClient_ = Find<ManagerRegisterClientFn>(lookup_, ex::kManagerRegisterClient);
  managerUnregisterClient_ = Find<ManagerUnregisterClientFn>(lookup_, ex::kManagerUnregisterClient);
  managerSetClientActive_ = Find<ManagerSetClientActiveFn>(lookup_, ex::kManagerSetClientActive);
}

bool CHostEngine::Has(const SEngineSymbol& symbol) const {
  return lookup_(symbol) != nullptr;
}

bool CHostEngine::SetOpenAndCloseProcs(ModuleProc open, ModuleProc close) const {
  if (!setOpenClose_) return false;
  setOpenClose_(open, close);
  return true;
}

int32_t CHostEngine::Gestalt(int32_t selector, int32_t* answer) const {
  return gestalt_ ? gestalt_(selector, answer) : kErrGeneric;
}

int32_t CHostEngine::MaximumQuantum() const {
  return maximumQuantum_ ? maximumQuantum_() : 0;
}
int32_t CHostEngine::Version() const {
  return version_ ? (version_() & 0xFFFF) : 0;
}
bool CHostEngine::IsAlive() const {
  return isAlive_ && isAlive_() != 0;
}
int32_t CHostEngine::NewServer() const {
  return newServer_ ? newServer_() : 0;
}

int32_t CHostEngine::FindStandardType(int32_t server, int32_t standardType) const {
  return findStandardType_ ? findStandardType_(server, standardType) : 0;
}

int32_t CHostEngine::NewObject(int32_t server, int32_t type) const {
  return newObject_ ? newObject_(server, type) : 0;
}

int32_t CHostEngine::Delete(int32_t handle) const {
  return delete_ ? delete_(handle) : kErrGeneric;
}

int32_t CHostEngine::DispatchToken(const void* record) const {
  return dispatchToken_ ? dispatchToken_(record) : kErrGeneric;
}

int32_t CHostEngine::UnRegisterDirectMIDIClient(int32_t client) const {
  return unregisterMIDIClient_ ? unregisterMIDIClient_(client) : 0;
}

int32_t CHostEngine::RegisterControl(int32_t tokenObject, int32_t controlID,
                                     int32_t* hostControlID) const {
  return registerControl_ ? registerControl_(tokenObject, controlID, hostControlID) : kErrGeneric;
}

int32_t CHostEngine::RegisterProcess(int32_t tokenObject, const int32_t* hostControlIDs,
                                     int32_t count, int32_t* processID) const {
  return registerProcess_ ? registerProcess_(tokenObject, hostControlIDs, count, processID)
                          : kErrGeneric;
}

int32_t CHostEngine::UnregisterProcess(int32_t processID) const {
  return unregisterProcess_ ? unregisterProcess_(processID) : kErrGeneric;
}

int32_t CHostEngine::NewRenderInstance(RenderCallback callback, void* owner, int32_t inputs,
                                       int32_t outputs, SRenderInstance** instance) const {
  return newRenderInstance_ ? newRenderInstance_(callback, owner, inputs, outputs, instance)
                            : kErrGeneric;
}

int32_t CHostEngine::StartRenderInstance(SRenderInstance* instance) const {
  return startRenderInstance_ ? startRenderInstance_(instance) : kErrGeneric;
}

int32_t CHostEngine::DeleteRenderInstance(SRenderInstance* instance) const {
  return deleteRenderInstance_ ? deleteRenderInstance_(instance) : kErrGeneric;
}

int32_t CHostEngine::GetTransport(const SRenderInstance* instance, STransportState* state) const {
  return getTransport_ ? getTransport_(instance, state) : kErrGeneric;
}

int32_t CHostEngine::LocationToTicks(const SRenderInstance* instance, int64_t location,
                                     int64_t* ticks) const {
  return locationToTicks_ ? locationToTicks_(instance, location, ticks) : kErrGeneric;
}

void* CHostEngine::NativeWindow(void* hostWindow) const {
  return nativeWindow_ ? nativeWindow_(hostWindow) : nullptr;
}

int32_t CHostEngine::Idle() const {
  return idle_ ? idle_() : 0;
}

void CHostEngine::GetKeyMap(uint8_t map[16]) const {
  if (!map) return;
  std::memset(map, 0, 16);
  if (getKeyMap_) getKeyMap_(map);
}

int16_t CHostEngine::OpenResourceFile(const char* path, SwapResourceProc swap) const {
  return openResourceFile_ ? openResourceFile_(path, swap) : int16_t{-1};
}

int16_t CHostEngine::CloseResourceFile(const char* path) const {
  return closeResourceFile_ ? closeResourceFile_(path) : int16_t{-1};
}

int16_t CHostEngine::CurrentResourceFile() const {
  return currentResourceFile_ ? currentResourceFile_() : int16_t{0};
}

void CHostEngine::UseResourceFile(int16_t file) const {
  if (useResourceFile_) useResourceFile_(file);
}

int32_t CHostEngine::InitSADriver() const {
  return initSADriver_ ? initSADriver_() : 0;
}

int32_t CHostEngine::GetCardList(SCardList* list) const {
  if (!list) return kErrGeneric;
  list->count = 0;
  return getCardList_ ? getCardList_(list) : 0;
}

int32_t CHostEngine::GetDSPList(SDSPList* list) const {
  if (!list) return kErrGeneric;
  list->count = 0;
  return getDSPList_ ? getDSPList_(list) : 0;
}

int32_t CHostEngine::ManagerVersion(int32_t manager) const {
  return managerVersion_ ? managerVersion_(manager) : 0;
}

int32_t CHostEngine::ManagerDefaultClient(int32_t manager) const {
  return managerDefaultClient_ ? managerDefaultClient_(manager) : 0;
}

int32_t CHostEngine::ManagerRegisterClient(int32_t manager, const char* name) const {
  return managerRegisterClient_ ? managerRegisterClient_(manager, name) : 0;
}

int32_t CHostEngine::ManagerUnregisterClient(int32_t manager, int32_t client) const {
  return managerUnregisterClient_ ? managerUnregisterClient_(manager, client) : 0;
}

int32_t CHostEngine::ManagerSetClientActive(int32_t manager, int32_t client, bool active) const {
  return managerSetClientActive_ ? managerSetClientActive_(manager, client, active ? 1 : 0) : 0;
}
