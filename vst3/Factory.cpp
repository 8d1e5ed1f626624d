#include "vst3/Factory.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <new>

#include "base/FixedText.h"
#include "effect/TAVODescriptor.h"
#include "vst3/ClassIds.h"
#include "vst3/Controller.h"
#include "vst3/ParamMapping.h"
#include "vst3/Processor.h"

namespace tavo::vst3 {

namespace {

constexpr const char* kProcessorCategory = "Audio Module Class";
constexpr const char* kControllerCategory = "Component Controller Class";
constexpr const char* kSubCategories = "Fx|Distortion";
// The version of the interface these declarations follow.
constexpr const char* kInterfaceVersion = "VST 3.7.14";
constexpr int32_t kClassCount = 2;

struct ClassText {
  const Uid* cid;
  const char* category;
  const char* subCategories;
};
constexpr ClassText kClasses[kClassCount] = {
    {&kProcessorCid, kProcessorCategory, kSubCategories},
    {&kControllerCid, kControllerCategory, ""},
};

// "1.0.0" from the descriptor's 0xMMMMmmbb.
void VersionText(char* out, size_t outSize) {
  const int32_t v = kTAVODescriptor.version;
  std::snprintf(out, outSize, "%d.%d.%d", v >> 16, (v >> 8) & 0xFF, v & 0xFF);
}

class Factory final : public IPluginFactory3 {
public:
  tresult TAVO_VST3_CALL queryInterface(const TUID iid, void** obj) override {
    if (!obj) return kInvalidArgument;
    *obj = nullptr;
    if (!SameUid(iid, FUnknown::kIid) && !SameUid(iid, IPluginFactory::kIid) &&
        !SameUid(iid, IPluginFactory2::kIid) && !SameUid(iid, IPluginFactory3::kIid)) {
      return kNoInterface;
    }
    *obj = static_cast<IPluginFactory3*>(this);
    addRef();
    return kResultOk;
  }
  // The factory outlives every reference: it is the module's.
  uint32_t TAVO_VST3_CALL addRef() override { return ++refs_; }
  uint32_t TAVO_VST3_CALL release() override { return refs_ > 0 ? --refs_ : 0; }

  tresult TAVO_VST3_CALL getFactoryInfo(PFactoryInfo* info) override {
    if (!info) return kInvalidArgument;
    *info = {};
    CopyText(info->vendor, kTAVODescriptor.makerName);
    info->flags = PFactoryInfo::kUnicode;
    return kResultOk;
  }
  int32_t TAVO_VST3_CALL countClasses() override { return kClassCount; }

  tresult TAVO_VST3_CALL getClassInfo(int32_t index, PClassInfo* info) override {
    if (!info || index < 0 || index >= kClassCount) return kInvalidArgument;
    *info = {};
    CopyUid(*kClasses[index].cid, info->cid);
    info->cardinality = kManyInstances;
    CopyText(info->category, kClasses[index].category);
    CopyText(info->name, kTAVODescriptor.effectName);
    return kResultOk;
  }
  tresult TAVO_VST3_CALL getClassInfo2(int32_t index, PClassInfo2* info) override {
    if (!info || index < 0 || index >= kClassCount) return kInvalidArgument;
    *info = {};
    CopyUid(*kClasses[index].cid, info->cid);
    info->cardinality = kManyInstances;
    CopyText(info->category, kClasses[index].category);
    CopyText(info->name, kTAVODescriptor.effectName);
    CopyText(info->subCategories, kClasses[index].subCategories);
    CopyText(info->vendor, kTAVODescriptor.makerName);
    VersionText(info->version, sizeof info->version);
    CopyText(info->sdkVersion, kInterfaceVersion);
    return kResultOk;
  }
  tresult TAVO_VST3_CALL getClassInfoUnicode(int32_t index, PClassInfoW* info) override {
    PClassInfo2 narrow;
    if (!info || getClassInfo2(index, &narrow) != kResultOk) return kInvalidArgument;
    *info = {};
    std::memcpy(info->cid, narrow.cid, sizeof info->cid);
    info->cardinality = narrow.cardinality;
    CopyText(info->category, narrow.category);
    CopyToUtf16(info->name, static_cast<int>(std::size(info->name)), narrow.name);
    info->classFlags = narrow.classFlags;
    CopyText(info->subCategories, narrow.subCategories);
    CopyToUtf16(info->vendor, static_cast<int>(std::size(info->vendor)), narrow.vendor);
    CopyToUtf16(info->version, static_cast<int>(std::size(info->version)), narrow.version);
    CopyToUtf16(info->sdkVersion, static_cast<int>(std::size(info->sdkVersion)), narrow.sdkVersion);
    return kResultOk;
  }
  tresult TAVO_VST3_CALL setHostContext(FUnknown*) override { return kResultOk; }

  // [main thread] Unknown class or interface: null and kNoInterface.
  tresult TAVO_VST3_CALL createInstance(const char* cid, const char* iid, void** obj) override {
    if (!obj) return kInvalidArgument;
    *obj = nullptr;
    FUnknown* object = nullptr;
    try {
      if (SameUid(cid, kProcessorCid))
        object = static_cast<IComponent*>(new Processor());
      else if (SameUid(cid, kControllerCid))
        object = static_cast<IEditController*>(new Controller());
    } catch (const std::bad_alloc&) {
      return kOutOfMemory;
    }
    if (!object) return kNoInterface;
    // The creator's reference goes to the caller through queryInterface, or the object goes.
    const tresult answer = object->queryInterface(iid, obj);
    object->release();
    return answer;
  }

private:
  std::atomic<uint32_t> refs_{0};
};

Factory& TheFactory() {
  static Factory factory; // lives until the module unloads
  return factory;
}

std::atomic<int> moduleLoads{0};

} // namespace

IPluginFactory* TakeFactory() {
  Factory& factory = TheFactory();
  factory.addRef();
  return &factory;
}

bool EnterModule() {
  ++moduleLoads;
  return true;
}

bool ExitModule() {
  // An exit without an entry is the host's mistake: nothing to clean up, and no count below 0.
  int loads = moduleLoads.load();
  while (loads > 0 && !moduleLoads.compare_exchange_weak(loads, loads - 1)) {
  }
  return true;
}

} // namespace tavo::vst3
