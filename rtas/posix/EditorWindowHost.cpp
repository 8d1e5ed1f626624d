#include "rtas/EditorWindowHost.h"

#include <cstring>

#include "graphics/PaintedScales.h"
#include "graphics/posix/IGraphicsLinux.h"
#include "hostlib/HostInterface.h"
#include "hostlib/PosixWindowPort.h"
#include "platform/SymbolLookup.h"

namespace tavo::editorhost {

namespace {

// ---- The editor window's port towards the host's window layer ----

namespace port = hostabi::window;

IGraphicsLinux* PortWindow(void* window) {
  return static_cast<IGraphicsLinux*>(window);
}

MouseMods ModsFrom(int32_t modifiers) {
  return {(modifiers & port::kButtonLeft) != 0, (modifiers & port::kButtonRight) != 0,
          (modifiers & port::kShift) != 0, (modifiers & port::kControl) != 0,
          (modifiers & port::kAlt) != 0};
}

int32_t HOSTABI_CALL PortTick(void* window) {
  return PortWindow(window)->OnTimerTick() ? port::kHandled : port::kNotHandled;
}

int32_t HOSTABI_CALL PortEvent(void* window, int32_t kind, int32_t x, int32_t y, int32_t modifiers,
                               int32_t delta) {
  IGraphicsLinux& editor = *PortWindow(window);
  const MouseMods mods = ModsFrom(modifiers);
  x = editor.ToLogical(x);
  y = editor.ToLogical(y);
  switch (kind) {
  case port::kMouseDown:
    editor.OnMouseDown(x, y, mods);
    return port::kHandled;
  case port::kMouseUp:
    editor.OnMouseUp(x, y, mods);
    return port::kHandled;
  case port::kMouseDrag:
    editor.OnMouseDrag(x, y, mods);
    return port::kHandled;
  case port::kMouseDoubleClick:
    return editor.OnMouseDblClick(x, y, mods) ? port::kHandled : port::kNotHandled;
  case port::kMouseWheel:
    editor.OnMouseWheel(x, y, mods, delta);
    return port::kHandled;
  case port::kMouseOver:
    return editor.OnMouseOver(x, y, mods) ? port::kHandled : port::kNotHandled;
  case port::kMouseOut:
    editor.OnMouseOut();
    return port::kHandled;
  case port::kKeyDown:
    return editor.OnKeyDown(x, y, delta) ? port::kHandled : port::kNotHandled;
  default:
    return port::kRefused;
  }
}

int32_t HOSTABI_CALL PortSize(void* window, int32_t* width, int32_t* height) {
  const IGraphicsLinux& editor = *PortWindow(window);
  if (!width || !height) return port::kRefused;
  *width = editor.SurfaceWidth();
  *height = editor.SurfaceHeight();
  return port::kHandled;
}

int32_t HOSTABI_CALL PortSetScale(void* window, int32_t percent) {
  constexpr int32_t kPercent = 100;
  static_assert(kMinEditorScale * kPercent == port::kLowestScalePercent &&
                kMaxEditorScale * kPercent == port::kHighestScalePercent);
  if (percent < port::kLowestScalePercent || percent > port::kHighestScalePercent)
    return port::kRefused;
  PortWindow(window)->SetScale(static_cast<float>(percent) / kPercent);
  return port::kHandled;
}

int32_t HOSTABI_CALL PortReadFrame(void* window, uint32_t* pixels, int32_t width, int32_t height) {
  const LICE_IBitmap* frame = PortWindow(window)->PresentedFrame();
  if (!frame || !pixels || width != frame->Width() || height != frame->Height())
    return port::kRefused;
  const LICE_pixel* row = frame->PixelData();
  for (int32_t y = 0; y < height; ++y, row += frame->RowSpan())
    std::memcpy(pixels + static_cast<size_t>(y) * static_cast<size_t>(width), row,
                static_cast<size_t>(width) * sizeof(LICE_pixel));
  return port::kHandled;
}

// The host's window layer is optional: a program that drives the editor in-process has none.
void TellWindowLayer(const char* exportName, const port::SPosixWindowPort* windowPort) {
  const char* library = hostabi::kPosixLibrary[static_cast<int>(hostabi::EngineLibrary::DigiExt)];
  if (auto announce =
          reinterpret_cast<port::WindowAnnounceFn>(platform::FindLoadedSymbol(library, exportName)))
    announce(windowPort);
}

// The child holds the port while the editor's window is open in it, so the record the host was
// given stays where it is until the host is told to forget it.
class PosixChildWindow : public ChildWindow {
public:
  explicit PosixChildWindow(const ClientRect& frame) : frame_(frame) {}
  ~PosixChildWindow() override { Withdraw(); }
  void* Handle() override { return this; }
  ClientRect Frame() const override { return frame_; }

  void Announce(IGraphicsLinux& editor) {
    Withdraw();
    port_ = {&editor,   editor.TimerPeriodMs(), &PortTick,    &PortEvent,
             &PortSize, &PortReadFrame,         &PortSetScale};
    announced_ = true;
    TellWindowLayer(port::kWindowOpenedExport, &port_);
  }
  void Withdraw() {
    if (!announced_) return;
    announced_ = false;
    TellWindowLayer(port::kWindowClosedExport, &port_);
  }

private:
  ClientRect frame_;
  port::SPosixWindowPort port_{};
  bool announced_ = false;
};

} // namespace

// Without a window system there is no class table: the offscreen editor needs no registration.
void RegisterLocalWindowClass(void*) {}

bool ParentClientRect(void* parent, ClientRect* rect) {
  if (!parent || !rect) return false;
  const auto* native = static_cast<const hostabi::SPosixNativeWindow*>(parent);
  *rect = {0, 0, native->width, native->height};
  return true;
}

std::unique_ptr<ChildWindow> CreateChildWindow(void* parent, int32_t x, int32_t y, int32_t width,
                                               int32_t height) {
  if (!parent || width < 0 || height < 0) return nullptr;
  return std::make_unique<PosixChildWindow>(ClientRect{x, y, x + width, y + height});
}

bool DestroyChildWindow(std::unique_ptr<ChildWindow> window) {
  return window != nullptr;
}

void EditorWindowOpened(ChildWindow& child, IGraphics& editor) {
  if (auto* offscreen = dynamic_cast<IGraphicsLinux*>(&editor);
      offscreen && offscreen->WindowHandle())
    static_cast<PosixChildWindow&>(child).Announce(*offscreen);
}

void EditorWindowClosing(ChildWindow& child) {
  static_cast<PosixChildWindow&>(child).Withdraw();
}

bool TickEditorWindow(IGraphics& editor) {
  auto* offscreen = dynamic_cast<IGraphicsLinux*>(&editor);
  return offscreen && offscreen->OnTimerTick();
}

int EditorTimerPeriodMs(const IGraphics& editor) {
  const auto* offscreen = dynamic_cast<const IGraphicsLinux*>(&editor);
  return offscreen ? offscreen->TimerPeriodMs() : 0;
}

const LICE_IBitmap* PresentedFrame(const IGraphics& editor) {
  const auto* offscreen = dynamic_cast<const IGraphicsLinux*>(&editor);
  return offscreen ? offscreen->PresentedFrame() : nullptr;
}

} // namespace tavo::editorhost
