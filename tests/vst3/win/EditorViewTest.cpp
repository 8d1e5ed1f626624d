// The editor's view in a real window, as a Windows host opens it: the editor's own child window
// inside the host's, 304 × 416 unless the host sets a content scale, and driven by the host's
// message loop alone; knob drags
// reach the host's component handler as edit gestures, host values and the processor's level
// move what the window shows, and the window goes with removed(). Run under Wine, with the X
// display scripts/run-wine-suite.sh starts.

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "drawing/LICE_MemBitmap.h"
#include "drawing/LICE_Png.h"
#include "tests/support/win/WindowPump.h"
#include "tests/vst3/Vst3Fixture.h"
#include "vst3/abi/View.h"

namespace tavo::test {
namespace {

constexpr int kEditorW = 304, kEditorH = 416;
constexpr POINT kDriveKnob{84, 168};
constexpr const char* kEditorClass = "IPlugWndClass";

// The editor's part of the window's client area.
std::vector<uint32_t> Capture(HWND w) {
  return test::CaptureClient(w, kEditorW, kEditorH);
}

class HostFrame final : public HostObject<IPlugFrame> {
public:
  tresult TAVO_VST3_CALL resizeView(IPlugView*, ViewRect* size) override {
    ++resizes;
    if (size) asked = *size;
    return kResultFalse;
  }
  int resizes = 0;
  ViewRect asked{};
};

class Vst3WinEditor : public Vst3Host {
protected:
  void SetUp() override {
    Vst3Host::SetUp();
    static const ATOM registered = [] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = &DefWindowProcA;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = "TavoVst3Host";
      return RegisterClassA(&wc);
    }();
    ASSERT_NE(registered, 0);
    host = MakeHost();
    ASSERT_NE(host, nullptr);
  }
  void TearDown() override {
    if (host) DestroyWindow(host);
  }

  static HWND MakeHost() {
    HWND w = CreateWindowExA(0, "TavoVst3Host", "host", WS_POPUP | WS_VISIBLE, 0, 0, kEditorW,
                             kEditorH, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    Pump(30);
    return w;
  }
  // The view's window inside the host's, or null.
  HWND Child() const { return FindWindowExA(host, nullptr, kEditorClass, nullptr); }
  static void Mouse(HWND w, UINT msg, POINT p, WPARAM keys = 0) {
    SendMessageA(w, msg, keys, MAKELPARAM(p.x, p.y));
  }

  HWND host = nullptr;
};

TEST_F(Vst3WinEditor, ViewIsFixedAndOnlyForWindowsWindows) {
  PluginPair pair(module.factory);
  EXPECT_EQ(pair.controller->createView("something else"), nullptr);
  IPlugView* view = pair.controller->createView(kViewTypeEditor);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeHWND), kResultTrue);
  EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultFalse);
  EXPECT_EQ(view->isPlatformTypeSupported(nullptr), kResultFalse);
  ViewRect size{};
  ASSERT_EQ(view->getSize(&size), kResultOk);
  EXPECT_EQ(size.right - size.left, kEditorW);
  EXPECT_EQ(size.bottom - size.top, kEditorH);
  EXPECT_EQ(view->canResize(), kResultFalse);
  ViewRect asked{10, 20, 900, 900};
  view->checkSizeConstraint(&asked);
  EXPECT_EQ(asked.right - asked.left, kEditorW);
  EXPECT_EQ(asked.bottom - asked.top, kEditorH);
  ViewRect bigger{0, 0, 400, 500};
  EXPECT_EQ(view->onSize(&bigger), kResultFalse);
  // Another system's window type, no parent, or a handle that is no window: nothing opens.
  EXPECT_EQ(view->attached(host, kPlatformTypeX11EmbedWindowID), kResultFalse);
  EXPECT_EQ(view->attached(nullptr, kPlatformTypeHWND), kResultFalse);
  EXPECT_NE(view->attached(reinterpret_cast<void*>(uintptr_t{0x7654}), kPlatformTypeHWND),
            kResultOk);
  EXPECT_EQ(Child(), nullptr);
  EXPECT_EQ(view->release(), 0u);
}

// The client size of the view's window.
SIZE ClientSize(HWND w) {
  RECT client{};
  GetClientRect(w, &client);
  return {client.right, client.bottom};
}

