// TAVO's editor opened by the host driver through TAVO.dll's exports in a real host window: the
// editor hosting's child window and its placement, the mouse and the wheel turning real
// controls (checked as the host sees them), the host's key map through the extension library,
// the needle redrawn after rendering, and a picture of the editor for the comparison with the
// Linux snapshot (compare-editor-screenshot.sh).

#include <windows.h>
// The driver's HostModule::CreateProcess is not the system's CreateProcessA.
#undef CreateProcess

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "host/tavo-host/ControlSettings.h"
#include "tests/host/driver/DriverFixture.h"
#include "tests/support/win/WindowPump.h"

using namespace tavo::host;
using namespace tavo::host::test;

namespace {

using tavo::test::Pump;

constexpr int kEditorW = 304, kEditorH = 416;
constexpr int32_t kVUModeControl = 8, kBypassControl = 9;
constexpr int32_t kTouch = hostabi::FourCC("CTCH");
// Points of the editor: the centre of the Drive knob, the third meter-mode lamp, the bypass
// glass over the meter window.
constexpr POINT kDriveKnob{84, 168}, kThirdLamp{237, 25}, kBypassGlass{150, 60};

std::vector<UINT>& HostClicks() {
  static std::vector<UINT> clicks;
  return clicks;
}

LRESULT CALLBACK HostProc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_LBUTTONDOWN) HostClicks().push_back(msg);
  return DefWindowProcA(w, msg, wParam, lParam);
}

// The editor's part of the window's client area.
std::vector<uint32_t> Capture(HWND w) {
  return tavo::test::CaptureClient(w, kEditorW, kEditorH);
}

class EditorInTheModule : public HostDriver {
protected:
  void OpenIn(int w, int h) {
    static const ATOM cls = [] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = &HostProc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = "TavoModuleHost";
      return RegisterClassA(&wc);
    }();
    ASSERT_NE(cls, 0);
    host = CreateWindowExA(0, "TavoModuleHost", "host", WS_POPUP | WS_VISIBLE, 0, 0, w, h, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(host, nullptr);
    process = Create();
    ASSERT_EQ(process->AttachNativeWindow(host), 0);
    local = FindWindowExA(host, nullptr, "IPlugLocal", nullptr);
    ASSERT_NE(local, nullptr);
    editor = FindWindowExA(local, nullptr, "IPlugWndClass", nullptr);
    ASSERT_NE(editor, nullptr);
    Pump(200);
    HostClicks().clear();
    standin::ClearDispatchedMessages();
  }
  void TearDown() override {
    if (process) process->CloseEditor();
    process.reset();
    if (host) DestroyWindow(host);
    HostDriver::TearDown();
  }
  void Mouse(UINT msg, POINT p, WPARAM keys = 0) {
    SendMessageA(editor, msg, keys, MAKELPARAM(p.x, p.y));
  }
  void Click(POINT p) {
    Mouse(WM_LBUTTONDOWN, p, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, p);
  }
  int32_t Control(int32_t index) {
    int32_t value = 0;
    EXPECT_EQ(process->GetControl(index, value), 0);
    return value;
  }
  std::vector<int16_t> Gestures() {
    std::vector<int16_t> states;
    for (const auto& m : standin::DispatchedMessages())
      if (m.kind == kTouch) states.push_back(m.gestureState);
    return states;
  }

  std::unique_ptr<HostProcess> process;
  HWND host = nullptr, local = nullptr, editor = nullptr;
};

TEST_F(EditorInTheModule, SitsAtTheBottomCentreOfTheHostsWindowAndGoesWhenDetached) {
  OpenIn(404, 516);
  RECT r{};
  GetWindowRect(local, &r);
  MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 50);
  EXPECT_EQ(r.top, 100);
  EXPECT_EQ(r.right - r.left, kEditorW);
  EXPECT_EQ(r.bottom - r.top, kEditorH);
  GetClientRect(editor, &r);
  EXPECT_EQ(r.right, kEditorW);
  EXPECT_EQ(r.bottom, kEditorH);

  EXPECT_EQ(process->CloseEditor(), 0);
  EXPECT_FALSE(IsWindow(local));
  EXPECT_FALSE(IsWindow(editor));
  // Attached again, the editor comes back in a new window.
  ASSERT_EQ(process->AttachNativeWindow(host), 0);
  local = FindWindowExA(host, nullptr, "IPlugLocal", nullptr);
  ASSERT_NE(local, nullptr);
  editor = FindWindowExA(local, nullptr, "IPlugWndClass", nullptr);
  EXPECT_NE(editor, nullptr);
}

