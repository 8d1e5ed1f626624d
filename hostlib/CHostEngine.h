#pragma once
// The one place where the module reaches the host's engine libraries. Every function is looked
// up at run time in a library the host has already loaded (the module never loads one itself);
// a function that cannot be found answers the way its callers treat a refusing engine:
//
// - gestalt: a failing status, answer untouched (no variable quantum, no token service, no DSP
//   manager);
// - maximum quantum, version, alive, handles: 0;
// - message dispatch and registrations: the generic failure status;
// - open/close procedures: false (the module opens itself);
// - resource files: −1 for an open, nothing current; native window: null; key map: all up;
// - the DSP driver: started (status 0) with no cards; the DSP manager: version 0, no clients.

#include <cstdint>

#include "hostlib/HostInterface.h"

class CHostEngine {
public:
  using Lookup = void* (*)(const hostabi::SEngineSymbol& symbol);

  // [main thread] The module's engine, resolved on first use.
  static CHostEngine& Get();

  // [main thread · before any rendering · may block] Looks every function up again; with no
  // lookup given, in the libraries the host has loaded. Tests hand their own lookup to take
  // functions away.
  void Resolve(Lookup lookup = nullptr);

  // [main thread] Whether the function was found.
  bool Has(const hostabi::SEngineSymbol& symbol) const;

  // DAE — [main thread]
  bool SetOpenAndCloseProcs(hostabi::ModuleProc open, hostabi::ModuleProc close) const;
  int32_t Gestalt(int32_t selector, int32_t* answer) const;
  int32_t MaximumQuantum() const;
  int32_t Version() const;
  bool IsAlive() const;
  int32_t NewServer() const;
  int32_t FindStandardType(int32_t server, int32_t standardType) const;
  int32_t NewObject(int32_t server, int32_t type) const;
  int32_t Delete(int32_t handle) const;
  int32_t DispatchToken(const void* record) const;
  int32_t UnRegisterDirectMIDIClient(int32_t client) const;
  int32_t RegisterControl(int32_t tokenObject, int32_t controlID, int32_t* hostControlID) const;
  int32_t RegisterProcess(int32_t tokenObject, const int32_t* hostControlIDs, int32_t count,
                          int32_t* processID) const;
  int32_t UnregisterProcess(int32_t processID) const;
  int32_t NewRenderInstance(hostabi::RenderCallback callback, void* owner, int32_t inputs,
                            int32_t outputs, hostabi::SRenderInstance** instance) const;
  int32_t StartRenderInstance(hostabi::SRenderInstance* instance) const;
  int32_t DeleteRenderInstance(hostabi::SRenderInstance* instance) const;
  int32_t GetTransport(const hostabi::SRenderInstance* instance,
                       hostabi::STransportState* state) const;
  int32_t LocationToTicks(const hostabi::SRenderInstance* instance, int64_t location,
                          int64_t* ticks) const;

  // DigiExt — [main thread]
  void* NativeWindow(void* hostWindow) const;
  int32_t Idle() const;
  void GetKeyMap(uint8_t map[16]) const;
  int16_t OpenResourceFile(const char* path, hostabi::SwapResourceProc swap) const;
  int16_t CloseResourceFile(const char* path) const;
  int16_t CurrentResourceFile() const;
  void UseResourceFile(int16_t file) const;

  // DSI — [main thread]
  int32_t InitSADriver() const;
  int32_t GetCardList(hostabi::SCardList* list) const;
  int32_t GetDSPList(hostabi::SDSPList* list) const;

  // DSPManager — [main thread]
  int32_t ManagerVersion(int32_t manager) const;
  int32_t ManagerDefaultClient(int32_t manager) const;
  int32_t ManagerRegisterClient(int32_t manager, const char* name) const;
  int32_t ManagerUnregisterClient(int32_t manager, int32_t client) const;
  int32_t ManagerSetClientActive(int32_t manager, int32_t client, bool active) const;

private:
  CHostEngine() { Resolve(); }

  hostabi::SetOpenCloseProcsFn setOpenClose_ = nullptr;
  hostabi::GestaltFn gestalt_ = nullptr;
  hostabi::Int32Fn maximumQuantum_ = nullptr;
  hostabi::Int32Fn version_ = nullptr;
  hostabi::Int32Fn isAlive_ = nullptr;
  hostabi::Int32Fn newServer_ = nullptr;
  hostabi::FindStandardTypeFn findStandardType_ = nullptr;
  hostabi::NewObjectFn newObject_ = nullptr;
  hostabi::HandleFn delete_ = nullptr;
  hostabi::DispatchTokenFn dispatchToken_ = nullptr;
  hostabi::HandleFn unregisterMIDIClient_ = nullptr;
  hostabi::RegisterControlFn registerControl_ = nullptr;
  hostabi::RegisterProcessFn registerProcess_ = nullptr;
  hostabi::HandleFn unregisterProcess_ = nullptr;
  hostabi::NewRenderInstanceFn newRenderInstance_ = nullptr;
  hostabi::RenderInstanceFn startRenderInstance_ = nullptr;
  hostabi::RenderInstanceFn deleteRenderInstance_ = nullptr;
  hostabi::GetTransportFn getTransport_ = nullptr;
  hostabi::LocationToTicksFn locationToTicks_ = nullptr;
  hostabi::NativeWindowFn nativeWindow_ = nullptr;
  hostabi::IdleFn idle_ = nullptr;
  hostabi::GetKeyMapFn getKeyMap_ = nullptr;
  hostabi::OpenResourceFileFn openResourceFile_ = nullptr;
  hostabi::CloseResourceFileFn closeResourceFile_ = nullptr;
  hostabi::CurrentResourceFileFn currentResourceFile_ = nullptr;
  hostabi::UseResourceFileFn useResourceFile_ = nullptr;
  hostabi::Int32Fn initSADriver_ = nullptr;
  hostabi::GetCardListFn getCardList_ = nullptr;
  hostabi::GetDSPListFn getDSPList_ = nullptr;
  hostabi::ManagerVersionFn managerVersion_ = nullptr;
  hostabi::ManagerDefaultClientFn managerDefaultClient_ = nullptr;
  hostabi::ManagerRegisterClientFn managerRegisterClient_ = nullptr;
  hostabi::ManagerUnregisterClientFn managerUnregisterClient_ = nullptr;
  hostabi::ManagerSetClientActiveFn managerSetClientActive_ = nullptr;
  Lookup lookup_ = nullptr;
};

// [main thread] The platform's way of finding an engine function in the loaded libraries.
void* LookUpEngineSymbol(const hostabi::SEngineSymbol& symbol);
