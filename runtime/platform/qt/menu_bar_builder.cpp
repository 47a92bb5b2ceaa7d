#include "runtime/platform/qt/menu_bar_builder.h"

#include <memory>

#include "runtime/platform/qt/ansi_text.h"
#include "runtime/platform/qt/scheduler.h"

namespace rk::platform {
namespace {

constexpr char kNumberProperty[] = "rkControlNumber";

// The owner is shared by every action of one build; the actions keep it alive.
using SharedOwner = std::shared_ptr<const MenuOwner>;

void Wire(QAction& action, const MenuBarItem& item, const SharedOwner& owner) {
  action.setProperty(kNumberProperty, item.number);
  action.setStatusTip(FromAnsi(item.status));
  if (item.checkable) {
    action.setCheckable(true);
    action.setChecked(item.checked);
  }
  int32_t number = item.number;
  int32_t standardAction = item.action;
  QObject::connect(&action, &QAction::triggered, &action, [owner, number, standardAction] {
    if (standardAction != 0 && owner->runAction) {
      owner->runAction(standardAction);
      return;
    }
    if (owner->scheduler && number != 0) {
      owner->scheduler->Post(owner->thread,
                             {MessageKind::kMenuCommand, owner->target, number, nullptr});
    }
  });
}

void FillMenu(QMenu& menu, const std::vector<MenuBarItem>& items, const SharedOwner& owner);

QMenu* MakeMenu(QWidget* parent, const MenuBarItem& item, const SharedOwner& owner) {
  auto* menu = new QMenu(FromAnsi(item.text), parent);
  menu->menuAction()->setProperty(kNumberProperty, item.number);
  menu->menuAction()->setStatusTip(FromAnsi(item.status));
  FillMenu(*menu, item.children, owner);
  return menu;
}

void FillMenu(QMenu& menu, const std::vector<MenuBarItem>& items, const SharedOwner& owner) {
  for (const MenuBarItem& item : items) {
    switch (item.kind) {
      case MenuBarItem::Kind::kSeparator:
        menu.addSeparator();
        break;
      case MenuBarItem::Kind::kMenu:
        menu.addMenu(MakeMenu(&menu, item, owner));
        break;
      case MenuBarItem::Kind::kItem:
        Wire(*menu.addAction(FromAnsi(item.text)), item, owner);
        break;
    }
  }
}

QAction* FindIn(const QList<QAction*>& actions, int32_t number) {
  for (QAction* action : actions) {
    if (MenuActionNumber(*action) == number) return action;
    if (QMenu* menu = action->menu()) {
      if (QAction* found = FindIn(menu->actions(), number)) return found;
    }
  }
  return nullptr;
}

}  // namespace

std::vector<QAction*> AddMenuBarItems(QMenuBar& bar, const std::vector<MenuBarItem>& items,
                                      const MenuOwner& owner) {
  auto shared = std::make_shared<const MenuOwner>(owner);
  std::vector<QAction*> added;
  for (const MenuBarItem& item : items) {
    switch (item.kind) {
      case MenuBarItem::Kind::kSeparator:
        added.push_back(bar.addSeparator());
        break;
      case MenuBarItem::Kind::kMenu:
        added.push_back(bar.addMenu(MakeMenu(&bar, item, shared)));
        break;
      case MenuBarItem::Kind::kItem: {
        QAction* action = bar.addAction(FromAnsi(item.text));
        Wire(*action, item, shared);
        added.push_back(action);
        break;
      }
    }
  }
  return added;
}

QAction* FindMenuAction(const QMenuBar& bar, int32_t number) {
  if (number == 0) return nullptr;
  return FindIn(bar.actions(), number);
}

int32_t MenuActionNumber(const QAction& action) {
  return action.property(kNumberProperty).toInt();
}

}  // namespace rk::platform
