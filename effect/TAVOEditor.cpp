#include "effect/TAVOEditor.h"

#include "effect/TAVO.h"
#include "graphics/GraphicsFactory.h"

namespace tavo {

std::unique_ptr<IGraphics> BuildTAVOEditor(TAVO* plug, int* meterControl) {
  auto editor = MakeGraphics(plug, TAVO::kEditorWidth, TAVO::kEditorHeight, 0);
  if (!editor) return nullptr;
  (void)meterControl;
  return editor;
}

} // namespace tavo
