#include "effect/TAVO.h"

#include <algorithm>
#include <cmath>

namespace tavo {

namespace {

// Output Compensation 0 dB leaves the chain 1.2 dB below its input: the engine's small-signal
// gain is about +1.2 dB, so the chain as a whole stays near unity.
constexpr double kOutputTrimNepers = -0.13815510557964; // -1.2 dB

} // namespace

template class TAVOPlug<IPlugWithoutHost>;

void TAVOCore::DefineParameters(IPlugBase& plug) {
  plug.GetParam(kInputTrim)->InitDouble("Input Trim", 0.0, -20.0, 20.0, 0.1, "dB");
  plug.GetParam(kDrive)->InitDouble("Drive", 0.0, 0.0, 10.0, 0.01);
  plug.GetParam(kOutputCompensation)
      ->InitDouble("Output Compensation", 0.0, -20.0, 20.0, 0.1, "dB");
  plug.GetParam(kAsymmetry)->InitDouble("Asymmetry", 5.0, 0.0, 10.0, 0.01);
  plug.GetParam(kFreqResponse)->InitDouble("Freq Response", 0.0, -10.0, 10.0, 0.1);
  plug.GetParam(kCrosstalkLevel)->InitDouble("Crosstalk Level", -90.0, -120.0, -60.0, 0.1, "dB");
  IParameter* vuMode = plug.GetParam(kVUMode);
  vuMode->InitEnum("VU Mode", 0, 3);
  vuMode->SetDisplayText(0, "Input");
  vuMode->SetDisplayText(1, "RMS Difference Out-In");
  vuMode->SetDisplayText(2, "Output");
  plug.GetParam(kBypass)->InitBool("Bypass", false);
}

void TAVOCore::Reset(IPlugBase& plug) {
  std::lock_guard guard(plug.lock);
  chain_.Reset(plug.SampleRate());
}

void TAVOCore::ClearHistory(IPlugBase& plug) {
  std::lock_guard guard(plug.lock);
  chain_.ClearHistory(plug.SampleRate());
}

void TAVOCore::ParamChanged(IPlugBase& plug, int paramIdx) {
  std::lock_guard guard(plug.lock);
  switch (paramIdx) {
  case kInputTrim:
    chain_.SetInputGain(plug.GetParam(kInputTrim)->GainFromDecibels());
    break;
  case kOutputCompensation:
    chain_.SetOutputGain(plug.GetParam(kOutputCompensation)->GainFromDecibels() *
                         std::exp(kOutputTrimNepers));
    break;
  case kBypass:
    chain_.SetBypassed(plug.GetParam(kBypass)->Value() != 0.0);
    break;
  default:
    break;
  }
}

void TAVOCore::ProcessDouble(IPlugBase& plug, double** inputs, double** outputs, int frames) {
  // Every route into a parameter keeps it in its range; reading it clamped all the same means the
  // chain never designs a filter from a value outside it, whatever a caller did.
  const auto plain = [&plug](int idx) {
    const IParameter* param = plug.GetParam(idx);
    return std::clamp(param->Value(), param->Min(), param->Max());
  };
  ChainSettings settings;
  settings.inputTrimDb = plain(kInputTrim);
  settings.drive = plain(kDrive);
  settings.asymmetry = plain(kAsymmetry);
  settings.freqResponse = plain(kFreqResponse);
  settings.crosstalkDb = plain(kCrosstalkLevel);
  settings.vuMode = plain(kVUMode);
  chain_.Process(settings, plug.SampleRate(), plug.InputConnected(1), inputs, outputs, frames);
  if (IEditor* editor = plug.GetGUI())
    editor->SetControlFromPlug(meterControl_, chain_.UpdateNeedle());
}

std::mutex& TAVOConstructionLock() {
  static std::mutex factoryLock; // created on first use, gone at module unload
  return factoryLock;
}

} // namespace tavo
