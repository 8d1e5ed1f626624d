// The in-place text entry: an "EDIT" child over the control, its character filter and its state
// machine. Enter (or the edit's own command) asks for a commit, focus loss, the wheel, a click in
// the editor or AbortTextEntry for a cancel; the next timer tick carries either out.

#include <cmath>

#include "framework/IParameter.h"
#include "framework/IPlugBase.h"
#include "graphics/TextEntryFilter.h"
#include "graphics/win/IGraphicsWin.h"

namespace tavo {

void IGraphicsWin::TextEntryForControl(IControl* control, const char* text, const IBounds& rect) {
  if (!control || editWindow_ || !window_) return;
  const ITextStyle& style = control->TextStyle();
  DWORD align = ES_CENTER;
  if (style.align == ITextStyle::kNear)
    align = ES_LEFT;
  else if (style.align == ITextStyle::kFar)
    align = ES_RIGHT;

  // Over the control in window pixels, its text at the editor's scale.
  const RECT at = WindowRectOf(rect);
  const int onePixel = static_cast<int>(std::lround(Scale()));
  editWindow_ = CreateWindowExA(
      0, "EDIT", text ? text : "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | align, at.left, at.top,
      at.right - at.left + onePixel, at.bottom - at.top + onePixel, window_,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditControlId)), moduleHandle_, nullptr);
  if (!editWindow_) return;

  editFont_ = CreateFontA(static_cast<int>(std::lround(style.size * Scale())), 0, 0, 0,
                          style.style == ITextStyle::kBold ? FW_BOLD : 0,
                          style.style == ITextStyle::kItalic, 0, 0, 0, 0, 0, 0, 0, style.face);
  SendMessageA(editWindow_, WM_SETFONT, reinterpret_cast<WPARAM>(editFont_), 0);
  SendMessageA(editWindow_, EM_SETSEL, 0, -1);
  SendMessageA(editWindow_, EM_LIMITTEXT, static_cast<WPARAM>(control->TextEntryLength()), 0);
  editControl_ = control;
  editParam_ = plug_ ? plug_->GetParam(control->ParamIdx()) : nullptr;
  // The focus arrives before the procedure is replaced, so the entry starts idle and the editor
  // window keeps handling its messages (a wheel turn or a click there ends the entry); the edit
  // counts as focused only when the focus comes back to it later.
  SetFocus(editWindow_);
  SetWindowLongPtrA(editWindow_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  editDefaultProc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
      editWindow_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&IGraphicsWin::EditProc)));
}

void IGraphicsWin::CloseTextEntry(bool commit) {
  if (!editWindow_) return;
  if (commit && editControl_) {
    char text[kEditTextSize] = {};
    SendMessageA(editWindow_, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    // A parameter's text becomes its value; a control without one takes the text itself.
    SetFromStringAfterPrompt(editControl_, text);
  }
  HWND edit = editWindow_;
  editWindow_ = nullptr;
  SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editDefaultProc_));
  SetWindowLongPtrA(edit, GWLP_USERDATA, 0);
  DestroyWindow(edit);
  ForgetTextEntry();
}

void IGraphicsWin::ForgetTextEntry() {
  editWindow_ = nullptr;
  if (editFont_) DeleteObject(editFont_);
  editFont_ = nullptr;
  editControl_ = nullptr;
  editParam_ = nullptr;
  editDefaultProc_ = nullptr;
  editState_ = kEditIdle;
}

LRESULT CALLBACK IGraphicsWin::EditProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<IGraphicsWin*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
  if (!self || hWnd != self->editWindow_) return DefWindowProcA(hWnd, msg, wParam, lParam);
  return self->HandleEditMessage(hWnd, msg, wParam, lParam);
}

LRESULT IGraphicsWin::HandleEditMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
  case WM_SETFOCUS:
    editState_ = kEditFocused;
    break;
  case WM_KILLFOCUS:
    editState_ = kEditCancel;
    break;
  case WM_KEYDOWN:
    if (wParam == VK_RETURN) {
      editState_ = kEditCommit;
      return 0;
    }
    break;
  case WM_COMMAND:
    if (HIWORD(wParam) == 1) {
      editState_ = kEditCommit;
      return 0;
    }
    break;
  case WM_GETDLGCODE:
    if (!editParam_) {
      LRESULT code = CallWindowProcA(editDefaultProc_, hWnd, msg, wParam, lParam);
      const auto* queried = reinterpret_cast<const MSG*>(lParam);
      if (queried && queried->message == WM_KEYDOWN && queried->wParam == VK_RETURN)
        code |= DLGC_WANTALLKEYS;
      return code;
    }
    break;
  case WM_CHAR:
    if (editParam_ && !TextEntryAccepts(editParam_, static_cast<char>(wParam))) return 0;
    break;
  case WM_NCDESTROY: {
    const WNDPROC defaultProc = editDefaultProc_;
    ForgetTextEntry();
    return CallWindowProcA(defaultProc, hWnd, msg, wParam, lParam);
  }
  default:
    break;
  }
  return CallWindowProcA(editDefaultProc_, hWnd, msg, wParam, lParam);
}

} // namespace tavo
