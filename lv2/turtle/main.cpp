// tavo-lv2-turtle DIR: writes the bundle's manifest.ttl and TAVO.ttl into DIR from the effect's
// parameter list, so the description the host reads can never drift from the plug-in it loads.

#include <cstdio>
#include <fstream>
#include <string>

#include "effect/TAVO.h"
#include "lv2/PortLayout.h"
#include "lv2/Turtle.h"

int main(int argc, char** argv) {
  using namespace tavo;
  if (argc != 2) {
    std::fprintf(stderr, "usage: tavo-lv2-turtle BUNDLE_DIR\n");
    return 2;
  }
  const PlugDescriptor& d = kTAVODescriptor;
  IPlugWithoutHost plug(TAVOParams::kNumParams, d.channelIO, d.nPresets, d.effectName,
                        d.productName, d.makerName, d.version, d.uniqueID, d.makerID, d.latency);
  TAVOCore::DefineParameters(plug);

  const std::string dir = argv[1];
  std::ofstream manifest(dir + "/manifest.ttl");
  lv2::WriteManifest(manifest);
  std::ofstream plugins(dir + "/" + lv2::kTurtleName);
  lv2::WritePluginDescriptions(plugins, {d, plug, TAVOParams::kBypass});
  manifest.close();
  plugins.close();
  if (!manifest || !plugins) {
    std::fprintf(stderr, "tavo-lv2-turtle: cannot write the description into %s\n", argv[1]);
    return 1;
  }
  return 0;
}
