#pragma once
// The platform-independent heart of the editor. It owns the ordered list of controls (index 0 is
// drawn first and is the background), the drawing surface and the routing of mouse and keyboard
// events to the controls and from there to the plug-in. A platform class supplies the window,
// the screen copy, menus, text entry and resources.
//
// Everything the core does is in editor (logical) pixels: control rectangles, hit tests, drags,
// the redraw bookkeeping. Only the surface and what the window shows are in device pixels, scale
// times as many on each side; the drawing helpers make the step, with the artwork painted at that
// scale (see PaintedScales.h). At scale 1 the two are one and the same.
//
// Lifecycle: the effect creates one editor, attaches its controls in drawing order and hands it
// to the plug-in with AttachEditor; from then on the plug-in owns it. The window is opened and
// closed by the host and only borrows the editor.

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "base/GrowableBuffer.h"
#include "framework/IEditor.h"
#include "graphics/GraphicsTypes.h"
#include "graphics/HostKeyMap.h"
#include "graphics/IControl.h"
#include "graphics/IPopupMenu.h"

class LICE_IBitmap;
class LICE_MemBitmap;
class LICE_SysBitmap;

namespace tavo {

class IPlugBase;

class IGraphics : public IEditor {
public:
  static constexpr int kDefaultFps = 25;

  // [main thread] Stores the plug-in, size and refresh rate (25 per second when not positive);
  // creates no bitmap yet.
  IGraphics(IPlugBase* plug, int width, int height, int fps = 0);
  IGraphics(const IGraphics&) = delete;
  IGraphics& operator=(const IGraphics&) = delete;

  // ---- Virtual operations, in slot order after IEditor's (platform ones are supplied by the
  // window class) ----
  // [editor thread] Copies the updated part of the surface to the window.
  virtual bool DrawScreen(const IBounds& rect) = 0;
  // [editor thread] DrawText in measuring mode: rect takes the text's extent.
  virtual bool MeasureText(const ITextStyle& style, const char* text, IBounds& rect) {
    return DrawText(style, text, rect, true);
  }
  // [editor thread] Cancels an open text entry.
  virtual void AbortTextEntry() = 0;
  // [main thread · takes the processing lock · allocates] Takes the new size, drops the capture,
  // deletes every control and both bitmaps, remakes the surfaces and tells the plug-in. The caller
  // re-creates the controls.
  virtual void Resize(int width, int height);
  // [main thread]
  virtual bool WindowIsOpen() { return WindowHandle() != nullptr; }
  virtual const char* ReservedTextQuery() { return ""; }
  // [editor thread · may block] The button pressed.
  virtual int ShowMessageBox(const char* text, const char* caption, int type) = 0;
  // [editor thread · may block] Shows the menu tree over the rectangle (dropping the mouse
  // capture and mouse-over state first). The answer is the (sub-)menu whose item was chosen, with
  // its chosenIndex set, or null when nothing was.
  virtual IPopupMenu* PopupMenuForControl(IControl* control, IPopupMenu& menu,
                                          const IBounds& rect) = 0;
  // [editor thread] Opens a text entry over the rectangle; the platform answers with
  // SetFromStringAfterPrompt (or the control's OnTextEntry) when the user confirms.
  virtual void TextEntryForControl(IControl* control, const char* text, const IBounds& rect) = 0;
  // [any thread] Standard folders; an empty text when unknown.
  virtual void HostFolder(GrowableText* out) = 0;
  virtual void ModuleFolder(GrowableText* out) = 0;
  virtual void DesktopFolder(GrowableText* out) = 0;
  // [editor thread · may block] File, colour and link dialogs; false when cancelled or failed.
  // The file dialog starts from fileName and folder (an empty folder means the desktop) and
  // offers the space-separated extensions (no dots). On success fileName becomes the chosen full
  // path and folder its folder; a cancel leaves both; without a window fileName becomes empty.
  enum FileAction { kFileOpen = 0, kFileSave = 1 };
  virtual bool PromptForFile(GrowableText* fileName, int action, GrowableText* folder,
                             const char* extensions) = 0;
  virtual bool PromptForColour(IColorRGBA* colour, const char* prompt) = 0;
  virtual bool OpenURL(const char* url, const char* windowTitle = nullptr,
                       const char* confirmText = nullptr, const char* errorText = nullptr) = 0;
  virtual int ReservedQuery(void*, void*, void*, void*) { return 0; }
  // [main thread] Opens the editor window inside the host's window.
  virtual void* OpenWindow(void* parent) = 0;
  virtual void ReservedHook(void*) {}
  virtual void ReservedHook() {}
  // [main thread]
  virtual void CloseWindow() = 0;
  virtual void* WindowHandle() = 0;
  // [main thread] Deletes the key catcher, the controls (last first) and both bitmaps.
  virtual ~IGraphics();
  // [editor thread] Hides the pointer while a control is dragged, and brings it back.
  virtual void HideCursor() {}
  virtual void RestoreCursor() {}
  // [main thread · may block] Loads an image from the module's resources (PNG), or null.
  virtual LICE_IBitmap* LoadPlatformBitmap(int id, const char* name) = 0;
  // [main thread] After SetScale changed the scale and remade the surface: the window follows.
  virtual void ScaleChanged() {}

