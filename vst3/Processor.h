#pragma once
// The object a host creates as TAVO's "Audio Module Class": the component (buses, activation,
// state) and the audio processor, answering IComponent, IAudioProcessor and
// IProcessContextRequirements through one object, and IConnectionPoint for the controller's
// level requests (vst3/LevelMessages.h). It owns the processor's TAVO instance from the
// first initialize to the last terminate.
//
// Threads: process and setProcessing run on the audio thread; everything else on the host's main
// thread, state restores possibly while process runs (the instance's processing lock keeps them
// apart). Buses: one audio input and one audio output, stereo by default, mono on request; any
// other arrangement is refused.

#include <memory>

#include "vst3/LevelMessages.h"
#include "vst3/RefCounted.h"
#include "vst3/TAVOVST3.h"
#include "vst3/abi/Processing.h"

namespace tavo::vst3 {

class Processor final : public IComponent,
                        public IAudioProcessor,
                        public IProcessContextRequirements,
                        public IConnectionPoint {
public:
  Processor() = default;

  // ---- FUnknown [any thread] ----
  tresult TAVO_VST3_CALL queryInterface(const TUID iid, void** obj) override;
  uint32_t TAVO_VST3_CALL addRef() override { return refs_.Add(); }
  uint32_t TAVO_VST3_CALL release() override;

  // ---- IPluginBase [main thread] ----
  // Counted: the first call creates the instance, repeats answer kResultOk, and the matching
  // last terminate deletes it.
  tresult TAVO_VST3_CALL initialize(FUnknown* context) override;
  tresult TAVO_VST3_CALL terminate() override;

  // ---- IComponent [main thread] ----
  tresult TAVO_VST3_CALL getControllerClassId(TUID classId) override;
  tresult TAVO_VST3_CALL setIoMode(int32_t mode) override;
  int32_t TAVO_VST3_CALL getBusCount(int32_t type, int32_t dir) override;
  tresult TAVO_VST3_CALL getBusInfo(int32_t type, int32_t dir, int32_t index,
                                    BusInfo& bus) override;
  tresult TAVO_VST3_CALL getRoutingInfo(RoutingInfo& inInfo, RoutingInfo& outInfo) override;
  tresult TAVO_VST3_CALL activateBus(int32_t type, int32_t dir, int32_t index,
                                     TBool state) override;
  // [main thread · takes the processing lock] Activation starts from a fresh history.
  tresult TAVO_VST3_CALL setActive(TBool state) override;
  // [main thread, or any thread but audio · takes the processing lock]
  tresult TAVO_VST3_CALL setState(IBStream* state) override;
  tresult TAVO_VST3_CALL getState(IBStream* state) override;

  // ---- IAudioProcessor ----
  // [main thread · inactive] 1 → 1 mono or stereo; anything else answers kResultFalse and
  // leaves the arrangement as it was.
  tresult TAVO_VST3_CALL setBusArrangements(SpeakerArrangement* inputs, int32_t numIns,
                                            SpeakerArrangement* outputs, int32_t numOuts) override;
  tresult TAVO_VST3_CALL getBusArrangement(int32_t dir, int32_t index,
                                           SpeakerArrangement& arr) override;
  tresult TAVO_VST3_CALL canProcessSampleSize(int32_t symbolicSampleSize) override;
  uint32_t TAVO_VST3_CALL getLatencySamples() override;
  uint32_t TAVO_VST3_CALL getTailSamples() override { return kNoTail; }
  // [main thread · inactive]
  tresult TAVO_VST3_CALL setupProcessing(ProcessSetup& setup) override;
  // [audio or main thread · no allocation]
  tresult TAVO_VST3_CALL setProcessing(TBool state) override;
  // [audio thread · takes the processing lock · no allocation]
  tresult TAVO_VST3_CALL process(ProcessData& data) override;

  // ---- IProcessContextRequirements: TAVO needs no transport information ----
  uint32_t TAVO_VST3_CALL getProcessContextRequirements() override { return 0; }

  // ---- IConnectionPoint [main thread] ----
  tresult TAVO_VST3_CALL connect(IConnectionPoint* other) override {
    return connection_.Connect(other);
  }
  tresult TAVO_VST3_CALL disconnect(IConnectionPoint* other) override {
    return connection_.Disconnect(other);
  }
  // A level request is answered with the needle's position the audio thread last set.
  tresult TAVO_VST3_CALL notify(IMessage* message) override;

private:
  ~Processor();

  RefCount refs_;
  int initialized_ = 0;
  bool active_ = false;
  std::unique_ptr<TAVOVST3> plug_;
  Connection connection_;
};

} // namespace tavo::vst3
