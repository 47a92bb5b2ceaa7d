// The small controls that the runtime paints itself: a region (an invisible hot
// area), a line, a box and an image. They paint what they are given and post
// nothing on their own but a region's press; other input reaches the runtime
// through ControlInputFilter.
#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "runtime/platform/qt/metafile_reader.h"

namespace rk::platform {

// A hot area: transparent, takes mouse input only. A press calls `pressed`, which
// posts to the owning thread.
class RegionWidget : public QWidget {
 public:
  explicit RegionWidget(QWidget* parent);
  void SetPressed(std::function<void()> pressed) { pressed_ = std::move(pressed); }

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  std::function<void()> pressed_;
};

// A line from the top-left to the bottom-right corner of its rectangle; a
// rectangle one pixel high or wide gives a horizontal or vertical line.
class LineWidget : public QWidget {
 public:
  explicit LineWidget(QWidget* parent);
  void SetColor(QColor color);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor color_;
};

// A rectangle outline, optionally filled.
class BoxWidget : public QWidget {
 public:
  explicit BoxWidget(QWidget* parent);
  void SetColors(QColor border, QColor fill);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor border_;
  QColor fill_;
};

// An image drawn at its own size, or stretched over the control.
class ImageWidget : public QWidget {
 public:
  ImageWidget(QWidget* parent, bool stretch);
  void SetImage(QImage image);
  bool HasImage() const { return !image_.isNull() || page_ != nullptr; }
  // Shows a report's page file, played to the widget's size; false (and
  // nothing shown) when it cannot be read, with the reason in `error`.
  bool SetPageFile(const std::string& path, std::string& error);
  const std::string& PageFile() const { return pagePath_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage image_;
  bool stretch_;
  std::shared_ptr<const PageImage> page_;
  std::string pagePath_;
};

}  // namespace rk::platform
