#include "graphics/ITextControl.h"

#include "framework/IPlugBase.h"
#include "graphics/IGraphics.h"

namespace tavo {

ITextControl::ITextControl(IPlugBase* plugIn, const IBounds& bounds, const ITextStyle& style,
                           const char* initial)
    : IControl(plugIn, bounds) {
  textStyle = style;
  text.Set(initial);
}

bool ITextControl::Draw(IGraphics* graphics) {
  if (text.Length() == 0) return true;
  IBounds r = rect;
  return graphics->DrawText(textStyle, text.Get(), r, false);
}

ICaptionControl::ICaptionControl(IPlugBase* plugIn, const IBounds& bounds, int param,
                                 const ITextStyle& style, bool unitLabel)
    : ITextControl(plugIn, bounds, style), showUnitLabel(unitLabel) {
  paramIdx = param;
}

void ICaptionControl::OnMouseDown(int, int, const MouseMods&) {
  PromptUserInput();
}

void ICaptionControl::OnMouseDblClick(int, int, const MouseMods&) {
  PromptUserInput();
}

bool ICaptionControl::Draw(IGraphics* graphics) {
  if (const IParameter* param = plug ? plug->GetParam(paramIdx) : nullptr) {
    char display[IParameter::kTextSize];
    param->FormatValue(param->Value(), false, display, sizeof display, true);
    text.Set(display);
    if (showUnitLabel) {
      text.Append(" ");
      text.Append(param->GetUnitLabel());
    }
  }
  return ITextControl::Draw(graphics);
}

} // namespace tavo
