// The host's window on Windows: a plain top-level window of a private class at the screen's
// corner, shown so the window system paints the editor in it, with the editor's window worked
// through the messages a person's mouse and keys would send.

#include <windows.h>

#include <algorithm>

#include "host/driver/NativeEditorWindow.h"
#include "hostlib/PosixWindowPort.h"

namespace tavo::host::native {

namespace {

constexpr const char* kHostClass = "TavoHostEditorFrame";
constexpr const char* kEditorClass = "IPlugWndClass";
constexpr const char* kLocalClass = "IPlugLocal";
// The editor window names its redraw period in this property (graphics/win).
constexpr const char* kPeriodProperty = "RedrawPeriodMs";
// A monitor at 100 %, and the message a window gets when its monitor's DPI changes.
constexpr int kBaseDpi = 96;
constexpr UINT kDpiChanged = 0x02E0;
// How long a tick waits for the editor's timer when it cannot tell the period.
constexpr int32_t kLongestPeriodMs = 100;

LRESULT CALLBACK HostProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcA(w, msg, wp, lp);
}

bool RegisterHostClass() {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &HostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kHostClass;
    return RegisterClassA(&wc) != 0;
  }();
  return registered;
}

WPARAM KeysFrom(int32_t modifiers) {
  namespace port = hostabi::window;
  WPARAM keys = 0;
  if (modifiers & port::kButtonLeft) keys |= MK_LBUTTON;
  if (modifiers & port::kButtonRight) keys |= MK_RBUTTON;
  if (modifiers & port::kShift) keys |= MK_SHIFT;
  if (modifiers & port::kControl) keys |= MK_CONTROL;
  return keys;
}

// The window a tick watches, and whether a paint reached it: the editor paints from inside its
// timer message (a sent paint, seen only by a hook) or when the window system asks (a posted one).
thread_local HWND gWatched = nullptr;
thread_local bool gPainted = false;

LRESULT CALLBACK WatchSentMessages(int code, WPARAM wp, LPARAM lp) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lp);
  if (code == HC_ACTION && sent && sent->hwnd == gWatched && sent->message == WM_PAINT)
    gPainted = true;
  return CallNextHookEx(nullptr, code, wp, lp);
}

// Dispatches every waiting message; true when one was the watched window's timer.
bool DispatchWaiting() {
  bool ticked = false;
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (m.hwnd == gWatched && m.message == WM_TIMER) ticked = true;
    if (m.hwnd == gWatched && m.message == WM_PAINT) gPainted = true;
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  return ticked;
}

} // namespace

