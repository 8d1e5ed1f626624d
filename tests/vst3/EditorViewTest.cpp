// The editor's view in a real X11 window, as a Linux host opens it: the view's window embedded in
// the host's, driven only by the host's run loop, showing what the editor draws offscreen; knob
// drags reach the host as edit gestures and host values move the knobs. Needs an X server: the
// ctest VST3EditorViewUnderXvfb runs these under a private Xvfb, and without DISPLAY they skip.

#include <poll.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>

#include "drawing/LICE_MemBitmap.h"
#include "drawing/LICE_Png.h"
#include "effect/TAVO.h"
#include "graphics/posix/IGraphicsLinux.h"
#include "tests/vst3/Vst3Fixture.h"
#include "vst3/abi/View.h"

// After our headers: Xlib defines None and Bool as macros.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace tavo::test {
namespace {

// The host's frame and run loop in one object, as hosts often lend them.
class HostFrame final : public IPlugFrame, public IRunLoop {
public:
  tresult TAVO_VST3_CALL queryInterface(const TUID iid, void** obj) override {
    *obj = nullptr;
    if (SameUid(iid, FUnknown::kIid) || SameUid(iid, IPlugFrame::kIid))
      *obj = static_cast<IPlugFrame*>(this);
    else if (SameUid(iid, IRunLoop::kIid))
      *obj = static_cast<IRunLoop*>(this);
    else
      return kNoInterface;
    ++refs;
    return kResultOk;
  }
  uint32_t TAVO_VST3_CALL addRef() override { return ++refs; }
  uint32_t TAVO_VST3_CALL release() override { return --refs; }
  tresult TAVO_VST3_CALL resizeView(IPlugView*, ViewRect* size) override {
    if (size) asked.push_back(*size);
    return kResultFalse;
  }
  tresult TAVO_VST3_CALL registerEventHandler(IEventHandler* handler, int fd) override {
    handlers[handler] = fd;
    return kResultOk;
  }
  tresult TAVO_VST3_CALL unregisterEventHandler(IEventHandler* handler) override {
    return handlers.erase(handler) ? kResultOk : kInvalidArgument;
  }
  tresult TAVO_VST3_CALL registerTimer(ITimerHandler* handler, uint64_t ms) override {
    timers[handler] = ms;
    return kResultOk;
  }
  tresult TAVO_VST3_CALL unregisterTimer(ITimerHandler* handler) override {
    return timers.erase(handler) ? kResultOk : kInvalidArgument;
  }

  // One turn of the loop: readable descriptors, then every timer, `turns` times, ~10 ms apart.
  void Run(int turns) {
    for (int t = 0; t < turns; ++t) {
      for (auto [handler, fd] : std::map(handlers)) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 10) > 0) handler->onFDIsSet(fd);
      }
      for (auto [handler, ms] : std::map(timers))
        handler->onTimer();
    }
  }

  int refs = 1;
  std::vector<ViewRect> asked; // every resizeView, in order
  std::map<IEventHandler*, int> handlers;
  std::map<ITimerHandler*, uint64_t> timers;
};

class Vst3Editor : public Vst3Host {
protected:
  void SetUp() override {
    Vst3Host::SetUp();
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
    display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 304, 416, 0, 0, 0);
    XMapWindow(display, parent);
    XSync(display, False);
  }
  void TearDown() override {
    if (!display) return;
    XDestroyWindow(display, parent);
    XCloseDisplay(display);
  }

  // The view's window inside the host's, or 0.
  Window Child() {
    Window root = 0, parentOut = 0, *children = nullptr;
    unsigned count = 0;
    XQueryTree(display, parent, &root, &parentOut, &children, &count);
    const Window child = count == 1 ? children[0] : 0;
    if (children) XFree(children);
    return child;
  }

  // The view's pixels as 0xRRGGBB.
  std::vector<uint32_t> Screenshot(Window window) {
    XSync(display, False);
    XImage* image = XGetImage(display, window, 0, 0, 304, 416, AllPlanes, ZPixmap);
    std::vector<uint32_t> pixels;
    if (!image) return pixels;
    for (int y = 0; y < 416; ++y)
      for (int x = 0; x < 304; ++x)
        pixels.push_back(static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFF);
    XDestroyImage(image);
    return pixels;
  }

  // What the effect's editor draws offscreen with Drive at `drive`, as 0xRRGGBB.
  static std::vector<uint32_t> Offscreen(double drive) {
    auto plug = MakeTAVO();
    auto* editor = dynamic_cast<IGraphicsLinux*>(plug->GetGUI());
    editor->OpenWindow(nullptr);
    plug->SetParameterFromHost(TAVO::kDrive, drive);
    editor->OnTimerTick();
    const LICE_IBitmap* frame = editor->PresentedFrame();
    std::vector<uint32_t> pixels;
    for (int y = 0; y < 416; ++y)
      for (int x = 0; x < 304; ++x)
        pixels.push_back(frame->PixelData()[y * frame->RowSpan() + x] & 0xFFFFFF);
    editor->CloseWindow();
    return pixels;
  }

  // A synthetic press, drag or release of the first button at (x, y) in the window.
  void Send(Window window, int type, int x, int y) {
    XEvent e{};
    XButtonEvent& b = e.xbutton; // a motion event has the same fields up to the state
    b.type = type;
    b.send_event = True;
    b.display = display;
    b.window = window;
    b.root = DefaultRootWindow(display);
    b.x = b.x_root = x;
    b.y = b.y_root = y;
    b.same_screen = True;
    if (type == MotionNotify) {
      e.xmotion.state = Button1Mask;
    } else {
      b.button = Button1;
      b.state = type == ButtonPress ? 0 : Button1Mask;
    }
    XSendEvent(display, window, True, ButtonPressMask | ButtonReleaseMask | PointerMotionMask, &e);
    XFlush(display);
  }

  Display* display = nullptr;
  Window parent = 0;
};

