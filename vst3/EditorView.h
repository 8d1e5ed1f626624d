#pragma once
// The editor's view: the instance's editor in the platform's window, embedded in the window the
// host gives, fixed at the editor's size. Each platform writes its own (vst3/posix: an X11 window
// driven through the host's run loop).

#include "vst3/IPlugVST3.h"
#include "vst3/abi/View.h"

namespace tavo::vst3 {

// What the view tells its owner on each tick of the host's run loop while it is attached.
class ViewTicks {
public:
  virtual void OnViewTick() = 0; // [main thread]

protected:
  ~ViewTicks() = default;
};

// [main thread · allocates] A view of the editor `plug` owns, with one reference, the caller's;
// null when the plug-in has no editor. The view must not outlive `plug` or `ticks` (may be null).
IPlugView* CreateEditorView(IPlugVST3& plug, ViewTicks* ticks);

} // namespace tavo::vst3
