// The editor window's procedure: creation, painting, the redraw timer, mouse, wheel and keys.

#include <windowsx.h>

#include "graphics/win/DisplayDpi.h"
#include "graphics/win/IGraphicsWin.h"
#include "graphics/win/KeyMapping.h"

namespace tavo {

namespace {

HWND RootOf(HWND w) {
  HWND root = GetAncestor(w, GA_ROOT);
  return root ? root : w;
}

// The monitor's DPI changed: sent to a top-level window with the new DPI in the parameter, and
// to per-monitor aware child windows (version 2) after their parent, without it.
constexpr UINT kDpiChanged = 0x02E0;
constexpr UINT kDpiChangedAfterParent = 0x02E3;

} // namespace

// The refresh rate OpenWindow published for the window being created (IGraphicsWin.cpp).
int CreatingWindowFps();

LRESULT CALLBACK IGraphicsWin::WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    auto* self = static_cast<IGraphicsWin*>(create->lpCreateParams);
    SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    if (self) {
      self->timerPeriodMs_ = winkeys::TimerPeriodFor(CreatingWindowFps());
      SetTimer(hWnd, kTimerId, static_cast<UINT>(self->timerPeriodMs_), nullptr);
      // A host working the window by its messages asks how often the timer redraws.
      SetPropA(hWnd, kPeriodProperty,
               reinterpret_cast<HANDLE>(static_cast<intptr_t>(self->timerPeriodMs_)));
    }
    SetFocus(hWnd);
    return 0;
  }
  auto* self = reinterpret_cast<IGraphicsWin*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
  if (!self || hWnd != self->window_) return DefWindowProcA(hWnd, msg, wParam, lParam);
  return self->HandleMessage(hWnd, msg, wParam, lParam);
}

MouseMods IGraphicsWin::ModsFrom(WPARAM keyState) const {
  return {(keyState & MK_LBUTTON) != 0, (keyState & MK_RBUTTON) != 0, (keyState & MK_SHIFT) != 0,
          (keyState & MK_CONTROL) != 0, QueryHostKeyMap().AlternateDown()};
}

