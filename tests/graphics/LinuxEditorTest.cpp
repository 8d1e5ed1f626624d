#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "GraphicsTestSupport.h"
#include "drawing/LICE_Png.h"
#include "graphics/GraphicsFactory.h"
#include "graphics/IPanelControl.h"

namespace tavo {
namespace {

using test::ScriptedResponder;
using test::TestEditor;
using test::TestPlug;

LICE_pixel PixelOf(const LICE_IBitmap& b, int x, int y) {
  return b.PixelData()[y * b.RowSpan() + x];
}

class LinuxEditor : public ::testing::Test {
protected:
  LinuxEditor() {
    editor.SetResponder(&responder);
    editor.SetModule(platform::CurrentModule());
    editor.AttachControl(
        std::make_unique<IPanelControl>(&plug, IBounds(0, 0, 64, 48), IColorRGBA(255, 40, 40, 40)));
    editor.AttachControl(std::make_unique<IPanelControl>(&plug, IBounds(10, 10, 20, 20),
                                                         IColorRGBA(255, 200, 30, 30)));
    editor.PrepareSurfaces();
  }

  TestPlug plug{1};
  IGraphicsLinux editor{&plug, 64, 48};
  ScriptedResponder responder;
};

TEST_F(LinuxEditor, TheTimerPeriodFollowsTheRefreshRate) {
  EXPECT_EQ(editor.TimerPeriodMs(), 40);
  EXPECT_EQ(IGraphicsLinux(&plug, 10, 10, 30).TimerPeriodMs(), 33);
  EXPECT_EQ(IGraphicsLinux(&plug, 10, 10, -5).FPS(), 25);
}

TEST_F(LinuxEditor, TheFactoryYieldsTheLinuxEditor) {
  std::unique_ptr<IGraphics> made = MakeGraphics(&plug, 304, 416, 0);
  ASSERT_NE(dynamic_cast<IGraphicsLinux*>(made.get()), nullptr);
  EXPECT_EQ(made->FPS(), 25);
  EXPECT_FALSE(made->WindowIsOpen());
}

TEST_F(LinuxEditor, TicksDrawOnlyWhileTheWindowIsOpenAndOnlyWhatIsDirty) {
  EXPECT_FALSE(editor.OnTimerTick());
  EXPECT_EQ(editor.PresentedFrame(), nullptr);
  void* window = editor.OpenWindow(reinterpret_cast<void*>(0x1234));
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(editor.WindowHandle(), window);
  EXPECT_TRUE(editor.WindowIsOpen());
  EXPECT_TRUE(editor.OnTimerTick());
  const LICE_IBitmap& frame = *editor.PresentedFrame();
  EXPECT_EQ(PixelOf(frame, 0, 0), 0xFF282828u);
  EXPECT_EQ(PixelOf(frame, 15, 15), 0xFFC81E1Eu);
  EXPECT_FALSE(editor.OnTimerTick());
  editor.CloseWindow();
  EXPECT_EQ(editor.WindowHandle(), nullptr);
  EXPECT_EQ(editor.PresentedFrame(), nullptr);
}

TEST_F(LinuxEditor, TheScreenCopyTakesOnlyTheUpdatedRectangleCutToTheEditor) {
  editor.OpenWindow(nullptr);
  FillRectangle(editor.Surface(), 0, 0, 64, 48, 0xFF0000FFu, 1.0f, LICE_BLIT_MODE_COPY);
  EXPECT_TRUE(editor.DrawScreen(IBounds(-10, -10, 5, 5)));
  EXPECT_EQ(PixelOf(*editor.PresentedFrame(), 4, 4), 0xFF0000FFu);
  EXPECT_NE(PixelOf(*editor.PresentedFrame(), 5, 5), 0xFF0000FFu);
  EXPECT_TRUE(editor.DrawScreen(IBounds(60, 40, 500, 500)));
  EXPECT_EQ(PixelOf(*editor.PresentedFrame(), 63, 47), 0xFF0000FFu);
}

TEST_F(LinuxEditor, ASavedFrameReadsBackPixelForPixel) {
  const std::string path = std::string(TAVO_TEST_OUTPUT_DIR) + "/linux-editor-frame.png";
  EXPECT_FALSE(editor.SavePresentedFrame(path.c_str()));
  editor.OpenWindow(nullptr);
  editor.OnTimerTick();
  ASSERT_TRUE(editor.SavePresentedFrame(path.c_str()));
  std::unique_ptr<LICE_IBitmap> back(LoadPngFromFile(path.c_str(), true, nullptr));
  ASSERT_NE(back, nullptr);
  ASSERT_EQ(back->Width(), 64);
  ASSERT_EQ(back->Height(), 48);
  for (int y = 0; y < 48; y += 5)
    for (int x = 0; x < 64; x += 3)
      ASSERT_EQ(PixelOf(*back, x, y), PixelOf(*editor.PresentedFrame(), x, y));
}

TEST_F(LinuxEditor, ResizingKeepsThePresentedFrameTheEditorsSize) {
  editor.OpenWindow(nullptr);
  editor.Resize(100, 80);
  EXPECT_EQ(editor.PresentedFrame()->Width(), 100);
  EXPECT_EQ(editor.PresentedFrame()->Height(), 80);
  EXPECT_EQ(plug.calls.back(), "Resize 100x80");
  plug.calls.clear();
  editor.Resize(100, 80); // the same size changes nothing
  EXPECT_TRUE(plug.calls.empty());
}

TEST_F(LinuxEditor, PngResourcesLoadByIdentifierOnlyForPngNames) {
  std::unique_ptr<LICE_IBitmap> needle(editor.LoadPlatformBitmap(106, "resources/img/Needle1.png"));
  ASSERT_NE(needle, nullptr);
  EXPECT_EQ(needle->Width(), 12);
  EXPECT_EQ(needle->Height(), 37);
  std::unique_ptr<LICE_IBitmap> upper(editor.LoadPlatformBitmap(106, "NEEDLE.Png"));
  EXPECT_NE(upper, nullptr);
  EXPECT_EQ(editor.LoadPlatformBitmap(106, "needle.bmp"), nullptr);
  EXPECT_EQ(editor.LoadPlatformBitmap(106, "png"), nullptr);
  EXPECT_EQ(editor.LoadPlatformBitmap(106, ".png"), nullptr);
  EXPECT_EQ(editor.LoadPlatformBitmap(106, nullptr), nullptr);
  EXPECT_EQ(editor.LoadPlatformBitmap(999, "missing.png"), nullptr);
}

TEST_F(LinuxEditor, FoldersComeFromTheProgramAndTheModule) {
  GrowableText host, module, desktop;
  editor.HostFolder(&host);
  editor.ModuleFolder(&module);
  ASSERT_GT(host.Length(), 1u);
  EXPECT_EQ(host.Get()[host.Length() - 1], '/');
  // The test program is its own module (dladdr may name it relative to the working folder).
  EXPECT_TRUE(std::filesystem::equivalent(module.Get(), host.Get()));
  IGraphicsLinux bare(&plug, 10, 10);
  bare.ModuleFolder(&module);
  EXPECT_STREQ(module.Get(), "");

  const std::filesystem::path home = std::filesystem::path(TAVO_TEST_OUTPUT_DIR) / "fake-home";
  std::filesystem::create_directories(home / "Desktop");
  const char* saved = std::getenv("HOME");
  const std::string savedHome = saved ? saved : "";
  setenv("HOME", home.c_str(), 1);
  editor.DesktopFolder(&desktop);
  EXPECT_EQ(std::string(desktop.Get()), (home / "Desktop").string());
  if (saved)
    setenv("HOME", savedHome.c_str(), 1);
  else
    unsetenv("HOME");
}

TEST_F(LinuxEditor, AMenuAnswerOutsideTheMenuCountsAsNoChoice) {
  IPopupMenu menu;
  menu.items.emplace_back("a");
  menu.items.emplace_back("b", IPopupMenu::kChecked);
  editor.OnMouseDown(15, 15, {true});
  responder.menuAnswer = 7;
  EXPECT_EQ(editor.PopupMenuForControl(nullptr, menu, IBounds(0, 0, 5, 5)), nullptr);
  EXPECT_EQ(editor.CapturedControl(), -1); // the menu takes the mouse away from the control
  responder.menuAnswer = 1;
  EXPECT_EQ(editor.PopupMenuForControl(nullptr, menu, IBounds(0, 0, 5, 5)), &menu);
  EXPECT_EQ(menu.chosenIndex, 1);
  editor.SetResponder(nullptr);
  EXPECT_EQ(editor.PopupMenuForControl(nullptr, menu, IBounds(0, 0, 5, 5)), nullptr);
}

TEST_F(LinuxEditor, LinksAskForConfirmationAndReportFailures) {
  responder.messageAnswer = 7; // "no"
  EXPECT_FALSE(editor.OpenURL("http://x", "Help", "Open the manual?", "No browser"));
  EXPECT_TRUE(responder.urls.empty());
  responder.messageAnswer = IGraphicsLinux::kAnswerYes;
  EXPECT_FALSE(editor.OpenURL("http://x", "Help", "Open the manual?", "No browser"));
  ASSERT_EQ(responder.messages.size(), 3u);
  EXPECT_EQ(responder.messages[2].first, "No browser");
  EXPECT_EQ(responder.messages[2].second, IGraphicsLinux::kMessageOk);
  responder.urlOpens["http://x"] = true;
  EXPECT_TRUE(editor.OpenURL("http://x"));
}

TEST_F(LinuxEditor, DialogsWithoutAWindowAnswerCancelled) {
  GrowableText path("old.txt"), folder;
  EXPECT_FALSE(editor.PromptForFile(&path, IGraphics::kFileSave, &folder, "a b"));
  EXPECT_STREQ(path.Get(), "");
  IColorRGBA colour;
  EXPECT_FALSE(editor.PromptForColour(&colour, "Pick"));
}

TEST_F(LinuxEditor, AChosenFileHandsItsFolderBackAndACancelKeepsBoth) {
  editor.OpenWindow(reinterpret_cast<void*>(0x1234));
  GrowableText name("take.a"), folder("/work/");
  responder.fileAnswer = "/data/presets/new.b";
  EXPECT_TRUE(editor.PromptForFile(&name, IGraphics::kFileSave, &folder, "a b"));
  EXPECT_EQ(responder.fileStart, "/work/|take.a|1");
  EXPECT_STREQ(name.Get(), "/data/presets/new.b");
  EXPECT_STREQ(folder.Get(), "/data/presets/");
  responder.fileAnswer = nullptr;
  EXPECT_FALSE(editor.PromptForFile(&name, IGraphics::kFileOpen, &folder, "a b"));
  EXPECT_STREQ(name.Get(), "/data/presets/new.b");
  EXPECT_STREQ(folder.Get(), "/data/presets/");
}

TEST_F(LinuxEditor, TextForAControlWithoutParameterGoesToTheControl) {
  struct Catcher : IControl {
    using IControl::IControl;
    bool Draw(IGraphics*) override { return true; }
    void OnTextEntry(const char* text) override { got = text; }
    std::string got;
  } catcher(&plug, IBounds(0, 0, 10, 10), -1);
  responder.entryAnswer = "hello world";
  editor.TextEntryForControl(&catcher, "", IBounds(0, 0, 10, 10));
  EXPECT_EQ(catcher.got, "hello w"); // cut to the entry length of 7
}

} // namespace
} // namespace tavo
