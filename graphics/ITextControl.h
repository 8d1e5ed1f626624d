#pragma once
// A line of text in the editor; also what a control's value and name are shown in when linked.

#include <string_view>

#include "base/GrowableBuffer.h"
#include "graphics/IControl.h"

namespace tavo {

class ITextControl : public IControl {
public:
  // [main thread] Bound to no parameter; the style is copied.
  ITextControl(IPlugBase* plug, const IBounds& rect, const ITextStyle& style,
               const char* text = nullptr);
  ~ITextControl() override = default;

  // [editor thread] Nothing for an empty text; false when the font cannot be made.
  bool Draw(IGraphics* graphics) override;

  // [editor thread] Takes the text, redrawing only when it differs from the current one.
  void SetTextFromPlug(const char* newText) {
    if (std::string_view(newText ? newText : "") == text.Get()) return;
    SetDirty(false);
    text.Set(newText);
  }
  const char* Text() const { return text.Get(); }

protected:
  GrowableText text;
};

// The bound parameter's current value as text, optionally followed by its unit; a click of
// either button, or a double-click, prompts for a new value.
class ICaptionControl : public ITextControl {
public:
  // [main thread]
  ICaptionControl(IPlugBase* plug, const IBounds& rect, int paramIdx, const ITextStyle& style,
                  bool showUnitLabel = false);
  ~ICaptionControl() override = default;

  // [editor thread · may block]
  void OnMouseDown(int x, int y, const MouseMods& mods) override;
  // [editor thread · may block]
  void OnMouseDblClick(int x, int y, const MouseMods& mods) override;
  // [editor thread] Takes the parameter's display text of its current value, then draws it.
  bool Draw(IGraphics* graphics) override;

protected:
  bool showUnitLabel = false;
};

} // namespace tavo
