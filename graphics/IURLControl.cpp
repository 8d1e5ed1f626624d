#include "graphics/IURLControl.h"

#include "base/FixedText.h"
#include "framework/IPlugBase.h"
#include "graphics/IGraphics.h"

namespace tavo {

IURLControl::IURLControl(IPlugBase* plugIn, const IBounds& bounds, const char* link,
                         const char* fallback, const char* name)
    : IControl(plugIn, bounds) {
  CopyText(url, link);
  CopyText(secondUrl, fallback);
  CopyText(windowName, name);
}

void IURLControl::OnMouseDown(int, int, const MouseMods&) {
  IGraphics* graphics = GraphicsOf(plug);
  if (!graphics) return;
  bool opened = false;
  if (url[0]) opened = graphics->OpenURL(url, windowName);
  if (!opened && secondUrl[0]) graphics->OpenURL(secondUrl, windowName);
}

} // namespace tavo
