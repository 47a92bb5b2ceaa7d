// Menu bars from window definitions: the cleanup applied after building (no
// separator at the start or end of a menu, none doubled, in submenus too), the
// conversion into the display's menu description, and the lookup of an item by
// its control number.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/platform/qt/menu_bar_builder.h"
#include "runtime/windows/definition_tree.h"

namespace rk {

// Separators at the start or end of each menu, and each one following another,
// are removed, in every submenu as well.
void RemoveStraySeparators(std::vector<MenuRecord>& items);

// The bar's menus and items as the display builds them, stray separators removed.
std::vector<platform::MenuBarItem> MenuBarItemsOf(const MenuBarRecord& bar);

// The menu or item with the control number, null when there is none (0 never matches).
const MenuRecord* FindMenuItem(const MenuBarRecord& bar, int32_t number);

// An MDI child's menus join the frame's unless its bar keeps a menu of its own.
bool MergesIntoFrame(const MenuBarRecord& bar);

}  // namespace rk
