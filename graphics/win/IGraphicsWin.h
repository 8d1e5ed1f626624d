#pragma once
// The editor on Windows: a child window of class "IPlugWndClass" inside the window the host
// gives. It paces redrawing with a timer, copies the composed back buffer (the surface's memory
// device context) to the screen, turns window messages into the core's mouse, wheel and key
// calls, and provides the in-place text entry, popup menus, file and colour dialogs, message
// boxes, links, standard folders, the hidden cursor and the artwork from the module.
//
// Lifecycle: made by the graphics factory (window closed); OpenWindow by the editor hosting when
// the host shows the editor; messages and timer ticks until CloseWindow or WM_CLOSE; the
// destructor closes the window if it is still open. Everything here runs on the host's
// user-interface thread.

#include <windows.h>

#include <array>
#include <memory>

#include "base/GrowableBuffer.h"
#include "graphics/IGraphics.h"
#include "platform/ModulePath.h"

namespace tavo {

class IParameter;

class IGraphicsWin : public IGraphics {
public:
  static constexpr const char* kWindowClass = "IPlugWndClass";
  static constexpr UINT_PTR kTimerId = 2;
  // The window property naming the redraw timer's period in milliseconds.
  static constexpr const char* kPeriodProperty = "RedrawPeriodMs";
  static constexpr int kEditControlId = 99;
  // How far the text of an entry is read back, terminator included.
  static constexpr int kEditTextSize = 32;

  // The in-place edit's state: idle; the edit has the focus; the editor was redrawn while the
  // edit is open; cancel requested; commit requested. Cancel and commit take effect at the next
  // timer tick.
  enum TextEntryState {
    kEditIdle = 0,
    kEditFocused = 1,
    kEditRedrawn = 2,
    kEditCancel = 3,
    kEditCommit = 4
  };

  // [main thread] No window yet; artwork and the window class come from the module set with
  // SetModule.
  IGraphicsWin(IPlugBase* plug, int width, int height, int fps = 0);
  ~IGraphicsWin() override;

  // ---- Platform slots of the core ----
  // [editor thread] Copies the rectangle from the back buffer while painting.
  bool DrawScreen(const IBounds& rect) override;
  // [editor thread] The open edit closes without committing at the next tick.
  void AbortTextEntry() override { editState_ = kEditCancel; }
  // [main thread · allocates] The core's resize, then the window follows the new size.
  void Resize(int width, int height) override;
  bool WindowIsOpen() override { return window_ != nullptr; }
  // [editor thread · may block] Owned by the host's main window.
  int ShowMessageBox(const char* text, const char* caption, int type) override;
  // [editor thread · may block] A native popup menu numbered as IPopupMenu.h says.
  IPopupMenu* PopupMenuForControl(IControl* control, IPopupMenu& menu,
                                  const IBounds& rect) override;
  // [editor thread] Opens the in-place edit over rect; one at a time, nothing without a window.
  void TextEntryForControl(IControl* control, const char* text, const IBounds& rect) override;
  // [any thread] Folder of the host's executable / of the module, with the trailing '\'.
  void HostFolder(GrowableText* out) override;
  void ModuleFolder(GrowableText* out) override;
  void DesktopFolder(GrowableText* out) override;
  // [editor thread · may block]
  bool PromptForFile(GrowableText* fileName, int action, GrowableText* folder,
                     const char* extensions) override;
  bool PromptForColour(IColorRGBA* colour, const char* prompt) override;
  bool OpenURL(const char* url, const char* windowTitle = nullptr,
               const char* confirmText = nullptr, const char* errorText = nullptr) override;
  // [main thread] Creates the editor window in parent (re-creating it, at its size and place,
  // when one is open); null when it cannot be made.
  void* OpenWindow(void* parent) override;
  void CloseWindow() override;
  void* WindowHandle() override { return window_; }
  // [editor thread]
  void HideCursor() override;
  void RestoreCursor() override;
  // [main thread · may block] The module's "PNG" resource of that identifier when the name ends
  // in ".png".
  LICE_IBitmap* LoadPlatformBitmap(int id, const char* name) override;

  // [main thread] After the scale changed: the window takes the scaled size (and its parents
  // grow with it where Resize grows them) and is painted anew.
  void ScaleChanged() override;
  // [UI thread] The window is shown at this DPI (on opening, or moved to a monitor of another
  // density): the editor draws at the painted scale nearest it. 0 changes nothing, and so does
  // any DPI once the host has set the scale.
  void FollowDpi(unsigned dpi);
  // [UI thread] A host that scales its plug-ins' views itself (a VST 3 host's content scale):
  // the editor draws at its scale, even one between the painted sets, and from then on leaves
  // the monitor's DPI to the host.
  void TakeScaleFromHost(float scale);

  void SetModule(platform::ModuleHandle module) { moduleHandle_ = static_cast<HINSTANCE>(module); }
  HWND EditWindow() const { return editWindow_; }
  int EditState() const { return editState_; }
  // The timer period the window was created with, (int)(1000 / fps) milliseconds; 0 before.
  int TimerPeriodMs() const { return timerPeriodMs_; }
  // Editor windows open in this process; the class is registered while there is one.
  static int OpenWindowCount();

private:
  static LRESULT CALLBACK WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK EditProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT HandleEditMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void OnTimer();
  void OnButtonDown(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
  MouseMods ModsFrom(WPARAM keyState) const;
  // Commits (state 4) or drops the edit's text, then destroys the edit and returns to idle.
  void CloseTextEntry(bool commit);
  // The edit or the window is being destroyed from outside (the host destroyed its window, and
  // the children with it): the editor lets go of the handle at once, before the system can give
  // it to another window that a later close would then reach.
  void ForgetTextEntry();
  void ForgetWindow(HWND window);
  HWND HostMainWindow();
  // The window and, where the interface lets the editor size them, its parents grow by (dw, dh)
  // window pixels; the whole window is painted again.
  void GrowWindows(int dw, int dh);
  // Window messages carry window pixels, scale times the editor's: the point or rectangle in
  // editor pixels (a rectangle grows to cover every window pixel it touched), and back.
  int Logical(int windowPixel) const { return ToLogical(windowPixel); }
  IBounds LogicalOf(const RECT& r) const;
  RECT WindowRectOf(const IBounds& logical) const;

  HINSTANCE moduleHandle_ = nullptr;
  HWND window_ = nullptr;
  HWND editWindow_ = nullptr;
  IControl* editControl_ = nullptr;
  const IParameter* editParam_ = nullptr;
  WNDPROC editDefaultProc_ = nullptr;
  HFONT editFont_ = nullptr; // deleted with the edit
  int editState_ = kEditIdle;
  std::unique_ptr<std::array<COLORREF, 16>> customColours_; // zeroed on first use
  DWORD processId_ = 0;
  HWND parentWindow_ = nullptr;
  HWND mainWindow_ = nullptr;
  GrowableText mainWindowClass_;
  int timerPeriodMs_ = 0;
  bool scaleFromHost_ = false;
};

} // namespace tavo
