#include "module/ModuleEntry.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "hostlib/CDAEError.h"
#include "hostlib/CHostEngine.h"
#include "hostlib/CModuleState.h"
#include "module/IPlugGroup.h"
#include "platform/ModulePath.h"

using namespace hostabi;

namespace tavo {

namespace {
constexpr const char kResourceSuffix[] = ".rsr";
constexpr size_t kModulePathChars = 256; // what most paths take; longer ones are read again

void DestroyGroup() {
  try {
    std::unique_ptr<IPlugGroup> group(Module().group);
    Module().group = nullptr;
  } catch (...) {
  }
}

// The resource file sits beside the module: the module's whole file name with ".rsr" appended.
// A name cut to a fixed buffer would name some other file, so the path takes what it needs.
std::string ResourcePath(void* moduleInstance) {
  std::string path(kModulePathChars + 1, '\0');
  size_t length = platform::ModuleFilePath(moduleInstance, path.data(), path.size());
  if (length >= path.size()) {
    path.assign(length + 1, '\0');
    length = std::min(platform::ModuleFilePath(moduleInstance, path.data(), path.size()),
                      path.size() - 1);
  }
  path.resize(length);
  return path + kResourceSuffix;
}

void Reverse(uint8_t* p, size_t n) {
  std::reverse(p, p + n);
}
} // namespace

ModuleState& Module() {
  static ModuleState state;
  return state;
}

IPlugGroup* ModuleGroup() {
  return Module().group;
}

int16_t NewPlugInImpl() {
  // A second group would leave the first one, and the live processes of its types, behind.
  if (Module().group) return static_cast<int16_t>(kErrGroupExists);
  try {
    auto group = std::unique_ptr<IPlugGroup>(new (std::nothrow) IPlugGroup());
    if (!group) return static_cast<int16_t>(kErrGroupAllocation);
    // Published only once it is whole: a group that throws here goes with the exception.
    group->Initialize();
    Module().group = group.release();
    return 0;
  } catch (const CDAEError& e) {
    return static_cast<int16_t>(e.Code());
  } catch (...) {
    return static_cast<int16_t>(kErrGeneric);
  }
}

int16_t HOSTABI_CALL ModuleOpen() {
  ModuleState& m = Module();
  if (++m.openCount != 1) return 0;

  try {
    m.resourcePath = ResourcePath(m.moduleInstance);
  } catch (const std::bad_alloc&) {
    m.resourcePath.clear();
    m.opened = false;
    return static_cast<int16_t>(kErrOutOfMemory);
  }
  CModuleState::OpenModuleResourceFile(m.resourcePath.c_str(), &SwapResourceByteOrder);

  int16_t status = NewPlugInImpl();
  // A host that made the group through the export before opening opens the module with it.
  if (status == static_cast<int16_t>(kErrGroupExists)) status = 0;
  m.opened = status == 0;
  if (!m.opened) {
    DestroyGroup();
    CModuleState::CloseModuleResourceFile(m.resourcePath.c_str());
  }
  return status;
}

int16_t HOSTABI_CALL ModuleClose() {
  ModuleState& m = Module();
  if (m.openCount > 0) --m.openCount;
  if (m.openCount == 0 && m.opened) {
    DestroyGroup();
    CModuleState::CloseModuleResourceFile(m.resourcePath.c_str());
    m.opened = false;
  }
  return 0;
}

int32_t HOSTABI_CALL SwapResourceByteOrder(int32_t, int32_t type, int32_t, uint8_t* bytes) {
  if (!bytes) return 0;
  if (type == FourCC("thng")) {
    for (size_t offset = 0; offset < 20; offset += 4)
      Reverse(bytes + offset, 4);
    for (size_t group = 20; group < 44; group += 6) {
      Reverse(bytes + group, 4);
      Reverse(bytes + group + 4, 2);
    }
    return 1;
  }
  if (type == FourCC("cfrg")) {
    Reverse(bytes + 32, 4);
    return 1;
  }
  return 0;
}

bool ModuleAttach(void* moduleInstance) {
  try {
    ModuleState& m = Module();
    m.moduleInstance = moduleInstance;
    // A host that takes the procedures opens and closes the module itself.
    m.entryProcsFound = CHostEngine::Get().SetOpenAndCloseProcs(&ModuleOpen, &ModuleClose);
    if (m.entryProcsFound) return true;
    return ModuleOpen() == 0;
  } catch (...) {
    return false;
  }
}

void ModuleDetach() {
  try {
    if (!Module().entryProcsFound) ModuleClose();
  } catch (...) {
  }
}

} // namespace tavo

using namespace tavo;

extern "C" {

int16_t HOSTABI_CALL NewPlugIn(int32_t) {
  return NewPlugInImpl();
}

int32_t HOSTABI_CALL WinPlugInOpen(int32_t value) {
  CModuleState::openedThroughWinPlugInOpen = false;
  if (value != plugin::kWinPlugInOpenValue) return -1;
  CModuleState::openedThroughWinPlugInOpen = true;
  return ModuleOpen();
}

int32_t HOSTABI_CALL WinPlugInClose() {
  return ModuleClose();
}
}
