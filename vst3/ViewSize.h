#pragma once
// The size the editor's view answers with on every platform: the editor's surface, which the
// host cannot change (the view is not resizable; the host's content scale, where the platform's
// view takes one, changes the surface itself).

#include "graphics/IGraphics.h"
#include "vst3/abi/View.h"

namespace tavo::vst3 {

inline ViewRect EditorRect(const IGraphics& editor) {
  return {0, 0, editor.SurfaceWidth(), editor.SurfaceHeight()};
}

// getSize
inline tresult AnswerSize(const IGraphics& editor, ViewRect* size) {
  if (!size) return kInvalidArgument;
  *size = EditorRect(editor);
  return kResultOk;
}

// onSize: the editor's own size is taken, any other refused.
inline tresult AnswerResize(const IGraphics& editor, const ViewRect* newSize) {
  if (!newSize) return kInvalidArgument;
  const ViewRect fixed = EditorRect(editor);
  return newSize->right - newSize->left == fixed.right &&
                 newSize->bottom - newSize->top == fixed.bottom
             ? kResultTrue
             : kResultFalse;
}

// checkSizeConstraint: whatever the host proposes becomes the editor's size at its corner.
inline tresult AnswerSizeConstraint(const IGraphics& editor, ViewRect* rect) {
  if (!rect) return kInvalidArgument;
  const ViewRect fixed = EditorRect(editor);
  *rect = {rect->left, rect->top, rect->left + fixed.right, rect->top + fixed.bottom};
  return kResultTrue;
}

} // namespace tavo::vst3
