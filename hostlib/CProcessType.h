#pragma once
// A processing type: one variant of the plug-in (here one per channel layout). It describes its
// identifiers, category, channel formats and capabilities, and creates processes through the
// factory its group's owner gives it.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "hostlib/HostInterface.h"

class CEffectProcess;
class CProcessGroup;

class CProcessType {
public:
  CProcessType() = default;
  CProcessType(const CProcessType&) = delete;
  CProcessType& operator=(const CProcessType&) = delete;
  virtual ~CProcessType();

  // [main thread] Answers through `answer`; the status is always 0.
  virtual int32_t CapabilityQuery(int32_t selector, int32_t* answer) = 0;

  // What a type takes from its group when the group adds it: the group's identity, and whom
  // to tell when one of its processes goes. A default link detaches the type.
  struct GroupLink {
    CProcessGroup* group = nullptr;
    int32_t manufacturerID = 0;
    int32_t productNumber = 0;
    void (*processGone)(CProcessGroup& group) = nullptr;
  };
  // [main thread] Recorded when the group adds the type.
  void AttachGroup(const GroupLink& link);
  CProcessGroup* Group() const { return group; }

  // The processes of this type that are alive (not owned here).
  const std::vector<CEffectProcess*>& Processes() const { return processes; }
  void AddProcess(CEffectProcess* process);
  void RemoveProcess(CEffectProcess* process);

protected:
  CProcessGroup* group = nullptr;
  int32_t groupManufacturerID = 0;
  int32_t groupProductNumber = 0;
  void (*groupProcessGone)(CProcessGroup& group) = nullptr;
  std::vector<CEffectProcess*> processes;
};

class CDSPProcessType : public virtual CProcessType {};

// Bookkeeping for placing a type's processes on DSP chips; a slot is free while its code is
// '----'.
struct SDSPSlot {
  void* dsp;
  int32_t code;
  int32_t handle; // the slot's own handle, unique in the module
};

class CEffectType : public CDSPProcessType {
public:
  static constexpr size_t kDSPSlotCount = 10;

  using ProcessFactory = std::unique_ptr<CEffectProcess> (*)();
  static constexpr int32_t kPropertyPlugInType = -1;

  // [main thread] With usesPlugInTypeValue set, capability 32 answers the plug-in-type value
  // whatever cards the host has.
  CEffectType(int32_t typeID, int32_t productID, int32_t category, bool usesPlugInTypeValue);

  int32_t CapabilityQuery(int32_t selector, int32_t* answer) override;

  // [main thread] Adding 41 also adds 30 (and 38 for a real-time type).
  virtual void AddFeatureCode(int32_t code);
  bool HasFeatureCode(int32_t code) const;
  const std::vector<int32_t>& FeatureCodes() const { return featureCodes; }

  // [main thread · may throw CDAEError −7401 for a stem format without a channel count] Also
  // adds feature code 29 and derives the channel counts.
  void SetStemFormats(int32_t inputStem, int32_t outputStem, int32_t extra);
  // [main thread] Selector −1: the plug-in-type value; 18, 21: its low bit; 26, 29: its low
  // three bits. Any other selector answers the generic failure.
  int32_t SetProperty(int32_t value, int32_t selector);

  // [main thread] A name for one of the type's controls; this type has none of its own.
  virtual int32_t GetControlName(int32_t value, int32_t controlIndex, hostabi::SHostString* name);

  // [main thread] Makes, attaches and initialises a process; the status of a failure.
  int32_t CreateProcess(int32_t argument, std::unique_ptr<CEffectProcess>* process);

  void SetNames(const char* names) { this->names = names ? names : ""; }
  const std::string& Names() const { return names; }
  void SetProcessFactory(ProcessFactory factory) { processFactory = factory; }
  ProcessFactory GetProcessFactory() const { return processFactory; }

  int32_t TypeID() const { return typeID; }
  int32_t ProductID() const { return productID; }
  int32_t Category() const { return category; }
  int32_t InputStemFormat() const { return inputStem; }
  int32_t OutputStemFormat() const { return outputStem; }
  int32_t InputChannels() const { return inputChannels; }
  int32_t OutputChannels() const { return outputChannels; }
  int32_t PlugInTypeValue() const { return plugInTypeValue; }
  int32_t CardValue(int32_t cardType) const;
  const std::array<SDSPSlot, kDSPSlotCount>& DSPSlots() const { return dspSlots; }

protected:
  int32_t typeID;
  int32_t productID;
  int32_t registrationClass = hostabi::kGroupRegistrationClass;
  int32_t category;
  bool usesPlugInTypeValue;
  int32_t inputStem = -1;
  int32_t outputStem = -1;
  int32_t inputChannels = 0;
  int32_t outputChannels = 0;
  int32_t extraStem = 0;
  std::string names;
  int32_t plugInTypeValue = 1;
  int32_t value18 = 1;
  int32_t value21 = 1;
  int32_t value26 = 1;
  int32_t value29 = 1;
  std::vector<int32_t> featureCodes{7};
  ProcessFactory processFactory = nullptr;
  std::array<SDSPSlot, kDSPSlotCount> dspSlots{};
};

class CEffectTypeRTAS : public CEffectType {
public:
  using CEffectType::CEffectType;
  void AddFeatureCode(int32_t code) override;
};

// Host hardware behind capability 32: the card types installed and the DSPs that can run them.
bool HostHasCardType(int32_t cardType);
bool HostHasQualifyingDSPOn(int32_t cardType);
