#pragma once
// An editor without a window, and a minimal control: enough for a plug-in to push values into
// controls and for tests to drive the editor's routing.

#include <string>
#include <vector>

#include "graphics/IGraphics.h"

namespace tavo::test {

class HeadlessGraphics : public IGraphics {
public:
  explicit HeadlessGraphics(IPlugBase* plug, int w = 304, int h = 416) : IGraphics(plug, w, h, 0) {}
  bool DrawScreen(const IBounds&) override { return true; }
  void AbortTextEntry() override {}
  int ShowMessageBox(const char*, const char*, int) override { return 0; }
  IPopupMenu* PopupMenuForControl(IControl*, IPopupMenu& menu, const IBounds&) override {
    lastMenu = menu;
    return menu.Choose(menuAnswer);
  }
  void TextEntryForControl(IControl*, const char* text, const IBounds&) override {
    lastEntryText = text;
  }
  void HostFolder(GrowableText*) override {}
  void ModuleFolder(GrowableText*) override {}
  void DesktopFolder(GrowableText*) override {}
  bool PromptForFile(GrowableText*, int, GrowableText*, const char*) override { return false; }
  bool PromptForColour(IColorRGBA*, const char*) override { return false; }
  bool OpenURL(const char*, const char*, const char*, const char*) override { return false; }
  void* OpenWindow(void*) override { return nullptr; }
  void CloseWindow() override {}
  void* WindowHandle() override { return nullptr; }
  LICE_IBitmap* LoadPlatformBitmap(int, const char*) override { return nullptr; }

  IPopupMenu lastMenu;
  int menuAnswer = -1;
  std::string lastEntryText;
};

// A control that draws nothing and drags its value by dy / 100 per pixel upwards.
class PlainControl : public IControl {
public:
  PlainControl(IPlugBase* plug, const IBounds& r, int param) : IControl(plug, r, param) {}
  bool Draw(IGraphics*) override { return true; }
  void OnMouseDrag(int, int, int, int dy, const MouseMods&) override {
    value -= dy / 100.0;
    SetDirty(true);
  }
};

} // namespace tavo::test
