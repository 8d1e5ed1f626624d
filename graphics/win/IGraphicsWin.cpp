// The editor window's life: class registration counted per process, creation and destruction,
// the screen copy, resizing, folders, the cursor, message boxes, links and artwork.

#include "graphics/win/IGraphicsWin.h"

#include <shellapi.h>
#include <shlobj.h>
#include <wininet.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "drawing/LICE_Png.h"
#include "drawing/LICE_SysBitmap.h"
#include "framework/IPlugBase.h"
#include "graphics/PaintedScales.h"
#include "graphics/win/DisplayDpi.h"

namespace tavo {

namespace {

// Process-wide and unguarded: every editor window lives on the host's user-interface thread.
int gOpenWindows = 0;
// The refresh rate of the window being created, read by its creation message.
int gCreatingFps = IGraphics::kDefaultFps;

constexpr DWORD kFolderPathSize = 256;

// The text up to and including the last '\'; empty when there is none or nothing follows it.
void SetFolderOf(const char* path, GrowableText* out) {
  const char* slash = std::strrchr(path, '\\');
  if (!slash || slash[1] == '\0') {
    out->Set("");
    return;
  }
  out->Set(path, static_cast<size_t>(slash - path) + 1);
}

void ModuleFolderOf(HMODULE module, GrowableText* out) {
  if (!out) return;
  char path[kFolderPathSize + 1] = {};
  const DWORD n = GetModuleFileNameA(module, path, kFolderPathSize);
  if (n == 0 || n >= kFolderPathSize) { // none, or cut short
    out->Set("");
    return;
  }
  SetFolderOf(path, out);
}

// The host's top-level window of this process whose class has the remembered name.
struct MainWindowSearch {
  const char* className;
  DWORD process;
  HWND found;
};

BOOL CALLBACK FindMainWindow(HWND w, LPARAM data) {
  auto* search = reinterpret_cast<MainWindowSearch*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(w, &process);
  char cls[128] = {};
  if (process == search->process && GetClassNameA(w, cls, sizeof cls) > 0 &&
      std::strcmp(cls, search->className) == 0) {
    search->found = w;
    return FALSE;
  }
  return TRUE;
}

} // namespace

int CreatingWindowFps() {
  return gCreatingFps;
}

IGraphicsWin::IGraphicsWin(IPlugBase* plug, int width, int height, int fps)
    : IGraphics(plug, width, height, fps) {}

IGraphicsWin::~IGraphicsWin() {
  CloseWindow();
}

int IGraphicsWin::OpenWindowCount() {
  return gOpenWindows;
}

void* IGraphicsWin::OpenWindow(void* parent) {
  parentWindow_ = static_cast<HWND>(parent);
  int x = 0, y = 0, w = SurfaceWidth(), h = SurfaceHeight();
  if (window_) {
    // Re-opened where it was, at the size it had.
    RECT own{}, host{};
    GetWindowRect(window_, &own);
    GetWindowRect(parentWindow_, &host);
    x = own.left - host.left;
    y = own.top - host.top;
    w = own.right - own.left;
    h = own.bottom - own.top;
    CloseWindow();
  }

  if (gOpenWindows++ == 0) {
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &IGraphicsWin::WindowProc;
    wc.hInstance = moduleHandle_;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kWindowClass;
    // A registration left behind by a window that outlived its editor is the same class.
    if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
      --gOpenWindows;
      return nullptr;
    }
  }

  gCreatingFps = fps_;
  {
    const windpi::PerMonitorAwareScope aware;
    window_ = CreateWindowExA(0, kWindowClass, "IPlug", WS_CHILD | WS_VISIBLE, x, y, w, h,
                              parentWindow_, nullptr, moduleHandle_, this);
  }
  if (!window_) {
    if (--gOpenWindows == 0) UnregisterClassA(kWindowClass, moduleHandle_);
    return nullptr;
  }
  // Shown on a dense display (and allowed by the host to know it): drawn for it from the start.
  FollowDpi(windpi::DpiOf(window_));
  SetAllControlsDirty();
  return window_;
}

void IGraphicsWin::FollowDpi(unsigned dpi) {
  if (dpi == 0 || scaleFromHost_) return;
  SetScale(NearestPaintedScale(static_cast<float>(dpi) / windpi::kBaseDpi));
}

void IGraphicsWin::TakeScaleFromHost(float scale) {
  scaleFromHost_ = true;
  SetScale(scale);
}

void IGraphicsWin::ScaleChanged() {
  if (!window_) return;
  RECT client{};
  GetClientRect(window_, &client);
  GrowWindows(SurfaceWidth() - (client.right - client.left),
              SurfaceHeight() - (client.bottom - client.top));
}

IBounds IGraphicsWin::LogicalOf(const RECT& r) const {
  if (Scale() == 1.0f) return IBounds(r.left, r.top, r.right, r.bottom);
  const float k = Scale();
  return IBounds(
      static_cast<int32_t>(std::floor(r.left / k)), static_cast<int32_t>(std::floor(r.top / k)),
      static_cast<int32_t>(std::ceil(r.right / k)), static_cast<int32_t>(std::ceil(r.bottom / k)));
}

RECT IGraphicsWin::WindowRectOf(const IBounds& logical) const {
  const IBounds r = ToSurface(logical);
  return RECT{r.L, r.T, r.R, r.B};
}

