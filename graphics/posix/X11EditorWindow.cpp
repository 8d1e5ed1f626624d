#include "graphics/posix/X11EditorWindow.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

namespace tavo {

namespace {

using Clock = std::chrono::steady_clock;

// Two presses of the left button this close in time and place are a double-click.
constexpr auto kDoubleClickTime = std::chrono::milliseconds(400);
constexpr int kDoubleClickSlop = 4; // pixels

MouseMods ModsOf(unsigned int state, unsigned int pressedButton = 0) {
  MouseMods mods;
  mods.L = (state & Button1Mask) || pressedButton == Button1;
  mods.R = (state & Button3Mask) || pressedButton == Button3;
  mods.S = state & ShiftMask;
  mods.C = state & ControlMask;
  mods.A = state & Mod1Mask;
  return mods;
}

} // namespace

struct X11EditorWindow::State {
  Display* display = nullptr;
  Window window = 0;
  GC gc = nullptr;
  XImage* image = nullptr;      // wraps `pixels`; destroyed without freeing them
  std::vector<uint32_t> pixels; // the frame as the server takes it: 0x00RRGGBB
  Atom deleteWindow = 0;
  Clock::time_point nextTick{};
  Clock::time_point lastPress{};
  int lastPressX = -100, lastPressY = -100;
  bool destroyed = false;
  int width = 0, height = 0; // device pixels

  // The frame's pixels are 0xAARRGGBB words; a 24-bit TrueColor server takes the same words.
  void MakeImage() {
    DropImage();
    const int screen = DefaultScreen(display);
    pixels.assign(static_cast<size_t>(width) * height, 0);
    image = XCreateImage(display, DefaultVisual(display, screen),
                         static_cast<unsigned>(DefaultDepth(display, screen)), ZPixmap, 0,
                         reinterpret_cast<char*>(pixels.data()), static_cast<unsigned>(width),
                         static_cast<unsigned>(height), 32, width * 4);
  }
  void DropImage() {
    if (!image) return;
    image->data = nullptr; // the pixels belong to the vector
    XDestroyImage(image);
    image = nullptr;
  }
};

X11EditorWindow::X11EditorWindow(IGraphicsLinux& editor)
    : editor_(editor), x_(std::make_unique<State>()) {}

std::unique_ptr<X11EditorWindow> X11EditorWindow::Open(IGraphicsLinux& editor, unsigned long parent,
                                                       const char* displayName) {
  Display* display = XOpenDisplay(displayName);
  if (!display) return nullptr;
  std::unique_ptr<X11EditorWindow> window(new X11EditorWindow(editor));
  State& x = *window->x_;
  x.display = display;
  const int screen = DefaultScreen(display);
  const int width = editor.SurfaceWidth(), height = editor.SurfaceHeight();
  XSetWindowAttributes attributes{};
  attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                          KeyPressMask | LeaveWindowMask | StructureNotifyMask;
  attributes.background_pixel = BlackPixel(display, screen);
  x.window =
      XCreateWindow(display, parent ? parent : RootWindow(display, screen), 0, 0,
                    static_cast<unsigned>(width), static_cast<unsigned>(height), 0, CopyFromParent,
                    InputOutput, CopyFromParent, CWEventMask | CWBackPixel, &attributes);
  XStoreName(display, x.window, "TAVO editor");
  XSizeHints hints{};
  hints.flags = PMinSize | PMaxSize;
  hints.min_width = hints.max_width = width;
  hints.min_height = hints.max_height = height;
  XSetWMNormalHints(display, x.window, &hints);
  x.width = width;
  x.height = height;
  if (!parent) {
    x.deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, x.window, &x.deleteWindow, 1);
  }
  x.gc = XCreateGC(display, x.window, 0, nullptr);
  x.MakeImage();
  editor.OpenWindow(reinterpret_cast<void*>(x.window));
  editor.SetAllControlsDirty();
  XMapWindow(display, x.window);
  XFlush(display);
  x.nextTick = Clock::now();
  return window;
}

X11EditorWindow::~X11EditorWindow() {
  editor_.CloseWindow();
  x_->DropImage();
  if (x_->gc) XFreeGC(x_->display, x_->gc);
  if (x_->window && !x_->destroyed) XDestroyWindow(x_->display, x_->window);
  XCloseDisplay(x_->display);
}

unsigned long X11EditorWindow::WindowId() const {
  return x_->window;
}

int X11EditorWindow::ConnectionFd() const {
  return ConnectionNumber(x_->display);
}

void X11EditorWindow::Present(int left, int top, int right, int bottom) {
  const LICE_IBitmap* frame = editor_.PresentedFrame();
  if (!frame || !x_->image) return;
  const int width = std::min(frame->Width(), x_->image->width);
  const int height = std::min(frame->Height(), x_->image->height);
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width);
  bottom = std::min(bottom, height);
  if (right <= left || bottom <= top) return;
  for (int y = top; y < bottom; ++y) {
    const LICE_pixel* row = frame->PixelData() + static_cast<size_t>(y) * frame->RowSpan();
    uint32_t* out = x_->pixels.data() + static_cast<size_t>(y) * x_->image->width;
    for (int px = left; px < right; ++px)
      out[px] = row[px] & 0x00FFFFFFu;
  }
  XPutImage(x_->display, x_->window, x_->gc, x_->image, left, top, left, top,
            static_cast<unsigned>(right - left), static_cast<unsigned>(bottom - top));
}

