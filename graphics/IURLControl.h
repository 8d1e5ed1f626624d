#pragma once
// A click area that opens a web link, falling back to a second link when the first fails.

#include "graphics/IControl.h"

namespace tavo {

class IURLControl : public IControl {
public:
  static constexpr size_t kUrlSize = 256;         // 255 characters and the terminator
  static constexpr size_t kWindowNameSize = 1024; // 1023 characters and the terminator

  // [main thread] Each text may be null; longer texts are cut to their field.
  IURLControl(IPlugBase* plug, const IBounds& rect, const char* url, const char* secondUrl,
              const char* windowName);
  ~IURLControl() override = default;

  // [editor thread · may block] Asks the editor to open the link.
  void OnMouseDown(int x, int y, const MouseMods& mods) override;
  // [editor thread] Draws nothing.
  bool Draw(IGraphics*) override { return true; }

  const char* Url() const { return url; }
  const char* SecondUrl() const { return secondUrl; }
  const char* WindowName() const { return windowName; }

protected:
  char url[kUrlSize] = {};
  char secondUrl[kUrlSize] = {};
  char windowName[kWindowNameSize] = {};
};

} // namespace tavo
