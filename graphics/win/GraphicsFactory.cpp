#include "graphics/GraphicsFactory.h"

#include "graphics/win/IGraphicsWin.h"

namespace tavo {

std::unique_ptr<IGraphics> MakeGraphics(IPlugBase* plug, int width, int height, int fps) {
  auto graphics = std::make_unique<IGraphicsWin>(plug, width, height, fps);
  // The window class and the artwork live in the module that carries the editor code.
  graphics->SetModule(platform::CurrentModule());
  return graphics;
}

} // namespace tavo
