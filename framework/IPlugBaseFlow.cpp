// The plug-in base: parameter flow between editor, host and processing.

#include <algorithm>

#include "framework/IPlugBase.h"
#include "framework/Trace.h"

namespace tavo {

void IPlugBase::SetParameterFromGUI(int paramIdx, double normalized) {
  Trace("IPlugBase::SetParameterFromGUI", __LINE__, "%d:%f", paramIdx, normalized);
  std::lock_guard guard(lock);
  IParameter* param = GetParam(paramIdx);
  if (!param) return;
  // A control's travel is 0 … 1; anything beyond is a position no control can hold, and below 0
  // it would put the parameter below its range. A NaN passes on and changes nothing.
  normalized = std::clamp(normalized, 0.0, 1.0);
  param->SetNormalized(normalized);
  // The host hears the value as the control had it, not the one rounded to the step.
  SendParamToHost(paramIdx, normalized);
  ParamChanged(paramIdx);
}

void IPlugBase::SetParameterFromHost(int paramIdx, double plain) {
  IParameter* param = GetParam(paramIdx);
  if (!param) return;
  std::lock_guard guard(lock);
  if (IEditor* editor = GetGUI()) editor->SetParameterFromPlug(paramIdx, plain, false);
  param->SetValueClamped(plain);
  ParamChanged(paramIdx);
}

void IPlugBase::AttachEditor(std::unique_ptr<IEditor> editor) {
  if (!editor) return;
  std::lock_guard guard(lock);
  for (int i = 0; const IParameter* param : params_) {
    editor->SetParameterFromPlug(i++, param->GetNormalized(), true);
  }
  editor->PrepareSurfaces();
  editor_ = std::move(editor); // a second editor replaces the first
}

void IPlugBase::RefreshEditorParams() {
  if (!editor_) return;
  for (int i = 0; const IParameter* param : params_) {
    editor_->SetParameterFromPlug(i++, param->Value(), false);
  }
}

} // namespace tavo
