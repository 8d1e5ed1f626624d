#pragma once
// The editor on Linux, without a window system. Opening the window gives an offscreen window
// whose presented frame receives every screen copy and can be read back or saved as PNG; the
// host drives redrawing by calling OnTimerTick every TimerPeriodMs and injects mouse and key
// events through the core's operations (a host that loaded the module reaches them through the
// window port the editor hosting announces). Questions to the user go to an installed responder.

#include <memory>

#include "drawing/LICE_MemBitmap.h"
#include "graphics/IGraphics.h"
#include "graphics/posix/IEditorResponder.h"
#include "platform/ModulePath.h"

namespace tavo {

class IGraphicsLinux : public IGraphics {
public:
  // Message box types and answers, as the editor's callers know them.
  static constexpr int kMessageOk = 0;
  static constexpr int kMessageYesNo = 4;
  static constexpr int kAnswerYes = 6;

  // [main thread] No window yet; resources come from the module set with SetModule.
  IGraphicsLinux(IPlugBase* plug, int width, int height, int fps = 0);
  ~IGraphicsLinux() override;

  // ---- Platform slots of the core ----
  // [editor thread] Copies the rectangle (cut to the editor) into the presented frame; false
  // when no window is open.
  bool DrawScreen(const IBounds& rect) override;
  // [editor thread] Text entry is answered while it is asked, so nothing is ever left open.
  void AbortTextEntry() override {}
  // [main thread · allocates] The core's resize, then the presented frame follows.
  void Resize(int width, int height) override;
  int ShowMessageBox(const char* text, const char* caption, int type) override;
  // [editor thread · may block] Drops the capture and mouse-over state, then asks the responder
  // for a tree identifier.
  IPopupMenu* PopupMenuForControl(IControl* control, IPopupMenu& menu,
                                  const IBounds& rect) override;
  // [editor thread · may block] Asks the responder; a confirmed text is cut to the control's
  // entry length, stripped of characters the parameter's kind cannot take and handed on.
  void TextEntryForControl(IControl* control, const char* text, const IBounds& rect) override;
  // [any thread] Folder of the running program, with its trailing '/'; empty when unknown.
  void HostFolder(GrowableText* out) override;
  // [any thread] Folder of the module that carries the editor, with its trailing '/'.
  void ModuleFolder(GrowableText* out) override;
  // [any thread] $HOME/Desktop when it exists, else $HOME, else empty.
  void DesktopFolder(GrowableText* out) override;
  // [editor thread · may block] Without a window the file name becomes empty. An empty folder
  // starts from the desktop; a chosen path hands its folder back.
  bool PromptForFile(GrowableText* fileName, int action, GrowableText* folder,
                     const char* extensions) override;
  bool PromptForColour(IColorRGBA* colour, const char* prompt) override;
  // [editor thread · may block] Confirms first when asked to, reports the error text on failure.
  bool OpenURL(const char* url, const char* windowTitle = nullptr,
               const char* confirmText = nullptr, const char* errorText = nullptr) override;
  // [main thread] Opens (or re-opens) the offscreen window and marks everything for redraw.
  void* OpenWindow(void* parent) override;
  void CloseWindow() override;
  void* WindowHandle() override { return window_.get(); }
  // [main thread · may block] The PNG resource of that identifier when the name ends in ".png".
  LICE_IBitmap* LoadPlatformBitmap(int id, const char* name) override;
  // [main thread] The presented frame takes the surface's size (blank until the next tick).
  void ScaleChanged() override;

  // ---- The Linux host's side ----
  void SetModule(platform::ModuleHandle module) { module_ = module; }
  // Not owned; null removes it.
  void SetResponder(IEditorResponder* responder) { responder_ = responder; }
  // The redraw period the host should tick at: (int)(1000 / fps) milliseconds.
  int TimerPeriodMs() const { return static_cast<int>(1000.0 / fps_); }
  // [editor thread] One redraw tick: redraws the union of the dirty controls when the window is
  // open. True when something was drawn.
  bool OnTimerTick();
  // [editor thread] The last presented frame (the surface's size), or null with no window open.
  const LICE_IBitmap* PresentedFrame() const { return window_ ? &window_->frame : nullptr; }
  // [editor thread · may block] Writes the presented frame as PNG; false without a window.
  bool SavePresentedFrame(const char* path) const;

private:
  struct OffscreenWindow {
    void* parent = nullptr;
    LICE_MemBitmap frame;
  };

  platform::ModuleHandle module_ = nullptr;
  IEditorResponder* responder_ = nullptr;
  std::unique_ptr<OffscreenWindow> window_;
  bool entryOpen_ = false;
};

} // namespace tavo
