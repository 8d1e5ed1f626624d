#include "graphics/IInvisibleSwitchControl.h"

namespace tavo {

IInvisibleSwitchControl::IInvisibleSwitchControl(IPlugBase* plugIn, const IBounds& bounds,
                                                 int param)
    : IControl(plugIn, bounds, param, kBlendCopy) {
  disablePrompt = true;
}

void IInvisibleSwitchControl::OnMouseDown(int, int, const MouseMods&) {
  value = value < 0.5 ? 1.0 : 0.0;
  SetDirty(true);
}

} // namespace tavo