void* CreateHostWindow(int32_t width, int32_t height) {
  if (!RegisterHostClass()) return nullptr;
  RECT r{0, 0, width, height};
  AdjustWindowRectEx(&r, WS_POPUP, FALSE, WS_EX_TOOLWINDOW);
  return CreateWindowExA(WS_EX_TOOLWINDOW, kHostClass, "editor", WS_POPUP | WS_VISIBLE, 0, 0,
                         r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

void DestroyHostWindow(void* host) {
  if (host) DestroyWindow(static_cast<HWND>(host));
}

void* FindEditorWindow(void* host) {
  HWND local = FindWindowExA(static_cast<HWND>(host), nullptr, kLocalClass, nullptr);
  HWND parent = local ? local : static_cast<HWND>(host);
  return FindWindowExA(parent, nullptr, kEditorClass, nullptr);
}

int32_t TimerPeriodMs(void* editor) {
  return editor ? static_cast<int32_t>(reinterpret_cast<intptr_t>(
                      GetPropA(static_cast<HWND>(editor), kPeriodProperty)))
                : 0;
}

bool PumpOneTick(void* editor) {
  HWND w = static_cast<HWND>(editor);
  const int32_t period = TimerPeriodMs(editor);
  const DWORD wait = static_cast<DWORD>(2 * (period > 0 ? period : kLongestPeriodMs));
  gWatched = w;
  gPainted = false;
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, &WatchSentMessages, nullptr, GetCurrentThreadId());
  const DWORD start = GetTickCount();
  bool ticked = false;
  while (!ticked && GetTickCount() - start < wait) {
    ticked = DispatchWaiting();
    if (!ticked) MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  // What is still invalid is painted now, not at the window system's leisure.
  UpdateWindow(w);
  DispatchWaiting();
  if (hook) UnhookWindowsHookEx(hook);
  gWatched = nullptr;
  return gPainted;
}

bool SendEvent(void* editor, int32_t kind, int32_t x, int32_t y, int32_t modifiers, int32_t delta) {
  namespace port = hostabi::window;
  HWND w = static_cast<HWND>(editor);
  const WPARAM keys = KeysFrom(modifiers);
  const bool right = (modifiers & port::kButtonRight) != 0;
  const LPARAM at = MAKELPARAM(x, y);
  switch (kind) {
  case port::kMouseDown:
    SendMessageA(w, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, keys, at);
    return true;
  case port::kMouseUp:
    // The button is no longer held once it comes up.
    SendMessageA(w, right ? WM_RBUTTONUP : WM_LBUTTONUP, keys & ~(MK_LBUTTON | MK_RBUTTON), at);
    return true;
  case port::kMouseDrag:
  case port::kMouseOver:
    SendMessageA(w, WM_MOUSEMOVE,
                 kind == port::kMouseOver ? keys & ~(MK_LBUTTON | MK_RBUTTON) : keys, at);
    return true;
  case port::kMouseDoubleClick:
    SendMessageA(w, right ? WM_RBUTTONDBLCLK : WM_LBUTTONDBLCLK, keys, at);
    return true;
  case port::kMouseWheel: {
    // The wheel message carries its point in screen pixels, one step being 120.
    POINT p{x, y};
    ClientToScreen(w, &p);
    const auto steps = static_cast<SHORT>(std::clamp(delta * WHEEL_DELTA, -32768, 32767));
    SendMessageA(w, WM_MOUSEWHEEL, MAKEWPARAM(keys, static_cast<WORD>(steps)),
                 MAKELPARAM(p.x, p.y));
    return true;
  }
  case port::kMouseOut:
    SendMessageA(w, WM_MOUSELEAVE, 0, 0);
    return true;
  case port::kKeyDown:
    SendMessageA(w, WM_KEYDOWN, static_cast<WPARAM>(delta), 0);
    return true;
  default:
    return false;
  }
}

bool SetDisplayScale(void* host, void* editor, int32_t percent) {
  HWND w = static_cast<HWND>(editor);
  if (!w) return false;
  const UINT dpi = static_cast<UINT>(MulDiv(kBaseDpi, percent, 100));
  RECT suggested{};
  GetWindowRect(w, &suggested);
  SendMessageA(w, kDpiChanged, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  // As a host does once its plug-in window changed size: the windows around it follow.
  RECT client{};
  GetClientRect(w, &client);
  const int width = client.right, height = client.bottom;
  constexpr UINT kSizeOnly = SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE;
  for (HWND up = GetParent(w); up && up != host; up = GetParent(up))
    SetWindowPos(up, nullptr, 0, 0, width, height, kSizeOnly);
  if (host) {
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, WS_POPUP, FALSE, WS_EX_TOOLWINDOW);
    SetWindowPos(static_cast<HWND>(host), nullptr, 0, 0, frame.right - frame.left,
                 frame.bottom - frame.top, kSizeOnly);
  }
  return true;
}

bool ReadFrame(void* editor, std::vector<uint32_t>& pixels, int32_t& width, int32_t& height) {
  HWND w = static_cast<HWND>(editor);
  RECT client{};
  if (!GetClientRect(w, &client) || client.right <= 0 || client.bottom <= 0) return false;
  width = client.right;
  height = client.bottom;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC screen = GetDC(w);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP section = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool copied = false;
  if (memory && section && bits) {
    HGDIOBJ old = SelectObject(memory, section);
    copied = BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY) != 0;
    GdiFlush();
    const auto* p = static_cast<const uint32_t*>(bits);
    pixels.assign(p, p + static_cast<size_t>(width) * static_cast<size_t>(height));
    // The screen has no alpha: what shows is opaque.
    for (uint32_t& px : pixels)
      px |= 0xFF000000u;
    SelectObject(memory, old);
  }
  if (section) DeleteObject(section);
  if (memory) DeleteDC(memory);
  ReleaseDC(w, screen);
  if (!copied) pixels.clear();
  return copied;
}

} // namespace tavo::host::native
