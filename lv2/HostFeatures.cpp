#include "lv2/HostFeatures.h"

#include <lv2/atom/atom.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/options/options.h>
#include <lv2/ui/ui.h>

#include <cmath>
#include <cstdarg>
#include <cstring>

#include "lv2/PortLayout.h"

namespace tavo::lv2 {

namespace {

const void* FindFeature(const LV2_Feature* const* features, const char* uri) {
  for (const LV2_Feature* const* f = features; f && *f; ++f) {
    if ((*f)->URI && std::strcmp((*f)->URI, uri) == 0) return (*f)->data;
  }
  return nullptr;
}

} // namespace

HostFeatures HostFeatures::Read(const LV2_Feature* const* features) {
  HostFeatures host;
  host.map = static_cast<LV2_URID_Map*>(const_cast<void*>(FindFeature(features, LV2_URID__map)));
  if (!host.map || !host.map->map) return {}; // every URID stays 0, which names nothing
  host.log = static_cast<LV2_Log_Log*>(const_cast<void*>(FindFeature(features, LV2_LOG__log)));
  if (host.log && !host.log->vprintf) host.log = nullptr;

  const auto map = [&host](const char* uri) { return host.map->map(host.map->handle, uri); };
  host.atomChunk = map(LV2_ATOM__Chunk);
  host.atomInt = map(LV2_ATOM__Int);
  host.logError = map(LV2_LOG__Error);
  host.stateKey = map(kStateKeyURI);

  const LV2_URID maxBlockKey = map(LV2_BUF_SIZE__maxBlockLength);
  const LV2_URID scaleKey = map(LV2_UI__scaleFactor);
  const LV2_URID atomFloat = map(LV2_ATOM__Float);
  const auto* options =
      static_cast<const LV2_Options_Option*>(FindFeature(features, LV2_OPTIONS__options));
  for (const LV2_Options_Option* o = options; o && o->key != 0; ++o) {
    if (scaleKey != 0 && o->key == scaleKey) {
      if (const float scale = ScaleFactorOf(*o, scaleKey, atomFloat); scale > 0.0f)
        host.scaleFactor = scale;
      continue;
    }
    if (o->key != maxBlockKey || o->type != host.atomInt || o->size != sizeof(int32_t) || !o->value)
      continue;
    int32_t frames = 0;
    std::memcpy(&frames, o->value, sizeof frames);
    if (frames > 0) host.maxBlockLength = frames;
  }
  return host;
}

void HostFeatures::LogError(const char* format, ...) const {
  if (!log) return;
  va_list args;
  va_start(args, format);
  log->vprintf(log->handle, logError, format, args);
  va_end(args);
}

float HostFeatures::ScaleFactorOf(const LV2_Options_Option& option, LV2_URID scaleKey,
                                  LV2_URID atomFloat) {
  if (scaleKey == 0 || atomFloat == 0 || option.key != scaleKey || option.type != atomFloat ||
      option.size != sizeof(float) || !option.value)
    return 0.0f;
  float scale = 0.0f;
  std::memcpy(&scale, option.value, sizeof scale);
  return std::isfinite(scale) && scale > 0.0f ? scale : 0.0f;
}

} // namespace tavo::lv2
