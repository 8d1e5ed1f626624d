#pragma once
// The object a host creates as TAVO's "Component Controller Class": parameter descriptions,
// values, texts, the component handler and the editor's view, whose needle follows the level the
// processor answers to its requests (IConnectionPoint, vst3/LevelMessages.h). It owns a TAVO
// instance of its own (never the processor's) from the first initialize to the last terminate; its
// values follow the processor through the component state and the host's setParamNormalized.
//
// Threads: every call on the host's main thread. Parameter identifiers are the parameter indices,
// fixed forever.

#include <memory>

#include "vst3/EditorView.h"
#include "vst3/LevelMessages.h"
#include "vst3/RefCounted.h"
#include "vst3/TAVOVST3.h"
#include "vst3/abi/Controller.h"

namespace tavo::vst3 {

class Controller final : public IEditController, public IConnectionPoint, public ViewTicks {
public:
  Controller() = default;

  // ---- FUnknown [any thread] ----
  tresult TAVO_VST3_CALL queryInterface(const TUID iid, void** obj) override;
  uint32_t TAVO_VST3_CALL addRef() override { return refs_.Add(); }
  uint32_t TAVO_VST3_CALL release() override;

  // ---- IPluginBase [main thread] ---- counted, as the processor's.
  tresult TAVO_VST3_CALL initialize(FUnknown* context) override;
  tresult TAVO_VST3_CALL terminate() override;

  // ---- IEditController [main thread] ----
  // [takes the instance's processing lock] The processor's state: the same bytes, refused
  // as the processor refuses them.
  tresult TAVO_VST3_CALL setComponentState(IBStream* state) override;
  // The controller keeps nothing of its own: its state is empty.
  tresult TAVO_VST3_CALL setState(IBStream* state) override;
  tresult TAVO_VST3_CALL getState(IBStream* state) override;
  int32_t TAVO_VST3_CALL getParameterCount() override;
  tresult TAVO_VST3_CALL getParameterInfo(int32_t paramIndex, ParameterInfo& info) override;
  tresult TAVO_VST3_CALL getParamStringByValue(ParamID id, double valueNormalized,
                                               String128 string) override;
  tresult TAVO_VST3_CALL getParamValueByString(ParamID id, char16_t* string,
                                               double& valueNormalized) override;
  double TAVO_VST3_CALL normalizedParamToPlain(ParamID id, double valueNormalized) override;
  double TAVO_VST3_CALL plainParamToNormalized(ParamID id, double plainValue) override;
  double TAVO_VST3_CALL getParamNormalized(ParamID id) override;
  tresult TAVO_VST3_CALL setParamNormalized(ParamID id, double value) override;
  // Keeps a reference to the handler until it is replaced, cleared or the last terminate.
  tresult TAVO_VST3_CALL setComponentHandler(IComponentHandler* handler) override;
  // The editor's view over this controller's instance ("editor" only); it must go before the
  // controller's last terminate, as hosts release it.
  IPlugView* TAVO_VST3_CALL createView(const char* name) override;

  // ---- IConnectionPoint [main thread] ----
  tresult TAVO_VST3_CALL connect(IConnectionPoint* other) override {
    return connection_.Connect(other);
  }
  tresult TAVO_VST3_CALL disconnect(IConnectionPoint* other) override {
    return connection_.Disconnect(other);
  }
  // The processor's level moves the needle.
  tresult TAVO_VST3_CALL notify(IMessage* message) override;

  // [main thread] An open view's tick: ask the processor for its level.
  void OnViewTick() override;

private:
  ~Controller();
  const IParameter* ParamOf(ParamID id) const;

  RefCount refs_;
  int initialized_ = 0;
  std::unique_ptr<TAVOVST3> plug_;
  IComponentHandler* handler_ = nullptr;
  Connection connection_;
};

} // namespace tavo::vst3
