#pragma once
// A click area without a picture that toggles its parameter between 0 and 1.

#include "graphics/IControl.h"

namespace tavo {

class IInvisibleSwitchControl : public IControl {
public:
  // [main thread] Plain-copy blend; a right-click never prompts for a value.
  IInvisibleSwitchControl(IPlugBase* plug, const IBounds& rect, int paramIdx);
  ~IInvisibleSwitchControl() override = default;

  // [editor thread] Below 0.5 becomes 1, anything else 0.
  void OnMouseDown(int x, int y, const MouseMods& mods) override;
  // [editor thread] Draws nothing.
  bool Draw(IGraphics*) override { return true; }
};

} // namespace tavo