TEST_F(EditorInTheModule, TheMouseTurnsAKnobAndClicksALampAndTheBypassGlass) {
  OpenIn(kEditorW, kEditorH);
  const int32_t drive = Control(kDrive);
  Mouse(WM_LBUTTONDOWN, kDriveKnob, MK_LBUTTON);
  Mouse(WM_MOUSEMOVE, {kDriveKnob.x, kDriveKnob.y - 40}, MK_LBUTTON);
  Mouse(WM_LBUTTONUP, {kDriveKnob.x, kDriveKnob.y - 40});
  EXPECT_GT(Control(kDrive), drive);
  EXPECT_EQ(Gestures(), (std::vector<int16_t>{1, 0})); // touched, then released

  const int32_t mode = Control(kVUModeControl);
  Click(kThirdLamp);
  EXPECT_NE(Control(kVUModeControl), mode);
  const int32_t bypass = Control(kBypassControl);
  Click(kBypassGlass);
  EXPECT_NE(Control(kBypassControl), bypass);
  EXPECT_TRUE(HostClicks().empty());
}

TEST_F(EditorInTheModule, AWheelTurnMovesTheKnobUnderThePointer) {
  OpenIn(kEditorW, kEditorH);
  const int32_t drive = Control(kDrive);
  POINT p = kDriveKnob;
  ClientToScreen(editor, &p);
  SendMessageA(editor, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), MAKELPARAM(p.x, p.y));
  EXPECT_GT(Control(kDrive), drive);
}

TEST_F(EditorInTheModule, WithTheHostsAutomationKeysHeldTheClickIsTheHosts) {
  OpenIn(kEditorW, kEditorH);
  standin::SetKeyDown(0x3B, true);
  standin::SetKeyDown(0x37, true);
  const int32_t drive = Control(kDrive);
  Mouse(WM_LBUTTONDOWN, kDriveKnob, MK_LBUTTON);
  Mouse(WM_MOUSEMOVE, {kDriveKnob.x, kDriveKnob.y - 40}, MK_LBUTTON);
  Mouse(WM_LBUTTONUP, kDriveKnob);
  EXPECT_EQ(HostClicks().size(), 1u);
  EXPECT_EQ(Control(kDrive), drive);
  EXPECT_TRUE(Gestures().empty());
}

TEST_F(EditorInTheModule, TheTimerRedrawsTheNeedleThatRenderingMoved) {
  OpenIn(kEditorW, kEditorH);
  const std::vector<uint32_t> resting = Capture(editor);
  Render(*process, Stereo(44100, 0.9f));
  Pump(300);
  const std::vector<uint32_t> moved = Capture(editor);
  int changed = 0;
  for (size_t i = 0; i < moved.size(); ++i)
    changed += moved[i] != resting[i];
  EXPECT_GT(changed, 50);
}

// Shows the editor with the settings in TAVO_EDITOR_SETTINGS (NAME=VALUE;...) at the top-left of
// the display until the comparison script has taken its picture: it writes "ready" into the
// folder TAVO_SCREENSHOT_SYNC names and waits for "done" there. Skipped without that folder.
TEST_F(EditorInTheModule, ShowsTheEditorForTheScreenshot) {
  const char* sync = std::getenv("TAVO_SCREENSHOT_SYNC");
  if (!sync || !*sync) GTEST_SKIP() << "run by compare-editor-screenshot.sh";
  const std::string folder = std::string("Z:") + sync;
  OpenIn(kEditorW, kEditorH);
  std::vector<ControlInfo> controls;
  ASSERT_EQ(process->DescribeControls(controls), 0);
  std::string settings =
      std::getenv("TAVO_EDITOR_SETTINGS") ? std::getenv("TAVO_EDITOR_SETTINGS") : "";
  for (size_t start = 0; start < settings.size();) {
    const size_t end = std::min(settings.find(';', start), settings.size());
    const auto s =
        tavo::host::cli::ReadSetting(settings.substr(start, end - start), controls, *process);
    ASSERT_EQ(process->SetControl(s.index, s.controlValue), 0);
    start = end + 1;
  }
  Pump(300);
  std::ofstream(folder + "/ready") << "ready\n";
  const DWORD until = GetTickCount() + 60000;
  while (GetTickCount() < until &&
         GetFileAttributesA((folder + "/done").c_str()) == INVALID_FILE_ATTRIBUTES)
    Pump(50);
  EXPECT_NE(GetFileAttributesA((folder + "/done").c_str()), INVALID_FILE_ATTRIBUTES);
}

} // namespace
