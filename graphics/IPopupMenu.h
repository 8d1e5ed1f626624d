#pragma once
// A flat menu of texts, one of which may be checked; what the editor offers for a parameter with
// display texts.

#include <string>
#include <vector>

namespace tavo {

struct IPopupMenu {
  struct Item {
    std::string text;
    bool checked = false;
  };
  std::vector<Item> items;
};

} // namespace tavo
