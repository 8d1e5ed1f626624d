// The editor's view on Windows: the editor's own window (IGraphicsWin, class "IPlugWndClass") as
// a child of the window the host gives. The window paces its redraws with its own timer and takes
// its messages from the host's message loop, so the view needs no run loop; a second timer on
// the same window ticks the view's owner (the needle's level request) at the redraw's pace.

#include "vst3/EditorView.h"

#include <windows.h>

#include <cstring>

#include "graphics/IGraphics.h"
#include "graphics/win/IGraphicsWin.h"
#include "vst3/RefCounted.h"
#include "vst3/ViewSize.h"

namespace tavo::vst3 {

namespace {

// The owner's tick: a timer of its own on the editor's window (the editor's redraw timer is
// IGraphicsWin::kTimerId), and the window property that leads the timer back to the view.
constexpr UINT_PTR kTickTimerId = IGraphicsWin::kTimerId + 1;
constexpr const char* kViewProperty = "TavoVst3View";
// The pace when the window does not say its own.
constexpr UINT kFallbackTickMs = 40;

class WindowsView final : public IPlugView, public IPlugViewContentScaleSupport {
public:
  WindowsView(IGraphicsWin& editor, ViewTicks* ticks) : editor_(editor), ticks_(ticks) {}

  tresult TAVO_VST3_CALL queryInterface(const TUID iid, void** obj) override {
    if (!obj) return kInvalidArgument;
    *obj = nullptr;
    if (SameUid(iid, FUnknown::kIid) || SameUid(iid, IPlugView::kIid))
      *obj = static_cast<IPlugView*>(this);
    else if (SameUid(iid, IPlugViewContentScaleSupport::kIid))
      *obj = static_cast<IPlugViewContentScaleSupport*>(this);
    else
      return kNoInterface;
    addRef();
    return kResultOk;
  }
  uint32_t TAVO_VST3_CALL addRef() override { return refs_.Add(); }
  uint32_t TAVO_VST3_CALL release() override {
    const uint32_t left = refs_.Release();
    if (left == 0) delete this;
    return left;
  }

  tresult TAVO_VST3_CALL isPlatformTypeSupported(const char* type) override {
    return type && std::strcmp(type, kPlatformTypeHWND) == 0 ? kResultTrue : kResultFalse;
  }

  // [main thread · allocates] The editor's window inside `parent` (an HWND), and the owner's
  // tick on it. One window at a time: a second attach without removed is refused.
  tresult TAVO_VST3_CALL attached(void* parent, const char* type) override {
    if (isPlatformTypeSupported(type) != kResultTrue || !parent || window_) return kResultFalse;
    if (!IsWindow(static_cast<HWND>(parent))) return kInvalidArgument;
    window_ = static_cast<HWND>(editor_.OpenWindow(parent));
    if (!window_) return kResultFalse;
    SetPropA(window_, kViewProperty, this);
    const int period = editor_.TimerPeriodMs();
    SetTimer(window_, kTickTimerId, period > 0 ? static_cast<UINT>(period) : kFallbackTickMs,
             &WindowsView::OnTick);
    return kResultOk;
  }

  // [main thread] The window goes, with the tick and the property on it.
  tresult TAVO_VST3_CALL removed() override {
    if (!window_) return kResultOk;
    // A window the host destroyed with its own took the timer and the property along, and its
    // handle may already be another window's.
    if (editor_.WindowHandle() == window_) {
      KillTimer(window_, kTickTimerId);
      RemovePropA(window_, kViewProperty);
    }
    window_ = nullptr;
    editor_.CloseWindow();
    return kResultOk;
  }

  // The window takes its own keys and wheel turns from the system.
  tresult TAVO_VST3_CALL onWheel(float) override { return kResultFalse; }
  tresult TAVO_VST3_CALL onKeyDown(char16_t, int16_t, int16_t) override { return kResultFalse; }
  tresult TAVO_VST3_CALL onKeyUp(char16_t, int16_t, int16_t) override { return kResultFalse; }

  tresult TAVO_VST3_CALL getSize(ViewRect* size) override { return AnswerSize(editor_, size); }
  tresult TAVO_VST3_CALL onSize(ViewRect* newSize) override {
    return AnswerResize(editor_, newSize);
  }
  tresult TAVO_VST3_CALL onFocus(TBool) override { return kResultOk; }

  // [main thread · allocates] The host's scale, which the window takes at once; from then on the
  // host, not the monitor's DPI, sets it.
  tresult TAVO_VST3_CALL setContentScaleFactor(float factor) override {
    return AnswerContentScale(
        editor_, factor, [this](float scale) { editor_.TakeScaleFromHost(scale); }, frame_, this,
        window_ != nullptr);
  }

  // [main thread] Keeps a reference to the frame until the next call, for the content scale's
  // resize request.
  tresult TAVO_VST3_CALL setFrame(IPlugFrame* frame) override {
    if (frame) frame->addRef();
    if (frame_) frame_->release();
    frame_ = frame;
    return kResultOk;
  }
  tresult TAVO_VST3_CALL canResize() override { return kResultFalse; }
  tresult TAVO_VST3_CALL checkSizeConstraint(ViewRect* rect) override {
    return AnswerSizeConstraint(editor_, rect);
  }

private:
  ~WindowsView() {
    removed();
    setFrame(nullptr);
  }

  // [main thread, from the host's message loop] The owner's tick while the window is open.
  static void CALLBACK OnTick(HWND window, UINT, UINT_PTR, DWORD) {
    auto* view = static_cast<WindowsView*>(GetPropA(window, kViewProperty));
    if (view && view->window_ == window && view->ticks_) view->ticks_->OnViewTick();
  }

  IGraphicsWin& editor_;
  ViewTicks* ticks_;
  RefCount refs_;
  IPlugFrame* frame_ = nullptr;
  HWND window_ = nullptr;
};

} // namespace

IPlugView* CreateEditorView(IPlugVST3& plug, ViewTicks* ticks) {
  auto* editor = dynamic_cast<IGraphicsWin*>(GraphicsOf(&plug));
  return editor ? new WindowsView(*editor, ticks) : nullptr;
}

} // namespace tavo::vst3
