// Editor hosting on Windows: the editor's child window is a real window of class "IPlugLocal"
// inside the host's plug-in window; the window system drives the editor's own window, so the
// host-driven handles have nothing to do.

#include <windows.h>

#include <system_error>

#include "rtas/EditorWindowHost.h"

namespace tavo::editorhost {

namespace {

constexpr const char* kLocalClass = "IPlugLocal";
constexpr const char* kLocalTitle = "IPlugCustomUI";

// The module the class was registered for; child windows are created in it.
HINSTANCE gModuleInstance = nullptr;

class WinChildWindow : public ChildWindow {
public:
  WinChildWindow(HWND window, const ClientRect& frame) : window_(window), frame_(frame) {}
  void* Handle() override { return window_; }
  ClientRect Frame() const override { return frame_; }

private:
  HWND window_;
  ClientRect frame_;
};

} // namespace

void RegisterLocalWindowClass(void* moduleInstance) {
  gModuleInstance = static_cast<HINSTANCE>(moduleInstance);
  WNDCLASSA wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = &DefWindowProcA;
  wc.hInstance = gModuleInstance;
  wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = kLocalClass;
  if (RegisterClassA(&wc)) return;
  // The class stays registered for the module's lifetime, so every later instance finds it.
  const DWORD error = GetLastError();
  if (error != ERROR_CLASS_ALREADY_EXISTS)
    throw std::system_error(static_cast<int>(error), std::system_category(), kLocalClass);
}

bool ParentClientRect(void* parent, ClientRect* rect) {
  RECT r{};
  if (!parent || !rect || !GetClientRect(static_cast<HWND>(parent), &r)) return false;
  *rect = {r.left, r.top, r.right, r.bottom};
  return true;
}

std::unique_ptr<ChildWindow> CreateChildWindow(void* parent, int32_t x, int32_t y, int32_t width,
                                               int32_t height) {
  HWND window =
      CreateWindowExA(0, kLocalClass, kLocalTitle, WS_CHILD | WS_VISIBLE, x, y, width, height,
                      static_cast<HWND>(parent), nullptr, gModuleInstance, nullptr);
  if (!window) return nullptr;
  ShowWindow(window, SW_SHOWNORMAL);
  InvalidateRect(window, nullptr, FALSE);
  UpdateWindow(window);
  return std::make_unique<WinChildWindow>(window, ClientRect{x, y, x + width, y + height});
}

bool DestroyChildWindow(std::unique_ptr<ChildWindow> window) {
  return window && DestroyWindow(static_cast<HWND>(window->Handle()));
}

void EditorWindowOpened(ChildWindow&, IGraphics&) {}
void EditorWindowClosing(ChildWindow&) {}

bool TickEditorWindow(IGraphics&) {
  return false;
}

int EditorTimerPeriodMs(const IGraphics&) {
  return 0;
}

const LICE_IBitmap* PresentedFrame(const IGraphics&) {
  return nullptr;
}

} // namespace tavo::editorhost
