#pragma once
// A plug-in with every host-bound operation recorded, for testing the base on its own.

#include <string>
#include <vector>

#include "framework/IPlugBase.h"

namespace tavo::test {

class TestPlug : public IPlugBase {
public:
  explicit TestPlug(int nParams = 4, const char* io = "1-1 2-2", int nPresets = 2, int latency = 0,
                    tavo::ApiKind api = kApiRTAS)
      : IPlugBase(nParams, io, nPresets, "Test", "", "Maker", 0x10203, 1, 2, latency, 0, false,
                  false, api) {}

  // Every call that reaches the host or the effect, in order, as text.
  std::vector<std::string> calls;

  void ParamChanged(int idx) override {
    IPlugBase::ParamChanged(idx);
    calls.push_back("ParamChanged " + std::to_string(idx));
  }
  void BeginHostEdit(int idx) override { calls.push_back("Begin " + std::to_string(idx)); }
  void SendParamToHost(int idx, double v) override {
    calls.push_back("Send " + std::to_string(idx) + " " + std::to_string(v));
  }
  void EndHostEdit(int idx) override { calls.push_back("End " + std::to_string(idx)); }
  void OnHostContextMenu(int idx, int x, int y) override {
    calls.push_back("Menu " + std::to_string(idx) + " " + std::to_string(x) + "," +
                    std::to_string(y));
  }
  double Tempo() override { return tempo; }
  void ResizeEditor(int w, int h) override {
    calls.push_back("Resize " + std::to_string(w) + "x" + std::to_string(h));
  }

  void MakeLatencyDelay() {
    latencyDelay_ = std::make_unique<LatencyDelay>(NInChannels(), NOutChannels(), Latency());
  }

  double tempo = 0.0;
};

} // namespace tavo::test