void IGraphicsWin::CloseWindow() {
  if (!window_) {
    // A window destroyed from outside leaves the class to the editor's close; it goes once no
    // window of it is open.
    if (gOpenWindows == 0) UnregisterClassA(kWindowClass, moduleHandle_);
    return;
  }
  // An open edit is dropped first: it belongs to the window and holds a font.
  if (editWindow_) CloseTextEntry(false);
  HWND window = window_;
  window_ = nullptr;
  // The procedure stops reaching this object before the window goes, so the messages of the
  // destruction cannot call into an editor that is itself being destroyed.
  SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  RemovePropA(window, kPeriodProperty);
  DestroyWindow(window);
  if (--gOpenWindows == 0) UnregisterClassA(kWindowClass, moduleHandle_);
}

void IGraphicsWin::ForgetWindow(HWND window) {
  if (editWindow_) ForgetTextEntry(); // destroyed with the window, just before it
  window_ = nullptr;
  SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  RemovePropA(window, kPeriodProperty);
  // The class cannot go while the window is still being destroyed: the next close removes it.
  --gOpenWindows;
}

bool IGraphicsWin::DrawScreen(const IBounds& rect) {
  if (!window_) return false;
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window_, &ps);
  bool copied = false;
  if (dc && surface_) {
    const RECT r = WindowRectOf(rect);
    copied = BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top,
                    static_cast<HDC>(surface_->DeviceContext()), r.left, r.top, SRCCOPY) != 0;
  }
  EndPaint(window_, &ps);
  return copied;
}

void IGraphicsWin::Resize(int width, int height) {
  if (width == width_ && height == height_) return;
  const int oldWidth = SurfaceWidth(), oldHeight = SurfaceHeight();
  IGraphics::Resize(width, height);
  if (!window_) return;
  GrowWindows(SurfaceWidth() - oldWidth, SurfaceHeight() - oldHeight);
}

void IGraphicsWin::GrowWindows(int dw, int dh) {
  constexpr UINT kSizeOnly = SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE;
  auto grow = [&](HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    SetWindowPos(w, nullptr, 0, 0, r.right - r.left + dw, r.bottom - r.top + dh, kSizeOnly);
  };
  grow(window_);
  // Interfaces whose hosts size their own windows (and the real-time one) leave the parents be.
  const int api = plug_ ? plug_->ApiKind() : kApiStandalone;
  if (api != kApiVST3 && api != kApiRTAS) {
    if (HWND parent = GetParent(window_)) {
      grow(parent);
      const LONG_PTR style = GetWindowLongPtrA(parent, GWL_STYLE);
      const LONG_PTR exStyle = GetWindowLongPtrA(parent, GWL_EXSTYLE);
      if ((style & WS_CHILD) && !(exStyle & WS_EX_MDICHILD)) {
        if (HWND grandparent = GetParent(parent)) grow(grandparent);
      }
    }
  }
  const RECT all{0, 0, SurfaceWidth(), SurfaceHeight()};
  InvalidateRect(window_, &all, FALSE);
}

void IGraphicsWin::HostFolder(GrowableText* out) {
  ModuleFolderOf(nullptr, out);
}

void IGraphicsWin::ModuleFolder(GrowableText* out) {
  // Without a module the host's own file would answer; that is not this module's folder.
  if (!moduleHandle_) {
    if (out) out->Set("");
    return;
  }
  ModuleFolderOf(moduleHandle_, out);
}

void IGraphicsWin::DesktopFolder(GrowableText* out) {
  if (!out) return;
  char path[MAX_PATH + 1] = {};
  if (!SHGetSpecialFolderPathA(nullptr, path, CSIDL_DESKTOP, FALSE)) {
    out->Set("");
    return;
  }
  out->Set(path, strnlen(path, kFolderPathSize));
}

void IGraphicsWin::HideCursor() {
  if (cursorHidden_) return;
  POINT p{};
  GetCursorPos(&p);
  hiddenCursorX_ = p.x;
  hiddenCursorY_ = p.y;
  ShowCursor(FALSE);
  cursorHidden_ = true;
}

void IGraphicsWin::RestoreCursor() {
  if (!cursorHidden_) return;
  SetCursorPos(hiddenCursorX_, hiddenCursorY_);
  ShowCursor(TRUE);
  cursorHidden_ = false;
}

HWND IGraphicsWin::HostMainWindow() {
  if (mainWindow_) return mainWindow_;
  char name[128] = {};
  if (parentWindow_) {
    HWND top = parentWindow_;
    while (HWND up = GetParent(top))
      top = up;
    if (GetClassNameA(top, name, sizeof name) > 0) mainWindowClass_.Set(name);
    mainWindow_ = top;
  } else if (mainWindowClass_.Length() > 0) {
    MainWindowSearch search{mainWindowClass_.Get(), GetCurrentProcessId(), nullptr};
    EnumWindows(&FindMainWindow, reinterpret_cast<LPARAM>(&search));
    mainWindow_ = search.found;
  }
  return mainWindow_;
}

int IGraphicsWin::ShowMessageBox(const char* text, const char* caption, int type) {
  return MessageBoxA(HostMainWindow(), text ? text : "", caption, static_cast<UINT>(type));
}

bool IGraphicsWin::OpenURL(const char* url, const char* windowTitle, const char* confirmText,
                           const char* errorText) {
  if (confirmText && MessageBoxA(window_, confirmText, windowTitle, MB_YESNO) != IDYES)
    return false;
  DWORD connection = 0;
  if (url && InternetGetConnectedState(&connection, 0)) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(window_, "open", url, nullptr, nullptr, SW_SHOWNORMAL));
    if (result > 32) return true;
  }
  if (errorText) MessageBoxA(window_, errorText, windowTitle, MB_OK);
  return false;
}

LICE_IBitmap* IGraphicsWin::LoadPlatformBitmap(int id, const char* name) {
  // The name only tells the format; the identifier picks the resource.
  if (!NameEndsInPng(name)) return nullptr;
  return LoadPngFromResource(moduleHandle_, id, nullptr);
}

} // namespace tavo
