#pragma once
// The editor in a real X11 window. The Linux editor class draws into its presented frame as it
// does offscreen; this window shows that frame on the X server, embedded in a window the host
// gives (or top-level), and hands the server's mouse and key events to the graphics core as the
// host stand-in's injected events reach it: press, drag with the pointer grabbed, release,
// double-click, wheel, modifiers, keys. Redraws follow the core's timer, ticked from Idle. The
// window is the editor's surface size (device pixels) and follows a change of the editor's
// scale; the server's positions are divided by the scale before they reach the core.
//
// Everything here runs on the thread that opened the window (the host's UI thread).

#include <memory>

#include "graphics/posix/IGraphicsLinux.h"

namespace tavo {

class X11EditorWindow {
public:
  // [editor thread · allocates] Opens the editor's window and an X window of the editor's size
  // showing it, a child of `parent` (0: a top-level window) on the display named (null: the
  // DISPLAY environment variable). Null when no display can be opened.
  static std::unique_ptr<X11EditorWindow> Open(IGraphicsLinux& editor, unsigned long parent,
                                               const char* displayName = nullptr);
  // [editor thread] Destroys the X window and closes the editor's window.
  ~X11EditorWindow();
  X11EditorWindow(const X11EditorWindow&) = delete;
  X11EditorWindow& operator=(const X11EditorWindow&) = delete;

  // The X window's identifier, for the host to embed.
  unsigned long WindowId() const;
  // The connection to the X server, for a host's run loop to watch: Idle is due when it becomes
  // readable.
  int ConnectionFd() const;
  // [editor thread] Handles every pending event, ticks the core's redraw timer when it is due and
  // shows what changed. False once the server or the host destroyed the window.
  bool Idle();

  struct State; // the X server's objects, private to the implementation

private:
  explicit X11EditorWindow(IGraphicsLinux& editor);
  void Present(int left, int top, int right, int bottom);
  void FollowScale();
  void Route(const void* event);

  IGraphicsLinux& editor_;
  std::unique_ptr<State> x_;
};

} // namespace tavo
