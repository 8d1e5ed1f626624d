// The factory entry every target exports, by its plain name (the export list of each target
// names it: bundle/posix/exports.map on Linux, bundle/win/TAVO.def on Windows).

#include "vst3/Factory.h"

extern "C" tavo::vst3::IPluginFactory* TAVO_VST3_CALL GetPluginFactory() {
  return tavo::vst3::TakeFactory();
}
