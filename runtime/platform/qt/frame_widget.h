// The application frame on the display: a main window whose client area holds the
// MDI children, with the frame's menu bar, the menus of the active child merged
// into it, and a status bar of zones. There is at most one frame at a time.
//
// The widget only shows and arranges; closing it, like choosing its menu items,
// becomes a request to the runtime thread that owns it.
#pragma once

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <map>
#include <vector>

#include "runtime/platform/qt/menu_bar_builder.h"
#include "runtime/platform/qt/status_zones.h"

namespace rk::platform {

class FrameWidget : public QMainWindow {
 public:
  FrameWidget();
  ~FrameWidget() override;

  // The open frame, null when there is none.
  static FrameWidget* Current();

  QMdiArea& Client() { return *client_; }

  // Replaces the frame's own menus (the merged menus of the active child stay after them).
  void SetMenu(const std::vector<MenuBarItem>& items, const MenuOwner& owner);
  // Gives a child menus that join the frame's while the child is active; an
  // empty list takes them away again.
  void SetChildMenu(QMdiSubWindow& child, const std::vector<MenuBarItem>& items,
                    const MenuOwner& owner);
  // A child's merged menus are enabled while the child is: a child that takes
  // no input takes no menu choices either.

  // Zone widths in pixels (see StatusZones); replaces the zones there were.
  void SetStatusZones(const std::vector<int>& widthsInPixels);
  StatusZones& Zones() { return *zones_; }

  // Adds a child window around `content`, which the child then owns.
  QMdiSubWindow* AddChild(QWidget* content);

  // Arrangement of the children. Tiling "vertically" sets them side by side in
  // columns, "horizontally" one above the other in rows; minimized children keep
  // their icons.
  void TileVertically();
  void TileHorizontally();
  void Cascade();
  // Lines the minimized children up along the bottom edge, from the left.
  void ArrangeIcons();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct ChildMenu {
    std::vector<MenuBarItem> items;
    MenuOwner owner;
  };

  std::vector<QMdiSubWindow*> ArrangeableChildren() const;
  void Tile(bool inColumns);
  void MergeMenusOf(QMdiSubWindow* child);
  void RemoveMergedMenus();
  void ForgetChild(QObject* child);
  void EnableMergedMenus();

  QMdiArea* client_;
  StatusZones* zones_ = nullptr;
  std::vector<QAction*> mergedActions_;
  std::map<QObject*, ChildMenu> childMenus_;
  QPointer<QMdiSubWindow> merged_;
};

}  // namespace rk::platform
