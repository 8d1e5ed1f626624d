#include "graphics/GraphicsFactory.h"

#include "graphics/posix/IGraphicsLinux.h"

namespace tavo {

std::unique_ptr<IGraphics> MakeGraphics(IPlugBase* plug, int width, int height, int fps) {
  auto graphics = std::make_unique<IGraphicsLinux>(plug, width, height, fps);
  // The artwork is embedded in the module that carries the editor code.
  graphics->SetModule(platform::CurrentModule());
  return graphics;
}

} // namespace tavo
