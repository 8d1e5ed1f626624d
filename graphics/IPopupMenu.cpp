#include "graphics/IPopupMenu.h"

#include <cstdio>

namespace tavo {

std::string IPopupMenu::ShownText(int i) const {
  if (i < 0 || i >= NItems()) return {};
  const std::string& text = items[static_cast<size_t>(i)].text;
  const char* format = nullptr;
  switch (numbering) {
  case kOneDigit:
    format = "%1d: %s";
    break;
  case kTwoDigits:
    format = "%02d: %s";
    break;
  case kThreeDigits:
    format = "%03d: %s";
    break;
  default:
    return text;
  }
  const int length = std::snprintf(nullptr, 0, format, i + 1, text.c_str());
  if (length < 0) return text;
  std::string shown(static_cast<size_t>(length), '\0');
  std::snprintf(shown.data(), shown.size() + 1, format, i + 1, text.c_str());
  return shown;
}

int IPopupMenu::CountIds() const {
  int count = NItems();
  for (const Item& item : items)
    if (item.sub) count += item.sub->CountIds();
  return count;
}

IPopupMenu* IPopupMenu::Choose(int id, int firstId) {
  if (id < firstId) return nullptr;
  if (id < firstId + NItems()) {
    chosenIndex = id - firstId;
    return this;
  }
  // This menu's block comes first; its sub-menus follow it in item order, depth first.
  int next = firstId + NItems();
  for (Item& item : items) {
    if (!item.sub) continue;
    if (IPopupMenu* chosen = item.sub->Choose(id, next)) return chosen;
    next += item.sub->CountIds();
  }
  return nullptr;
}

} // namespace tavo
