#include "runtime/platform/qt/context_menu_block.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>

namespace rk::platform {
namespace {

class ContextMenuBlock : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::ContextMenu) return QObject::eventFilter(watched, event);
    // Accepted and filtered: the event does not travel on to the parents either.
    event->accept();
    return true;
  }
};

}  // namespace

void BlockContextMenus() {
  // A child of the application: it goes with it, and a new application gets a new one.
  static QPointer<ContextMenuBlock> block;
  QCoreApplication* application = QCoreApplication::instance();
  if (block || !application) return;
  block = new ContextMenuBlock(application);
  application->installEventFilter(block);
}

}  // namespace rk::platform
