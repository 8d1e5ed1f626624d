#include "rtas/EditorWindowHost.h"

#include "graphics/posix/IGraphicsLinux.h"
#include "hostlib/HostInterface.h"

namespace tavo::editorhost {

namespace {
class PosixChildWindow : public ChildWindow {
public:
  explicit PosixChildWindow(const ClientRect& frame) : frame_(frame) {}
  void* Handle() override { return this; }
  ClientRect Frame() const override { return frame_; }

private:
  ClientRect frame_;
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
