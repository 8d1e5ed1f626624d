#include "rtas/IPlugDigiView.h"

#include "rtas/IPlugCustomUI.h"

namespace tavo {

void IPlugDigiView::Draw(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (editorUI_) editorUI_->RedrawAll(left, top, right, bottom);
}

IPlugDigiView& IPlugFrameView::AddEditorView() {
  child_ = std::make_unique<IPlugDigiView>(width_, height_);
  return *child_;
}

} // namespace tavo
