#pragma once
// The platform's editor class, created for a plug-in. The factory may yield no editor on a
// platform that has none; a plug-in without an editor processes audio all the same.

#include <memory>

#include "graphics/IGraphics.h"

namespace tavo {

// [main thread] width × height pixels, refreshed fps times a second (25 when not positive).
std::unique_ptr<IGraphics> MakeGraphics(IPlugBase* plug, int width, int height, int fps);

} // namespace tavo