  // ---- Controls ----
  // [main thread · takes the processing lock] Ownership passes to the editor; returns the
  // control's index.
  int AttachControl(std::unique_ptr<IControl> control);
  // [main thread · may block] Loads the image and puts a plain-copy bitmap control for it at
  // index 0, ahead of every control.
  void AttachBackground(int id, const char* name);
  // [main thread · may block] The image for a resource identifier, from the process-wide cache
  // (loaded on the first request). A missing image has no bitmap and a size of 0 × 0.
  IImage LoadImage(int id, const char* name, int nFrames = 1, bool framesAreHorizontal = false);
  int NControls() const { return controls_.Count(); }
  IControl* GetControl(int idx) const { return controls_.Get(idx); }
  void SetKeyCatcher(std::unique_ptr<IControl> catcher) { keyCatcher_ = std::move(catcher); }

  // ---- Parameter flow ----
  // [editor thread or processing lock held] Moves every control bound to the parameter, and every
  // control that shows it as an auxiliary parameter, without echoing the value back.
  void SetParameterFromPlug(int paramIdx, double value, bool isNormalized) override;
  // [any thread · lock-free] Moves one control directly (the meter needle from the audio thread).
  // An index outside the list is ignored.
  void SetControlFromPlug(int controlIdx, double normalized) override;
  // [editor thread] The editor's prompt for a control's parameter: a menu of the display texts for
  // Enum and Bool parameters, a text entry otherwise.
  void PromptUserInput(IControl* control, const IBounds& rect);
  // [editor thread] The answer of a text entry opened by PromptUserInput.
  void SetFromStringAfterPrompt(IControl* control, const char* text);

  // ---- Scale ----
  // [main thread · allocates] Draws the editor at the scale from now on (brought into the range
  // the editor accepts; not a number counts as 1): the surface is remade at the new size when it
  // exists, every control is marked dirty and the window is told. The logical size stays.
  void SetScale(float scale);
  float Scale() const { return scale_; }
  // Device pixels: the surface's and the window's size, and a rectangle or a window position
  // taken across (edges rounded to the nearest device pixel, so rectangles that meet in editor
  // pixels meet on the surface too; a position falls in the editor pixel that holds it).
  int SurfaceWidth() const;
  int SurfaceHeight() const;
  IBounds ToSurface(const IBounds& r) const;
  int ToLogical(int devicePixel) const;

