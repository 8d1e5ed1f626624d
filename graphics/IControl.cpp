#include "graphics/IControl.h"

#include <algorithm>

#include "framework/IPlugBase.h"
#include "graphics/IGraphics.h"
#include "graphics/ITextControl.h"

namespace tavo {

namespace {
constexpr double kWheelStep = 0.01;
constexpr double kFineWheelStep = 0.001;
constexpr float kGrayedWeight = 0.25f;
constexpr int kValueTextSize = 32;
} // namespace

IControl::IControl(IPlugBase* plugIn, const IBounds& bounds, int param, int blendMethod,
                   float blendWeight)
    : plug(plugIn), rect(bounds), targetRect(bounds), paramIdx(param) {
  blend.method = blendMethod;
  blend.weight = blendWeight;
}

void IControl::OnMouseDown(int, int, const MouseMods& mods) {
  if (mods.R) PromptUserInput();
}

void IControl::OnMouseDblClick(int, int, const MouseMods&) {
  if (defaultValue >= 0.0) {
    value = defaultValue;
    SetDirty(true);
  }
}

void IControl::OnMouseWheel(int, int, const MouseMods& mods, int delta) {
  value += delta * ((mods.S || mods.C) ? kFineWheelStep : kWheelStep);
  SetDirty(true);
}

void IControl::SetValueFromPlug(double v) {
  if (defaultValue < 0.0) {
    // The first value from the plug-in is what a double-click restores.
    defaultValue = v;
    value = v;
    return;
  }
  if (v == value) return;
  value = v;
  SetDirty(false);
  pendingRedraw = true;
}

void IControl::Hide(bool hide) {
  hidden = hide;
  pendingRedraw = true;
  SetDirty(false);
}

void IControl::GrayOut(bool gray) {
  grayed = gray;
  blend.weight = gray ? kGrayedWeight : 1.0f;
  SetDirty(false);
}

void IControl::SetDirty(bool pushToPlug) {
  value = std::clamp(value.load(), clampLo, clampHi);
  dirty = true;
  if (!pushToPlug || !plug || paramIdx < 0) return;
  plug->SetParameterFromGUI(paramIdx, value);
  const IParameter* param = plug->GetParam(paramIdx);
  if (!param) return;
  if (valueText) {
    char display[kValueTextSize];
    param->FormatValue(param->Value(), false, display, sizeof display, true);
    valueText->SetTextFromPlug(display);
  }
  if (nameText) nameText->SetTextFromPlug(param->GetName());
}

void IControl::SetClean() {
  dirty = pendingRedraw.load();
  pendingRedraw = false;
}

void IControl::SetAuxParamValueFromPlug(int auxIdx, double v) {
  AuxParam* aux = auxParams.Get(auxIdx);
  if (!aux || aux->value == v) return;
  aux->value = v;
  SetDirty(false);
  pendingRedraw = true;
}

void IControl::SetValueFromUserInput(double v) {
  if (v == value) return;
  value = v;
  SetDirty(true);
  pendingRedraw = true;
}

void IControl::AddAuxParam(int param) {
  auxParams.Add(AuxParam{0.0, param});
}

int IControl::AuxEntryFor(int param) const {
  for (int i = 0; i < auxParams.Count(); ++i) {
    if (auxParams[i].paramIdx == param) return i;
  }
  return -1;
}

void IControl::SetAllAuxParamsFromGUI() {
  if (!plug) return;
  for (const AuxParam& aux : auxParams)
    plug->SetParameterFromGUI(aux.paramIdx, aux.value);
}

void IControl::PromptUserInput() {
  if (paramIdx < 0 || disablePrompt || !plug) return;
  const IParameter* param = plug->GetParam(paramIdx);
  if (!param) return;
  if (param->GetDisplayTextCount() > 0) {
    PromptUserInputAt(rect);
    return;
  }
  // A small entry box centred on the control.
  const int cx = (rect.L + rect.R) / 2;
  const int cy = (rect.T + rect.B) / 2;
  PromptUserInputAt(IBounds(cx - 15, cy - 8, cx + 15, cy + 8));
}

void IControl::PromptUserInputAt(const IBounds& at) {
  if (paramIdx < 0 || disablePrompt || !plug) return;
  IGraphics* graphics = GraphicsOf(plug);
  if (!graphics) return;
  graphics->PromptUserInput(this, at);
  pendingRedraw = true;
}

} // namespace tavo
