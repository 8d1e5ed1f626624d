// The DLL's entry point: the module's load and unload on Windows.

#include <windows.h>

#include "module/ModuleEntry.h"

// [loader thread · loader lock held] Attach hands ModuleOpen/ModuleClose to the host engine, or
// opens the module at once when the engine does not take them; a module that then fails to open
// refuses to load (FALSE), so the host never holds a module without its group. Thread attach and
// detach do nothing.
//
// Detach closes a module that opened itself when the host unloads it. When the whole process is
// ending instead (`reserved` non-null), the engine's DLLs may already have been detached and
// their state destroyed: closing would call into them, so the module leaves its group to the
// end of the process.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  switch (reason) {
  case DLL_PROCESS_ATTACH:
    return tavo::ModuleAttach(instance) ? TRUE : FALSE;
  case DLL_PROCESS_DETACH:
    if (!reserved) tavo::ModuleDetach();
    return TRUE;
  default:
    return TRUE;
  }
}
