// Renders any widget, shown or not, to a PNG file: for tests and documentation,
// also when the program runs without a display.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

namespace rk::platform {

QImage GrabWidget(QWidget& widget);
// The window with every popup window that is open drawn over it where it
// stands (an open drop list's popup is a window of its own).
QImage GrabWithPopups(QWidget& window);
// False when the file cannot be written.
bool GrabWidgetToPng(QWidget& widget, const QString& path);

}  // namespace rk::platform
