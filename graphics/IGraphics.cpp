// The graphics core: controls, parameter flow into the editor, surfaces and event routing.

#include "graphics/IGraphics.h"

#include <cstdlib>

#include "drawing/LICE_MemBitmap.h"
#include "drawing/LICE_SysBitmap.h"
#include "framework/IPlugBase.h"

namespace tavo {

IGraphics::IGraphics(IPlugBase* plug, int width, int height, int fps)
    : plug_(plug), width_(width), height_(height), fps_(fps > 0 ? fps : kDefaultFps) {}

IGraphics::~IGraphics() {
  keyCatcher_.reset();
  controls_.Clear();
  surface_.reset();
  scratch_.reset();
}

int IGraphics::AttachControl(std::unique_ptr<IControl> control) {
  return controls_.Add(std::move(control));
}

void IGraphics::SetParameterFromPlug(int paramIdx, double value, bool isNormalized) {
  if (!isNormalized) {
    const IParameter* param = plug_ ? plug_->GetParam(paramIdx) : nullptr;
    if (!param) return;
    value = param->ToNormalized(value);
  }
  for (IControl* control : controls_) {
    if (control->ParamIdx() == paramIdx) control->SetValueFromPlug(value);
    const int aux = control->AuxEntryFor(paramIdx);
    if (aux >= 0) control->SetAuxParamValueFromPlug(aux, value);
  }
}

void IGraphics::SetControlFromPlug(int controlIdx, double normalized) {
  if (IControl* control = controls_.Get(controlIdx)) control->SetValueFromPlug(normalized);
}

void IGraphics::PromptUserInput(IControl* control, const IBounds& rect) {
  if (!control || !plug_) return;
  const IParameter* param = plug_->GetParam(control->ParamIdx());
  if (!param) return;
  char current[IParameter::kTextSize];
  const bool offersMenu = param->Kind() == ParamKind::Enum ||
                          (param->Kind() == ParamKind::Bool && param->GetDisplayTextCount() > 0);
  if (offersMenu) {
    param->FormatValue(param->Value(), false, current, sizeof current, true);
    IPopupMenu menu;
    for (int i = 0; i < param->GetDisplayTextCount(); ++i) {
      const char* text = param->GetDisplayTextAt(i);
      menu.items.push_back({text, std::string_view(text) == current});
    }
    const int chosen = PopupMenuForControl(control, menu, rect);
    if (chosen >= 0 && chosen < param->GetDisplayTextCount()) {
      control->SetValueFromUserInput(param->ToNormalized(chosen));
    }
    return;
  }
  param->FormatValue(param->Value(), false, current, sizeof current, false);
  TextEntryForControl(control, current, rect);
}

void IGraphics::SetFromStringAfterPrompt(IControl* control, const char* text) {
  if (!control || !text || !plug_) return;
  const IParameter* param = plug_->GetParam(control->ParamIdx());
  if (!param) {
    control->OnTextEntry(text);
    return;
  }
  double plain = 0.0;
  if (param->Kind() == ParamKind::Enum || param->Kind() == ParamKind::Bool) {
    int mapped = 0;
    if (!param->MapDisplayText(text, &mapped)) return;
    plain = mapped;
  } else {
    plain = std::atof(text);
    if (param->DisplayNegated()) plain = -plain;
  }
  control->SetValueFromUserInput(param->ToNormalized(plain));
}

void IGraphics::PrepareSurfaces() {
  surface_ = std::make_unique<LICE_SysBitmap>(width_, height_);
  scratch_ = std::make_unique<LICE_MemBitmap>();
}

bool IGraphics::IsDirty(IBounds& r) {
  bool dirty = false;
  for (IControl* control : controls_) {
    if (control->IsDirty()) {
      r = r.Union(control->Rect());
      dirty = true;
    }
  }
  return dirty;
}

void IGraphics::SetAllControlsDirty() {
  for (IControl* control : controls_)
    control->SetDirty(false);
}

void IGraphics::SetStrictDrawing(bool strict) {
  strictDrawing_ = strict;
  SetAllControlsDirty();
}

void IGraphics::HideControlsOf(int paramIdx, bool hide) {
  for (IControl* control : controls_) {
    if (control->ParamIdx() == paramIdx) control->Hide(hide);
  }
}

void IGraphics::GrayOutControlsOf(int paramIdx, bool gray) {
  for (IControl* control : controls_) {
    if (control->ParamIdx() == paramIdx) control->GrayOut(gray);
  }
}

void IGraphics::OnIdle() {
  for (IControl* control : controls_)
    control->OnIdle();
}

int IGraphics::ControlIndexAt(int x, int y, bool forMouseOver) {
  if (captureIdx_ >= 0) return captureIdx_;
  for (int i = NControls() - 1; i >= 0; --i) {
    IControl* control = controls_.Get(i);
    if (control->IsHidden()) continue;
    if (control->IsGrayed() && !(forMouseOver && control->MouseOverWhenGrayed())) continue;
    if (control->IsHit(x, y)) return i;
  }
  return -1;
}

void IGraphics::ReleaseMouseCapture() {
  captureIdx_ = -1;
}

void IGraphics::OnMouseDown(int x, int y, const MouseMods& mods) {
  ReleaseMouseCapture();
  const int idx = ControlIndexAt(x, y);
  if (idx < 0) return;
  IControl* control = controls_.Get(idx);
  captureIdx_ = idx;
  lastX_ = x;
  lastY_ = y;
  const int paramIdx = control->ParamIdx();
  if (plug_ && plug_->ApiKind() == kApiVST3 && mods.R && paramIdx >= 0) {
    ReleaseMouseCapture();
    plug_->OnHostContextMenu(paramIdx, x, y);
    return;
  }
  control->OnMouseDown(x, y, mods);
  if (paramIdx >= 0 && plug_) plug_->BeginHostEdit(paramIdx);
}

void IGraphics::OnMouseUp(int x, int y, const MouseMods& mods) {
  const int idx = ControlIndexAt(x, y);
  ReleaseMouseCapture();
  lastX_ = lastY_ = -1;
  IControl* control = controls_.Get(idx);
  if (!control) return;
  control->OnMouseUp(x, y, mods);
  if (control->ParamIdx() >= 0 && plug_) plug_->EndHostEdit(control->ParamIdx());
}

void IGraphics::OnMouseDrag(int x, int y, const MouseMods& mods) {
  IControl* control = controls_.Get(captureIdx_);
  if (!control) return;
  if (x == lastX_ && y == lastY_) return;
  control->OnMouseDrag(x, y, x - lastX_, y - lastY_, mods);
  lastX_ = x;
  lastY_ = y;
}

bool IGraphics::OnMouseDblClick(int x, int y, const MouseMods& mods) {
  ReleaseMouseCapture();
  const int idx = ControlIndexAt(x, y);
  IControl* control = controls_.Get(idx);
  if (!control) return false;
  if (!control->DblAsSingleClick()) {
    control->OnMouseDblClick(x, y, mods);
    return false;
  }
  captureIdx_ = idx;
  lastX_ = x;
  lastY_ = y;
  control->OnMouseDown(x, y, mods);
  return true;
}

void IGraphics::OnMouseWheel(int x, int y, const MouseMods& mods, int delta) {
  if (IControl* control = controls_.Get(ControlIndexAt(x, y))) {
    control->OnMouseWheel(x, y, mods, delta);
  }
}

bool IGraphics::OnMouseOver(int x, int y, const MouseMods& mods) {
  if (!handleMouseOver_) return false;
  const int idx = ControlIndexAt(x, y, true);
  if (IControl* control = controls_.Get(idx)) {
    lastX_ = x;
    lastY_ = y;
    control->OnMouseOver(x, y, mods);
    if (mouseOverIdx_ >= 0 && mouseOverIdx_ != idx) {
      if (IControl* previous = controls_.Get(mouseOverIdx_)) previous->OnMouseOut();
    }
    mouseOverIdx_ = idx;
  }
  return handleMouseOver_;
}

void IGraphics::OnMouseOut() {
  for (IControl* control : controls_)
    control->OnMouseOut();
  mouseOverIdx_ = -1;
}

bool IGraphics::OnKeyDown(int x, int y, int key) {
  const int idx = ControlIndexAt(x, y);
  if (idx >= 1) return controls_.Get(idx)->OnKeyDown(x, y, key);
  return keyCatcher_ ? keyCatcher_->OnKeyDown(x, y, key) : false;
}

int IGraphics::NoteAutomationParamAt(int x, int y) {
  const int idx = ControlIndexAt(x, y);
  automationParam_ = idx > 0 ? controls_.Get(idx)->ParamIdx() : -1;
  return automationParam_;
}

int IGraphics::TakeAutomationParam() {
  const int param = automationParam_;
  automationParam_ = -1;
  return param;
}

} // namespace tavo
