#pragma once
// The effect: one instance per inserted plug-in. Eight parameters shape a 2× oversampled
// asymmetric saturator with its trim, crosstalk, output compensation, bypass crossfade, noise
// floor and start-up ramp; a VU needle in the editor shows input, output or their RMS difference.
//
// The effect is written once, over the plug-in base its format supplies: TAVOCore holds the
// sound, the parameters and the needle; TAVOPlug<PlugFormat> is the plug-in class, derived from
// the format's base (IPlugRTAS in the module, IPlugWithoutHost here and in the effect's tests),
// and hands TAVOCore every call the base receives. A format's base takes IPlugRTAS's
// constructor arguments.

#include <memory>
#include <mutex>

#include "effect/DriftSeeds.h"
#include "effect/SignalChain.h"
#include "effect/TAVODescriptor.h"
#include "effect/TAVOEditor.h"
#include "framework/IPlugBase.h"
#include "framework/IPlugWithoutHost.h"

namespace tavo {

class TAVOCore : public TAVOParams {
public:
  // [main thread] The chain drifts from this instance's own seed (effect/DriftSeeds.h).
  TAVOCore() : chain_(driftSeed_.Seed()) {}

  // [main thread] Names, ranges, defaults, units and display texts of the parameters.
  static void DefineParameters(IPlugBase& plug);

  // [main thread · takes the processing lock]
  void Reset(IPlugBase& plug);
  // [main thread · takes the processing lock] The chain starts over as a new instance's at the
  // current sample rate; the settings stay.
  void ClearHistory(IPlugBase& plug);
  // [any thread · takes the processing lock] Input Trim, Output Compensation and Bypass are
  // turned into the chain's gains here; every other parameter is read afresh at each block.
  void ParamChanged(IPlugBase& plug, int paramIdx);
  // [audio thread · processing lock held · no allocation] One block through the chain; the
  // needle follows.
  void ProcessDouble(IPlugBase& plug, double** inputs, double** outputs, int frames);

  // [main thread] See TAVOPlug::GiveBackDriftSeed.
  void GiveBackDriftSeed() { driftSeed_.GiveBack(); }

  const SignalChain& Chain() const { return chain_; }
  int MeterControl() const { return meterControl_; }
  int* MeterControlSlot() { return &meterControl_; } // filled in by the editor's builder

private:
  friend struct DriftTestAccess; // tests/support: instances that must render alike share a seed

  DriftSeedPlace driftSeed_; // held for the instance's lifetime; before the chain that uses it
  SignalChain chain_;
  int meterControl_ = 0;
};

template <class PlugFormat> class TAVOPlug : public PlugFormat {
public:
  using Param = TAVOParams::Param;
  using enum TAVOParams::Param;
  static constexpr int kEditorWidth = kTAVODescriptor.editorWidth;
  static constexpr int kEditorHeight = kTAVODescriptor.editorHeight;
  static constexpr int kLatency = kTAVODescriptor.latency;
  static constexpr int kVersion = kTAVODescriptor.version;

  // [main thread] Parameters, editor and default preset, in that order. Prefer MakeTAVO, which
  // serialises construction across instances.
  TAVOPlug()
      : PlugFormat(kNumParams, kTAVODescriptor.channelIO, kTAVODescriptor.nPresets,
                   kTAVODescriptor.effectName, kTAVODescriptor.productName,
                   kTAVODescriptor.makerName, kTAVODescriptor.version, kTAVODescriptor.uniqueID,
                   kTAVODescriptor.makerID, kTAVODescriptor.latency) {
    TAVOCore::DefineParameters(*this);
    this->AttachEditor(BuildTAVOEditor(this, core_.MeterControlSlot()));
    this->MakeDefaultPresets("-", 1);
  }
  ~TAVOPlug() override = default;

  // [main thread · takes the processing lock] The module's reset: the drive smoother and the
  // engine's filter states go on, as the module's host expects.
  void Reset() override { core_.Reset(*this); }
  // [main thread · takes the processing lock] What the base clears, and the whole chain as in a
  // new instance: filter states, drive smoother, drift, meter, crossfade; no start-up fade.
  void ClearHistory() override {
    std::lock_guard guard(this->lock);
    PlugFormat::ClearHistory();
    core_.ClearHistory(*this);
  }
  // [any thread · takes the processing lock]
  void ParamChanged(int paramIdx) override { core_.ParamChanged(*this, paramIdx); }
  // [audio thread · processing lock held · no allocation]
  void ProcessDouble(double** inputs, double** outputs, int frames) override {
    core_.ProcessDouble(*this, inputs, outputs, frames);
  }

  // [main thread] For an instance that will never render (the LV2 UI's model of the parameters
  // and the editor): its drift seed goes back to the sequence, so that opening an editor does not
  // change which seed the next instance that renders takes.
  void GiveBackDriftSeed() { core_.GiveBackDriftSeed(); }

  const SignalChain& Chain() const { return core_.Chain(); }
  int MeterControl() const { return core_.MeterControl(); }

private:
  friend struct DriftTestAccess;

  TAVOCore core_;
};

// [any thread] The lock under which every TAVO instance, of any format, is constructed.
std::mutex& TAVOConstructionLock();

// [main thread · may block] Creates one instance under TAVOConstructionLock, so two instances are
// never constructed at the same time.
template <class PlugFormat = IPlugWithoutHost> std::unique_ptr<TAVOPlug<PlugFormat>> MakeTAVO() {
  std::lock_guard guard(TAVOConstructionLock());
  return std::make_unique<TAVOPlug<PlugFormat>>();
}

// The effect with no host format: what the effect's tests, the benchmarks and any tool that
// renders without a host use.
using TAVO = TAVOPlug<IPlugWithoutHost>;
extern template class TAVOPlug<IPlugWithoutHost>;

} // namespace tavo
