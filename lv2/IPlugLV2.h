#pragma once
// The plug-in base for LV2 hosts. The effect derives from it (TAVOPlug<IPlugLV2>, lv2/TAVOLV2.h);
// the host reaches it through the descriptor's functions, which hand on instantiation, the port
// connections, run and the state interface.
//
// How the host's threads meet: Run (the host's audio thread) holds the processing lock for the
// whole block, from reading the control ports to the last converted sample. State save and
// restore (the host's main thread, possibly while audio runs) take the same lock inside
// SerializeParams and UnserializeParams, so a block never sees a half-restored state. Port
// connections only store pointers; a host never connects a port while the instance runs.
// Parameters reach the effect through SetParameterFromHost, as host automation does, and only
// when a control port's value changed, so a restored state stands until the host moves a port.

#include <lv2/state/state.h>

#include <array>
#include <vector>

#include "framework/IPlugBase.h"
#include "graphics/IControl.h"
#include "lv2/HostFeatures.h"
#include "lv2/PortLayout.h"

namespace tavo {

class IPlugLV2 : public IPlugBase {
public:
  static constexpr int kInitialBlockSize = 1024;
  // A host announcing longer blocks gets them processed in pieces of this size: the scratch
  // buffers never follow an announcement without bound.
  static constexpr int kLargestScratch = 8192;

  // [main thread] The base's arguments, without the interface kind.
  IPlugLV2(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
           const char* productName, const char* makerName, int effectVersion, int uniqueID,
           int makerID, int latency, int ignored = 0, bool stateIsOpaque = false,
           bool spareFlag = false);
  ~IPlugLV2() override = default;

  // [main thread · allocates] What instantiation hands on: the channel count of the plug-in the
  // host chose (1 or 2), the sample rate and the host's features. The effect hears every
  // parameter at its default, so an instance whose control ports are never connected runs at the
  // defaults its description states. False when the rate is not a positive finite number or the
  // channel count is not one of the plug-in's.
  bool Configure(int channels, double sampleRate, const LV2_Feature* const* features);
  // [main thread] The parameter the host's enable control drives, with the sense inverted (the
  // control on means the parameter off), and the editor control whose position the level port
  // reports.
  void SetEnableParam(int paramIdx) { enableParam_ = paramIdx; }
  void SetLevelControl(const IControl* control) { levelControl_ = control; }

  const lv2::PortLayout& Layout() const { return layout_; }

  // Where the editor's gestures and values go when this instance stands behind the plug-in's LV2
  // UI: there the editor changes a parameter, and the UI writes its control port to the host.
  class HostEditSink {
  public:
    virtual ~HostEditSink() = default;
    virtual void Gesture(uint32_t port, bool begin) = 0;
    virtual void WritePort(uint32_t port, float value) = 0;
  };
  // [UI thread] Not owned; null detaches it.
  void SetHostEditSink(HostEditSink* sink) { sink_ = sink; }
  // [UI thread · takes the processing lock] A control port's value as the host reports it: the
  // parameter and the editor's controls follow, and nothing is written back. A NaN or a port
  // that carries no parameter changes nothing.
  void TakePortValue(uint32_t port, float value);
  // The value parameter i's control port carries for the parameter's current value.
  float PortValueOf(int paramIdx) const;
  const lv2::HostFeatures& Host() const { return host_; }

  // [audio thread · between runs] Stores the port's buffer; an unknown port is ignored.
  void ConnectPort(uint32_t port, void* data);
  // [main thread · takes the processing lock] The host starts running the instance, at first or
  // after a deactivation: whatever it played before is forgotten (ClearHistory), as LV2 asks.
  void Activate() { ClearHistory(); }
  // [audio thread · takes the processing lock · no allocation] One block of any length: control
  // ports first (a NaN leaves its parameter as it was), then the audio, then the latency and
  // level ports. A block of 0 frames only takes the controls.
  void Run(uint32_t frames);

  // [main thread · takes the processing lock] The state chunk, one double per parameter, under
  // the state key as an atom:Chunk. Without a map that names both, nothing is stored.
  LV2_State_Status SaveStateTo(LV2_State_Store_Function store, LV2_State_Handle handle);
  // [main thread · takes the processing lock] A chunk of the wrong type or size, or with a value
  // that is not a finite number, is refused: the instance stays as it was and the host's log
  // hears why. A state without the chunk (port values only) leaves the instance to its ports.
  LV2_State_Status RestoreStateFrom(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle);

  // ---- IPlugBase operations that reach the host: through the UI's sink when there is one; the
  // DSP instance has no path to its host and drops them. The rest of the host side keeps the
  // base's defaults. ----
  void BeginHostEdit(int paramIdx) override;
  void SendParamToHost(int paramIdx, double normalized) override;
  void EndHostEdit(int paramIdx) override;

private:
  void TakeControlPorts();
  double PlainFromPort(int paramIdx, float value) const;
  void WriteOutputPorts();

  lv2::PortLayout layout_{1, 0};
  lv2::HostFeatures host_;
  int enableParam_ = -1;
  const IControl* levelControl_ = nullptr;
  std::array<const float*, 2> audioIn_{};
  std::array<float*, 2> audioOut_{};
  std::vector<const float*> paramPorts_; // one per parameter
  std::vector<float> lastPortValues_;    // what each control port held at the last run
  float* latencyPort_ = nullptr;
  float* levelPort_ = nullptr;
  HostEditSink* sink_ = nullptr;
};

} // namespace tavo