void X11EditorWindow::FollowScale() {
  State& x = *x_;
  const int width = editor_.SurfaceWidth(), height = editor_.SurfaceHeight();
  if (width == x.width && height == x.height) return;
  // The host changed the editor's scale while the window was open: the window takes the new
  // size and everything is drawn again at it.
  x.width = width;
  x.height = height;
  XSizeHints hints{};
  hints.flags = PMinSize | PMaxSize;
  hints.min_width = hints.max_width = width;
  hints.min_height = hints.max_height = height;
  XSetWMNormalHints(x.display, x.window, &hints);
  XResizeWindow(x.display, x.window, static_cast<unsigned>(width), static_cast<unsigned>(height));
  x.MakeImage();
  editor_.SetAllControlsDirty();
}

void X11EditorWindow::Route(const void* raw) {
  const XEvent& e = *static_cast<const XEvent*>(raw);
  switch (e.type) {
  case Expose:
    Present(e.xexpose.x, e.xexpose.y, e.xexpose.x + e.xexpose.width,
            e.xexpose.y + e.xexpose.height);
    break;
  case ButtonPress: {
    XButtonEvent b = e.xbutton;
    b.x = editor_.ToLogical(b.x);
    b.y = editor_.ToLogical(b.y);
    if (b.button == Button4 || b.button == Button5) {
      editor_.OnMouseWheel(b.x, b.y, ModsOf(b.state), b.button == Button4 ? 1 : -1);
      break;
    }
    const MouseMods mods = ModsOf(b.state, b.button);
    const auto now = Clock::now();
    const bool twice = b.button == Button1 && now - x_->lastPress < kDoubleClickTime &&
                       std::abs(b.x - x_->lastPressX) <= kDoubleClickSlop &&
                       std::abs(b.y - x_->lastPressY) <= kDoubleClickSlop;
    x_->lastPress = twice ? Clock::time_point{} : now;
    x_->lastPressX = b.x;
    x_->lastPressY = b.y;
    // The server grabs the pointer for this window until the release: the drag is captured.
    if (!twice || !editor_.OnMouseDblClick(b.x, b.y, mods)) editor_.OnMouseDown(b.x, b.y, mods);
    break;
  }
  case ButtonRelease:
    if (e.xbutton.button == Button4 || e.xbutton.button == Button5) break;
    editor_.OnMouseUp(editor_.ToLogical(e.xbutton.x), editor_.ToLogical(e.xbutton.y),
                      ModsOf(e.xbutton.state));
    break;
  case MotionNotify: {
    const XMotionEvent& m = e.xmotion;
    const int mx = editor_.ToLogical(m.x), my = editor_.ToLogical(m.y);
    if (m.state & (Button1Mask | Button3Mask))
      editor_.OnMouseDrag(mx, my, ModsOf(m.state));
    else
      editor_.OnMouseOver(mx, my, ModsOf(m.state));
    break;
  }
  case LeaveNotify:
    if (!(e.xcrossing.state & (Button1Mask | Button3Mask))) editor_.OnMouseOut();
    break;
  case KeyPress: {
    XKeyEvent key = e.xkey;
    char text[8] = {};
    KeySym sym = 0;
    if (XLookupString(&key, text, sizeof text - 1, &sym, nullptr) == 1)
      editor_.OnKeyDown(editor_.ToLogical(key.x), editor_.ToLogical(key.y),
                        static_cast<unsigned char>(text[0]));
    break;
  }
  case DestroyNotify:
    if (e.xdestroywindow.window == x_->window) x_->destroyed = true;
    break;
  case ClientMessage:
    if (static_cast<Atom>(e.xclient.data.l[0]) == x_->deleteWindow && x_->deleteWindow) {
      XDestroyWindow(x_->display, x_->window);
      x_->destroyed = true;
    }
    break;
  default:
    break;
  }
}

bool X11EditorWindow::Idle() {
  if (x_->destroyed) return false;
  while (XPending(x_->display) > 0) {
    XEvent event;
    XNextEvent(x_->display, &event);
    Route(&event);
    if (x_->destroyed) return false;
  }
  FollowScale();
  const auto now = Clock::now();
  if (now >= x_->nextTick) {
    x_->nextTick = now + std::chrono::milliseconds(editor_.TimerPeriodMs());
    // What the tick redraws lands in the presented frame; the whole editor is cheap to send.
    if (editor_.OnTimerTick()) Present(0, 0, editor_.SurfaceWidth(), editor_.SurfaceHeight());
  }
  XFlush(x_->display);
  return true;
}

} // namespace tavo
