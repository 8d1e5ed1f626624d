#pragma once
// A plug-in base with no host behind it: the base's host side keeps its defaults (every
// operation that would reach a host does nothing, the transport stands still at its start), and
// the channels are connected and sized as a host adaptor leaves them before its host calls. The
// effect is built and tested on it; a host format puts its own adaptor in its place.

#include "framework/IPlugBase.h"

namespace tavo {

class IPlugWithoutHost : public IPlugBase {
public:
  static constexpr int kInitialBlockSize = 1024;

  // [main thread] The base's arguments, without the interface kind (always "standalone").
  IPlugWithoutHost(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
                   const char* productName, const char* makerName, int effectVersion, int uniqueID,
                   int makerID, int latency, int ignored = 0, bool stateIsOpaque = false,
                   bool spareFlag = false)
      : IPlugBase(nParams, channelIOStr, nPresets, effectName, productName, makerName,
                  effectVersion, uniqueID, makerID, latency, ignored, stateIsOpaque, spareFlag,
                  kApiStandalone) {
    ConnectAllChannels(kInitialBlockSize);
  }
};

} // namespace tavo
