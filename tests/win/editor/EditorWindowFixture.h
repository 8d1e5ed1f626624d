#pragma once
// An editor in a real window inside a host's top-level window, with a message pump. The editor
// is 100 × 80: a grey background, a line knob on parameter 0 (a Double, -20..20), an invisible
// switch on parameter 1 (a Bool) and a lamp without parameter that turns red above 0.5, as a
// meter needle moved by rendering would.

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "graphics/IInvisibleSwitchControl.h"
#include "graphics/IKnobControl.h"
#include "graphics/IPanelControl.h"
#include "graphics/win/IGraphicsWin.h"
#include "tests/support/TestPlug.h"
#include "tests/support/win/WindowPump.h"

namespace tavo::wintest {

inline const IColorRGBA kGrey{255, 90, 90, 90};
inline const IColorRGBA kRed{255, 220, 30, 30};
inline const IColorRGBA kBlue{255, 30, 30, 220};

class Lamp : public IControl {
public:
  Lamp(IPlugBase* plug, const IBounds& r) : IControl(plug, r, -1) {}
  bool Draw(IGraphics* g) override { return g->FillRect(value > 0.5 ? kRed : kBlue, rect); }
};

// The messages the host's window received, for the forwarded click and keys.
struct HostMessage {
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};
inline std::vector<HostMessage>& HostMessages() {
  static std::vector<HostMessage> messages;
  return messages;
}

inline LRESULT CALLBACK HostProc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_LBUTTONDOWN || msg == WM_KEYDOWN) HostMessages().push_back({msg, wParam, lParam});
  return DefWindowProcA(w, msg, wParam, lParam);
}

using test::Pump;

class EditorWindowFixture : public ::testing::Test {
protected:
  static constexpr int kKnob = 1, kSwitch = 2, kLamp = 3;

  EditorWindowFixture() {
    plug.GetParam(0)->InitDouble("Gain", 0, -20, 20, 0.1);
    plug.GetParam(1)->InitBool("On", false);
    editor.SetModule(GetModuleHandleA(nullptr));
    editor.AttachControl(std::make_unique<IPanelControl>(&plug, IBounds(0, 0, 100, 80), kGrey));
    editor.AttachControl(std::make_unique<IKnobLineControl>(&plug, IBounds(10, 10, 60, 60), 0,
                                                            IColorRGBA(255, 255, 255, 255), 0.0f,
                                                            20.0f, -2.0f, 2.0f));
    editor.AttachControl(
        std::make_unique<IInvisibleSwitchControl>(&plug, IBounds(70, 10, 90, 30), 1));
    editor.AttachControl(std::make_unique<Lamp>(&plug, IBounds(70, 50, 90, 70)));
    for (int i = 0; i < plug.NParams(); ++i)
      editor.SetParameterFromPlug(i, plug.GetParam(i)->GetNormalized(), true);
    editor.PrepareSurfaces();
    host = MakeHostWindow(200, 160);
    HostMessages().clear();
  }
  ~EditorWindowFixture() override {
    editor.CloseWindow();
    if (host) DestroyWindow(host);
  }

  static HWND MakeHostWindow(int w, int h) {
    static const ATOM registered = [] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = &HostProc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
      wc.lpszClassName = "TavoTestHost";
      return RegisterClassA(&wc);
    }();
    if (!registered) return nullptr;
    HWND w0 = CreateWindowExA(0, "TavoTestHost", "host", WS_POPUP | WS_VISIBLE, 0, 0, w, h, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
    Pump(30);
    return w0;
  }

  HWND Open() {
    auto* w = static_cast<HWND>(editor.OpenWindow(host));
    Pump(60);
    return w;
  }

  // Sends a mouse message with the point in the editor's client coordinates.
  void Mouse(UINT msg, int x, int y, WPARAM keys = 0) {
    SendMessageA(static_cast<HWND>(editor.WindowHandle()), msg, keys, MAKELPARAM(x, y));
  }
  // A wheel turn over the editor's point (x, y): the message carries a screen point.
  void Wheel(int x, int y, int delta) {
    HWND w = static_cast<HWND>(editor.WindowHandle());
    POINT p{x, y};
    ClientToScreen(w, &p);
    SendMessageA(w, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<SHORT>(delta))),
                 MAKELPARAM(p.x, p.y));
  }
  // The colour on screen at the editor's point, as 0x00RRGGBB.
  unsigned ScreenPixel(int x, int y) {
    HWND w = static_cast<HWND>(editor.WindowHandle());
    HDC dc = GetDC(w);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(w, dc);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
  }
  // Waits for the next timer tick to have run.
  void Tick() { Pump(3 * editor.TimerPeriodMs() + 20); }

  test::TestPlug plug{2};
  IGraphicsWin editor{&plug, 100, 80};
  HWND host = nullptr;
};

inline unsigned Rgb(const IColorRGBA& c) {
  return (static_cast<unsigned>(c.R) << 16) | (static_cast<unsigned>(c.G) << 8) |
         static_cast<unsigned>(c.B);
}

} // namespace tavo::wintest
