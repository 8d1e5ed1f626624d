#pragma once
// The window-system side of editor hosting: the class of the child window the editor lives in,
// the parent's client area and the child window itself. Each platform folder supplies these
// (posix/: the host's window is an opaque record of its client area and the child is a plain
// record the offscreen editor opens in).

#include <cstdint>
#include <memory>

class LICE_IBitmap;

namespace tavo {
class IGraphics;
}

namespace tavo::editorhost {

struct ClientRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

class ChildWindow {
public:
  virtual ~ChildWindow() = default;
  // The handle the editor's window is opened in.
  virtual void* Handle() = 0;
  virtual ClientRect Frame() const = 0;
};

// [main thread · may throw std::system_error] Registers the class of the editor's child window
// once; an existing registration is accepted.
void RegisterLocalWindowClass(void* moduleInstance);
// [main thread] The parent's client area; false for a window the system does not know.
bool ParentClientRect(void* parent, ClientRect* rect);
// [main thread] A visible child window at (x, y) of the given size; null when it cannot be made.
std::unique_ptr<ChildWindow> CreateChildWindow(void* parent, int32_t x, int32_t y, int32_t width,
                                               int32_t height);
// [main thread] Destroys the window; answers whether the system did.
bool DestroyChildWindow(std::unique_ptr<ChildWindow> window);
// [main thread] The editor's window has opened in the child, or is about to close. Where the host
// rather than a window system drives the window (Linux), the child announces the window's port to
// the host's window layer and withdraws it; with a window system there is nothing to do.
void EditorWindowOpened(ChildWindow& child, IGraphics& editor);
void EditorWindowClosing(ChildWindow& child);

// Where the host, not a window system, drives the editor's window (Linux), these are its
// handles on it; with a window system they answer "nothing to do".
// [main thread] One redraw tick of the editor's open window; true when something was drawn.
bool TickEditorWindow(IGraphics& editor);
// [main thread] How often the host should tick, in milliseconds.
int EditorTimerPeriodMs(const IGraphics& editor);
// [main thread] What the editor's open window last showed; null without one.
const LICE_IBitmap* PresentedFrame(const IGraphics& editor);

} // namespace tavo::editorhost
