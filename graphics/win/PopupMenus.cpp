// Popup menus: the menu tree as a native popup, numbered across the tree (IPopupMenu.h), and the
// chosen identifier read back from the command the menu posts.

#include "graphics/win/IGraphicsWin.h"
#include "graphics/win/NativeMenu.h"

namespace tavo {

namespace winmenu {

HMENU Build(const IPopupMenu& menu, int& nextId) {
  HMENU native = CreatePopupMenu();
  if (!native) return nullptr;
  const int first = nextId;
  // The whole block of this menu is numbered before any of its sub-menus.
  nextId += menu.NItems();
  for (int i = 0; i < menu.NItems(); ++i) {
    const IPopupMenu::Item& item = menu.items[static_cast<size_t>(i)];
    const UINT_PTR id = static_cast<UINT_PTR>(first + i);
    const std::string text = menu.ShownText(i);
    if (item.IsSeparator()) {
      AppendMenuA(native, MF_SEPARATOR, id, nullptr);
    } else if (item.sub) {
      HMENU sub = Build(*item.sub, nextId);
      AppendMenuA(native, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), text.c_str());
    } else {
      UINT flags = MF_STRING;
      if (item.flags & IPopupMenu::kGreyed) flags |= MF_GRAYED;
      if (item.flags & IPopupMenu::kDisabled) flags |= MF_DISABLED;
      if (item.flags & IPopupMenu::kChecked) flags |= MF_CHECKED;
      AppendMenuA(native, flags, id, text.c_str());
    }
  }
  return native;
}

IPopupMenu* Chosen(IPopupMenu& menu, WPARAM command) {
  // Identifiers the tree cannot hold are not ours.
  if (command >= 0x10000) return nullptr;
  return menu.Choose(static_cast<int>(command));
}

} // namespace winmenu

IPopupMenu* IGraphicsWin::PopupMenuForControl(IControl*, IPopupMenu& menu, const IBounds& rect) {
  ReleaseMouseCapture();
  mouseOverIdx_ = -1;
  if (!window_) return nullptr;
  int nextId = 0;
  HMENU native = winmenu::Build(menu, nextId);
  if (!native) return nullptr;

  const RECT under = WindowRectOf(rect);
  POINT at{under.left, under.bottom};
  ClientToScreen(window_, &at);
  IPopupMenu* chosen = nullptr;
  if (TrackPopupMenu(native, TPM_LEFTBUTTON, at.x, at.y, 0, window_, nullptr)) {
    MSG command;
    if (PeekMessageA(&command, window_, WM_COMMAND, WM_COMMAND, PM_REMOVE))
      chosen = winmenu::Chosen(menu, command.wParam);
  }
  // Destroying the popup destroys its sub-menus with it.
  DestroyMenu(native);
  return chosen;
}

} // namespace tavo