// A host that scales its views: the size is scaled before the window opens, the window follows
// a new scale at once and asks the frame, knobs answer in editor pixels, and the monitor's DPI no
// longer moves the scale.
TEST_F(Vst3WinEditor, TheViewDrawsAtTheHostsContentScale) {
  RecordingHandler handler;
  PluginPair pair(module.factory);
  pair.controller->setComponentHandler(&handler);
  HostFrame frame;
  IPlugView* view = pair.controller->createView(kViewTypeEditor);
  ASSERT_NE(view, nullptr);
  IPlugViewContentScaleSupport* scaling = ContentScaleOf(view);
  ASSERT_NE(scaling, nullptr);
  EXPECT_EQ(scaling->setContentScaleFactor(0.0f), kInvalidArgument);
  EXPECT_EQ(scaling->setContentScaleFactor(-1.0f), kInvalidArgument);

  ASSERT_EQ(scaling->setContentScaleFactor(2.0f), kResultTrue);
  ViewRect size{};
  ASSERT_EQ(view->getSize(&size), kResultOk);
  EXPECT_EQ(size.right, 2 * kEditorW);
  EXPECT_EQ(size.bottom, 2 * kEditorH);
  EXPECT_EQ(frame.resizes, 0); // nothing to ask before the window opens
  ASSERT_EQ(view->setFrame(&frame), kResultOk);
  ASSERT_EQ(view->attached(host, kPlatformTypeHWND), kResultOk);
  const HWND child = Child();
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(ClientSize(child).cx, 2 * kEditorW);
  EXPECT_EQ(ClientSize(child).cy, 2 * kEditorH);

  // 28 editor pixels up on Drive are 56 window pixels at 2.
  const double before = pair.controller->getParamNormalized(1);
  const POINT knob{2 * kDriveKnob.x, 2 * kDriveKnob.y};
  Mouse(child, WM_LBUTTONDOWN, knob, MK_LBUTTON);
  Mouse(child, WM_MOUSEMOVE, {knob.x, knob.y - 56}, MK_LBUTTON);
  Mouse(child, WM_LBUTTONUP, {knob.x, knob.y - 56});
  EXPECT_NEAR(pair.controller->getParamNormalized(1) - before, 28.0 / 100.0 / 4.0, 1e-9);

  // While open: the window takes the new size and the frame is asked for it.
  ASSERT_EQ(scaling->setContentScaleFactor(1.5f), kResultTrue);
  EXPECT_EQ(frame.resizes, 1);
  EXPECT_EQ(frame.asked.right, 456);
  EXPECT_EQ(frame.asked.bottom, 624);
  EXPECT_EQ(ClientSize(child).cx, 456);
  EXPECT_EQ(ClientSize(child).cy, 624);
  // The same scale again asks nothing.
  ASSERT_EQ(scaling->setContentScaleFactor(1.5f), kResultTrue);
  EXPECT_EQ(frame.resizes, 1);

  // The system says the monitor is at 96 DPI: the host's scale stands.
  constexpr UINT kDpiChanged = 0x02E0;
  SendMessageA(child, kDpiChanged, MAKEWPARAM(96, 96), 0);
  Pump(100);
  EXPECT_EQ(ClientSize(child).cx, 456);
  const std::vector<uint32_t> shown = test::CaptureClient(child, 456, 624);
  EXPECT_NE(std::count(shown.begin(), shown.end(), shown[0]), 456 * 624);

  scaling->release();
  ASSERT_EQ(view->removed(), kResultOk);
  view->setFrame(nullptr);
  EXPECT_EQ(view->release(), 0u);
}

