// The editor side of a process: the host window the editor is attached to, and the editor
// window driven through window messages where there is a window system, or else the offscreen
// one through the port it announces to the host's window layer.

#include <algorithm>

#include "host/driver/HostProcess.h"
#include "host/driver/NativeEditorWindow.h"
#include "host/engine/StandInControl.h"

namespace tavo::host {

namespace sel = hostabi::selector;
namespace port = hostabi::window;

int32_t HostProcess::EditorSize(int32_t& width, int32_t& height) const {
  hostabi::SViewRect rect{};
  const int32_t status = Call(sel::kProcessEditorRect, &rect);
  width = rect.right - rect.left;
  height = rect.bottom - rect.top;
  return status;
}

int32_t HostProcess::OpenEditor(int32_t parentWidth, int32_t parentHeight) {
  if (!Live()) return kErrProcessClosed;
  if (parentWidth < 0 || parentHeight < 0) return kErrBadArgument;
  if (window_) CloseEditor();
  int32_t width = 0, height = 0;
  if (const int32_t status = EditorSize(width, height); status != 0) return status;
  const int32_t clientWidth = parentWidth > 0 ? parentWidth : width;
  const int32_t clientHeight = parentHeight > 0 ? parentHeight : height;

  if (void* own = native::CreateHostWindow(clientWidth, clientHeight)) {
    ownWindow_ = own;
    int32_t status = AttachNativeWindow(own);
    editorWindow_ = status == hostabi::kNoErr ? native::FindEditorWindow(own) : nullptr;
    if (status == hostabi::kNoErr && !editorWindow_) status = kErrEditorNotOpen;
    if (status != hostabi::kNoErr) {
      CloseEditor();
      native::DestroyHostWindow(ownWindow_); // still there when the attach itself failed
      ownWindow_ = nullptr;
    }
    return status;
  }

  window_ = std::make_unique<HostWindow>();
  window_->native = {clientWidth, clientHeight};
  standin::MapHostWindow(window_.get(), &window_->native);
  // The window the module opens while the host attaches its own is the editor's.
  const auto before = standin::OpenWindowPorts();
  int32_t status = Call(sel::kProcessSetEditorWindow, static_cast<void*>(window_.get()));
  for (const port::SPosixWindowPort* p : standin::OpenWindowPorts())
    if (std::find(before.begin(), before.end(), p) == before.end()) port_ = p;
  if (status == hostabi::kNoErr && !port_) status = kErrEditorNotOpen;
  if (status != hostabi::kNoErr) CloseEditor();
  return status;
}

int32_t HostProcess::AttachNativeWindow(void* nativeWindow) {
  if (!Live()) return kErrProcessClosed;
  if (!nativeWindow) return kErrBadArgument;
  if (window_) CloseEditor();
  window_ = std::make_unique<HostWindow>();
  standin::MapHostWindow(window_.get(), nativeWindow);
  const int32_t status = Call(sel::kProcessSetEditorWindow, static_cast<void*>(window_.get()));
  if (status != hostabi::kNoErr) CloseEditor();
  return status;
}

int32_t HostProcess::CloseEditor() {
  if (!window_) return hostabi::kNoErr;
  const int32_t status =
      Live() ? Call(sel::kProcessSetEditorWindow, static_cast<void*>(nullptr)) : kErrProcessClosed;
  port_ = nullptr;
  editorWindow_ = nullptr;
  standin::UnmapHostWindow(window_.get());
  window_.reset();
  native::DestroyHostWindow(ownWindow_);
  ownWindow_ = nullptr;
  return status;
}

int32_t HostProcess::TickEditor(bool* drew) {
  if (drew) *drew = false;
  if (!Live()) return kErrProcessClosed;
  if (editorWindow_) {
    const bool painted = native::PumpOneTick(editorWindow_);
    if (drew) *drew = painted;
    return hostabi::kNoErr;
  }
  if (!port_) return kErrEditorNotOpen;
  const int32_t answer = port_->tick(port_->window);
  if (drew) *drew = answer == port::kHandled;
  return hostabi::kNoErr;
}

int32_t HostProcess::SetEditorScale(int32_t percent) {
  if (!Live()) return kErrProcessClosed;
  if (editorWindow_) {
    if (percent < port::kLowestScalePercent || percent > port::kHighestScalePercent)
      return kErrBadArgument;
    return native::SetDisplayScale(ownWindow_, editorWindow_, percent) ? hostabi::kNoErr
                                                                       : kErrScaleNotSupported;
  }
  if (!port_) return kErrEditorNotOpen;
  return port_->setScale(port_->window, percent) == port::kHandled ? hostabi::kNoErr
                                                                   : kErrBadArgument;
}

int32_t HostProcess::EditorTimerPeriodMs() const {
  if (editorWindow_) return native::TimerPeriodMs(editorWindow_);
  return port_ ? port_->timerPeriodMs : 0;
}

int32_t HostProcess::EditorEvent(int32_t kind, int32_t x, int32_t y, int32_t modifiers,
                                 int32_t delta) {
  if (!Live()) return kErrProcessClosed;
  if (editorWindow_)
    return native::SendEvent(editorWindow_, kind, x, y, modifiers, delta) ? hostabi::kNoErr
                                                                          : kErrBadArgument;
  if (!port_) return kErrEditorNotOpen;
  return port_->event(port_->window, kind, x, y, modifiers, delta) == port::kRefused
             ? kErrBadArgument
             : hostabi::kNoErr;
}

int32_t HostProcess::Click(int32_t x, int32_t y, int32_t modifiers) {
  int32_t status = EditorEvent(port::kMouseDown, x, y, modifiers | port::kButtonLeft);
  if (status == 0) status = EditorEvent(port::kMouseUp, x, y, modifiers | port::kButtonLeft);
  return status;
}

int32_t HostProcess::Drag(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY, int32_t moves) {
  moves = std::max(moves, 1);
  int32_t status = EditorEvent(port::kMouseDown, fromX, fromY, port::kButtonLeft);
  for (int32_t i = 1; status == 0 && i <= moves; ++i)
    status = EditorEvent(port::kMouseDrag, fromX + (toX - fromX) * i / moves,
                         fromY + (toY - fromY) * i / moves, port::kButtonLeft);
  if (status == 0) status = EditorEvent(port::kMouseUp, toX, toY, port::kButtonLeft);
  return status;
}

int32_t HostProcess::ControlUnderMouse(int32_t x, int32_t y, int32_t& index) const {
  return Call(sel::kProcessControlUnderMouse, x, y, &index);
}

int32_t HostProcess::ReadEditorFrame(std::vector<uint32_t>& pixels, int32_t& width,
                                     int32_t& height) const {
  pixels.clear();
  width = height = 0;
  if (!Live()) return kErrProcessClosed;
  if (editorWindow_) {
    if (!native::ReadFrame(editorWindow_, pixels, width, height)) {
      pixels.clear();
      width = height = 0;
      return kErrEditorNotOpen;
    }
    return hostabi::kNoErr;
  }
  if (!port_) return kErrEditorNotOpen;
  int32_t w = 0, h = 0;
  if (port_->size(port_->window, &w, &h) != port::kHandled || w <= 0 || h <= 0)
    return kErrEditorNotOpen;
  pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
  if (port_->readFrame(port_->window, pixels.data(), w, h) != port::kHandled) {
    pixels.clear();
    return kErrEditorNotOpen;
  }
  width = w;
  height = h;
  return hostabi::kNoErr;
}

} // namespace tavo::host
