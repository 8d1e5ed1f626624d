#include "module/IPlugGroup.h"

#include <cstdio>
#include <cstring>

#include "hostlib/CProcessType.h"
#include "hostlib/StemFormat.h"
#include "module/TAVORTAS.h"
#include "rtas/CustomViewFactory.h"
#include "rtas/IPlugDigiView.h"
#include "rtas/IPlugProcessRTAS.h"

namespace tavo {

namespace {
struct Category {
  const char* name;
  int32_t value;
};
constexpr Category kCategories[] = {
    {"None", 0},        {"EQ", 1},           {"Dynamics", 2},
    {"PitchShift", 4},  {"Reverb", 8},       {"Delay", 16},
    {"Modulation", 32}, {"Harmonic", 64},    {"NoiseReduction", 128},
    {"Dither", 256},    {"SoundField", 512}, {"Effect", 8192}};
constexpr int32_t kPlainEffect = 8192;

std::unique_ptr<IPlugRTAS> MakeEffect() {
  return CreateTAVO();
}
} // namespace

int32_t CategoryValue(const char* name) {
  if (!name) return kPlainEffect;
  for (const Category& c : kCategories)
    if (std::strcmp(c.name, name) == 0) return c.value;
  return kPlainEffect;
}

IPlugGroup::IPlugGroup() {
  SetManufacturerNames(identity::kPlug.makerNameVariants, identity::kPlug.makerID);
  SetProductNames(identity::kPlug.effectNameVariants, identity::kProductNumber);
  AddFeatureCode(identity::kGroupFeature);
}

void IPlugGroup::Initialize() {
  CEffectGroup::Initialize();
  CustomViewFactory::Register(IPlugDigiView::kClassName, &IPlugDigiView::Make);
}

void IPlugGroup::CreateEffectTypes() {
  const int32_t category = CategoryValue(identity::kPlug.category);
  size_t nextType = 0;
  const char* token = identity::kPlug.channelIO;
  while (token) {
    int inputs = 0, outputs = 0;
    // A token that is not "<inputs>-<outputs>" takes no type identifier.
    if (std::sscanf(token, "%d-%d", &inputs, &outputs) == 2 &&
        nextType < identity::kPlug.typeIDs.size()) {
      auto type = std::make_unique<CEffectTypeRTAS>(identity::kPlug.typeIDs[nextType++],
                                                    identity::kPlug.uniqueID, category, true);
      type->SetNames(identity::kPlug.effectNameVariants);
      type->SetProperty(identity::kPlugInTypeValue, CEffectType::kPropertyPlugInType);
      type->SetStemFormats(ChannelsToStemFormat(inputs), ChannelsToStemFormat(outputs), 0);
      for (int32_t code : identity::kTypeFeatures)
        type->AddFeatureCode(code);
      type->SetProcessFactory(&IPlugGroup::NewEffectProcess);
      AddType(std::move(type));
    }
    const char* blank = std::strchr(token, ' ');
    token = blank ? blank + 1 : nullptr;
  }
}

std::unique_ptr<CEffectProcess> IPlugGroup::NewEffectProcess() {
  return std::make_unique<IPlugProcessRTAS>(identity::kPlug.uniqueID, &MakeEffect);
}

} // namespace tavo
