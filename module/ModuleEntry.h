#pragma once
// The module's outer skin: opening and closing the module (the group lives from the first open
// to the last close), the host-driven open and close, and the byte-order procedure the host's
// resource loader calls. The four exports are declared in RoutineTable.h.

#include <cstdint>
#include <string>

#include "hostlib/HostInterface.h"

namespace tavo {

class IPlugGroup;

struct ModuleState {
  void* moduleInstance = nullptr;
  int32_t openCount = 0;
  std::string resourcePath; // the module's whole path + ".rsr"
  bool opened = false;
  IPlugGroup* group = nullptr; // owned: created by NewPlugIn, destroyed by ModuleClose
  bool entryProcsFound = false;
};

// [main thread] The module-wide state (one per loaded module).
ModuleState& Module();

// [main thread] The group while the module is open, else null.
IPlugGroup* ModuleGroup();

// [main thread] 0 on success. Only the first open and the matching last close do work.
int16_t HOSTABI_CALL ModuleOpen();
int16_t HOSTABI_CALL ModuleClose();

// [main thread] Creates and initialises the group: 0, −7003 when it cannot be allocated, −7004
// while a group exists (which stays as it is), a host-library status, or −7401. A group whose
// initialisation fails is destroyed before the host could reach it.
int16_t NewPlugInImpl();

// [resource loader's thread] Converts the big-endian fields of 'thng' and 'cfrg' resources;
// answers 1 when it converted. `bytes` must hold 44 bytes for 'thng' and 36 for 'cfrg'.
int32_t HOSTABI_CALL SwapResourceByteOrder(int32_t, int32_t type, int32_t, uint8_t* bytes);

// [loader thread] The module's load and unload: hands ModuleOpen/ModuleClose to the host engine
// when it takes them, else opens the module itself. false refuses the load.
bool ModuleAttach(void* moduleInstance);
void ModuleDetach();

} // namespace tavo

extern "C" {
// The exports. [main thread]
int16_t HOSTABI_CALL NewPlugIn(int32_t ignored);
int32_t HOSTABI_CALL WinPlugInOpen(int32_t value);
int32_t HOSTABI_CALL WinPlugInClose();
int32_t HOSTABI_CALL _PI_GetRoutineDescriptor(uint32_t selector, void** routine);
}
