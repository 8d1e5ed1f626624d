// The entry and exit a Windows host may call right after LoadLibrary and before FreeLibrary.
// Both are optional for a host, plain C functions of no arguments (no calling-convention marker,
// as hosts look them up and call them either way). Nested loads are counted, as on Linux.

#include "vst3/Factory.h"

extern "C" bool InitDll() {
  return tavo::vst3::EnterModule();
}

extern "C" bool ExitDll() {
  return tavo::vst3::ExitModule();
}
