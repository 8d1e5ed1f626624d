#pragma once
// A menu tree: what the editor offers for a parameter with display texts, and what a control may
// build for itself. Each item has a text, optional sub-menu and flags. The platform shows it and
// answers with the (sub-)menu whose item was chosen, that menu's chosenIndex set.
//
// Item identifiers are numbered across the whole tree the same way on every platform (a
// responder or a native menu answers with one): a running counter starts at 0, each menu takes
// the next block of identifiers, one per item position (separators use up theirs), and the
// counter passes the whole block before that menu's sub-menus are numbered, depth first. Three
// items whose second holds a sub-menu of two are numbered 0, 1, 2 and 3, 4.

#include <memory>
#include <string>
#include <vector>

namespace tavo {

struct IPopupMenu {
  enum ItemFlags { kGreyed = 0x1, kDisabled = 0x2, kChecked = 0x4, kSeparator = 0x8 };
  // How item texts are shown: plain, or the one-based position in front ("1: ", "01: ", "001: ").
  enum Numbering { kNoNumbers = 0, kOneDigit = 1, kTwoDigits = 2, kThreeDigits = 3 };

  struct Item {
    explicit Item(std::string itemText = {}, int itemFlags = 0)
        : text(std::move(itemText)), flags(itemFlags) {}
    Item(std::string itemText, IPopupMenu subMenu)
        : text(std::move(itemText)), sub(std::make_unique<IPopupMenu>(std::move(subMenu))) {}
    // Menus are values: copying an item copies its sub-menu.
    Item(const Item& other)
        : text(other.text), sub(other.sub ? std::make_unique<IPopupMenu>(*other.sub) : nullptr),
          flags(other.flags) {}
    Item(Item&&) noexcept = default;
    Item& operator=(Item other) noexcept {
      text = std::move(other.text);
      sub = std::move(other.sub);
      flags = other.flags;
      return *this;
    }

    bool IsChecked() const { return (flags & kChecked) != 0; }
    bool IsSeparator() const { return (flags & kSeparator) != 0; }

    std::string text;
    std::unique_ptr<IPopupMenu> sub;
    int flags = 0;
  };

  int numbering = kNoNumbers;
  int chosenIndex = -1; // written when an item of this menu is chosen
  std::vector<Item> items;

  int NItems() const { return static_cast<int>(items.size()); }
  // The text a platform shows for item i, numbered as the menu asks; empty outside the list.
  std::string ShownText(int i) const;
  // The menu that holds tree identifier id (numbered as above from firstId) with its chosenIndex
  // set, or null when no item has that identifier.
  IPopupMenu* Choose(int id, int firstId = 0);
  // How many identifiers the tree uses: the items of this menu and of every sub-menu.
  int CountIds() const;
};

} // namespace tavo
