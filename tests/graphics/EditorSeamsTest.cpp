// What every platform's editor window shares: the menu tree's numbering, the file dialog's
// filter and the entry box's character filter.

#include <gtest/gtest.h>

#include <string>

#include "graphics/FileDialogFilter.h"
#include "graphics/IPopupMenu.h"
#include "graphics/TextEntryFilter.h"
#include "tests/support/TestPlug.h"

namespace tavo {
namespace {

class MenuTree : public ::testing::Test {
protected:
  // Three items whose second opens a sub-menu of two.
  MenuTree() {
    IPopupMenu sub;
    sub.items.emplace_back("x");
    sub.items.emplace_back("y");
    menu.items.emplace_back("a");
    menu.items.emplace_back("b", std::move(sub));
    menu.items.emplace_back("c");
  }
  IPopupMenu menu;
};

TEST_F(MenuTree, TheTopBlockIsNumberedBeforeItsSubMenus) {
  EXPECT_EQ(menu.CountIds(), 5);
  EXPECT_EQ(menu.Choose(2), &menu);
  EXPECT_EQ(menu.chosenIndex, 2);
  IPopupMenu* sub = menu.items[1].sub.get();
  EXPECT_EQ(menu.Choose(3), sub);
  EXPECT_EQ(sub->chosenIndex, 0);
  EXPECT_EQ(menu.Choose(4), sub);
  EXPECT_EQ(sub->chosenIndex, 1);
  EXPECT_EQ(menu.Choose(5), nullptr);
  EXPECT_EQ(menu.Choose(-1), nullptr);
}

TEST_F(MenuTree, SubMenusAreNumberedDepthFirstAndSeparatorsTakeTheirPlace) {
  IPopupMenu deeper;
  deeper.items.emplace_back("z");
  menu.items[1].sub->items.emplace_back("", IPopupMenu::kSeparator);
  menu.items[1].sub->items.emplace_back("w", std::move(deeper));
  IPopupMenu last;
  last.items.emplace_back("v");
  menu.items[2] = IPopupMenu::Item("c", std::move(last));
  // top 0..2, b's menu 3..6, w's menu 7, c's menu 8
  EXPECT_EQ(menu.Choose(7), menu.items[1].sub->items[3].sub.get());
  EXPECT_EQ(menu.Choose(8), menu.items[2].sub.get());
  EXPECT_EQ(menu.items[2].sub->chosenIndex, 0);
}

TEST_F(MenuTree, CopiesOwnTheirSubMenus) {
  IPopupMenu copy = menu;
  copy.items[1].sub->items[0].text = "changed";
  EXPECT_EQ(menu.items[1].sub->items[0].text, "x");
  EXPECT_EQ(copy.Choose(4), copy.items[1].sub.get());
}

TEST_F(MenuTree, NumberingStylesPrefixTheOneBasedPosition) {
  EXPECT_EQ(menu.ShownText(1), "b");
  menu.numbering = IPopupMenu::kOneDigit;
  EXPECT_EQ(menu.ShownText(1), "2: b");
  menu.numbering = IPopupMenu::kTwoDigits;
  EXPECT_EQ(menu.ShownText(2), "03: c");
  menu.numbering = IPopupMenu::kThreeDigits;
  EXPECT_EQ(menu.ShownText(0), "001: a");
  EXPECT_EQ(menu.ShownText(3), "");
}

TEST(FileDialogFilter, ExtensionsBecomeOnePatternAndTheFirstIsTheDefault) {
  const FileDialogFilter f = BuildFileDialogFilter("a b");
  EXPECT_EQ(f.pattern, "*.a;*.b");
  EXPECT_EQ(f.defaultExtension, "a");
  EXPECT_EQ(f.DialogFilterList(), std::string("*.a;*.b\0*.a;*.b\0\0", 17));
  EXPECT_EQ(BuildFileDialogFilter("  fxp   fxb ").pattern, "*.fxp;*.fxb");
}

TEST(FileDialogFilter, NoExtensionsGiveNeitherFilterNorDefault) {
  for (const char* none : {static_cast<const char*>(nullptr), "", "   "}) {
    const FileDialogFilter f = BuildFileDialogFilter(none);
    EXPECT_TRUE(f.pattern.empty());
    EXPECT_TRUE(f.defaultExtension.empty());
    EXPECT_TRUE(f.DialogFilterList().empty());
  }
}

TEST(FileDialogFilter, LongListsStayWithinTheDialogsLimits) {
  std::string many;
  for (int i = 0; i < 40; ++i)
    many += "ext" + std::to_string(i) + " ";
  const FileDialogFilter f = BuildFileDialogFilter(("averyveryverylongextension " + many).c_str());
  EXPECT_EQ(f.defaultExtension, "averyveryverylo"); // 15 characters
  EXPECT_LE(f.pattern.size(), FileDialogFilter::kMaxPattern);
  // Only whole pieces: the pattern ends with a complete extension.
  EXPECT_EQ(f.pattern.rfind(';') + 1 < f.pattern.size(), true);
  EXPECT_EQ(f.pattern.substr(0, 29), "*.averyveryverylongextension;");
  EXPECT_NE(f.pattern.back(), '.');
}

TEST(TextEntryFilter, EachKindLetsThroughItsOwnCharacters) {
  test::TestPlug plug(3);
  plug.GetParam(0)->InitDouble("Gain", 0, -20, 20, 0.1);
  plug.GetParam(1)->InitInt("Steps", 0, -5, 5);
  plug.GetParam(2)->InitEnum("Mode", 0, 3);
  for (const IParameter* p : {plug.GetParam(0), plug.GetParam(1), plug.GetParam(2)}) {
    for (char c : std::string("0123456789-+\b"))
      EXPECT_TRUE(TextEntryAccepts(p, c)) << c;
    for (char c : std::string("abcE ,e\r"))
      EXPECT_FALSE(TextEntryAccepts(p, c)) << c;
    EXPECT_FALSE(TextEntryAccepts(p, static_cast<char>(0xB5))); // a byte of a UTF-8 sequence
  }
  EXPECT_TRUE(TextEntryAccepts(plug.GetParam(0), '.'));
  EXPECT_FALSE(TextEntryAccepts(plug.GetParam(1), '.'));
  EXPECT_FALSE(TextEntryAccepts(plug.GetParam(2), '.'));
  EXPECT_TRUE(TextEntryAccepts(nullptr, 'a'));
}

} // namespace
} // namespace tavo
