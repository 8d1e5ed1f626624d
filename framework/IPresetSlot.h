#pragma once
// One preset: a name and a state chunk in the plug-in's state layout.

#include "base/FixedText.h"
#include "framework/IStateChunk.h"

namespace tavo {

struct IPresetSlot {
  static constexpr size_t kNameSize = 256; // 255 characters and the terminator

  IPresetSlot() { CopyText(name, "empty"); }

  bool initialized = false;
  char name[kNameSize] = {};
  IStateChunk chunk;
};

} // namespace tavo
