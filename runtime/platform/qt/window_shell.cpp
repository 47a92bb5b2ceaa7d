#include "runtime/platform/qt/window_shell.h"

#include <QDialog>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStyle>

#include "runtime/platform/qt/close_request_filter.h"
#include "runtime/platform/qt/context_menu_block.h"
#include "runtime/platform/qt/frame_widget.h"

namespace rk::platform {
namespace {

Qt::WindowFlags FlagsFor(const ShellStyle& style) {
  Qt::WindowFlags flags = Qt::Window;
  if (style.frameless) return flags | Qt::FramelessWindowHint;
  flags |= Qt::CustomizeWindowHint;
  if (style.caption) flags |= Qt::WindowTitleHint;
  if (style.systemMenu) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (style.maximizeBox) flags |= Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint;
  return flags;
}

class PlainShell : public WindowShell {
 public:
  explicit PlainShell(const ShellStyle& style) : resizable_(style.resizable) {
    auto* window = new QWidget(nullptr, FlagsFor(style));
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    Attach(window, window);
  }
  // A window that cannot be resized keeps its size fixed; the runtime may still
  // size it again (a menu bar or status bar added under its controls).
  void SetClientSize(int width, int height) override {
    if (!resizable_ && Outer()) {
      Outer()->setMinimumSize(0, 0);
      Outer()->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    WindowShell::SetClientSize(width, height);
    if (!resizable_ && Outer()) Outer()->setFixedSize(Outer()->size());
  }

 private:
  bool resizable_;
};

// The client area of an MDI child. Its controls are placed by the runtime, not
// by a layout, so it tells the sub-window the size the definition gives it:
// without a size hint the sub-window shrinks to its title bar when shown.
class MdiClient : public QWidget {
 public:
  void SetSize(QSize size) {
    size_ = size;
    resize(size);
    updateGeometry();
  }
  QSize sizeHint() const override { return size_.isValid() ? size_ : QWidget::sizeHint(); }

 private:
  QSize size_;
};

class MdiChildShell : public WindowShell {
 public:
  MdiChildShell(QMdiArea& area, const ShellStyle& style) {
    client_ = new MdiClient;
    QMdiSubWindow* sub = area.addSubWindow(client_, FlagsFor(style) & ~Qt::Window);
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    Attach(sub, client_);
  }
  void SetClientSize(int width, int height) override {
    if (!Client() || !Outer()) return;
    client_->SetSize(QSize(width, height));
    Client()->setMinimumSize(0, 0);
    Outer()->adjustSize();
  }
  void Activate() override {
    auto* sub = qobject_cast<QMdiSubWindow*>(Outer());
    QMdiArea* area = sub ? sub->mdiArea() : nullptr;
    if (!area) return;
    area->setActiveSubWindow(sub);
    sub->window()->activateWindow();
  }
  // One title bar down and right of the child opened last, so that a window a
  // procedure opens over another (a child browse, a form) lands over it; back
  // to the corner when that would leave the area.
  void PlaceByDefault() override {
    auto* sub = static_cast<QMdiSubWindow*>(Outer());
    if (!sub || !sub->mdiArea()) return;
    QMdiArea& area = *sub->mdiArea();
    QPoint at(0, 0);
    QList<QMdiSubWindow*> children = area.subWindowList(QMdiArea::CreationOrder);
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
      if (*it == sub || !(*it)->isVisible()) continue;
      int step = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub);
      at = (*it)->pos() + QPoint(step, step);
      break;
    }
    QSize room = area.viewport()->size();
    if (at.x() + sub->width() > room.width() || at.y() + sub->height() > room.height()) {
      at = QPoint(0, 0);
    }
    sub->move(at);
  }

 private:
  MdiClient* client_;
};

// A dialog nested in another dialog goes wherever that one goes.
bool InsideAnotherDialog(const QWidget& dialog, const QWidget& going) {
  for (QWidget* up = dialog.parentWidget(); up && up != &going; up = up->parentWidget()) {
    if (qobject_cast<QDialog*>(up)) return true;
  }
  return false;
}

// The dialogs a window owns outlive it: a runtime thread waits for their answer,
// and only the person may give it. They move to the frame, or stand alone when
// the frame is what goes.
void RehomeDialogs(QWidget& going) {
  QWidget* frame = FrameWidget::Current();
  if (frame && (frame == &going || going.isAncestorOf(frame))) frame = nullptr;
  for (QDialog* dialog : going.findChildren<QDialog*>()) {
    if (!dialog->isWindow() || InsideAnotherDialog(*dialog, going)) continue;
    bool shown = dialog->isVisible();
    dialog->setParent(frame, dialog->windowFlags());
    if (shown) dialog->show();
  }
}

}  // namespace

WindowShell::~WindowShell() {
  if (!outer_) return;
  RehomeDialogs(*outer_);
  // The outer widget owns the client; deleting it removes an MDI child from its area.
  delete outer_.data();
}

void WindowShell::Activate() {
  BringToTop();
}

void WindowShell::SetInputEnabled(bool enabled) {
  if (!outer_) return;
  EnableWidgets(enabled);
  for (QObject* child : outer_->children()) {
    if (auto* filter = dynamic_cast<CloseRequestFilter*>(child)) filter->SetRefusing(!enabled);
  }
}

void WindowShell::EnableWidgets(bool enabled) {
  outer_->setEnabled(enabled);
}

void WindowShell::Attach(QWidget* outer, QWidget* client) {
  BlockContextMenus();
  outer_ = outer;
  client_ = client;
}

void WindowShell::SetTitle(const QString& title) {
  if (outer_) outer_->setWindowTitle(title);
}

void WindowShell::SetClientSize(int width, int height) {
  if (client_) client_->resize(width, height);
}

void WindowShell::MoveTo(int x, int y) {
  if (outer_) outer_->move(x, y);
}

void WindowShell::Show(bool maximized, bool minimized) {
  if (!outer_) return;
  if (maximized) {
    outer_->showMaximized();
  } else if (minimized) {
    outer_->showMinimized();
  } else {
    outer_->show();
  }
}

void WindowShell::BringToTop() {
  if (!outer_) return;
  outer_->raise();
  outer_->activateWindow();
}

std::unique_ptr<WindowShell> MakePlainShell(const ShellStyle& style) {
  return std::make_unique<PlainShell>(style);
}

FrameShell::FrameShell(const ShellStyle& style) {
  auto* window = new FrameWidget;
  window->setWindowFlags(FlagsFor(style));
  area_ = &window->Client();
  Attach(window, area_);
}

QMainWindow* FrameShell::MainWindow() const {
  return static_cast<QMainWindow*>(Outer());
}

void FrameShell::SetClientSize(int width, int height) {
  if (Outer()) Outer()->resize(width, height);
}

void FrameShell::EnableWidgets(bool enabled) {
  if (QMainWindow* main = MainWindow()) main->menuBar()->setEnabled(enabled);
}

std::unique_ptr<WindowShell> MakeMdiChildShell(FrameShell& frame, const ShellStyle& style) {
  if (!frame.Area()) return nullptr;
  return std::make_unique<MdiChildShell>(*frame.Area(), style);
}

}  // namespace rk::platform
