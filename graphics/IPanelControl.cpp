#include "graphics/IPanelControl.h"

#include "graphics/IGraphics.h"

namespace tavo {

bool IPanelControl::Draw(IGraphics* graphics) {
  return graphics->FillRect(color, rect, &blend);
}

} // namespace tavo
