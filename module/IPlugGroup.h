#pragma once
// The module's one group: names the maker and the product and creates one real-time processing
// type per channel layout the effect supports ('TAV1' mono, 'TAV2' stereo).

#include <cstdint>
#include <memory>

#include "effect/TAVODescriptor.h"
#include "hostlib/CEffectProcess.h"
#include "hostlib/CProcessGroup.h"

namespace tavo {

// How this host interface registers the effect. Names, identifiers, layouts and category come
// from the effect's descriptor (effect/TAVODescriptor.h); the codes below are this interface's own.
namespace identity {
inline constexpr const PlugDescriptor& kPlug = kTAVODescriptor;
inline constexpr int32_t kProductNumber = 1;
inline constexpr int32_t kGroupFeature = 14;
inline constexpr int32_t kPlugInTypeValue = 6;
inline constexpr int32_t kTypeFeatures[] = {8, 48, 55};
} // namespace identity

// [any thread] The host's category bit for a category name; unknown names are plain effects.
int32_t CategoryValue(const char* name);

class IPlugGroup : public CEffectGroup {
public:
  // [main thread] Maker and product names, and the group's feature code.
  IPlugGroup();

  // [main thread · may throw CDAEError] The group's base initialisation, which creates the types,
  // then the editor's view class joins the view factory.
  void Initialize() override;
  // [main thread · may throw CDAEError] One type per layout of the channel layouts that parses.
  void CreateEffectTypes() override;

  // [main thread] The process the types' factory creates: the adaptor for the effect.
  static std::unique_ptr<CEffectProcess> NewEffectProcess();
};

} // namespace tavo
