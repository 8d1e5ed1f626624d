#pragma once
// The menu tree as native popup menus, separate from showing it so its numbering can be checked.

#include <windows.h>

#include "graphics/IPopupMenu.h"

namespace tavo::winmenu {

// [editor thread] A popup for the tree whose identifiers start at nextId (which passes every
// identifier used); the caller destroys it, sub-menus included. Null when none can be made.
HMENU Build(const IPopupMenu& menu, int& nextId);
// [editor thread] The (sub-)menu that holds the command's identifier, its chosenIndex set.
IPopupMenu* Chosen(IPopupMenu& menu, WPARAM command);

} // namespace tavo::winmenu