TEST_F(Vst3Editor, ViewIsFixedAndOnlyForX11) {
  PluginPair pair(module.factory);
  EXPECT_EQ(pair.controller->createView("something else"), nullptr);
  IPlugView* view = pair.controller->createView(kViewTypeEditor);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultTrue);
  EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeHWND), kResultFalse);
  ViewRect size{};
  ASSERT_EQ(view->getSize(&size), kResultOk);
  EXPECT_EQ(size.right - size.left, 304);
  EXPECT_EQ(size.bottom - size.top, 416);
  EXPECT_EQ(view->canResize(), kResultFalse);
  ViewRect asked{10, 20, 900, 900};
  view->checkSizeConstraint(&asked);
  EXPECT_EQ(asked.right - asked.left, 304);
  EXPECT_EQ(asked.bottom - asked.top, 416);
  EXPECT_EQ(view->attached(reinterpret_cast<void*>(parent), kPlatformTypeHWND), kResultFalse);
  EXPECT_EQ(view->release(), 0u);
}

TEST_F(Vst3Editor, ViewShowsTheEditorAndCarriesGesturesBothWays) {
  RecordingHandler handler; // outlives the pair, which holds it until its teardown
  PluginPair pair(module.factory);
  pair.controller->setComponentHandler(&handler);
  HostFrame frame;
  IPlugView* view = pair.controller->createView(kViewTypeEditor);
  ASSERT_NE(view, nullptr);
  ASSERT_EQ(view->setFrame(&frame), kResultOk);
  ASSERT_EQ(view->attached(reinterpret_cast<void*>(parent), kPlatformTypeX11EmbedWindowID),
            kResultOk);
  EXPECT_EQ(frame.timers.size(), 1u);
  EXPECT_EQ(frame.handlers.size(), 1u);
  const Window child = Child();
  ASSERT_NE(child, 0u);
  frame.Run(5);
  EXPECT_EQ(Screenshot(child), Offscreen(0.0));

  // Host automation moves the knob, and nothing goes back to the host.
  pair.controller->setParamNormalized(1, 0.75);
  frame.Run(5);
  EXPECT_EQ(Screenshot(child), Offscreen(7.5));
  EXPECT_TRUE(handler.calls.empty());
  // The host's window with the view in it, as a picture, when one is asked for.
  if (const char* path = std::getenv("TAVO_VST3_SCREENSHOT")) {
    const std::vector<uint32_t> pixels = Screenshot(parent);
    LICE_MemBitmap picture(304, 416);
    for (int y = 0; y < 416; ++y)
      for (int x = 0; x < 304; ++x)
        picture.PixelData()[y * picture.RowSpan() + x] = 0xFF000000u | pixels[y * 304 + x];
    EXPECT_TRUE(WritePngToFile(path, picture));
  }

  // A drag on the Drive knob: begin, performs, end, and the controller has the new value.
  Send(child, ButtonPress, 84, 168);
  frame.Run(2);
  Send(child, MotionNotify, 84, 140);
  frame.Run(2);
  Send(child, ButtonRelease, 84, 140);
  frame.Run(2);
  ASSERT_GE(handler.calls.size(), 3u);
  EXPECT_EQ(handler.calls.front(), "begin 1");
  EXPECT_EQ(handler.calls.back(), "end 1");
  EXPECT_EQ(handler.calls[1].rfind("perform 1 ", 0), 0u) << handler.calls[1];
  EXPECT_NE(pair.controller->getParamNormalized(1), 0.75);

  // The needle follows the level the processor measures, asked for on each tick.
  const std::vector<uint32_t> atRest = Screenshot(child);
  Prepare(pair, 2, 512);
  Channels loud = TestSignal(2, 8192), out(2, std::vector<float>(8192));
  for (int pos = 0; pos < 8192; pos += 512)
    ProcessBlock(pair.processor, loud, out, pos, 512, {});
  frame.Run(30);
  EXPECT_NE(Screenshot(child), atRest);
  EXPECT_EQ(Message::alive, 0);

  view->removed();
  EXPECT_TRUE(frame.timers.empty());
  EXPECT_TRUE(frame.handlers.empty());
  EXPECT_EQ(Child(), 0u);
  view->setFrame(nullptr);
  EXPECT_EQ(frame.refs, 1);
  EXPECT_EQ(view->release(), 0u);
}