TEST_F(Vst3WinEditor, ViewShowsTheEditorInTheHostsWindowAndCarriesGesturesBothWays) {
  RecordingHandler handler; // outlives the pair, which holds it until its teardown
  PluginPair pair(module.factory);
  pair.controller->setComponentHandler(&handler);
  HostFrame frame;
  IPlugView* view = pair.controller->createView(kViewTypeEditor);
  ASSERT_NE(view, nullptr);
  ASSERT_EQ(view->setFrame(&frame), kResultOk);
  ASSERT_EQ(view->attached(host, kPlatformTypeHWND), kResultOk);
  EXPECT_EQ(view->attached(host, kPlatformTypeHWND), kResultFalse); // one window at a time
  const HWND child = Child();
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(GetParent(child), host);
  EXPECT_TRUE(GetWindowLongPtrA(child, GWL_STYLE) & WS_CHILD);
  RECT client{};
  GetClientRect(child, &client);
  EXPECT_EQ(client.right, kEditorW);
  EXPECT_EQ(client.bottom, kEditorH);
  Pump(300);
  const std::vector<uint32_t> first = Capture(child);
  EXPECT_GT(std::count(first.begin(), first.end(), first[0]), 0);
  EXPECT_NE(std::count(first.begin(), first.end(), first[0]), kEditorW * kEditorH)
      << "the editor's artwork is drawn, not a blank window";

  // Host automation turns the knob on the screen, and nothing goes back to the host.
  ASSERT_EQ(pair.controller->setParamNormalized(1, 0.75), kResultOk);
  Pump(300);
  const std::vector<uint32_t> turned = Capture(child);
  EXPECT_NE(turned, first);
  EXPECT_TRUE(handler.calls.empty());
  // The view in the host's window, as a picture, when one is asked for.
  if (const char* path = std::getenv("TAVO_VST3_SCREENSHOT")) {
    LICE_MemBitmap picture(kEditorW, kEditorH);
    for (int y = 0; y < kEditorH; ++y)
      for (int x = 0; x < kEditorW; ++x)
        picture.PixelData()[y * picture.RowSpan() + x] = 0xFF000000u | turned[y * kEditorW + x];
    EXPECT_TRUE(WritePngToFile(path, picture));
  }

  // A drag on the Drive knob: begin, performs, end, and the controller has the new value.
  Mouse(child, WM_LBUTTONDOWN, kDriveKnob, MK_LBUTTON);
  Mouse(child, WM_MOUSEMOVE, {kDriveKnob.x, kDriveKnob.y - 28}, MK_LBUTTON);
  Mouse(child, WM_LBUTTONUP, {kDriveKnob.x, kDriveKnob.y - 28});
  ASSERT_GE(handler.calls.size(), 3u);
  EXPECT_EQ(handler.calls.front(), "begin 1");
  EXPECT_EQ(handler.calls.back(), "end 1");
  EXPECT_EQ(handler.calls[1].rfind("perform 1 ", 0), 0u) << handler.calls[1];
  EXPECT_GT(pair.controller->getParamNormalized(1), 0.75);

  // The needle follows the level the processor measures, asked for on the view's ticks.
  Pump(300);
  const std::vector<uint32_t> atRest = Capture(child);
  Prepare(pair, 2, 512);
  Channels loud = TestSignal(2, 8192), out(2, std::vector<float>(8192));
  for (int pos = 0; pos < 8192; pos += 512)
    ProcessBlock(pair.processor, loud, out, pos, 512, {});
  Pump(500);
  EXPECT_NE(Capture(child), atRest);
  EXPECT_EQ(Message::alive, 0);

  // Closing as the reference host does: frame cleared, removed, released.
  ASSERT_EQ(view->setFrame(nullptr), kResultOk);
  ASSERT_EQ(view->removed(), kResultOk);
  EXPECT_FALSE(IsWindow(child));
  EXPECT_EQ(Child(), nullptr);
  EXPECT_EQ(frame.refs, 1);
  EXPECT_EQ(frame.resizes, 0); // a fixed view never asks to be resized
  EXPECT_EQ(view->release(), 0u);
}

TEST_F(Vst3WinEditor, OpeningAndClosingRepeatedlyLeavesNothingBehind) {
  PluginPair pair(module.factory);
  HostFrame frame;
  for (int i = 0; i < 30; ++i) {
    IPlugView* view = pair.controller->createView(kViewTypeEditor);
    ASSERT_NE(view, nullptr);
    view->setFrame(&frame);
    ASSERT_EQ(view->attached(host, kPlatformTypeHWND), kResultOk) << "round " << i;
    ASSERT_NE(Child(), nullptr);
    Pump(20);
    // Hosts close in either order, some release without removed(), and some destroy their own
    // window first (the child goes with it): the view tidies up in every case.
    switch (i % 3) {
    case 0:
      view->setFrame(nullptr);
      view->removed();
      break;
    case 1:
      view->removed();
      view->setFrame(nullptr);
      break;
    default:
      DestroyWindow(host);
      host = MakeHost();
      ASSERT_NE(host, nullptr);
      view->removed();
      break;
    }
    EXPECT_EQ(view->release(), 0u);
    EXPECT_EQ(Child(), nullptr);
    Pump(10);
  }
  EXPECT_EQ(frame.refs, 1);
  // The editor still opens after all that, and draws.
  IPlugView* view = pair.controller->createView(kViewTypeEditor);
  ASSERT_EQ(view->attached(host, kPlatformTypeHWND), kResultOk);
  Pump(200);
  const std::vector<uint32_t> shown = Capture(Child());
  EXPECT_NE(std::count(shown.begin(), shown.end(), shown[0]), kEditorW * kEditorH);
  EXPECT_EQ(view->release(), 0u);
  EXPECT_EQ(Child(), nullptr);
}

} // namespace
} // namespace tavo::test
