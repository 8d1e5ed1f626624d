// The bundle binary's one export: the host asks for descriptors by index until it gets none.

#include "lv2/TAVOLV2.h"

extern "C" LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index) {
  return tavo::TAVOLV2Descriptor(index);
}
