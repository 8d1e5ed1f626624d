// Popup menus as native menus (numbering, flags, the chosen item read back), the file dialog's
// filter, and the child window the editor hosting makes inside the host's window.

#include <cstdio>
#include <string>

#include "EditorWindowFixture.h"
#include "graphics/FileDialogFilter.h"
#include "graphics/win/NativeMenu.h"
#include "rtas/EditorWindowHost.h"

namespace tavo::wintest {
namespace {

IPopupMenu ThreeItemsWithASubMenu() {
  IPopupMenu sub;
  sub.items.emplace_back("x");
  sub.items.emplace_back("y", IPopupMenu::kChecked);
  IPopupMenu menu;
  menu.items.emplace_back("a", IPopupMenu::kGreyed);
  menu.items.emplace_back("b", std::move(sub));
  menu.items.emplace_back("c", IPopupMenu::kDisabled);
  return menu;
}

std::string ItemText(HMENU m, int pos) {
  char text[64] = {};
  GetMenuStringA(m, static_cast<UINT>(pos), text, sizeof text, MF_BYPOSITION);
  return text;
}

TEST(NativeMenu, TheTreeIsNumberedTopBlockFirstAndTheChosenIdFindsItsMenu) {
  IPopupMenu menu = ThreeItemsWithASubMenu();
  menu.numbering = IPopupMenu::kTwoDigits;
  int next = 0;
  HMENU native = winmenu::Build(menu, next);
  ASSERT_NE(native, nullptr);
  EXPECT_EQ(next, 5);
  EXPECT_EQ(GetMenuItemID(native, 0), 0u);
  EXPECT_EQ(GetMenuItemID(native, 2), 2u);
  HMENU sub = GetSubMenu(native, 1);
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(GetMenuItemID(sub, 0), 3u);
  EXPECT_EQ(GetMenuItemID(sub, 1), 4u);
  EXPECT_EQ(ItemText(native, 1), "02: b");
  EXPECT_EQ(ItemText(sub, 0), "x"); // the sub-menu has its own numbering style
  EXPECT_TRUE(GetMenuState(native, 0, MF_BYPOSITION) & MF_GRAYED);
  EXPECT_TRUE(GetMenuState(native, 2, MF_BYPOSITION) & MF_DISABLED);
  EXPECT_TRUE(GetMenuState(sub, 1, MF_BYPOSITION) & MF_CHECKED);
  EXPECT_FALSE(GetMenuState(sub, 0, MF_BYPOSITION) & MF_CHECKED);
  DestroyMenu(native);

  EXPECT_EQ(winmenu::Chosen(menu, 4), menu.items[1].sub.get());
  EXPECT_EQ(menu.items[1].sub->chosenIndex, 1);
  EXPECT_EQ(winmenu::Chosen(menu, 0x10001), nullptr);
}

TEST(NativeMenu, SeparatorsUseUpTheirPosition) {
  IPopupMenu menu;
  menu.items.emplace_back("a");
  menu.items.emplace_back("", IPopupMenu::kSeparator);
  menu.items.emplace_back("b");
  int next = 0;
  HMENU native = winmenu::Build(menu, next);
  EXPECT_TRUE(GetMenuState(native, 1, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_EQ(GetMenuItemID(native, 2), 2u);
  DestroyMenu(native);
}

TEST(FileDialog, TwoExtensionsShowOnePatternAndSaveWithTheFirst) {
  const FileDialogFilter f = BuildFileDialogFilter("a b");
  EXPECT_EQ(f.pattern, "*.a;*.b");
  EXPECT_EQ(f.defaultExtension, "a");
}

using EditorMenus = EditorWindowFixture;

TEST_F(EditorMenus, APopupWithoutAWindowOrAChoiceAnswersNothing) {
  IPopupMenu menu = ThreeItemsWithASubMenu();
  EXPECT_EQ(editor.PopupMenuForControl(nullptr, menu, IBounds(0, 0, 10, 10)), nullptr);
  GrowableText name("x.a"), folder;
  EXPECT_FALSE(editor.PromptForFile(&name, IGraphics::kFileOpen, &folder, "a b"));
  EXPECT_STREQ(name.Get(), "");
}

HWND gMenuOwner = nullptr;

// Plays the user while the menu is up: item 4 (the sub-menu's second) is chosen.
VOID CALLBACK ChooseItemFour(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  PostMessageA(gMenuOwner, WM_COMMAND, 4, 0);
  EndMenu();
}

TEST_F(EditorMenus, TheShownMenuAnswersTheSubMenuOfTheChosenIdentifier) {
  ASSERT_NE(Open(), nullptr);
  gMenuOwner = static_cast<HWND>(editor.WindowHandle());
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, &ChooseItemFour);
  editor.OnMouseDown(35, 35, {true});
  IPopupMenu menu = ThreeItemsWithASubMenu();
  IPopupMenu* chosen = editor.PopupMenuForControl(nullptr, menu, IBounds(10, 10, 60, 60));
  KillTimer(nullptr, timer);
  EXPECT_EQ(chosen, menu.items[1].sub.get());
  EXPECT_EQ(menu.items[1].sub->chosenIndex, 1);
  EXPECT_EQ(editor.CapturedControl(), -1); // the menu took the mouse from the knob
}

// Plays the user in the save dialog: types a full path and presses OK.
char gChosenPath[MAX_PATH] = {};
bool gDialogOwnedByEditor = false;

VOID CALLBACK TypePathAndSave(HWND, UINT, UINT_PTR id, DWORD) {
  HWND dialog = FindWindowA("#32770", nullptr);
  if (!dialog) return;
  KillTimer(nullptr, id);
  // A child window cannot own a dialog: the system gives it to the editor's top-level window.
  gDialogOwnedByEditor = GetWindow(dialog, GW_OWNER) == GetAncestor(gMenuOwner, GA_ROOT);
  constexpr int kFileNameBox = 0x47C, kFileNameEdit = 0x480; // the dialog's file-name field
  SetDlgItemTextA(dialog, kFileNameBox, gChosenPath);
  SetDlgItemTextA(dialog, kFileNameEdit, gChosenPath);
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

TEST_F(EditorMenus, ASavedFileHandsBackItsFullPathAndItsFolder) {
  ASSERT_NE(Open(), nullptr);
  gMenuOwner = static_cast<HWND>(editor.WindowHandle());
  char folderPath[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folderPath); // ends with '\'
  std::snprintf(gChosenPath, sizeof gChosenPath, "%stavo-preset-%lu.a", folderPath,
                GetCurrentProcessId());
  const UINT_PTR timer = SetTimer(nullptr, 0, 200, &TypePathAndSave);
  GrowableText name("first.a"), folder;
  const bool saved = editor.PromptForFile(&name, IGraphics::kFileSave, &folder, "a b");
  KillTimer(nullptr, timer);
  ASSERT_TRUE(saved);
  EXPECT_TRUE(gDialogOwnedByEditor);
  EXPECT_EQ(_stricmp(name.Get(), gChosenPath), 0);
  EXPECT_EQ(_stricmp(folder.Get(), folderPath), 0);
}

TEST(ChildWindow, TheHostingWindowIsAChildOfClassIPlugLocalAtItsPlace) {
  HWND parent = CreateWindowExA(0, "STATIC", "parent", WS_POPUP | WS_VISIBLE, 0, 0, 404, 516,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(parent, nullptr);
  editorhost::RegisterLocalWindowClass(GetModuleHandleA(nullptr));
  editorhost::RegisterLocalWindowClass(GetModuleHandleA(nullptr)); // an existing class is fine
  editorhost::ClientRect client;
  ASSERT_TRUE(editorhost::ParentClientRect(parent, &client));
  EXPECT_EQ(client.right, 404);
  EXPECT_EQ(client.bottom, 516);
  auto child = editorhost::CreateChildWindow(parent, 50, 100, 304, 416);
  ASSERT_NE(child, nullptr);
  HWND w = static_cast<HWND>(child->Handle());
  EXPECT_EQ(GetParent(w), parent);
  char cls[32] = {};
  GetClassNameA(w, cls, sizeof cls);
  EXPECT_STREQ(cls, "IPlugLocal");
  RECT r{};
  GetWindowRect(w, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 50);
  EXPECT_EQ(r.top, 100);
  EXPECT_EQ(r.right - r.left, 304);
  EXPECT_TRUE(editorhost::DestroyChildWindow(std::move(child)));
  EXPECT_FALSE(IsWindow(w));
  EXPECT_FALSE(editorhost::ParentClientRect(nullptr, &client));
  DestroyWindow(parent);
}

} // namespace
} // namespace tavo::wintest
