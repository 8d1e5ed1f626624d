#pragma once
// The host's own window for an editor where the platform has a window system (Windows): the
// driver opens the editor in it and works the editor through window messages, as a person at
// the screen would. Where there is none (Linux) every operation answers that there is no window,
// and the driver works the offscreen editor through the port it announces instead.
//
// [main thread] Windows belong to the thread that made them: every call comes from it.

#include <cstdint>
#include <vector>

namespace tavo::host::native {

// A top-level window with the given client size; nullptr where there is no window system.
void* CreateHostWindow(int32_t width, int32_t height);
void DestroyHostWindow(void* host);
// The editor's own window inside the host window once the editor has opened there.
void* FindEditorWindow(void* host);
// Runs the window's messages until the editor's redraw timer has fired once (or a few periods
// have gone by) and what it invalidated is painted; true when the editor painted something.
bool PumpOneTick(void* editor);
// The period of the editor's redraw timer in milliseconds (0 when it did not say).
int32_t TimerPeriodMs(void* editor);
// One event (hostabi::window kinds and modifiers) as the window messages a person would cause;
// false for an unknown kind.
bool SendEvent(void* editor, int32_t kind, int32_t x, int32_t y, int32_t modifiers, int32_t delta);
// Tells the editor's window that its monitor now shows percent % (100 is 96 DPI), as the window
// system does when the window moves to another monitor, then fits the host's windows around the
// editor's size then; false where there is no window system.
bool SetDisplayScale(void* host, void* editor, int32_t percent);
// What the editor window shows, 0xAARRGGBB with the top row first.
bool ReadFrame(void* editor, std::vector<uint32_t>& pixels, int32_t& width, int32_t& height);

} // namespace tavo::host::native
