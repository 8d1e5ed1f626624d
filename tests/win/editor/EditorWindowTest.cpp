// The editor in a real window: class registration, the redraw timer, mouse, wheel and keys.

#include <windowsx.h>

#include <algorithm>
#include <string>

#include "EditorWindowFixture.h"
#include "graphics/PaintedScales.h"
#include "graphics/win/KeyMapping.h"

namespace tavo::wintest {
namespace {

using EditorWindow = EditorWindowFixture;

bool ClassRegistered() {
  WNDCLASSA wc;
  return GetClassInfoA(GetModuleHandleA(nullptr), IGraphicsWin::kWindowClass, &wc) != 0;
}

TEST_F(EditorWindow, OpensAsAChildOfTheHostWithTheTimerOfItsRate) {
  HWND w = Open();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(GetParent(w), host);
  char cls[64] = {};
  GetClassNameA(w, cls, sizeof cls);
  EXPECT_STREQ(cls, "IPlugWndClass");
  RECT r{};
  GetClientRect(w, &r);
  EXPECT_EQ(r.right, 100);
  EXPECT_EQ(r.bottom, 80);
  EXPECT_EQ(editor.TimerPeriodMs(), 40);

  IGraphicsWin fast(&plug, 10, 10, 30);
  ASSERT_NE(fast.OpenWindow(host), nullptr);
  EXPECT_EQ(fast.TimerPeriodMs(), 33);
}

TEST_F(EditorWindow, TwoWindowsShareOneClassRegistrationUntilTheLastCloses) {
  ASSERT_FALSE(ClassRegistered());
  ASSERT_NE(Open(), nullptr);
  IGraphicsWin second(&plug, 20, 20);
  second.PrepareSurfaces();
  HWND w2 = static_cast<HWND>(second.OpenWindow(host));
  ASSERT_NE(w2, nullptr);
  EXPECT_EQ(IGraphicsWin::OpenWindowCount(), 2);
  editor.CloseWindow();
  EXPECT_EQ(IGraphicsWin::OpenWindowCount(), 1);
  EXPECT_TRUE(ClassRegistered());
  EXPECT_TRUE(IsWindow(w2));
  second.CloseWindow();
  EXPECT_EQ(IGraphicsWin::OpenWindowCount(), 0);
  EXPECT_FALSE(ClassRegistered());
}

// The host destroys its window, and the editor's (with an open text entry) goes with it, before
// the editor is closed. The editor lets go of both handles at once: a window made afterwards,
// which may get one of them, survives the close, and the class still goes with it.
TEST_F(EditorWindow, AHostThatDestroysItsWindowFirstLeavesTheEditorNoStaleHandle) {
  HWND window = Open();
  ASSERT_NE(window, nullptr);
  editor.PromptUserInput(editor.GetControl(kKnob), editor.GetControl(kKnob)->Rect());
  ASSERT_NE(editor.EditWindow(), nullptr);
  DestroyWindow(host);
  host = nullptr;
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(editor.WindowHandle(), nullptr);
  EXPECT_EQ(editor.EditWindow(), nullptr);
  EXPECT_EQ(IGraphicsWin::OpenWindowCount(), 0);

  host = MakeHostWindow(200, 160);
  HWND bystander = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, host,
                                   nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(bystander, nullptr);
  editor.CloseWindow();
  EXPECT_TRUE(IsWindow(bystander));
  EXPECT_FALSE(ClassRegistered());
  // The editor opens again in the new window and draws.
  ASSERT_NE(Open(), nullptr);
  Tick();
  EXPECT_EQ(ScreenPixel(5, 5), Rgb(kGrey));
}

TEST_F(EditorWindow, ClosesAndReopensDrawingEverythingAgain) {
  HWND first = Open();
  ASSERT_NE(first, nullptr);
  Tick();
  EXPECT_EQ(ScreenPixel(5, 5), Rgb(kGrey));
  editor.CloseWindow();
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(editor.WindowHandle(), nullptr);
  editor.CloseWindow(); // a second close does nothing
  HWND again = Open();
  ASSERT_NE(again, nullptr);
  Tick();
  EXPECT_EQ(ScreenPixel(5, 5), Rgb(kGrey));
  EXPECT_EQ(ScreenPixel(80, 60), Rgb(kBlue));
  // WM_CLOSE closes it as well.
  SendMessageA(again, WM_CLOSE, 0, 0);
  EXPECT_EQ(editor.WindowHandle(), nullptr);
  EXPECT_FALSE(IsWindow(again));
}

TEST_F(EditorWindow, TheTimerRedrawsWhatRenderingMoved) {
  ASSERT_NE(Open(), nullptr);
  Tick();
  EXPECT_EQ(ScreenPixel(80, 60), Rgb(kBlue));
  editor.SetControlFromPlug(kLamp, 0.8); // the first value from the plug-in only sets the default
  editor.SetControlFromPlug(kLamp, 0.9);
  Tick();
  EXPECT_EQ(ScreenPixel(80, 60), Rgb(kRed));
  IBounds dirty;
  EXPECT_FALSE(editor.IsDirty(dirty));
}

TEST_F(EditorWindow, MouseMessagesTurnTheKnobAndClickTheSwitch) {
  ASSERT_NE(Open(), nullptr);
  Mouse(WM_LBUTTONDOWN, 35, 35, MK_LBUTTON);
  Mouse(WM_MOUSEMOVE, 35, 25, MK_LBUTTON); // 10 pixels up a 50-pixel knob geared 4: +0.05
  Mouse(WM_LBUTTONUP, 35, 25);
  EXPECT_NEAR(editor.GetControl(kKnob)->Value(), 0.55, 1e-9);
  EXPECT_NEAR(plug.GetParam(0)->Value(), 2.0, 1e-9);
  ASSERT_GE(plug.calls.size(), 3u);
  EXPECT_EQ(plug.calls.front(), "Begin 0");
  EXPECT_EQ(plug.calls.back(), "End 0");
  EXPECT_EQ(GetCapture(), nullptr);

  plug.calls.clear();
  Mouse(WM_LBUTTONDOWN, 80, 20, MK_LBUTTON);
  Mouse(WM_LBUTTONUP, 80, 20);
  EXPECT_EQ(plug.GetParam(1)->Value(), 1.0);
  EXPECT_EQ(std::count(plug.calls.begin(), plug.calls.end(), "Begin 1"), 1);
  EXPECT_EQ(plug.calls.back(), "End 1");
  // A drag without the capture (another window took it) moves nothing.
  Mouse(WM_LBUTTONDOWN, 35, 35, MK_LBUTTON);
  ReleaseCapture();
  Mouse(WM_MOUSEMOVE, 35, 15, MK_LBUTTON);
  EXPECT_NEAR(editor.GetControl(kKnob)->Value(), 0.55, 1e-9);
}

TEST_F(EditorWindow, TheWheelCountsWholeNotchesAtTheScreenPoint) {
  ASSERT_NE(Open(), nullptr);
  Wheel(35, 35, 120);
  EXPECT_NEAR(editor.GetControl(kKnob)->Value(), 0.51, 1e-9);
  Wheel(35, 35, 60); // half a notch is none
  EXPECT_NEAR(editor.GetControl(kKnob)->Value(), 0.51, 1e-9);
  Wheel(35, 35, -240);
  EXPECT_NEAR(editor.GetControl(kKnob)->Value(), 0.49, 1e-9);
  Wheel(80, 60, 120); // the lamp takes it, the knob does not
  EXPECT_NEAR(editor.GetControl(kKnob)->Value(), 0.49, 1e-9);
}

TEST_F(EditorWindow, WithTheHostsAutomationKeysAClickOnABoundControlGoesToTheHost) {
  HostKeyMap held;
  editor.SetHostKeyMapQuery([&] { return held; });
  HWND w = Open();
  ASSERT_NE(w, nullptr);
  held.bytes[HostKeyMap::kAutomationKeyA >> 3] |= 1 << (HostKeyMap::kAutomationKeyA & 7);
  held.bytes[HostKeyMap::kAutomationKeyB >> 3] |= 1 << (HostKeyMap::kAutomationKeyB & 7);
  Mouse(WM_LBUTTONDOWN, 35, 35, MK_LBUTTON);
  Mouse(WM_LBUTTONUP, 35, 35);
  EXPECT_EQ(editor.TakeAutomationParam(), 0);
  ASSERT_EQ(HostMessages().size(), 1u);
  POINT expected{35, 35};
  MapWindowPoints(w, host, &expected, 1);
  EXPECT_EQ(GET_X_LPARAM(HostMessages()[0].lParam), expected.x);
  EXPECT_EQ(GET_Y_LPARAM(HostMessages()[0].lParam), expected.y);
  EXPECT_EQ(std::count(plug.calls.begin(), plug.calls.end(), "Begin 0"), 0);
  // Over the background the editor keeps the click.
  Mouse(WM_LBUTTONDOWN, 2, 75, MK_LBUTTON);
  EXPECT_EQ(HostMessages().size(), 1u);
}

TEST_F(EditorWindow, KeysTheEditorDoesNotTakeGoToTheHost) {
  ASSERT_NE(Open(), nullptr);
  SendMessageA(static_cast<HWND>(editor.WindowHandle()), WM_KEYDOWN, VK_ESCAPE, 0);
  SendMessageA(static_cast<HWND>(editor.WindowHandle()), WM_KEYDOWN, 'Q', 0);
  ASSERT_EQ(HostMessages().size(), 2u);
  EXPECT_EQ(HostMessages()[0].wParam, static_cast<WPARAM>(VK_ESCAPE));
}

TEST_F(EditorWindow, ResizingGrowsOnlyTheEditorsOwnWindowAndAnEmptyEditorStillPaints) {
  HWND w = Open();
  ASSERT_NE(w, nullptr);
  RECT before{}, after{}, client{};
  GetWindowRect(host, &before);
  editor.Resize(120, 90);
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, 120);
  EXPECT_EQ(client.bottom, 90);
  GetWindowRect(host, &after); // the real-time interface's host sizes its own window
  EXPECT_EQ(after.right - after.left, before.right - before.left);
  EXPECT_EQ(plug.calls.back(), "Resize 120x90");
  // The resize left no controls: painting must still validate, or the paint message would
  // come back for ever and this pump never end.
  EXPECT_EQ(editor.NControls(), 0);
  Pump(100);
  RECT pending{};
  EXPECT_FALSE(GetUpdateRect(w, &pending, FALSE));
}

// The message a window gets when its monitor's DPI changes, with the new DPI in it; a child
// window of version-2 awareness gets the second one after its parent and asks for the DPI.
constexpr UINT kDpiChanged = 0x02E0, kDpiChangedAfterParent = 0x02E3;

void SendDpi(HWND w, unsigned dpi) {
  RECT suggested{};
  GetWindowRect(w, &suggested);
  SendMessageA(w, kDpiChanged, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

TEST_F(EditorWindow, AMonitorOfAnotherDpiRedrawsAtTheNearestPaintedScaleAndTheMouseStaysTrue) {
  HWND w = Open();
  ASSERT_NE(w, nullptr);
  RECT client{};
  struct Case {
    unsigned dpi;
    float scale;
  };
  for (const Case c : {Case{192, 2.0f}, Case{120, 1.5f}, Case{144, 1.5f}, Case{96, 1.0f}}) {
    SCOPED_TRACE(c.dpi);
    SendDpi(w, c.dpi);
    EXPECT_EQ(editor.Scale(), c.scale);
    GetClientRect(w, &client);
    EXPECT_EQ(client.right, static_cast<LONG>(100 * c.scale));
    EXPECT_EQ(client.bottom, static_cast<LONG>(80 * c.scale));
  }

  SendDpi(w, 192);
  Pump(100);
  // The lamp fills (70, 50)-(90, 70) in editor pixels: in window pixels it is twice as far in.
  EXPECT_EQ(ScreenPixel(2 * 80, 2 * 60), Rgb(kBlue));
  EXPECT_EQ(ScreenPixel(2 * 60 + 30, 2 * 75), Rgb(kGrey));
  // 20 window pixels up are 10 editor pixels: the knob moves as 10 pixels do at 1×.
  Mouse(WM_LBUTTONDOWN, 70, 70, MK_LBUTTON);
  Mouse(WM_MOUSEMOVE, 70, 50, MK_LBUTTON);
  Mouse(WM_LBUTTONUP, 70, 50);
  EXPECT_NEAR(editor.GetControl(kKnob)->Value(), 0.55, 1e-9);
  Mouse(WM_LBUTTONDOWN, 160, 40, MK_LBUTTON); // the switch at (80, 20)
  Mouse(WM_LBUTTONUP, 160, 40);
  EXPECT_EQ(plug.GetParam(1)->Value(), 1.0);
  // What rendering moves is invalidated in window pixels: the whole lamp turns red.
  editor.SetControlFromPlug(kLamp, 0.8); // the first value from the plug-in only sets the default
  editor.SetControlFromPlug(kLamp, 0.9);
  Tick();
  EXPECT_EQ(ScreenPixel(2 * 70 + 1, 2 * 50 + 1), Rgb(kRed));
  EXPECT_EQ(ScreenPixel(2 * 90 - 2, 2 * 70 - 2), Rgb(kRed));

  // After its parent, the window asks the system for its DPI (96 here, as Wine's prefix has it).
  SendMessageA(w, kDpiChangedAfterParent, 0, 0);
  using DpiForWindowFn = UINT(WINAPI*)(HWND);
  const auto dpiFor = reinterpret_cast<DpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
  if (!dpiFor) GTEST_SKIP() << "this system has no window DPI";
  EXPECT_EQ(editor.Scale(), NearestPaintedScale(static_cast<float>(dpiFor(w)) / 96.0f));
}

TEST_F(EditorWindow, OpeningLeavesTheHostThreadsDpiAwarenessAsItWas) {
  using GetContextFn = HANDLE(WINAPI*)();
  using EqualFn = BOOL(WINAPI*)(HANDLE, HANDLE);
  HMODULE user32 = GetModuleHandleA("user32.dll");
  const auto get = reinterpret_cast<GetContextFn>(
      reinterpret_cast<void*>(GetProcAddress(user32, "GetThreadDpiAwarenessContext")));
  const auto equal = reinterpret_cast<EqualFn>(
      reinterpret_cast<void*>(GetProcAddress(user32, "AreDpiAwarenessContextsEqual")));
  if (!get || !equal) GTEST_SKIP() << "this system has no DPI awareness contexts";
  const HANDLE before = get();
  ASSERT_NE(Open(), nullptr);
  EXPECT_TRUE(equal(get(), before));
}

TEST_F(EditorWindow, FoldersEndWithABackslash) {
  GrowableText hostFolder, moduleFolder, desktop;
  editor.HostFolder(&hostFolder);
  editor.ModuleFolder(&moduleFolder);
  editor.DesktopFolder(&desktop);
  char exe[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  ASSERT_GT(hostFolder.Length(), 1u);
  EXPECT_EQ(std::string(exe).rfind(hostFolder.Get(), 0), 0u);
  EXPECT_EQ(hostFolder.Get()[hostFolder.Length() - 1], '\\');
  EXPECT_STREQ(moduleFolder.Get(), hostFolder.Get()); // the test program is its own module
  EXPECT_GT(desktop.Length(), 0u);
  IGraphicsWin bare(&plug, 10, 10);
  bare.ModuleFolder(&moduleFolder);
  EXPECT_STREQ(moduleFolder.Get(), "");
}

TEST_F(EditorWindow, TheCursorComesBackWhereItWasHidden) {
  SetCursorPos(40, 30);
  editor.HideCursor();
  editor.HideCursor(); // hidden once only
  EXPECT_TRUE(editor.CursorHidden());
  SetCursorPos(200, 150);
  editor.RestoreCursor();
  editor.RestoreCursor();
  POINT p{};
  GetCursorPos(&p);
  EXPECT_EQ(p.x, 40);
  EXPECT_EQ(p.y, 30);
  EXPECT_FALSE(editor.CursorHidden());
  const int shown = ShowCursor(TRUE); // the display count is back where it was
  ShowCursor(FALSE);
  EXPECT_EQ(shown, 1);
}

HWND gBoxOwner = nullptr;

// Answers "no" to the message box once it is up, noting its owner.
VOID CALLBACK AnswerNo(HWND, UINT, UINT_PTR id, DWORD) {
  HWND box = FindWindowA("#32770", "Caption");
  if (!box) return;
  KillTimer(nullptr, id);
  gBoxOwner = GetWindow(box, GW_OWNER);
  PostMessageA(box, WM_COMMAND, IDNO, 0);
}

TEST_F(EditorWindow, MessageBoxesBelongToTheHostsMainWindow) {
  ASSERT_NE(Open(), nullptr);
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, &AnswerNo);
  EXPECT_EQ(editor.ShowMessageBox("Text", "Caption", MB_YESNO), IDNO);
  KillTimer(nullptr, timer);
  EXPECT_EQ(gBoxOwner, host);
}

TEST(EditorKeys, VirtualKeysMapToTheEditorsCodes) {
  EXPECT_EQ(winkeys::EditorKeyFor(VK_SPACE), 0);
  EXPECT_EQ(winkeys::EditorKeyFor(VK_UP), 1);
  EXPECT_EQ(winkeys::EditorKeyFor(VK_DOWN), 2);
  EXPECT_EQ(winkeys::EditorKeyFor(VK_LEFT), 3);
  EXPECT_EQ(winkeys::EditorKeyFor(VK_RIGHT), 4);
  EXPECT_EQ(winkeys::EditorKeyFor('0'), 5);
  EXPECT_EQ(winkeys::EditorKeyFor('9'), 14);
  EXPECT_EQ(winkeys::EditorKeyFor('A'), 15);
  EXPECT_EQ(winkeys::EditorKeyFor('Z'), 40);
  EXPECT_EQ(winkeys::EditorKeyFor('a'), 15);
  EXPECT_EQ(winkeys::EditorKeyFor('z'), 40);
  EXPECT_EQ(winkeys::EditorKeyFor(VK_ESCAPE), -1);
  EXPECT_EQ(winkeys::EditorKeyFor(VK_F12), -1); // 123: just past the second letter range
  EXPECT_EQ(winkeys::WheelNotches(60), 0);
  EXPECT_EQ(winkeys::WheelNotches(-119), 0);
  EXPECT_EQ(winkeys::WheelNotches(-360), -3);
  EXPECT_EQ(winkeys::TimerPeriodFor(30), 33);
  EXPECT_EQ(winkeys::TimerPeriodFor(25), 40);
}

} // namespace
} // namespace tavo::wintest
