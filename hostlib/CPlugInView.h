#pragma once
// The host's view toolkit as the process core needs it: a view the process creates for its
// editor and initialises once. Richer views derive from it.

class CPlugInView {
public:
  CPlugInView() = default;
  CPlugInView(const CPlugInView&) = delete;
  CPlugInView& operator=(const CPlugInView&) = delete;
  virtual ~CPlugInView() = default;
  // [main thread · may throw] Called once after the process created the view.
  virtual void Initialize() {}
};
