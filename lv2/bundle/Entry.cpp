// The bundle binary's exports (LV2_SYMBOL_EXPORT: C linkage, visible): the host asks for plug-in
// and UI descriptors by index until it gets none.

#include "lv2/TAVOLV2.h"
#include "lv2/ui/TAVOUI.h"

LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index) {
  return tavo::TAVOLV2Descriptor(index);
}

LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index) {
  return tavo::TAVOLV2UIDescriptor(index);
}