LRESULT IGraphicsWin::HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCDESTROY) {
    // Only a window destroyed from outside gets here: CloseWindow detaches it first.
    ForgetWindow(hWnd);
    return DefWindowProcA(hWnd, msg, wParam, lParam);
  }
  // While the edit has the focus the window keeps out of its way; a click ends the entry.
  if (editWindow_ && editState_ == kEditFocused) {
    if (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN) editState_ = kEditCancel;
    return DefWindowProcA(hWnd, msg, wParam, lParam);
  }

  // The point of a mouse message, in editor pixels.
  const int x = Logical(GET_X_LPARAM(lParam)), y = Logical(GET_Y_LPARAM(lParam));
  switch (msg) {
  case WM_PAINT: {
    RECT r{};
    if (GetUpdateRect(hWnd, &r, FALSE)) {
      Draw(LogicalOf(r));
      // Draw validates through DrawScreen; an editor without controls never reaches it, and an
      // area left invalid would bring this message back for ever.
      ValidateRect(hWnd, &r);
    }
    return 0;
  }
  case WM_TIMER:
    if (wParam == kTimerId) OnTimer();
    return 0;
  case kDpiChanged:
    // Whatever rectangle the system suggests is for a top-level window; this one takes the
    // editor's size at the new scale.
    FollowDpi(LOWORD(wParam));
    return 0;
  case kDpiChangedAfterParent:
    FollowDpi(windpi::DpiOf(hWnd));
    return 0;
  case WM_MOUSEMOVE: {
    const MouseMods mods = ModsFrom(wParam);
    if (wParam & (MK_LBUTTON | MK_RBUTTON)) {
      if (GetCapture() == hWnd && !editWindow_) OnMouseDrag(x, y, mods);
    } else if (OnMouseOver(x, y, mods)) {
      TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, hWnd, HOVER_DEFAULT};
      TrackMouseEvent(&track);
    }
    return 0;
  }
  case WM_LBUTTONDOWN:
  case WM_RBUTTONDOWN:
  case WM_MBUTTONDOWN:
    OnButtonDown(hWnd, msg, wParam, lParam);
    return 0;
  case WM_LBUTTONUP:
  case WM_RBUTTONUP:
    ReleaseCapture();
    OnMouseUp(x, y, ModsFrom(wParam));
    return 0;
  case WM_LBUTTONDBLCLK:
    if (OnMouseDblClick(x, y, ModsFrom(wParam))) SetCapture(hWnd);
    return 0;
  case WM_MOUSEWHEEL: {
    if (editWindow_) {
      editState_ = kEditCancel;
      return 0;
    }
    // The message carries a screen point.
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(hWnd, &p);
    OnMouseWheel(Logical(p.x), Logical(p.y), ModsFrom(GET_KEYSTATE_WPARAM(wParam)),
                 winkeys::WheelNotches(GET_WHEEL_DELTA_WPARAM(wParam)));
    return 0;
  }
  case WM_MOUSELEAVE:
    OnMouseOut();
    return 0;
  case WM_KEYDOWN: {
    const int key = winkeys::EditorKeyFor(static_cast<unsigned>(wParam));
    POINT p{};
    GetCursorPos(&p);
    ScreenToClient(hWnd, &p);
    if (key < 0 || !OnKeyDown(Logical(p.x), Logical(p.y), key)) {
      // Keys the editor does not take are the host's (its transport, its shortcuts).
      if (HWND root = RootOf(hWnd); root != hWnd) SendMessageA(root, msg, wParam, lParam);
      return DefWindowProcA(hWnd, msg, wParam, lParam);
    }
    return 0;
  }
  case WM_CTLCOLOREDIT: {
    if (!editWindow_ || !editControl_) return DefWindowProcA(hWnd, msg, wParam, lParam);
    const ITextStyle& style = editControl_->TextStyle();
    const auto dc = reinterpret_cast<HDC>(wParam);
    const COLORREF back =
        RGB(style.entryBackground.R, style.entryBackground.G, style.entryBackground.B);
    SetBkColor(dc, back);
    SetTextColor(dc,
                 RGB(style.entryForeground.R, style.entryForeground.G, style.entryForeground.B));
    SetBkMode(dc, OPAQUE);
    // The stock brush paints the part of the box without text in the same colour.
    SetDCBrushColor(dc, back);
    return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
  }
  case WM_DRAWITEM:
  case WM_MEASUREITEM:
    if (HWND root = RootOf(hWnd); root != hWnd) return SendMessageA(root, msg, wParam, lParam);
    return DefWindowProcA(hWnd, msg, wParam, lParam);
  case WM_CLOSE:
    CloseWindow();
    return 0;

  case WM_SETFOCUS:
  case WM_KILLFOCUS:
    return 0;
  default:
    return DefWindowProcA(hWnd, msg, wParam, lParam);
  }
}

void IGraphicsWin::OnTimer() {
  if (editWindow_ && editState_ != kEditIdle) {
    if (editState_ == kEditCancel || editState_ == kEditCommit)
      CloseTextEntry(editState_ == kEditCommit);
    else
      editState_ = kEditIdle;
    return;
  }
  IBounds dirty;
  if (!IsDirty(dirty)) return;
  const RECT r = WindowRectOf(dirty);
  InvalidateRect(window_, &r, FALSE);
  if (editWindow_) {
    // The edit lies over its control; painting the control would cover it.
    const RECT keep = WindowRectOf(editControl_->Rect());
    ValidateRect(window_, &keep);
    UpdateWindow(window_);
    editState_ = kEditRedrawn;
  } else {
    UpdateWindow(window_);
  }
}

void IGraphicsWin::OnButtonDown(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (editWindow_) {
    CloseTextEntry(false);
    const RECT all{0, 0, SurfaceWidth(), SurfaceHeight()};
    InvalidateRect(hWnd, &all, FALSE);
    UpdateWindow(hWnd);
  }
  SetFocus(hWnd);
  SetCapture(hWnd);
  const int x = Logical(GET_X_LPARAM(lParam)), y = Logical(GET_Y_LPARAM(lParam));
  // With the host's automation keys held, a click on a bound control is the host's: it goes to
  // the top-level window at the same place on the screen.
  if (QueryHostKeyMap().AutomationClickHeld() && NoteAutomationParamAt(x, y) >= 0) {
    HWND root = RootOf(hWnd);
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    MapWindowPoints(hWnd, root, &p, 1);
    SendMessageA(root, msg, wParam, MAKELPARAM(p.x, p.y));
    return;
  }
  OnMouseDown(x, y, ModsFrom(wParam));
}

} // namespace tavo
