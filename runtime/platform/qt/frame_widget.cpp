#include "runtime/platform/qt/frame_widget.h"

#include <QEvent>
#include <QMenuBar>
#include <QStatusBar>
#include <algorithm>

#include "runtime/platform/qt/shutdown_refusal.h"

namespace rk::platform {
namespace {

FrameWidget* currentFrame = nullptr;

}  // namespace

FrameWidget::FrameWidget() : client_(new QMdiArea(this)) {
  setObjectName("MDICLIENT");
  client_->setObjectName("MDICLIENT");
  setCentralWidget(client_);
  SetStatusZones({});
  connect(client_, &QMdiArea::subWindowActivated, this,
          [this](QMdiSubWindow* child) { MergeMenusOf(child); });
  RefuseShutdownWhile(*this);
  currentFrame = this;
}

FrameWidget::~FrameWidget() {
  if (currentFrame == this) currentFrame = nullptr;
  // The children go only after this object's members: their signals must not
  // reach it any more.
  disconnect(client_, nullptr, this, nullptr);
  for (const auto& [child, menu] : childMenus_) {
    disconnect(child, nullptr, this, nullptr);
    child->removeEventFilter(this);
  }
}

FrameWidget* FrameWidget::Current() {
  return currentFrame;
}

void FrameWidget::SetMenu(const std::vector<MenuBarItem>& items, const MenuOwner& owner) {
  RemoveMergedMenus();
  QMenuBar* bar = menuBar();
  bar->clear();
  AddMenuBarItems(*bar, items, owner);
  QMdiSubWindow* active = merged_;
  merged_ = nullptr;
  MergeMenusOf(active);
}

void FrameWidget::SetChildMenu(QMdiSubWindow& child, const std::vector<MenuBarItem>& items,
                               const MenuOwner& owner) {
  if (items.empty()) {
    ForgetChild(&child);
    return;
  }
  bool known = childMenus_.count(&child) != 0;
  childMenus_[&child] = {items, owner};
  if (!known) {
    connect(&child, &QObject::destroyed, this, [this](QObject* gone) { ForgetChild(gone); });
    child.installEventFilter(this);
  }
  if (client_->activeSubWindow() == &child || merged_ == &child) {
    merged_ = nullptr;
    MergeMenusOf(&child);
  }
}

void FrameWidget::ForgetChild(QObject* child) {
  childMenus_.erase(child);
  // A child being destroyed has already cleared the guard that names it.
  if (merged_ == child || merged_.isNull()) {
    RemoveMergedMenus();
    merged_ = nullptr;
  }
}

void FrameWidget::RemoveMergedMenus() {
  QMenuBar* bar = menuBar();
  for (QAction* action : mergedActions_) {
    bar->removeAction(action);
    if (QMenu* menu = action->menu()) menu->deleteLater();
    action->deleteLater();
  }
  mergedActions_.clear();
}

void FrameWidget::MergeMenusOf(QMdiSubWindow* child) {
  if (child && child == merged_ && !mergedActions_.empty()) return;
  RemoveMergedMenus();
  merged_ = child;
  auto found = child ? childMenus_.find(child) : childMenus_.end();
  if (found == childMenus_.end()) return;
  mergedActions_ = AddMenuBarItems(*menuBar(), found->second.items, found->second.owner);
  EnableMergedMenus();
}

void FrameWidget::EnableMergedMenus() {
  bool enabled = !merged_ || merged_->isEnabled();
  for (QAction* action : mergedActions_) action->setEnabled(enabled);
}

bool FrameWidget::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::EnabledChange && watched == merged_) EnableMergedMenus();
  return QMainWindow::eventFilter(watched, event);
}

void FrameWidget::SetStatusZones(const std::vector<int>& widthsInPixels) {
  QStatusBar* bar = new QStatusBar(this);
  setStatusBar(bar);  // deletes the old bar and its zones
  zones_ = new StatusZones(*bar, widthsInPixels);
}

QMdiSubWindow* FrameWidget::AddChild(QWidget* content) {
  QMdiSubWindow* child = client_->addSubWindow(content);
  child->setAttribute(Qt::WA_DeleteOnClose);
  return child;
}

std::vector<QMdiSubWindow*> FrameWidget::ArrangeableChildren() const {
  std::vector<QMdiSubWindow*> children;
  for (QMdiSubWindow* child : client_->subWindowList(QMdiArea::CreationOrder)) {
    if (child->isVisible() && !child->isMinimized()) children.push_back(child);
  }
  return children;
}

void FrameWidget::Tile(bool inColumns) {
  std::vector<QMdiSubWindow*> children = ArrangeableChildren();
  if (children.empty()) return;
  QRect area = client_->viewport()->rect();
  int count = static_cast<int>(children.size());
  for (int i = 0; i < count; ++i) {
    QMdiSubWindow* child = children[i];
    if (child->isMaximized()) child->showNormal();
    QRect place;
    if (inColumns) {
      int left = area.width() * i / count;
      int right = area.width() * (i + 1) / count;
      place = QRect(left, 0, right - left, area.height());
    } else {
      int top = area.height() * i / count;
      int bottom = area.height() * (i + 1) / count;
      place = QRect(0, top, area.width(), bottom - top);
    }
    child->setGeometry(place);
  }
}

void FrameWidget::TileVertically() {
  Tile(true);
}

void FrameWidget::TileHorizontally() {
  Tile(false);
}

void FrameWidget::Cascade() {
  client_->cascadeSubWindows();
}

void FrameWidget::ArrangeIcons() {
  QRect area = client_->viewport()->rect();
  int x = 0;
  int y = area.height();
  for (QMdiSubWindow* child : client_->subWindowList(QMdiArea::CreationOrder)) {
    if (!child->isVisible() || !child->isMinimized()) continue;
    QSize size = child->size();
    if (x > 0 && x + size.width() > area.width()) {  // next row up
      x = 0;
      y -= size.height();
    }
    child->move(x, std::max(0, y - size.height()));
    x += size.width();
  }
}

}  // namespace rk::platform
