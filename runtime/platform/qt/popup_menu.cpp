#include "runtime/platform/qt/popup_menu.h"

#include <QAction>
#include <QCursor>
#include <QTimer>

#include "runtime/platform/qt/ansi_text.h"
#include "runtime/platform/qt/context_menu_block.h"
#include "runtime/platform/qt/scheduler.h"

namespace rk::platform {

PopupMenu::PopupMenu(const std::vector<PopupItem>& items, Scheduler& scheduler, FiberId thread)
    : scheduler_(scheduler), thread_(thread) {
  BlockContextMenus();
  AddItems(*this, items);
  // A chosen item is triggered after its menu hides, so a menu closed without a
  // choice reports 0 only once the event that hid it is fully handled.
  connect(this, &QMenu::aboutToHide, this, [this] {
    QTimer::singleShot(0, this, [this] {
      Report(0);
      deleteLater();
    });
  });
}

PopupMenu::~PopupMenu() {
  Report(0);
}

void PopupMenu::Show(QPoint globalPosition) {
  popup(globalPosition);
}

void PopupMenu::ShowAt(const QWidget* window, int x, int y) {
  QPoint point(x, y);
  Show(window ? window->mapToGlobal(point) : point);
}

void PopupMenu::ShowAtPointer() {
  Show(QCursor::pos());
}

void PopupMenu::AddItems(QMenu& menu, const std::vector<PopupItem>& items) {
  for (const PopupItem& item : items) {
    switch (item.kind) {
      case PopupItem::Kind::kSeparator:
        menu.addSeparator();
        break;
      case PopupItem::Kind::kSubmenu: {
        QMenu* submenu = menu.addMenu(FromAnsi(item.text));
        submenu->menuAction()->setEnabled(!item.greyed);
        submenu->menuAction()->setCheckable(item.checked);
        submenu->menuAction()->setChecked(item.checked);
        AddItems(*submenu, item.children);
        break;
      }
      case PopupItem::Kind::kItem: {
        QAction* action = menu.addAction(FromAnsi(item.text));
        action->setData(item.number);
        action->setEnabled(!item.greyed);
        action->setCheckable(item.checked);
        action->setChecked(item.checked);
        int32_t number = item.number;
        connect(action, &QAction::triggered, this, [this, number] {
          Report(number);
          deleteLater();
        });
        break;
      }
    }
  }
}

void PopupMenu::Report(int32_t number) {
  if (reported_) return;
  reported_ = true;
  scheduler_.Post(thread_, {MessageKind::kDialogResult, Tag(), number, nullptr});
}

}  // namespace rk::platform
