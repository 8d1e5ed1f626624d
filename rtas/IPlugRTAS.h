#pragma once
// The plug-in base for the real-time host interface. The effect derives from it; the process
// adaptor that stands for the instance towards the host hands itself over as the plug-in's
// ProcessInterface, through which parameter gestures and values reach the host and the host's
// transport reaches the plug-in. Until then (or in a bare test) the process is null and the
// host-bound operations do nothing.

#include <cstdint>

#include "framework/IPlugBase.h"
#include "rtas/ProcessInterface.h"

namespace tavo {

class IPlugRTAS : public IPlugBase {
public:
  static constexpr int kInitialBlockSize = 1024;

  // [main thread] The base's arguments, without the interface kind (always the real-time one).
  // Creates the latency delay, connects every channel and sizes the scratch buffers. A host
  // moving a control reaches the plug-in through the base's SetParameterFromHost.
  IPlugRTAS(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
            const char* productName, const char* makerName, int effectVersion, int uniqueID,
            int makerID, int latency, int ignored = 0, bool stateIsOpaque = false,
            bool spareFlag = false);
  ~IPlugRTAS() override = default;

  // [main thread] The adaptor hands itself over: presets without content are dropped, the block
  // size follows the host's largest block, and the effect hears OnHostAttached.
  void AttachProcess(ProcessInterface* process);
  ProcessInterface* Process() const { return process_; }

  // [main thread · processing lock not needed] A changed extra input clears the scratch buffers.
  void SetExtraInputConnected(uint8_t connected);
  uint8_t ExtraInputConnected() const { return extraInputConnected_; }

  // ---- IPlugBase operations that reach the host ----
  void BeginHostEdit(int paramIdx) override;
  void SendParamToHost(int paramIdx, double normalized) override;
  void EndHostEdit(int paramIdx) override;
  void SendAllParamsToHost() override;
  int SamplePosition() override;
  double Tempo() override;
  void TimeSignature(int* numerator, int* denominator) override;
  void TimeInfo(ITimeInfo* info) override;
  int HostKind() override;
  void ResizeEditor(int width, int height) override;
  bool SendMessageToHost(void*) override { return false; }
  void NotifyStateChanged() override;

private:
  bool ControlExists(int controlIdx) const;

  ProcessInterface* process_ = nullptr; // not owned: the adaptor owns the plug-in
  uint8_t extraInputConnected_ = 0;
};

} // namespace tavo
