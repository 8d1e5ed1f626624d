#pragma once
// The editor's view and what the host lends it: the frame it sits in and, on Linux, the host's
// run loop, which drives the view's timer and watches its file descriptors (the view has no
// thread of its own).

#include <cstdint>

#include "vst3/abi/Unknown.h"

namespace tavo::vst3 {

struct ViewRect { // physical pixels
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};
static_assert(sizeof(ViewRect) == 16 && alignof(ViewRect) == 4);

// The view types, compared by content.
inline constexpr const char* kViewTypeEditor = "editor";
inline constexpr const char* kPlatformTypeX11EmbedWindowID = "X11EmbedWindowID"; // parent: an XID
inline constexpr const char* kPlatformTypeHWND = "HWND";

struct IPlugFrame;

struct IPlugView : FUnknown {
  static constexpr Uid kIid = MakeUid(0x5BC32507, 0xD06049EA, 0xA6151B52, 0x2B755B29);
  virtual tresult TAVO_VST3_CALL isPlatformTypeSupported(const char* type) = 0;
  virtual tresult TAVO_VST3_CALL attached(void* parent, const char* type) = 0;
  virtual tresult TAVO_VST3_CALL removed() = 0;
  virtual tresult TAVO_VST3_CALL onWheel(float distance) = 0;
  virtual tresult TAVO_VST3_CALL onKeyDown(char16_t key, int16_t keyCode, int16_t modifiers) = 0;
  virtual tresult TAVO_VST3_CALL onKeyUp(char16_t key, int16_t keyCode, int16_t modifiers) = 0;
  virtual tresult TAVO_VST3_CALL getSize(ViewRect* size) = 0;
  virtual tresult TAVO_VST3_CALL onSize(ViewRect* newSize) = 0;
  virtual tresult TAVO_VST3_CALL onFocus(TBool state) = 0;
  virtual tresult TAVO_VST3_CALL setFrame(IPlugFrame* frame) = 0;
  virtual tresult TAVO_VST3_CALL canResize() = 0;
  virtual tresult TAVO_VST3_CALL checkSizeConstraint(ViewRect* rect) = 0;
};

struct IPlugFrame : FUnknown {
  static constexpr Uid kIid = MakeUid(0x367FAF01, 0xAFA94693, 0x8D4DA2A0, 0xED0882A3);
  virtual tresult TAVO_VST3_CALL resizeView(IPlugView* view, ViewRect* newSize) = 0;
};

// ---- Linux: the host's run loop and the view's handlers, called on the host's UI thread ----

// On the view, optional: the host's display scale (1.5 on a monitor at 150 %), before or after
// attached and whenever it changes.
struct IPlugViewContentScaleSupport : FUnknown {
  static constexpr Uid kIid = MakeUid(0x65ED9690, 0x8AC44525, 0x8AADEF7A, 0x72EA703F);
  virtual tresult TAVO_VST3_CALL setContentScaleFactor(float factor) = 0;
};

struct IEventHandler : FUnknown {
  static constexpr Uid kIid = MakeUid(0x561E65C9, 0x13A0496F, 0x813A2C35, 0x654D7983);
  virtual void TAVO_VST3_CALL onFDIsSet(int fd) = 0;
};

struct ITimerHandler : FUnknown {
  static constexpr Uid kIid = MakeUid(0x10BDD94F, 0x41424774, 0x821FAD8F, 0xECA72CA9);
  virtual void TAVO_VST3_CALL onTimer() = 0;
};

struct IRunLoop : FUnknown {
  static constexpr Uid kIid = MakeUid(0x18C35366, 0x97764F1A, 0x9C5B8385, 0x7A871389);
  virtual tresult TAVO_VST3_CALL registerEventHandler(IEventHandler* handler, int fd) = 0;
  virtual tresult TAVO_VST3_CALL unregisterEventHandler(IEventHandler* handler) = 0;
  virtual tresult TAVO_VST3_CALL registerTimer(ITimerHandler* handler, uint64_t milliseconds) = 0;
  virtual tresult TAVO_VST3_CALL unregisterTimer(ITimerHandler* handler) = 0;
};

} // namespace tavo::vst3
