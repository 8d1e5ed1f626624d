#include "graphics/GraphicsFactory.h"

namespace tavo {

// Linux has no editor window class yet: plug-ins run without an editor here.
std::unique_ptr<IGraphics> MakeGraphics(IPlugBase*, int, int, int) {
  return nullptr;
}

} // namespace tavo
