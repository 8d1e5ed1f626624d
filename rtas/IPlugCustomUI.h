#pragma once
// The editor interface object: creates the child window the editor draws in, inside the window
// the host gives, places the editor at the bottom of the host's area, centred across it, and
// reports the editor's size.

#include <cstdint>
#include <memory>

#include "rtas/EditorInterface.h"
#include "rtas/EditorWindowHost.h"

namespace tavo {

class IGraphics;
class IPlugRTAS;
class ProcessInterface;

class IPlugCustomUI : public EditorInterface {
public:
  struct Rect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
  };

  // [main thread · may throw std::system_error] Takes the module, plug-in and editor from the
  // owner and registers the child window's class.
  explicit IPlugCustomUI(ProcessInterface& owner);
  // Leaves the windows to CloseEditor: the host tears its window down itself.
  ~IPlugCustomUI() override;

  // [main thread · may throw std::system_error] Creates the child window and opens the editor in
  // it; false for a null parent.
  bool OpenEditor(void* parent, int16_t, int16_t) override;
  // [main thread] Closes the editor and destroys the child window; false when none is open.
  bool CloseEditor() override;
  // [main thread] The host asks for the editor to be drawn again; the area is not needed.
  void RedrawAll(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
  // [main thread] The editor's size as the host's rectangle (top and left are 0).
  void GetEditorRect(int16_t* top, int16_t* left, int16_t* bottom, int16_t* right) override;

  void* ParentWindow() const { return parentWindow_; }
  // The plug-in's editor, or null.
  IGraphics* Editor() const { return editor_; }
  editorhost::ChildWindow* ChildWindowOpen() const { return childWindow_.get(); }
  const Rect& EditorRect() const { return editorRect_; }
  int32_t FreeHeight() const { return freeHeight_; }
  int32_t ParentWidth() const { return parentWidth_; }

private:
  ProcessInterface& owner_;
  void* moduleInstance_ = nullptr;
  void* parentWindow_ = nullptr;
  std::unique_ptr<editorhost::ChildWindow> childWindow_;
  IPlugRTAS* plug_ = nullptr;
  IGraphics* editor_ = nullptr;
  Rect editorRect_{};
  int32_t freeHeight_ = 0;
  int32_t parentWidth_ = 0;
};

} // namespace tavo
