#pragma once
// The host views made for the editor: a plain frame view of the editor's size that holds the
// editor's own view. The editor's view asks the editor interface object to redraw whenever the
// host draws it.

#include <cstdint>
#include <memory>

#include "hostlib/CPlugInView.h"

namespace tavo {

class IPlugCustomUI;

class IPlugDigiView : public CPlugInView {
public:
  // The description the adaptor makes the editor's view from, and the class name it registers.
  static constexpr const char* kClassName = "IPlugDigiView";
  static constexpr const char* kDescription = "!IPlugDigiView[('NoID')]";

  IPlugDigiView(int32_t width, int32_t height) : width_(width), height_(height) {}
  // [main thread] The maker the view factory is given.
  static std::unique_ptr<CPlugInView> Make(int32_t width, int32_t height);

  // [main thread] Not owned: the process adaptor owns the editor interface object.
  void SetEditorUI(IPlugCustomUI* editorUI) { editorUI_ = editorUI; }
  IPlugCustomUI* EditorUI() const { return editorUI_; }
  // [main thread] The host draws the view: the editor redraws everything.
  void Draw(int32_t left, int32_t top, int32_t right, int32_t bottom);

  // [main thread] The host's window for the view; null when the host takes it away.
  int32_t SetWindow(void* window) {
    window_ = window;
    return 0;
  }
  void* Window() const { return window_; }

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }

private:
  IPlugCustomUI* editorUI_ = nullptr;
  void* window_ = nullptr;
  int32_t width_;
  int32_t height_;
};

// The plain view the host is handed; it owns the editor's view.
class IPlugFrameView : public CPlugInView {
public:
  IPlugFrameView(int32_t width, int32_t height) : width_(width), height_(height) {}

  // [main thread] The view the description names, at (0, 0) and filling the frame; null when
  // the description names no registered editor view.
  IPlugDigiView* AddEditorView(const char* description);
  IPlugDigiView* EditorView() const { return child_.get(); }

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }

private:
  std::unique_ptr<IPlugDigiView> child_;
  int32_t width_;
  int32_t height_;
};

} // namespace tavo
