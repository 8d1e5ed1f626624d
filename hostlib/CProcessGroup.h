#pragma once
// The module as the host sees it: one group that names the maker and the product and lists the
// processing types. The group registers a client with the host's DSP manager, starts the
// engine's token service for its processes, and builds the settings path.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "hostlib/CProcessType.h"
#include "hostlib/HostInterface.h"

class CEffectProcess;

class CProcessGroupInterface {
public:
  CProcessGroupInterface() = default;
  CProcessGroupInterface(const CProcessGroupInterface&) = delete;
  CProcessGroupInterface& operator=(const CProcessGroupInterface&) = delete;
  virtual ~CProcessGroupInterface() = default;

  // [main thread · may throw CDAEError] The group's first operation after construction.
  virtual void Initialize() = 0;
};

using STypeInfo = hostabi::STypeInfo;

struct SPlugInDescription {
  int32_t manufacturerID; // 0 matches any
  int32_t productID;      // 0 matches any
  int32_t typeID;         // 0 matches any
};

class CProcessGroup : public CProcessGroupInterface {
public:
  CProcessGroup();
  ~CProcessGroup() override;

  // [main thread · may throw CDAEError] Prepares the type list, runs the type-creation hook and
  // the second hook, then registers the host client (−7060, −7075 on failure).
  void Initialize() override;
  // [main thread] Hooks for the group's owner; empty here.
  virtual void CreateEffectTypes();
  virtual void CreateMoreTypes();

  // [main thread] The group owns its types; index 1 is the first added.
  void AddType(std::unique_ptr<CEffectType> type);
  int32_t TypeCount() const { return static_cast<int32_t>(types.size()); }
  CEffectType* TypeByIndex(int32_t index) const;

  void SetManufacturerNames(const char* names, int32_t manufacturerID);
  void SetProductNames(const char* names, int32_t productNumber);
  void AddFeatureCode(int32_t code);
  int32_t ManufacturerID() const { return manufacturerID; }
  int32_t ProductNumber() const { return productNumber; }

  // [main thread] Names fitted into maxLength (at most 255) and converted to a host string.
  int32_t GetManufacturerName(hostabi::SHostString* name, int32_t maxLength) const;
  int32_t GetProductName(hostabi::SHostString* name, int32_t maxLength) const;
  // [main thread] Selector 28 answers 2 for 'midi' else 0; a group feature code answers 1;
  // anything else goes to the type (−7125 for a type not in this group).
  int32_t CapabilityQuery(const CProcessType* type, int32_t selector, int32_t* value) const;
  // [main thread] −77 when the index names no type.
  int32_t GetTypeInfo(int32_t typeIndex, STypeInfo* info) const;
  // [main thread] 0 when a type matches (its index is written), else −7055. channels and stem
  // below 0 match any.
  int32_t FindTypeForDescription(const SPlugInDescription& description, int32_t channels,
                                 int32_t stemFormat, int32_t* typeIndex) const;
  // [main thread] The type's own control name, or "stereo mode" for control 2 of a 2-in/2-out
  // type.
  int32_t GetControlNameForType(int32_t typeIndex, int32_t value, int32_t controlIndex,
                                hostabi::SHostString* name) const;
  // [main thread] Starts the token service if needed, makes the module's resource file current
  // for the first process, and lets the type create the process.
  int32_t CreateProcess(int32_t typeIndex, int32_t argument,
                        std::unique_ptr<CEffectProcess>* process);
  // [main thread] Called by a type when one of its processes is gone.
  void ProcessGone();
  int32_t ProcessCount() const;

  // [main thread] The host-client bracket; answers the new nesting depth.
  int32_t EnterHostClient();
  int32_t LeaveHostClient();
  // [main thread] Leaves every entered client context, lets the host run its idle step, and
  // enters them again; the depth is the same afterwards.
  int32_t GiveHostATurn();
  void SetHostInterfaceVersion(int32_t version);

  // [main thread] "Plug-Ins/<maker>/<product>/<product number's low byte>", built once.
  int32_t GetSettingsPath(hostabi::SHostPath* path);

  int32_t HostClient() const { return hostClient; }
  int32_t ClientNesting() const { return clientNesting; }

  // The host's DSP manager (gestalt 'pisi', asked once); 0 when there is none.
  static int32_t DSPManager();
  // Asks the engine again on the next use (a host that changed its manager, or a test).
  static void ForgetDSPManager();

protected:
  int32_t RegisterHostClient();

  std::string manufacturerNames;
  int32_t manufacturerID = 0;
  std::string productNames;
  int32_t productNumber = 0;
  std::string settingsPath;
  std::vector<int32_t> featureCodes;
  std::vector<std::unique_ptr<CEffectType>> types;
  int32_t hostClient = 0;
  bool ownsClient = false;
  int32_t clientNesting = 0;
};

class CDSPProcessGroup : public CProcessGroup {
public:
  // [main thread · may throw CDAEError] Starts the host's stand-alone DSP driver before the
  // group's own initialisation and lists the registered types afterwards.
  void Initialize() override;
  const std::vector<int32_t>& DSPTypeList() const { return dspTypes; }

protected:
  std::vector<int32_t> dspTypes;
  std::vector<int32_t> dspPlacements;
  std::vector<int32_t> dspProcesses;
};

class CEffectGroup : public CDSPProcessGroup {};
