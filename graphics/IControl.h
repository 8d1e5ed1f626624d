#pragma once
// One element of the editor: a rectangle on the drawing surface, usually bound to one parameter,
// holding that parameter's normalised value (0..1). Controls draw themselves through the editor's
// helpers, react to the mouse events the editor routes to them, and report value changes with
// SetDirty(true).
//
// Threads: the editor thread owns a control. The audio thread may move a display-only control
// (the meter needle) through SetValueFromPlug; the fields it touches — value, defaultValue, dirty,
// pendingRedraw — are relaxed atomics, so the editor reads them without a lock.

#include <cstdint>

#include "base/GrowableBuffer.h"
#include "base/RelaxedAtomic.h"
#include "graphics/GraphicsTypes.h"

namespace tavo {

class IGraphics;
class IPlugBase;
class ITextControl;

class IControl {
public:
  // A further parameter that the control shows besides its own.
  struct AuxParam {
    double value = 0.0;
    int32_t paramIdx = -1;
  };

  IControl(IPlugBase* plug, const IBounds& rect, int paramIdx = -1,
           int blendMethod = kBlendSourceAlpha, float blendWeight = 1.0f);
  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;

  // ---- Virtual operations, in slot order ----
  virtual ~IControl() = default;
  // [editor thread] With the right button: prompt for a value.
  virtual void OnMouseDown(int x, int y, const MouseMods& mods);
  virtual void OnMouseUp(int /*x*/, int /*y*/, const MouseMods& /*mods*/) {}
  virtual void OnMouseDrag(int /*x*/, int /*y*/, int /*dx*/, int /*dy*/,
                           const MouseMods& /*mods*/) {}
  // [editor thread] Restores the first value that came from the plug-in.
  virtual void OnMouseDblClick(int x, int y, const MouseMods& mods);
  // [editor thread] 0.01 per notch, 0.001 with Shift or Ctrl.
  virtual void OnMouseWheel(int x, int y, const MouseMods& mods, int delta);
  virtual bool OnKeyDown(int /*x*/, int /*y*/, int /*key*/) { return false; }
  virtual void OnMouseOver(int /*x*/, int /*y*/, const MouseMods& /*mods*/) {}
  virtual void OnMouseOut() {}
  // [editor thread] Draws into the editor's surface; false only when a font failed.
  virtual bool Draw(IGraphics* graphics) = 0;
  // [any thread · lock-free] Takes a value from the plug-in without reporting it back.
  virtual void SetValueFromPlug(double value);
  // [editor thread] Text typed into an entry opened for a control without a parameter.
  virtual void OnTextEntry(const char* /*text*/) {}
  virtual void Hide(bool hide);
  // Grayed controls draw at a quarter of their weight and are not hit.
  virtual void GrayOut(bool gray);
  virtual bool IsHit(int x, int y) { return targetRect.Contains(x, y); }
  // Clamps the value, marks the control for redraw and, when asked, reports the value to the
  // plug-in and updates the linked text controls.
  virtual void SetDirty(bool pushToPlug = true);
  virtual void SetClean();
  virtual bool IsDirty() { return dirty; }
  virtual void OnIdle() {}
  virtual void SetAuxParamValueFromPlug(int auxIdx, double value);
  // [editor thread] The part of the rectangle through which what lies under the control still
  // shows once it is drawn; the rest it covers whole, and a redraw leaves out what it covers.
  // The base covers nothing.
  virtual IBounds SeeThrough(IGraphics* /*graphics*/) { return rect; }

  // ---- Non-virtual operations ----
  // [editor thread] A value the user typed or picked: reported to the plug-in.
  void SetValueFromUserInput(double value);
  void AddAuxParam(int paramIdx);
  int AuxEntryFor(int paramIdx) const; // -1 when the control does not show that parameter
  int NAuxParams() const { return auxParams.Count(); }
  AuxParam* GetAuxParam(int auxIdx) { return auxParams.Get(auxIdx); }
  void SetAllAuxParamsFromGUI();
  // [editor thread] Opens the editor's prompt for the bound parameter (menu or text entry).
  void PromptUserInput();
  void PromptUserInputAt(const IBounds& at);
  // The text controls that show the bound parameter's value and name; not owned.
  void LinkValueText(ITextControl* text) { valueText = text; }
  void LinkNameText(ITextControl* text) { nameText = text; }

  int ParamIdx() const { return paramIdx; }
  IPlugBase* Plug() const { return plug; }
  const IBounds& Rect() const { return rect; }
  const IBounds& TargetRect() const { return targetRect; }
  double Value() const { return value; }
  void SetValue(double v) { value = v; }
  double DefaultValue() const { return defaultValue; }
  bool IsHidden() const { return hidden; }
  bool IsGrayed() const { return grayed; }
  bool PendingRedraw() const { return pendingRedraw; }
  const BlendSpec& Blend() const { return blend; }
  void SetClamp(double lo, double hi) {
    clampLo = lo;
    clampHi = hi;
  }
  void SetTargetRect(const IBounds& r) { targetRect = r; }
  void DisablePrompt(bool disable) { disablePrompt = disable; }
  void SetDblAsSingleClick(bool single) { dblAsSingleClick = single; }
  bool DblAsSingleClick() const { return dblAsSingleClick; }
  void SetMouseOverWhenGrayed(bool allow) { mouseOverWhenGrayed = allow; }
  bool MouseOverWhenGrayed() const { return mouseOverWhenGrayed; }
  const ITextStyle& TextStyle() const { return textStyle; }
  int TextEntryLength() const { return textEntryLength; }

protected:
  int32_t textEntryLength = 7;
  ITextStyle textStyle;
  IPlugBase* plug = nullptr;
  IBounds rect;
  IBounds targetRect;
  int32_t paramIdx = -1;
  GrowableArray<AuxParam> auxParams;
  RelaxedAtomic<double> value{0.0};
  RelaxedAtomic<double> defaultValue{-1.0}; // negative: not known yet
  double clampLo = 0.0;
  double clampHi = 1.0;
  RelaxedAtomic<bool> dirty{true};
  bool hidden = false;
  bool grayed = false;
  RelaxedAtomic<bool> pendingRedraw{false};
  bool disablePrompt = false;
  bool dblAsSingleClick = false;
  bool mouseOverWhenGrayed = false;
  BlendSpec blend;
  ITextControl* valueText = nullptr;
  ITextControl* nameText = nullptr;
};

} // namespace tavo
