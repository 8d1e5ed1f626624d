#pragma once
// What the host's plug-in window asks of a custom editor: open it in a window, close it, redraw
// it and tell its size. The host calls these through the virtual table, so the operations keep
// their order; the last three are hooks the host may call that an editor without further
// wishes answers by doing nothing.

#include <cstdint>

namespace tavo {

class EditorInterface {
public:
  EditorInterface() = default;
  EditorInterface(const EditorInterface&) = delete;
  EditorInterface& operator=(const EditorInterface&) = delete;

  // 0 — clears the object's pointers; the windows are the host's to tear down (CloseEditor).
  virtual ~EditorInterface() = default;
  // [main thread] 1 — opens the editor inside the parent window; the two values are not used.
  virtual bool OpenEditor(void* parent, int16_t unused1, int16_t unused2) = 0;
  // [main thread] 2 — false when no editor window is open.
  virtual bool CloseEditor() = 0;
  // [main thread] 3 — the host drew over the given area of the editor.
  virtual void RedrawAll(int32_t left, int32_t top, int32_t right, int32_t bottom) = 0;
  // [main thread] 4 — the editor's size as the host's rectangle.
  virtual void GetEditorRect(int16_t* top, int16_t* left, int16_t* bottom, int16_t* right) = 0;
  // [main thread] 5, 6 — nothing to do.
  virtual void EditorHook5(int32_t, int32_t, int32_t, int32_t) {}
  virtual void EditorHook6(int32_t, int32_t, int32_t) {}
  // [main thread] 7 — writes 0.
  virtual void EditorQuery7(int32_t, int32_t, int32_t* answer) {
    if (answer) *answer = 0;
  }
};

} // namespace tavo
