#include "hostlib/CProcessGroup.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "hostlib/CDAEError.h"
#include "hostlib/CEffectProcess.h"
#include "hostlib/CHostEngine.h"
#include "hostlib/CModuleState.h"
#include "hostlib/CTokenService.h"
#include "hostlib/NameVariants.h"

using namespace hostabi;

namespace {

constexpr int32_t kCapabilityMidi = 28;
constexpr int32_t kClientNameWidth = 63;
constexpr int32_t kSettingsNameWidth = 127;
constexpr int32_t kControlNameWidth = 31;
constexpr int32_t kHostStringWidth = 255;

int32_t gDSPManager = -1; // not asked yet

void ToHostName(const std::string& names, int32_t maxLength, SHostString* out) {
  if (!out) return;
  ToHostString(FittedNameVariant(names.c_str(), std::clamp(maxLength, 0, kHostStringWidth)).c_str(),
               *out);
}

} // namespace

int32_t CProcessGroup::DSPManager() {
  if (gDSPManager < 0) {
    int32_t manager = 0;
    if (StatusFailed(CHostEngine::Get().Gestalt(kGestaltDSPManager, &manager))) manager = 0;
    gDSPManager = manager;
  }
  return gDSPManager;
}

void CProcessGroup::ForgetDSPManager() {
  gDSPManager = -1;
}

CProcessGroup::CProcessGroup() = default;

CProcessGroup::~CProcessGroup() {
  // Types (and with them the back pointers of live processes) go before the client.
  for (auto& t : types)
    t->AttachGroup({});
  types.clear();
  if (ownsClient && hostClient)
    CHostEngine::Get().ManagerUnregisterClient(DSPManager(), hostClient);
}

void CProcessGroup::Initialize() {
  types.reserve(4);
  CreateEffectTypes();
  CreateMoreTypes();
  if (const int32_t status = RegisterHostClient(); status != kNoErr) throw CDAEError(status);
}

void CProcessGroup::CreateEffectTypes() {}
void CProcessGroup::CreateMoreTypes() {}

void CProcessGroup::AddType(std::unique_ptr<CEffectType> type) {
  if (!type) return;
  type->AttachGroup(
      {this, ManufacturerID(), ProductNumber(), [](CProcessGroup& group) { group.ProcessGone(); }});
  types.push_back(std::move(type));
}

CEffectType* CProcessGroup::TypeByIndex(int32_t index) const {
  return index >= 1 && index <= TypeCount() ? types[static_cast<size_t>(index - 1)].get() : nullptr;
}

void CProcessGroup::SetManufacturerNames(const char* names, int32_t id) {
  manufacturerNames = names ? names : "";
  manufacturerID = id;
  settingsPath.clear();
}

void CProcessGroup::SetProductNames(const char* names, int32_t number) {
  productNames = names ? names : "";
  productNumber = number;
  settingsPath.clear();
}

void CProcessGroup::AddFeatureCode(int32_t code) {
  const auto at = std::lower_bound(featureCodes.begin(), featureCodes.end(), code);
  if (at == featureCodes.end() || *at != code) featureCodes.insert(at, code);
}

int32_t CProcessGroup::GetManufacturerName(SHostString* name, int32_t maxLength) const {
  ToHostName(manufacturerNames, maxLength, name);
  return kNoErr;
}

int32_t CProcessGroup::GetProductName(SHostString* name, int32_t maxLength) const {
  ToHostName(productNames, maxLength, name);
  return kNoErr;
}

int32_t CProcessGroup::CapabilityQuery(const CProcessType* type, int32_t selector,
                                       int32_t* value) const {
  if (!value) return kErrGeneric;
  if (selector == kCapabilityMidi) {
    *value = *value == kMidiCapability ? 2 : 0;
    return kNoErr;
  }
  if (std::binary_search(featureCodes.begin(), featureCodes.end(), selector)) {
    *value = 1;
    return kNoErr;
  }
  // The type is compared, never followed, until it is known to be one of ours.
  const auto known =
      std::find_if(types.begin(), types.end(), [&](const auto& t) { return t.get() == type; });
  if (known == types.end()) return kErrUnknownType;
  *value = 0;
  return (*known)->CapabilityQuery(selector, value);
}

int32_t CProcessGroup::GetTypeInfo(int32_t typeIndex, STypeInfo* info) const {
  const CEffectType* type = TypeByIndex(typeIndex);
  if (!type) return kErrNotAnEffectType;
  if (info) *info = {type->TypeID(), type->ProductID(), manufacturerID, productNumber};
  return kNoErr;
}

int32_t CProcessGroup::FindTypeForDescription(const SPlugInDescription& d, int32_t channels,
                                              int32_t stemFormat, int32_t* typeIndex) const {
  for (int32_t i = 1; i <= TypeCount(); ++i) {
    const CEffectType* t = TypeByIndex(i);
    const bool match = (d.manufacturerID == 0 || d.manufacturerID == manufacturerID) &&
                       (d.productID == 0 || d.productID == t->ProductID()) &&
                       (d.typeID == 0 || d.typeID == t->TypeID()) &&
                       (channels < 0 || channels == t->InputChannels()) &&
                       (stemFormat < 0 || stemFormat == t->InputStemFormat());
    if (match) {
      if (typeIndex) *typeIndex = i;
      return kNoErr;
    }
  }
  return kErrNoMatchingType;
}

