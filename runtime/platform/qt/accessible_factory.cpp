#include "runtime/platform/qt/accessible_factory.h"

#include <QAccessible>

#include "runtime/platform/qt/entry_accessible.h"
#include "runtime/platform/qt/entry_widget.h"
#include "runtime/platform/qt/list_accessible.h"
#include "runtime/platform/qt/list_widget.h"

namespace rk::platform {
namespace {

// The widgets carry no meta-object of their own, so Qt asks under the class
// name "QWidget"; the object itself tells which one it is.
QAccessibleInterface* MakeInterface(const QString&, QObject* object) {
  if (auto* list = dynamic_cast<ListWidget*>(object)) return new ListAccessible(list);
  if (auto* entry = dynamic_cast<EntryWidget*>(object)) return new EntryAccessible(entry);
  return nullptr;
}

}  // namespace

void InstallAccessibleFactory() {
  static const bool installed = [] {
    QAccessible::installFactory(MakeInterface);
    return true;
  }();
  (void)installed;
}

}  // namespace rk::platform
