#pragma once
// One inserted instance as the host drives it: its controls, its state chunk, its delay, its
// audio (rendered on the process's own render thread through the engine's render callback, in
// the quantum it was created for) and its editor window (the offscreen editor on Linux, driven
// through the port it announces: timer ticks, mouse events, the frame it shows).
//
// Every operation runs on the host's main thread unless it says otherwise; rendering may run
// while the main thread moves controls, saves state or works the editor, as in a host.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "host/driver/HostModule.h"
#include "host/driver/RenderThread.h"
#include "hostlib/PosixWindowPort.h"

namespace tavo::host {

struct ControlInfo {
  int32_t index = 0; // 1 is the master bypass; the effect's parameters follow
  int32_t id = 0;
  std::string name; // the longest name variant
  bool continuous = false;
  bool automatable = false;
  int32_t steps = 0;
  int32_t defaultValue = 0; // control value
  std::string defaultText;
  // Display texts at the two ends of the control value range.
  std::string lowestText;
  std::string highestText;
  // A discrete control's text for each step, lowest first.
  std::vector<std::string> items;
};

// The control value of step k of a discrete control with the given step count: the 32-bit value
// range spans the steps evenly, the lowest at INT32_MIN and the highest at INT32_MAX.
int32_t StepControlValue(int32_t step, int32_t steps);

class HostProcess {
public:
  // Display texts are asked for at most this many characters.
  static constexpr int32_t kTextLength = 31;
  // How many steps a discrete control may have for its items to be listed.
  static constexpr int32_t kMostListedSteps = 64;

  // Stops rendering, detaches the editor window and destroys the module's process.
  ~HostProcess();
  HostProcess(const HostProcess&) = delete;
  HostProcess& operator=(const HostProcess&) = delete;

  void* Handle() const { return process_; }
  const TypeInfo& Type() const { return type_; }
  const ProcessOptions& Options() const { return options_; }
  int32_t Inputs() const { return type_.inputs; }
  int32_t Outputs() const { return type_.outputs; }

  // ---- Controls ----
  int32_t ControlCount(int32_t& count) const;
  int32_t DescribeControl(int32_t index, ControlInfo& info) const;
  int32_t DescribeControls(std::vector<ControlInfo>& controls) const;
  // [main thread] The host moves a control as automation would (the host side of the value).
  int32_t SetControl(int32_t index, int32_t controlValue);
  int32_t GetControl(int32_t index, int32_t& controlValue) const;
  // The control's reading of a typed text, as the host's value field hands it over.
  int32_t ValueFromText(int32_t index, const std::string& text, int32_t& controlValue) const;
  int32_t DisplayText(int32_t index, int32_t controlValue, std::string& text) const;
  int32_t IsBypassed(bool& bypassed) const;

  // ---- State ----
  // The one chunk the process keeps, header included, with the header filled as a host does.
  int32_t SaveChunk(std::vector<uint8_t>& chunk) const;
  // A chunk whose size field does not match the bytes given is refused (kErrChunk) here: a host
  // never hands the module more or less than it says.
  int32_t RestoreChunk(std::span<const uint8_t> chunk);
  int32_t CompareChunk(std::span<const uint8_t> chunk, bool& equal) const;
  int32_t ChunkID(int32_t& id) const;

  // The frames the output lags the input.
  int32_t Delay(int32_t& frames) const;

  // ---- Audio ----
  // [main thread · blocks] Renders frames of audio on the render thread: Inputs() channel
  // pointers in, Outputs() out, each holding frames samples.
  int32_t Render(std::span<const float* const> inputs, std::span<float* const> outputs,
                 int64_t frames);
  // [main thread] The same without waiting; the buffers stay the caller's and untouched until
  // WaitRendered answers. One job at a time: a second Submit first waits for the first.
  int32_t Submit(std::span<const float* const> inputs, std::span<float* const> outputs,
                 int64_t frames);
  int32_t WaitRendered();
  // [the calling thread becomes the render thread] One engine block of frames (at most the
  // maximum quantum, though nothing stops a test asking for more), without the render thread.
  int32_t RenderBlockHere(std::span<const float* const> inputs, std::span<float* const> outputs,
                          int32_t frames);

  // ---- Editor ----
  int32_t EditorSize(int32_t& width, int32_t& height) const;
  // Attaches a host window of the given client size (the editor's own size when 0) and opens
  // the editor in it.
  int32_t OpenEditor(int32_t parentWidth = 0, int32_t parentHeight = 0);
  // Attaches a host window whose native window (a window handle where there is a window
  // system) the module's editor opens in; the window system then drives the editor, so no port
  // is looked for. CloseEditor detaches it.
  int32_t AttachNativeWindow(void* nativeWindow);
  // Detaches the window; the editor closes. No window attached: nothing happens.
  int32_t CloseEditor();
  bool EditorOpen() const { return port_ != nullptr || editorWindow_ != nullptr; }
  // One tick of the editor's redraw timer; drew tells whether anything was redrawn.
  int32_t TickEditor(bool* drew = nullptr);
  int32_t EditorTimerPeriodMs() const;
  // The display scale in percent the editor draws at (100, 150, 200; 100..400): the window grows
  // and events are in its pixels from then on. The offscreen editor takes the scale as it is; a
  // window of the window system (Windows) is told its monitor's DPI changed, as when it is moved
  // to another monitor, and draws at the painted scale nearest it (125 % draws at 1.5).
  int32_t SetEditorScale(int32_t percent);
  // One event through the window's port (hostabi::window kinds and modifiers).
  int32_t EditorEvent(int32_t kind, int32_t x, int32_t y, int32_t modifiers = 0, int32_t delta = 0);
  // A left click: down and up at one point.
  int32_t Click(int32_t x, int32_t y, int32_t modifiers = 0);
  // A left-button drag from one point to another in a few even moves.
  int32_t Drag(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY, int32_t moves = 8);
  // The control under the pointer as the host asks for it (0 over no control).
  int32_t ControlUnderMouse(int32_t x, int32_t y, int32_t& index) const;
  // The frame the editor window shows, top row first, 0xAARRGGBB.
  int32_t ReadEditorFrame(std::vector<uint32_t>& pixels, int32_t& width, int32_t& height) const;

private:
  friend class HostModule;
  HostProcess(HostModule& module, const TypeInfo& type, const ProcessOptions& options);
  int32_t Connect();
  int32_t SendDefaults();
  // Everything ~HostProcess does, also run by the module when it closes first.
  void Close();
  bool Live() const { return module_ != nullptr && process_ != nullptr; }
  template <typename... A> int32_t Call(uint32_t selector, A... args) const {
    if (!Live()) return kErrProcessClosed;
    return module_->Call(selector, process_, args...);
  }

  HostModule* module_;
  TypeInfo type_;
  ProcessOptions options_;
  void* process_ = nullptr;
  std::unique_ptr<RenderThread> renderer_;
  // The host window the editor is attached to: a token the engine maps to its native window.
  struct HostWindow {
    hostabi::SPosixNativeWindow native{};
  };
  std::unique_ptr<HostWindow> window_;
  const hostabi::window::SPosixWindowPort* port_ = nullptr;
  // Where there is a window system: the window OpenEditor made, and the editor's inside it.
  void* ownWindow_ = nullptr;
  void* editorWindow_ = nullptr;
};

} // namespace tavo::host
