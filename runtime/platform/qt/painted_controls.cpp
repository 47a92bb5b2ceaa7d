#include "runtime/platform/qt/painted_controls.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

#include "runtime/platform/qt/metafile_player.h"

namespace rk::platform {

RegionWidget::RegionWidget(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_NoSystemBackground);
  setAttribute(Qt::WA_TranslucentBackground);
}

void RegionWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && pressed_) pressed_();
  QWidget::mousePressEvent(event);
}

LineWidget::LineWidget(QWidget* parent)
    : QWidget(parent), color_(palette().color(QPalette::WindowText)) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineWidget::SetColor(QColor color) {
  color_ = color;
  update();
}

void LineWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(color_);
  int right = width() - 1;
  int bottom = height() - 1;
  if (height() <= 1) {
    painter.drawLine(0, 0, right, 0);
  } else if (width() <= 1) {
    painter.drawLine(0, 0, 0, bottom);
  } else {
    painter.drawLine(0, 0, right, bottom);
  }
}

BoxWidget::BoxWidget(QWidget* parent)
    : QWidget(parent), border_(palette().color(QPalette::WindowText)), fill_(Qt::transparent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void BoxWidget::SetColors(QColor border, QColor fill) {
  border_ = border;
  fill_ = fill;
  update();
}

void BoxWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(border_);
  painter.setBrush(fill_);
  painter.drawRect(0, 0, width() - 1, height() - 1);
}

ImageWidget::ImageWidget(QWidget* parent, bool stretch) : QWidget(parent), stretch_(stretch) {}

void ImageWidget::SetImage(QImage image) {
  image_ = std::move(image);
  update();
}

bool ImageWidget::SetPageFile(const std::string& path, std::string& error) {
  page_.reset();
  pagePath_.clear();
  image_ = QImage();
  auto bytes = ReadWholeFile(path, error);
  auto page = bytes ? ReadPageImage(*bytes, error) : std::nullopt;
  update();
  if (!page) return false;
  page_ = std::make_shared<const PageImage>(std::move(*page));
  pagePath_ = path;
  return true;
}

void ImageWidget::paintEvent(QPaintEvent*) {
  if (page_) {
    // A page is paper: white under the play, whatever the window's colour.
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    std::string error;
    PlayPageImage(*page_, painter, QRectF(rect()), error);
    return;
  }
  if (image_.isNull()) return;
  QPainter painter(this);
  if (stretch_) {
    painter.drawImage(rect(), image_);
  } else {
    painter.drawImage(0, 0, image_);
  }
}

}  // namespace rk::platform
