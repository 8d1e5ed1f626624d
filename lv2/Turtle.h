#pragma once
// The bundle's description, written from the plug-in's own parameter list when the bundle is
// built: manifest.ttl names the two plug-ins and their binary, TAVO.ttl gives each its ports
// (ranges, defaults, integer, enumeration and toggle properties, scale points with their texts,
// units), the host's enable control, the latency and level outputs, and the features and state
// interface the binary offers.

#include <ostream>
#include <string>

#include "framework/IPlugBase.h"
#include "framework/PlugDescriptor.h"

namespace tavo::lv2 {

struct BundleIdentity {
  const PlugDescriptor& descriptor;
  const IPlugBase& plug; // its parameters, in port order
  int enableParam;       // the parameter the host's enable control drives (inverted), or -1
};

void WriteManifest(std::ostream& out);
void WritePluginDescriptions(std::ostream& out, const BundleIdentity& identity);

// A port symbol from a parameter name: lower case, every other character an underscore
// ("Input Trim" → "input_trim"), starting with a letter or an underscore.
std::string SymbolFromName(const char* name);

} // namespace tavo::lv2
