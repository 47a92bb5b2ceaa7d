#include "runtime/platform/qt/widget_grab.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>

namespace rk::platform {

QImage GrabWidget(QWidget& widget) {
  // grab() lays out and polishes the widget first, so hidden widgets render too.
  return widget.grab().toImage();
}

QImage GrabWithPopups(QWidget& window) {
  QImage image = GrabWidget(window);
  QPainter painter(&image);
  QPoint origin = window.mapToGlobal(QPoint(0, 0));
  for (QWidget* popup : QApplication::topLevelWidgets()) {
    if (popup->windowType() != Qt::Popup || !popup->isVisible()) continue;
    painter.drawImage(popup->mapToGlobal(QPoint(0, 0)) - origin, GrabWidget(*popup));
  }
  return image;
}

bool GrabWidgetToPng(QWidget& widget, const QString& path) {
  return GrabWidget(widget).save(path, "PNG");
}

}  // namespace rk::platform
