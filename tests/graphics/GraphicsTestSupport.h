#pragma once
// An offscreen editor whose images are made up on the spot: every frame of a strip is filled
// with its own colour, so a pixel of the surface tells which frame was drawn.

#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "drawing/LICE_MemBitmap.h"
#include "drawing/LICE_Raster.h"
#include "drawing/LICE_SysBitmap.h"
#include "graphics/posix/IGraphicsLinux.h"
#include "tests/support/TestPlug.h"

namespace tavo::test {

// The colour that fills frame k (1-based) of a test strip: opaque, blue byte k.
inline LICE_pixel FrameColour(int k) {
  return 0xFF000000u | static_cast<LICE_pixel>(k & 0xFF) | (static_cast<LICE_pixel>(k >> 8) << 8);
}
inline int FrameOfColour(LICE_pixel p) {
  return static_cast<int>((p & 0xFF) | (((p >> 8) & 0xFF) << 8));
}

// The image cache lives as long as the process: each test asks for identifiers of its own.
inline int FreshImageId() {
  static std::atomic<int> next{50000};
  return next++;
}

struct StripShape {
  int w = 0, frameH = 0, n = 1;
  bool horizontal = false;
};

class TestEditor : public IGraphicsLinux {
public:
  explicit TestEditor(IPlugBase* plug, int w = 304, int h = 416, int fps = 0)
      : IGraphicsLinux(plug, w, h, fps) {}

  // The next LoadImage of id gets a strip of this shape.
  void Provide(int id, StripShape shape) { shapes[id] = shape; }
  IImage Strip(int w, int frameH, int n, bool horizontal = false) {
    const int id = FreshImageId();
    Provide(id, {w, frameH, n, horizontal});
    return LoadImage(id, "strip.png", n, horizontal);
  }

  LICE_IBitmap* LoadPlatformBitmap(int id, const char*) override {
    ++loads;
    auto it = shapes.find(id);
    if (it == shapes.end()) return nullptr;
    const StripShape s = it->second;
    const int w = s.horizontal ? s.w * s.n : s.w;
    const int h = s.horizontal ? s.frameH : s.frameH * s.n;
    auto bitmap = std::make_unique<LICE_MemBitmap>(w, h);
    for (int k = 1; k <= s.n; ++k) {
      if (s.horizontal)
        FillRectangle(bitmap.get(), (k - 1) * s.w, 0, s.w, s.frameH, FrameColour(k), 1.0f,
                      LICE_BLIT_MODE_COPY);
      else
        FillRectangle(bitmap.get(), 0, (k - 1) * s.frameH, s.w, s.frameH, FrameColour(k), 1.0f,
                      LICE_BLIT_MODE_COPY);
    }
    return bitmap.release();
  }

  LICE_pixel SurfacePixel(int x, int y) const {
    return Surface()->PixelData()[y * Surface()->RowSpan() + x];
  }
  void ClearSurface(LICE_pixel colour = 0xFF000000u) {
    FillRectangle(Surface(), 0, 0, Width(), Height(), colour, 1.0f, LICE_BLIT_MODE_COPY);
  }
  // Lets tests draw outside a redraw, as a control's Draw would inside one.
  void SetClip(const IBounds& clip) { drawClip_ = clip; }

  std::map<int, StripShape> shapes;
  int loads = 0;
};

// A control that counts its draws and can be marked dirty from outside.
class CountingControl : public IControl {
public:
  CountingControl(IPlugBase* plug, const IBounds& r, int param = -1) : IControl(plug, r, param) {}
  bool Draw(IGraphics*) override {
    ++draws;
    return true;
  }
  int draws = 0;
};

// Scripted answers to the editor's questions, with a record of what was asked.
class ScriptedResponder : public IEditorResponder {
public:
  int OnPopupMenu(const IPopupMenu& menu, const IBounds& rect) override {
    menus.push_back(menu);
    menuRect = rect;
    return menuAnswer;
  }
  bool OnTextEntry(const char* text, const IBounds& rect, int maxLength,
                   GrowableText* out) override {
    entryTexts.emplace_back(text);
    entryRect = rect;
    entryMaxLength = maxLength;
    if (!entryAnswer) return false;
    out->Set(entryAnswer);
    return true;
  }
  int OnMessageBox(const char* text, const char*, int type) override {
    messages.emplace_back(text, type);
    return messageAnswer;
  }
  bool OnOpenURL(const char* url, const char*) override {
    urls.emplace_back(url);
    return urlOpens.count(url) > 0;
  }

  bool OnPromptForFile(GrowableText* path, int action, const char* folder, const char*) override {
    fileStart = std::string(folder) + "|" + path->Get() + "|" + std::to_string(action);
    if (!fileAnswer) return false;
    path->Set(fileAnswer);
    return true;
  }

  std::vector<IPopupMenu> menus;
  IBounds menuRect;
  int menuAnswer = -1;
  std::vector<std::string> entryTexts;
  IBounds entryRect;
  int entryMaxLength = -1;
  const char* entryAnswer = nullptr;
  std::vector<std::pair<std::string, int>> messages;
  int messageAnswer = 0;
  std::vector<std::string> urls;
  std::map<std::string, bool> urlOpens;
  std::string fileStart; // folder|file name|action the dialog started from
  const char* fileAnswer = nullptr;
};

} // namespace tavo::test