TEST_F(Vst3Editor, OpeningAndClosingRepeatedlyLeavesNothingBehind) {
  PluginPair pair(module.factory);
  HostFrame frame;
  for (int i = 0; i < 20; ++i) {
    IPlugView* view = pair.controller->createView(kViewTypeEditor);
    ASSERT_NE(view, nullptr);
    view->setFrame(&frame);
    ASSERT_EQ(view->attached(reinterpret_cast<void*>(parent), kPlatformTypeX11EmbedWindowID),
              kResultOk);
    frame.Run(1);
    // Hosts close in either order; the view's release also tidies up what the host left.
    if (i % 2 == 0) {
      view->setFrame(nullptr);
      view->removed();
    }
    EXPECT_EQ(view->release(), 0u);
    EXPECT_TRUE(frame.timers.empty());
    EXPECT_EQ(Child(), 0u);
  }
  EXPECT_EQ(frame.refs, 1);
}

TEST_F(Vst3Editor, TheViewDrawsAtTheHostsContentScale) {
  RecordingHandler handler;
  PluginPair pair(module.factory);
  pair.controller->setComponentHandler(&handler);
  HostFrame frame;
  IPlugView* view = pair.controller->createView(kViewTypeEditor);
  ASSERT_NE(view, nullptr);
  IPlugViewContentScaleSupport* scaling = ContentScaleOf(view);
  ASSERT_NE(scaling, nullptr);
  EXPECT_EQ(scaling->setContentScaleFactor(std::nanf("")), kInvalidArgument);
  EXPECT_EQ(scaling->setContentScaleFactor(0.0f), kInvalidArgument);

  // Before the window opens: the next size the host asks for is already the scaled one.
  ASSERT_EQ(scaling->setContentScaleFactor(2.0f), kResultTrue);
  ViewRect size{};
  ASSERT_EQ(view->getSize(&size), kResultOk);
  EXPECT_EQ(size.right, 608);
  EXPECT_EQ(size.bottom, 832);
  EXPECT_TRUE(frame.asked.empty());
  ASSERT_EQ(view->setFrame(&frame), kResultOk);
  ASSERT_EQ(view->attached(reinterpret_cast<void*>(parent), kPlatformTypeX11EmbedWindowID),
            kResultOk);
  frame.Run(3);
  const Window child = Child();
  XWindowAttributes shown{};
  ASSERT_NE(XGetWindowAttributes(display, child, &shown), 0);
  EXPECT_EQ(shown.width, 608);
  EXPECT_EQ(shown.height, 832);

  // The same 28 editor pixels up on Drive as at 1, in the window's own pixels.
  const double before = pair.controller->getParamNormalized(1);
  Send(child, ButtonPress, 168, 336);
  frame.Run(2);
  Send(child, MotionNotify, 168, 280);
  frame.Run(2);
  Send(child, ButtonRelease, 168, 280);
  frame.Run(2);
  EXPECT_NEAR(pair.controller->getParamNormalized(1) - before, 28.0 / 100.0 / 4.0, 1e-9);

  // While open: the frame is asked for the new size and the window follows.
  ASSERT_EQ(scaling->setContentScaleFactor(1.5f), kResultTrue);
  ASSERT_EQ(frame.asked.size(), 1u);
  EXPECT_EQ(frame.asked[0].right, 456);
  EXPECT_EQ(frame.asked[0].bottom, 624);
  frame.Run(3);
  ASSERT_NE(XGetWindowAttributes(display, child, &shown), 0);
  EXPECT_EQ(shown.width, 456);
  EXPECT_EQ(shown.height, 624);

  scaling->release();
  view->removed();
  view->setFrame(nullptr);
  EXPECT_EQ(view->release(), 0u);
}

} // namespace
} // namespace tavo::test
