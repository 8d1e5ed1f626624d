#include "effect/TAVO.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#include "effect/TAVOEditor.h"
#include "graphics/IGraphics.h"

namespace tavo {

namespace {

constexpr int FourCC(char a, char b, char c, char d) {
  return (static_cast<int>(static_cast<unsigned char>(a)) << 24) |
         (static_cast<int>(static_cast<unsigned char>(b)) << 16) |
         (static_cast<int>(static_cast<unsigned char>(c)) << 8) |
         static_cast<int>(static_cast<unsigned char>(d));
}

// Output Compensation 0 dB leaves the chain 1.2 dB below its input: the engine's small-signal
// gain is about +1.2 dB, so the chain as a whole stays near unity.
constexpr double kOutputTrimNepers = -0.13815510557964; // -1.2 dB

} // namespace

TAVO::TAVO()
    : IPlugRTAS(kNumParams, "1-1 2-2", 1, "TAVO", "", "Quenstrel", kVersion,
                FourCC('T', 'A', 'V', 'O'), FourCC('Q', 'n', 'S', 'l'), kLatency) {
  GetParam(kInputTrim)->InitDouble("Input Trim", 0.0, -20.0, 20.0, 0.1, "dB");
  GetParam(kDrive)->InitDouble("Drive", 0.0, 0.0, 10.0, 0.01);
  GetParam(kOutputCompensation)->InitDouble("Output Compensation", 0.0, -20.0, 20.0, 0.1, "dB");
  GetParam(kAsymmetry)->InitDouble("Asymmetry", 5.0, 0.0, 10.0, 0.01);
  GetParam(kFreqResponse)->InitDouble("Freq Response", 0.0, -10.0, 10.0, 0.1);
  GetParam(kCrosstalkLevel)->InitDouble("Crosstalk Level", -90.0, -120.0, -60.0, 0.1, "dB");
  IParameter* vuMode = GetParam(kVUMode);
  vuMode->InitEnum("VU Mode", 0, 3);
  vuMode->SetDisplayText(0, "Input");
  vuMode->SetDisplayText(1, "RMS Difference Out-In");
  vuMode->SetDisplayText(2, "Output");
  GetParam(kBypass)->InitBool("Bypass", false);

  AttachEditor(BuildTAVOEditor(this, &meterControl_).release());
  MakeDefaultPresets("-", 1);
}

TAVO::~TAVO() = default;

void TAVO::Reset() {
  std::lock_guard guard(lock);
  chain_.Reset(SampleRate());
}

void TAVO::ParamChanged(int paramIdx) {
  std::lock_guard guard(lock);
  switch (paramIdx) {
  case kInputTrim:
    chain_.SetInputGain(GetParam(kInputTrim)->GainFromDecibels());
    break;
  case kOutputCompensation:
    chain_.SetOutputGain(GetParam(kOutputCompensation)->GainFromDecibels() *
                         std::exp(kOutputTrimNepers));
    break;
  case kBypass:
    chain_.SetBypassed(GetParam(kBypass)->Value() != 0.0);
    break;
  default:
    break;
  }
}

void TAVO::ProcessDouble(double** inputs, double** outputs, int frames) {
  // Every route into a parameter keeps it in its range; reading it clamped all the same means the
  // chain never designs a filter from a value outside it, whatever a caller did.
  const auto plain = [this](int idx) {
    const IParameter* param = GetParam(idx);
    return std::clamp(param->Value(), param->Min(), param->Max());
  };
  ChainSettings settings;
  settings.inputTrimDb = plain(kInputTrim);
  settings.drive = plain(kDrive);
  settings.asymmetry = plain(kAsymmetry);
  settings.freqResponse = plain(kFreqResponse);
  settings.crosstalkDb = plain(kCrosstalkLevel);
  settings.vuMode = plain(kVUMode);
  chain_.Process(settings, SampleRate(), InputConnected(1), inputs, outputs, frames);
  if (IGraphics* editor = GetGUI())
    editor->SetControlFromPlug(meterControl_, chain_.UpdateNeedle());
}

std::unique_ptr<TAVO> CreateTAVO() {
  static std::mutex factoryLock; // created on first use, gone at module unload
  std::lock_guard guard(factoryLock);
  return std::make_unique<TAVO>();
}

} // namespace tavo