  // ---- Surfaces ----
  // [main thread · allocates] Creates the surface (width × height at the scale) and the empty
  // scratch bitmap.
  void PrepareSurfaces() override;
  LICE_SysBitmap* Surface() const { return surface_.get(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int FPS() const { return fps_; }
  IPlugBase* Plug() const { return plug_; }

  // ---- Drawing helpers [editor thread] ----
  // They draw into the surface and answer false only when a font cannot be created; without a
  // surface they draw nothing. A missing blend means source-alpha copy at full weight. Positions
  // are editor pixels at every scale; images come from the set painted for the scale.
  // Frame f (1-based) of a film strip, clipped to the current redraw's clip rectangle.
  bool DrawBitmapFrame(const IImage& image, const IBounds& dest, int frame,
                       const BlendSpec* blend = nullptr);
  // The dest-sized part of the image whose top-left is (sx, sy), clipped as above.
  bool DrawBitmapRegion(const IImage& image, const IBounds& dest, int sx, int sy,
                        const BlendSpec* blend = nullptr);
  bool FillRect(const IColorRGBA& colour, const IBounds& rect, const BlendSpec* blend = nullptr);
  bool DrawLine(const IColorRGBA& colour, float x1, float y1, float x2, float y2,
                const BlendSpec* blend = nullptr, bool antialias = false);
  // Angle 0 points up and grows clockwise.
  bool DrawRadialLine(const IColorRGBA& colour, float cx, float cy, float angle, float rInner,
                      float rOuter, const BlendSpec* blend = nullptr, bool antialias = false);
  bool DrawVerticalLine(const IColorRGBA& colour, int x, int y1, int y2);
  bool DrawHorizontalLine(const IColorRGBA& colour, int y, int x1, int x2);
  bool DrawRectOutline(const IColorRGBA& colour, const IBounds& rect);
  // Draws (or, when measuring, measures into rect) a text with the style's cached font. False
  // only when the font cannot be created.
  bool DrawText(const ITextStyle& style, const char* text, IBounds& rect, bool measure = false);
  const IBounds& DrawClip() const { return drawClip_; }
  // The smallest part of dest through which what lies under frame f of the image, drawn there
  // with the blend, still shows: empty when the frame covers all of dest, dest itself when that
  // cannot be told (a translucent blend, or a picture resampled for the scale, whose filtered
  // edges are not known in advance).
  IBounds SeeThroughPart(const IImage& image, const IBounds& dest, int frame,
                         const BlendSpec& blend);

  // ---- Redrawing ----
  // [editor thread] Redraws what needs it (see the two strategies in IGraphics.cpp) and copies
  // the update rectangle to the window; the answer is the window's.
  bool Draw(const IBounds& rect);

  // ---- Redraw bookkeeping ----
  // [editor thread] Grows r by the rectangle of every dirty control; true when any was dirty.
  bool IsDirty(IBounds& r);
  void SetAllControlsDirty();
  void SetStrictDrawing(bool strict);
  bool StrictDrawing() const { return strictDrawing_; }
  void HideControlsOf(int paramIdx, bool hide);
  void GrayOutControlsOf(int paramIdx, bool gray);
  void OnIdle();

  // ---- Mouse and keyboard, in editor pixels (a window divides its own by the scale first)
  // [editor thread] ----
  void OnMouseDown(int x, int y, const MouseMods& mods);
  void OnMouseUp(int x, int y, const MouseMods& mods);
  void OnMouseDrag(int x, int y, const MouseMods& mods);
  bool OnMouseDblClick(int x, int y, const MouseMods& mods);
  void OnMouseWheel(int x, int y, const MouseMods& mods, int delta);
  bool OnMouseOver(int x, int y, const MouseMods& mods);
  void OnMouseOut();
  bool OnKeyDown(int x, int y, int key);
  int ControlIndexAt(int x, int y, bool forMouseOver = false);
  void ReleaseMouseCapture();
  void HandleMouseOver(bool handle) { handleMouseOver_ = handle; }
  int CapturedControl() const { return captureIdx_; }
  // The host's automation click: the parameter under the pointer, or -1 over the background.
  int NoteAutomationParamAt(int x, int y);
  int TakeAutomationParam();

  // ---- The host's key map ----
  // [main thread] Installed by the adaptor that hosts the editor; an empty query removes it.
  void SetHostKeyMapQuery(HostKeyMapQuery query) { keyMapQuery_ = std::move(query); }
  // [editor thread] The host's held keys; all up without a query.
  HostKeyMap QueryHostKeyMap() const { return keyMapQuery_ ? keyMapQuery_() : HostKeyMap{}; }
  bool CursorHidden() const { return cursorHidden_; }

protected:
  // The bitmap an image is drawn from at the editor's scale and the scale it was painted at.
  struct ScaledSource {
    LICE_IBitmap* bitmap = nullptr;
    float scale = 1.0f;
  };
  ScaledSource SourceFor(const IImage& image);
  // For each control, the part of area where it is seen once everything above it is drawn.
  const std::vector<IBounds>& UncoveredParts(const IBounds& area);
  // DrawBitmapRegion at a scale other than 1.
  void DrawScaledRegion(const IImage& image, const IBounds& dest, int sx, int sy,
                        const BlendSpec* blend);

  // Whether a resource's file name names a PNG: the text after its last '.' (not the first
  // character) is "png" in any case.
  static bool NameEndsInPng(const char* name);
  // [main thread] Held while the control list changes (the processing lock, when attached).
  std::unique_lock<std::recursive_mutex> LockControlList();

  OwnedList<IControl> controls_;
  IPlugBase* plug_ = nullptr;
  IBounds drawClip_;
  std::vector<IBounds> uncovered_; // UncoveredParts' answer, kept to reuse its memory
  std::unique_ptr<LICE_SysBitmap> surface_;
  std::unique_ptr<LICE_MemBitmap> scratch_;
  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t fps_ = kDefaultFps;
  float scale_ = 1.0f;
  int32_t captureIdx_ = -1;
  int32_t mouseOverIdx_ = -1;
  int32_t lastX_ = 0;
  int32_t lastY_ = 0;
  int32_t automationParam_ = -1;
  bool handleMouseOver_ = false;
  bool strictDrawing_ = true;
  std::unique_ptr<IControl> keyCatcher_;
  HostKeyMapQuery keyMapQuery_;
  // Where the pointer was when a platform hid it, so it comes back in the same place.
  bool cursorHidden_ = false;
  int32_t hiddenCursorX_ = 0;
  int32_t hiddenCursorY_ = 0;
};

// [any thread] The plug-in's editor as the graphics core; null without a plug-in, without an
// editor, or when the editor is of another kind.
IGraphics* GraphicsOf(const IPlugBase* plug);

} // namespace tavo
