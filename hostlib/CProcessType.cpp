#include "hostlib/CProcessType.h"

#include <algorithm>
#include <new>

#include "hostlib/CDAEError.h"
#include "hostlib/CEffectProcess.h"
#include "hostlib/CHostEngine.h"
#include "hostlib/StemFormat.h"

using namespace hostabi;

namespace {

constexpr int32_t kCapabilityCategory = 21;
constexpr int32_t kCapabilityPlugInType = 32;
constexpr int32_t kCapabilityInstanceCount = 5;
constexpr int32_t kFeatureStemFormats = 29;
constexpr int32_t kFeatureNeedsCompanions = 41;
constexpr int32_t kFeatureCompanion = 30;
constexpr int32_t kFeatureRealTimeCompanion = 38;

void InsertSorted(std::vector<int32_t>& set, int32_t code) {
  const auto at = std::lower_bound(set.begin(), set.end(), code);
  if (at == set.end() || *at != code) set.insert(at, code);
}

SCardList Cards() {
  const CHostEngine& engine = CHostEngine::Get();
  SCardList cards{};
  engine.InitSADriver();
  engine.GetCardList(&cards);
  cards.count =
      std::clamp<int32_t>(cards.count, 0, static_cast<int32_t>(std::size(cards.cardTypes)));
  return cards;
}

} // namespace

bool HostHasCardType(int32_t cardType) {
  const SCardList cards = Cards();
  return std::find(cards.cardTypes, cards.cardTypes + cards.count, cardType) !=
         cards.cardTypes + cards.count;
}

bool HostHasQualifyingDSPOn(int32_t cardType) {
  const SCardList cards = Cards();
  SDSPList dsps{};
  CHostEngine::Get().GetDSPList(&dsps);
  const int32_t count =
      std::clamp<int32_t>(dsps.count, 0, static_cast<int32_t>(std::size(dsps.dsps)));
  for (int32_t i = 0; i < count; ++i) {
    const SDSPEntry& d = dsps.dsps[i];
    if (d.qualifies && d.card >= 0 && d.card < cards.count && cards.cardTypes[d.card] == cardType)
      return true;
  }
  return false;
}

// ---------------------------------------------------------------------------------------------

CProcessType::~CProcessType() {
  for (CEffectProcess* p : processes)
    p->DetachType();
}

void CProcessType::AttachGroup(const GroupLink& link) {
  group = link.group;
  groupManufacturerID = link.manufacturerID;
  groupProductNumber = link.productNumber;
  groupProcessGone = link.group ? link.processGone : nullptr;
}

void CProcessType::AddProcess(CEffectProcess* process) {
  if (std::find(processes.begin(), processes.end(), process) == processes.end())
    processes.push_back(process);
}

void CProcessType::RemoveProcess(CEffectProcess* process) {
  std::erase(processes, process);
  if (group && groupProcessGone) groupProcessGone(*group);
}

// ---------------------------------------------------------------------------------------------

CEffectType::CEffectType(int32_t typeID, int32_t productID, int32_t category,
                         bool usesPlugInTypeValue)
    : typeID(typeID), productID(productID), category(category),
      usesPlugInTypeValue(usesPlugInTypeValue) {
  static int32_t lastHandle = 0; // types are made on the main thread only
  for (SDSPSlot& slot : dspSlots)
    slot = {nullptr, kEmptyDSPSlot, ++lastHandle};
}

int32_t CEffectType::CapabilityQuery(int32_t selector, int32_t* answer) {
  if (!answer) return kNoErr;
  if (selector == kCapabilityCategory) {
    *answer = category;
  } else if (selector == kCapabilityPlugInType) {
    if (usesPlugInTypeValue) {
      *answer = plugInTypeValue;
    } else if (HostHasCardType(29) && HostHasQualifyingDSPOn(29)) {
      *answer = value29 == 1 ? value26 : value29;
    } else if (HostHasCardType(26)) {
      *answer = value26;
    } else if (HostHasCardType(21)) {
      *answer = value21;
    }
  } else {
    const bool present = HasFeatureCode(selector);
    *answer = present ? 1 : 0;
    // For the instance capability the answer counts this type's live processes, plus one.
    if (selector == kCapabilityInstanceCount && present)
      *answer = static_cast<int32_t>(processes.size()) + 1;
  }
  return kNoErr;
}

void CEffectType::AddFeatureCode(int32_t code) {
  InsertSorted(featureCodes, code);
  if (code == kFeatureNeedsCompanions) InsertSorted(featureCodes, kFeatureCompanion);
}

bool CEffectType::HasFeatureCode(int32_t code) const {
  return std::binary_search(featureCodes.begin(), featureCodes.end(), code);
}

void CEffectType::SetStemFormats(int32_t in, int32_t out, int32_t extra) {
  const int32_t inChannels = StemFormatToChannels(in);
  const int32_t outChannels = StemFormatToChannels(out);
  inputStem = in;
  outputStem = out;
  extraStem = extra;
  inputChannels = inChannels;
  outputChannels = outChannels;
  AddFeatureCode(kFeatureStemFormats);
}

int32_t CEffectType::SetProperty(int32_t value, int32_t selector) {
  switch (selector) {
  case kPropertyPlugInType:
    plugInTypeValue = value;
    return kNoErr;
  case 18:
    value18 = value & 1;
    return kNoErr;
  case 21:
    value21 = value & 1;
    return kNoErr;
  case 26:
    value26 = value & 7;
    return kNoErr;
  case 29:
    value29 = value & 7;
    return kNoErr;
  default:
    return kErrGeneric;
  }
}

int32_t CEffectType::CardValue(int32_t cardType) const {
  switch (cardType) {
  case 18:
    return value18;
  case 21:
    return value21;
  case 26:
    return value26;
  case 29:
    return value29;
  default:
    return 0;
  }
}

int32_t CEffectType::GetControlName(int32_t, int32_t, SHostString*) {
  return kErrGeneric;
}

int32_t CEffectType::CreateProcess(int32_t, std::unique_ptr<CEffectProcess>* out) {
  if (!out || !processFactory) return kErrGeneric;
  try {
    std::unique_ptr<CEffectProcess> process = processFactory();
    if (!process) return kErrOutOfMemory;
    process->AttachType(this);
    process->Initialize();
    *out = std::move(process);
    return kNoErr;
  } catch (const CDAEError& e) {
    return e.Code();
  } catch (const std::bad_alloc&) {
    return kErrOutOfMemory;
  } catch (...) {
    return kErrGeneric;
  }
}

void CEffectTypeRTAS::AddFeatureCode(int32_t code) {
  CEffectType::AddFeatureCode(code);
  if (code == kFeatureNeedsCompanions) InsertSorted(featureCodes, kFeatureRealTimeCompanion);
}
