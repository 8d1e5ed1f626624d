#pragma once
// What the plug-in base asks of its editor, and all it knows of one. The graphics core implements
// it; the base owns the attached editor through it, so the framework never sees a control, a
// bitmap or a window, and a plug-in without an editor needs nothing of the graphics layer.

namespace tavo {

class IEditor {
public:
  IEditor() = default;
  IEditor(const IEditor&) = delete;
  IEditor& operator=(const IEditor&) = delete;
  // [main thread] The plug-in deletes its editor with itself.
  virtual ~IEditor() = default;

  // [editor thread or processing lock held] The plug-in (or its host) moved a parameter: every
  // control that shows it follows, without echoing the value back to the plug-in.
  virtual void SetParameterFromPlug(int paramIdx, double value, bool isNormalized) = 0;
  // [any thread · lock-free] Moves one control directly: the meter needle from the audio thread.
  virtual void SetControlFromPlug(int controlIdx, double normalized) = 0;
  // [main thread · allocates] Creates the drawing surfaces; called once the controls show the
  // parameters' values, before the plug-in takes the editor.
  virtual void PrepareSurfaces() = 0;
};

} // namespace tavo
