// The editor's view on Linux: X11EditorWindow (the LV2 UI's window) as a child of the host's
// window, its events and redraw timer driven by the host's run loop, which the frame lends.

#include "vst3/EditorView.h"

#include <cstdint>
#include <cstring>
#include <memory>

#include "graphics/IGraphics.h"
#include "graphics/posix/X11EditorWindow.h"
#include "vst3/RefCounted.h"
#include "vst3/ViewSize.h"

namespace tavo::vst3 {

namespace {

// How often the run loop ticks the view when its connection is quiet: the editor's redraw timer
// runs at its own period inside, and the needle moves at this pace at the slowest.
constexpr uint64_t kTickMs = 10;

class X11View final : public IPlugView,
                      public IPlugViewContentScaleSupport,
                      public ITimerHandler,
                      public IEventHandler {
public:
  X11View(IGraphicsLinux& editor, ViewTicks* ticks) : editor_(editor), ticks_(ticks) {}

  tresult TAVO_VST3_CALL queryInterface(const TUID iid, void** obj) override {
    if (!obj) return kInvalidArgument;
    *obj = nullptr;
    if (SameUid(iid, FUnknown::kIid) || SameUid(iid, IPlugView::kIid))
      *obj = static_cast<IPlugView*>(this);
    else if (SameUid(iid, IPlugViewContentScaleSupport::kIid))
      *obj = static_cast<IPlugViewContentScaleSupport*>(this);
    else if (SameUid(iid, ITimerHandler::kIid))
      *obj = static_cast<ITimerHandler*>(this);
    else if (SameUid(iid, IEventHandler::kIid))
      *obj = static_cast<IEventHandler*>(this);
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
    return type && std::strcmp(type, kPlatformTypeX11EmbedWindowID) == 0 ? kResultTrue
                                                                         : kResultFalse;
  }

  // [main thread · allocates] The window, and the run loop's timer and watch on its connection.
  tresult TAVO_VST3_CALL attached(void* parent, const char* type) override {
    if (isPlatformTypeSupported(type) != kResultTrue || !parent || window_) return kResultFalse;
    window_ = X11EditorWindow::Open(editor_, reinterpret_cast<uintptr_t>(parent));
    if (!window_) return kResultFalse;
    if (runLoop_) {
      runLoop_->registerTimer(this, kTickMs);
      runLoop_->registerEventHandler(this, window_->ConnectionFd());
    }
    window_->Idle(); // the first frame, before the host's first tick
    return kResultOk;
  }

  // [main thread] Nothing of the view stays in the host's run loop or on the X server.
  tresult TAVO_VST3_CALL removed() override {
    StopTicks();
    window_.reset();
    return kResultOk;
  }

  tresult TAVO_VST3_CALL onWheel(float) override { return kResultFalse; }
  tresult TAVO_VST3_CALL onKeyDown(char16_t, int16_t, int16_t) override { return kResultFalse; }
  tresult TAVO_VST3_CALL onKeyUp(char16_t, int16_t, int16_t) override { return kResultFalse; }

  tresult TAVO_VST3_CALL getSize(ViewRect* size) override { return AnswerSize(editor_, size); }
  tresult TAVO_VST3_CALL onSize(ViewRect* newSize) override {
    return AnswerResize(editor_, newSize);
  }
  tresult TAVO_VST3_CALL onFocus(TBool) override { return kResultOk; }

  // [main thread · allocates] The window takes the new size on its next tick.
  tresult TAVO_VST3_CALL setContentScaleFactor(float factor) override {
    return AnswerContentScale(
        editor_, factor, [this](float scale) { editor_.SetScale(scale); }, frame_, this,
        window_ != nullptr);
  }

  // [main thread] Keeps a reference to the frame and its run loop until the next call.
  tresult TAVO_VST3_CALL setFrame(IPlugFrame* frame) override {
    StopTicks();
    if (runLoop_) runLoop_->release();
    if (frame_) frame_->release();
    runLoop_ = nullptr;
    frame_ = frame;
    if (!frame_) return kResultOk;
    frame_->addRef();
    void* loop = nullptr;
    if (frame_->queryInterface(reinterpret_cast<const char*>(IRunLoop::kIid.bytes.data()), &loop) ==
        kResultOk)
      runLoop_ = static_cast<IRunLoop*>(loop);
    if (window_ && runLoop_) {
      runLoop_->registerTimer(this, kTickMs);
      runLoop_->registerEventHandler(this, window_->ConnectionFd());
    }
    return kResultOk;
  }
  tresult TAVO_VST3_CALL canResize() override { return kResultFalse; }
  tresult TAVO_VST3_CALL checkSizeConstraint(ViewRect* rect) override {
    return AnswerSizeConstraint(editor_, rect);
  }

  // [main thread, from the host's run loop]
  void TAVO_VST3_CALL onTimer() override {
    if (ticks_ && window_) ticks_->OnViewTick(); // the needle's level, before the redraw
    Tick();
  }
  void TAVO_VST3_CALL onFDIsSet(int) override { Tick(); }

private:
  ~X11View() {
    removed();
    setFrame(nullptr);
  }

  void Tick() {
    if (window_ && !window_->Idle()) {
      StopTicks(); // the host destroyed the window
      window_.reset();
    }
  }

  void StopTicks() {
    if (!runLoop_ || !window_) return;
    runLoop_->unregisterTimer(this);
    runLoop_->unregisterEventHandler(this);
  }

  IGraphicsLinux& editor_;
  ViewTicks* ticks_;
  RefCount refs_;
  IPlugFrame* frame_ = nullptr;
  IRunLoop* runLoop_ = nullptr;
  std::unique_ptr<X11EditorWindow> window_;
};

} // namespace

IPlugView* CreateEditorView(IPlugVST3& plug, ViewTicks* ticks) {
  auto* editor = dynamic_cast<IGraphicsLinux*>(GraphicsOf(&plug));
  return editor ? new X11View(*editor, ticks) : nullptr;
}

} // namespace tavo::vst3
