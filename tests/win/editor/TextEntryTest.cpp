// The in-place edit: its character filter, Enter committing at the next tick, and the ways an
// entry is cancelled.

#include <string>

#include "EditorWindowFixture.h"

namespace tavo::wintest {
namespace {

class TextEntry : public EditorWindowFixture {
protected:
  void SetUp() override {
    ASSERT_NE(Open(), nullptr);
    // The knob's parameter is a Double: the prompt is a text entry over the knob.
    editor.PromptUserInput(editor.GetControl(kKnob), editor.GetControl(kKnob)->Rect());
    ASSERT_NE(editor.EditWindow(), nullptr);
  }
  void Type(const char* text) {
    for (const char* c = text; *c; ++c)
      SendMessageA(editor.EditWindow(), WM_CHAR, static_cast<unsigned char>(*c), 0);
  }
  std::string EditText() {
    char text[64] = {};
    GetWindowTextA(editor.EditWindow(), text, sizeof text);
    return text;
  }
};

TEST_F(TextEntry, LettersAreBlockedAndANumberCommitsAtTheNextTick) {
  const std::string before = EditText();
  EXPECT_EQ(GetDlgCtrlID(editor.EditWindow()), IGraphicsWin::kEditControlId);
  Type("abc");
  EXPECT_EQ(EditText(), before);
  Type("-1.5"); // replaces the selected current value
  EXPECT_EQ(EditText(), "-1.5");
  SendMessageA(editor.EditWindow(), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(editor.EditState(), IGraphicsWin::kEditCommit);
  EXPECT_EQ(plug.GetParam(0)->Value(), 0.0); // not before the tick
  ASSERT_TRUE(Pump(500, [&] { return editor.EditWindow() == nullptr; }));
  EXPECT_NEAR(plug.GetParam(0)->Value(), -1.5, 1e-9);
  EXPECT_EQ(editor.EditState(), IGraphicsWin::kEditIdle);
}

TEST_F(TextEntry, AWheelTurnCancelsTheEntryAndDoesNotReachTheControls) {
  Type("7");
  Wheel(35, 35, 120);
  EXPECT_EQ(editor.EditState(), IGraphicsWin::kEditCancel);
  ASSERT_TRUE(Pump(500, [&] { return editor.EditWindow() == nullptr; }));
  EXPECT_EQ(plug.GetParam(0)->Value(), 0.0);
  EXPECT_NEAR(editor.GetControl(kKnob)->Value(), 0.5, 1e-9);
}

TEST_F(TextEntry, AClickInTheEditorDropsTheEntryAtOnce) {
  Type("9");
  editor.TextEntryForControl(editor.GetControl(kKnob), "x", IBounds(0, 0, 5, 5)); // one at a time
  Mouse(WM_LBUTTONDOWN, 5, 75, MK_LBUTTON);
  Mouse(WM_LBUTTONUP, 5, 75);
  Pump(100);
  EXPECT_EQ(editor.EditWindow(), nullptr);
  EXPECT_EQ(plug.GetParam(0)->Value(), 0.0);
}

TEST_F(TextEntry, AbortingOrClosingTheWindowLeavesNoEdit) {
  editor.AbortTextEntry();
  ASSERT_TRUE(Pump(500, [&] { return editor.EditWindow() == nullptr; }));
  editor.PromptUserInput(editor.GetControl(kKnob), editor.GetControl(kKnob)->Rect());
  HWND edit = editor.EditWindow();
  ASSERT_NE(edit, nullptr);
  editor.CloseWindow();
  EXPECT_EQ(editor.EditWindow(), nullptr);
  EXPECT_FALSE(IsWindow(edit));
}

} // namespace
} // namespace tavo::wintest