int32_t CProcessGroup::GetControlNameForType(int32_t typeIndex, int32_t value, int32_t controlIndex,
                                             SHostString* name) const {
  CEffectType* type = TypeByIndex(typeIndex);
  if (!type) return kErrNotAnEffectType;
  const int32_t status = type->GetControlName(value, controlIndex, name);
  if (status == kNoErr) return status;
  if (controlIndex == 2 && type->InputChannels() == 2 && type->OutputChannels() == 2) {
    if (name) ToHostString(FittedNameVariant("stereo mode", kControlNameWidth).c_str(), *name);
    return kNoErr;
  }
  return status;
}

int32_t CProcessGroup::CreateProcess(int32_t typeIndex, int32_t argument,
                                     std::unique_ptr<CEffectProcess>* process) {
  CEffectType* type = TypeByIndex(typeIndex);
  if (!type) return kErrNotAnEffectType;
  if (!process) return kErrGeneric;

  if (!CTokenService::IsAvailable()) CTokenService::Start();
  const bool firstProcess = ProcessCount() == 0;
  int16_t previous = 0;
  const bool switched = !CModuleState::openedThroughWinPlugInOpen.load() && firstProcess;
  if (switched) previous = CModuleState::EnterResourceContext();

  const int32_t status = type->CreateProcess(argument, process);
  if (status != kNoErr && ProcessCount() == 0) {
    CTokenService::Stop();
    if (switched) CModuleState::LeaveResourceContext(previous);
  }
  return status;
}

void CProcessGroup::ProcessGone() {
  if (ProcessCount() == 0) CTokenService::Stop();
}

int32_t CProcessGroup::ProcessCount() const {
  int32_t count = 0;
  for (const auto& t : types)
    count += static_cast<int32_t>(t->Processes().size());
  return count;
}

int32_t CProcessGroup::EnterHostClient() {
  const int32_t manager = DSPManager();
  if (hostClient && CHostEngine::Get().ManagerVersion(manager) > 0)
    CHostEngine::Get().ManagerSetClientActive(manager, hostClient, true);
  return ++clientNesting;
}

int32_t CProcessGroup::LeaveHostClient() {
  if (clientNesting <= 0) return 0; // nothing entered, nothing to leave
  --clientNesting;
  const int32_t manager = DSPManager();
  if (hostClient && CHostEngine::Get().ManagerVersion(manager) > 0)
    CHostEngine::Get().ManagerSetClientActive(manager, hostClient, false);
  return clientNesting;
}

int32_t CProcessGroup::GiveHostATurn() {
  EnterHostClient();
  int32_t left = 0;
  while (LeaveHostClient() > 0)
    ++left;
  const int32_t status = CHostEngine::Get().Idle();
  for (int32_t i = 0; i < left; ++i)
    EnterHostClient();
  return status;
}

void CProcessGroup::SetHostInterfaceVersion(int32_t version) {
  CModuleState::hostInterfaceVersion.store(version);
}

int32_t CProcessGroup::GetSettingsPath(SHostPath* path) {
  if (settingsPath.empty()) {
    settingsPath = "Plug-Ins/" + FittedNameVariant(manufacturerNames.c_str(), kSettingsNameWidth) +
                   "/" + FittedNameVariant(productNames.c_str(), kSettingsNameWidth) + "/" +
                   std::to_string(productNumber & 0xFF);
  }
  if (path) {
    const size_t n = std::min(settingsPath.size(), sizeof path->text - 1);
    std::memcpy(path->text, settingsPath.data(), n);
    path->text[n] = '\0';
  }
  return kNoErr;
}

int32_t CProcessGroup::RegisterHostClient() {
  const CHostEngine& engine = CHostEngine::Get();
  const int32_t manager = DSPManager();
  const int32_t version = manager ? engine.ManagerVersion(manager) : 0;
  if (manager && version <= 0) return kErrDSPManagerVersion;
  if (version < 2) {
    hostClient = engine.ManagerDefaultClient(manager);
    ownsClient = false;
  } else {
    std::string product = FittedNameVariant(productNames.c_str(), kClientNameWidth);
    if (product.empty()) product = "<unknown>";
    char clientName[kClientNameWidth + 32];
    std::snprintf(clientName, sizeof clientName, "CProcessGroup<%s>", product.c_str());
    hostClient = engine.ManagerRegisterClient(manager, clientName);
    ownsClient = hostClient != 0;
  }
  return hostClient ? kNoErr : kErrNoHostClient;
}

// ---------------------------------------------------------------------------------------------

void CDSPProcessGroup::Initialize() {
  try {
    dspTypes.reserve(4);
    dspPlacements.reserve(4);
    dspProcesses.reserve(4);
  } catch (const std::bad_alloc&) {
    throw CDAEError(kErrDSPListCreation);
  }
  const int32_t status = CHostEngine::Get().InitSADriver();
  if (StatusFailed(status)) throw CDAEError(status);
  CProcessGroup::Initialize();
  dspTypes.clear();
  for (const auto& t : types)
    dspTypes.push_back(t->TypeID());
}
