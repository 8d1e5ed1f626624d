#pragma once
// The plug-in's view of its host process: what the plug-in base may ask of the adaptor that
// stands for it towards the host. Control indices are the host's: 1 is the master bypass,
// parameter i is control i + 2. Control values are the host's signed 32-bit values whose full
// range spans the control's range.

#include <cstdint>

#include "framework/ITimeInfo.h"

namespace tavo {

class IGraphics;
class IPlugRTAS;

class ProcessInterface {
public:
  // ---- Virtual operations, in slot order ----
  virtual ~ProcessInterface() = default;
  // [main thread] Stores the value in the control and tells the host.
  virtual void SetControlValue(int controlIdx, int32_t controlValue) = 0;
  // [main thread] 0 when the control exists (and *controlValue holds its value), else negative.
  virtual int32_t GetControlValue(int controlIdx, int32_t* controlValue) = 0;
  virtual int32_t GetControlDefault(int controlIdx, int32_t* controlValue) = 0;
  // [main thread] Replaces the editor interface object (owned by the adaptor).
  virtual void SetEditorUI(void* editorUI) = 0;
  // [main thread] Start and end of a user gesture on a control.
  virtual void TouchControl(int controlIdx) = 0;
  virtual void ReleaseControl(int controlIdx) = 0;
  virtual void ProcessHook7() = 0;
  virtual void* GetModuleInstance() = 0;
  // [main thread] Makes the module's resource file current; returns what was current before.
  virtual intptr_t EnterResourceContext() = 0;
  virtual void LeaveResourceContext(intptr_t previous) = 0;
  virtual IPlugRTAS* GetPlug() = 0;
  virtual IGraphics* GetEditor() = 0;
  virtual void MarkStateChanged() = 0;
  // [main thread] The largest block the host will render.
  virtual int GetMaxBlockSize() = 0;
  // [audio or main thread] Transport queries; neutral answers without a host instance.
  virtual double GetTempo() = 0;
  virtual void GetTimeSignature(int* numerator, int* denominator) = 0;
  virtual int GetSamplePosition() = 0;
  virtual void GetTimeInfo(ITimeInfo* info) = 0;
  virtual int GetHostVersion() = 0;
  // [main thread] The editor changes size: the open editor window closes first, and once the
  // plug-in has heard of it the host is told to ask for the new size and reattach. Without an
  // editor window or a host there is nothing to close or tell.
  virtual void CloseEditorForResize() {}
  virtual void SendEditorResized() {}
};

} // namespace tavo
