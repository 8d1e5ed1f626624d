#pragma once
// The Linux host's window layer as the module and the host both see it. There is no window
// system: an editor window that the module opens inside a host window is offscreen, and it
// announces itself to the host's extension library with a port record. Through the port the
// host does what a window system does elsewhere: it runs the window's redraw timer, delivers
// mouse and key events, and reads what the window shows.
//
// Header-only and free of other project headers but the binary interface it extends.

#include <cstdint>

#include "hostlib/HostInterface.h"

namespace hostabi::window {

// Events the host delivers, in window pixels (the editor's pixels times its scale).
inline constexpr int32_t kMouseDown = 1;
inline constexpr int32_t kMouseUp = 2;
inline constexpr int32_t kMouseDrag = 3; // the pointer moved with a button held
inline constexpr int32_t kMouseDoubleClick = 4;
inline constexpr int32_t kMouseWheel = 5; // delta: wheel steps, positive away from the user
inline constexpr int32_t kMouseOver = 6;  // the pointer moved with no button held
inline constexpr int32_t kMouseOut = 7;
inline constexpr int32_t kKeyDown = 8; // delta: the key code

// Buttons and modifier keys held during an event.
inline constexpr int32_t kButtonLeft = 1;
inline constexpr int32_t kButtonRight = 2;
inline constexpr int32_t kShift = 4;
inline constexpr int32_t kControl = 8;
inline constexpr int32_t kAlt = 16;

// Answers of the port's operations.
inline constexpr int32_t kHandled = 1;
inline constexpr int32_t kNotHandled = 0;
inline constexpr int32_t kRefused = -1; // unknown event, wrong frame size, window gone

// The display scales a module's editor takes, in percent: through setScale, and as a native
// window's monitor DPI (100 % is 96 DPI).
inline constexpr int32_t kLowestScalePercent = 100;
inline constexpr int32_t kHighestScalePercent = 400;

// Lives inside the module's window from its opening to its closing; the module announces it
// when the window opens and withdraws it before the window goes. Every operation runs on the
// host's main (window) thread.
struct SPosixWindowPort {
  void* window;          // the module's window: the first argument of every operation
  int32_t timerPeriodMs; // how often the host should tick the redraw timer
  // One timer tick: redraws what changed. kHandled when something was drawn.
  int32_t(HOSTABI_CALL* tick)(void* window);
  // One event at (x, y); answers kHandled, kNotHandled or kRefused.
  int32_t(HOSTABI_CALL* event)(void* window, int32_t kind, int32_t x, int32_t y, int32_t modifiers,
                               int32_t delta);
  // The window's size in pixels.
  int32_t(HOSTABI_CALL* size)(void* window, int32_t* width, int32_t* height);
  // Copies the frame last shown, width × height words of 0xAARRGGBB with the top row first,
  // into pixels. kRefused when the size is not the window's.
  int32_t(HOSTABI_CALL* readFrame)(void* window, uint32_t* pixels, int32_t width, int32_t height);
  // The host's display scale in percent (100, 150, 200): the window grows to the editor's size
  // times the scale and draws with artwork painted for it. kRefused outside
  // kLowestScalePercent..kHighestScalePercent.
  int32_t(HOSTABI_CALL* setScale)(void* window, int32_t percent);
};
static_assert(sizeof(SPosixWindowPort) == Layout(28, 56));
static_assert(offsetof(SPosixWindowPort, timerPeriodMs) == Layout(4, 8) &&
              offsetof(SPosixWindowPort, tick) == Layout(8, 16) &&
              offsetof(SPosixWindowPort, event) == Layout(12, 24) &&
              offsetof(SPosixWindowPort, size) == Layout(16, 32) &&
              offsetof(SPosixWindowPort, readFrame) == Layout(20, 40) &&
              offsetof(SPosixWindowPort, setScale) == Layout(24, 48));

using WindowAnnounceFn = void(HOSTABI_CALL*)(const SPosixWindowPort* port);

// Exported by the host's extension library (kPosixLibrary[DigiExt]).
inline constexpr const char* kWindowOpenedExport = "DigiExtWindowOpened";
inline constexpr const char* kWindowClosedExport = "DigiExtWindowClosed";

} // namespace hostabi::window
