#pragma once
// The real-time form of the process adaptor, the one the effect types create: renders each
// block under the plug-in's processing lock, answers the host's transport through the instance
// the process core creates at connection, and reports automation and delay for the host.

#include <memory>

#include "rtas/IPlugProcess.h"

namespace tavo {

class IPlugProcessRTAS : public IPlugProcess, public CEffectProcessRTAS {
public:
  // [main thread · may block] Creates the plug-in and hands the process over to it.
  IPlugProcessRTAS(int32_t chunkID, PlugFactory factory);
  ~IPlugProcessRTAS() override;

  // [audio thread · takes the processing lock · no allocation]
  void RenderAudio(float** inputs, float** outputs, int32_t frames) override;
  // [main thread] Control 1 is always automatable; a parameter's control follows its flag.
  int32_t IsControlAutomatable(int32_t index, uint8_t* automatable) override;
  // [main thread] The plug-in's latency.
  int32_t GetDelaySamples(int32_t* samples) override;

protected:
  CAdaptorPlugIn* TransportInstance() const override { return HostInstance(); }
};

} // namespace tavo
