#pragma once
// The effect: one instance per inserted plug-in. Eight parameters shape a 2× oversampled
// asymmetric saturator with its trim, crosstalk, output compensation, bypass crossfade, noise
// floor and start-up ramp; a VU needle in the editor shows input, output or their RMS difference.

#include <memory>

#include "effect/SignalChain.h"
#include "rtas/IPlugRTAS.h"

namespace tavo {

class TAVO : public IPlugRTAS {
public:
  enum Param : int {
    kInputTrim = 0,
    kDrive,
    kOutputCompensation,
    kAsymmetry,
    kFreqResponse,
    kCrosstalkLevel,
    kVUMode,
    kBypass,
    kNumParams
  };
  static constexpr int kEditorWidth = 304;
  static constexpr int kEditorHeight = 416;
  static constexpr int kLatency = 6;
  static constexpr int kVersion = 0x10000; // v1.0.0

  // [main thread] Parameters, default preset and editor. Prefer CreateTAVO, which serialises
  // construction across instances.
  TAVO();
  ~TAVO() override;

  // [main thread · takes the processing lock]
  void Reset() override;
  // [any thread · takes the processing lock] Input Trim, Output Compensation and Bypass are
  // turned into the chain's gains here; every other parameter is read afresh at each block.
  void ParamChanged(int paramIdx) override;
  // [audio thread · processing lock held · no allocation]
  void ProcessDouble(double** inputs, double** outputs, int frames) override;

  const SignalChain& Chain() const { return chain_; }
  int MeterControl() const { return meterControl_; }

private:
  SignalChain chain_;
  int meterControl_ = 0;
};

// [main thread · may block] Creates one instance under a process-wide lock, so two instances are
// never constructed at the same time.
std::unique_ptr<TAVO> CreateTAVO();

} // namespace tavo
