#pragma once
// What an LV2 host hands a new instance, read once at instantiation, all optional: the URI map
// (without it there is no state interface, no log and no options, as in a batch tool that only
// renders), the log (without it a refused state is refused silently), the largest block the
// host announces and, for an editor, the display scale the host draws its own interface at.

#include <lv2/core/lv2.h>
#include <lv2/log/log.h>
#include <lv2/options/options.h>
#include <lv2/urid/urid.h>

namespace tavo::lv2 {

struct HostFeatures {
  LV2_URID_Map* map = nullptr;
  LV2_Log_Log* log = nullptr;
  int maxBlockLength = 0;   // 0: the host announced none
  float scaleFactor = 1.0f; // the host's display scale (ui:scaleFactor); 1 when it gave none
  LV2_URID atomChunk = 0;
  LV2_URID atomInt = 0;
  LV2_URID logError = 0;
  LV2_URID stateKey = 0;

  // [main thread] An announced block length that is not a positive 32-bit integer counts as none,
  // as does a scale factor that is not a positive finite float.
  static HostFeatures Read(const LV2_Feature* const* features);

  // [any thread] The scale an option gives when it is the display scale as a positive finite
  // float under the given URIDs (both non-zero); 0 for any other option.
  static float ScaleFactorOf(const LV2_Options_Option& option, LV2_URID scaleKey,
                             LV2_URID atomFloat);

  // Whether the map named the state's key and the chunk's type: a map that answers 0 ("could not
  // map") for either leaves the instance without a state interface, as no map at all does.
  bool MapsState() const { return map && stateKey != 0 && atomChunk != 0; }

  // [main thread] One line through the host's log, as an error; nothing without a log.
  void LogError(const char* format, ...) const __attribute__((format(printf, 2, 3)));
};

} // namespace tavo::lv2
