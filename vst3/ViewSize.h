#pragma once
// The size the editor's view answers with on every platform: the editor's surface, which the
// host cannot change (the view is not resizable; the host's content scale changes the surface
// itself).

#include <cmath>

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

// setContentScaleFactor: `takeScale` hands the host's scale to the editor, which draws at it with
// the artwork painted for it; the size the view reports grows with it, and an attached view asks
// the frame for the new size (its window follows by itself).
template <class TakeScale>
tresult AnswerContentScale(const IGraphics& editor, float factor, TakeScale takeScale,
                           IPlugFrame* frame, IPlugView* view, bool attached) {
  if (!(factor > 0.0f) || !std::isfinite(factor)) return kInvalidArgument;
  const ViewRect before = EditorRect(editor);
  takeScale(factor);
  ViewRect now = EditorRect(editor);
  if (frame && attached && (now.right != before.right || now.bottom != before.bottom))
    frame->resizeView(view, &now);
  return kResultTrue;
}

} // namespace tavo::vst3
