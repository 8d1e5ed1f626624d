#pragma once
// A rectangle filled with one colour.

#include "graphics/IControl.h"

namespace tavo {

class IPanelControl : public IControl {
public:
  // [main thread] Bound to no parameter.
  IPanelControl(IPlugBase* plug, const IBounds& rect, const IColorRGBA& colour)
      : IControl(plug, rect), color(colour) {}
  ~IPanelControl() override = default;

  // [editor thread]
  bool Draw(IGraphics* graphics) override;

protected:
  IColorRGBA color;
};

} // namespace tavo
