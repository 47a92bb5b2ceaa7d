#include "runtime/platform/qt/widget_grab.h"

#include <QPixmap>

namespace rk::platform {

QImage GrabWidget(QWidget& widget) {
  // grab() lays out and polishes the widget first, so hidden widgets render too.
  return widget.grab().toImage();
}

bool GrabWidgetToPng(QWidget& widget, const QString& path) {
  return GrabWidget(widget).save(path, "PNG");
}

}  // namespace rk::platform
