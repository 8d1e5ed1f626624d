#include "rtas/IPlugDigiView.h"

#include "rtas/CustomViewFactory.h"
#include "rtas/IPlugCustomUI.h"

namespace tavo {

void IPlugDigiView::Draw(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (editorUI_) editorUI_->RedrawAll(left, top, right, bottom);
}

std::unique_ptr<CPlugInView> IPlugDigiView::Make(int32_t width, int32_t height) {
  return std::make_unique<IPlugDigiView>(width, height);
}

IPlugDigiView* IPlugFrameView::AddEditorView(const char* description) {
  std::unique_ptr<CPlugInView> view = CustomViewFactory::Create(description, width_, height_);
  auto* editorView = dynamic_cast<IPlugDigiView*>(view.get());
  if (!editorView) return nullptr;
  child_.reset(static_cast<IPlugDigiView*>(view.release()));
  return editorView;
}

} // namespace tavo
