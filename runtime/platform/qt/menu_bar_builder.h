// Menus of a menu bar built from a plain description, with their actions wired to
// the runtime: choosing an item posts kMenuCommand with the item's control number
// to the runtime thread that owns the menu, unless the owner gives a handler that
// runs standard actions at once (it must never wait). An item's status
// message is its status tip, shown in the first zone of the status bar while the
// item is highlighted.
#pragma once

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "runtime/platform/qt/platform_message.h"

namespace rk::platform {

class Scheduler;

struct MenuBarItem {
  enum class Kind { kItem, kSeparator, kMenu };
  Kind kind = Kind::kItem;
  std::string text;    // Windows-1252, "&" marks the mnemonic
  std::string status;  // status-bar message, Windows-1252
  int32_t number = 0;  // control number (negative), 0 for none
  int32_t action = 0;  // standard action, 0 for none
  bool checkable = false;
  bool checked = false;
  std::vector<MenuBarItem> children;  // kMenu only
};

// Where the choices of one menu tree go.
struct MenuOwner {
  Scheduler* scheduler = nullptr;
  FiberId thread = 0;
  uintptr_t target = 0;  // the window object that owns the menu
  // Runs a standard action; must not wait. Without one, items with a standard
  // action are posted like the others.
  std::function<void(int32_t action)> runAction;
};

// Adds one top-level entry per item to the bar (a menu for kMenu, an action for a
// lone item) and returns the actions added, so that they can be removed again.
std::vector<QAction*> AddMenuBarItems(QMenuBar& bar, const std::vector<MenuBarItem>& items,
                                      const MenuOwner& owner);

// The action carrying a control number among the bar's actions and their menus;
// null when none does.
QAction* FindMenuAction(const QMenuBar& bar, int32_t number);

// The control number an action was built for, 0 for none.
int32_t MenuActionNumber(const QAction& action);

}  // namespace rk::platform
