#include "runtime/platform/qt/list_widget.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>

#include "runtime/platform/qt/accessible_factory.h"
#include "runtime/platform/qt/ansi_text.h"
#include "runtime/platform/qt/control_input_filter.h"
#include "runtime/platform/qt/list_row_painter.h"

namespace rk::platform {
namespace {

constexpr int kFrame = 1;
constexpr int kRowPadding = 2;
constexpr int kResizeGrip = 3;  // pixels either side of a border that start a drag
constexpr int kMinimumColumn = 4;
constexpr int kWheelNotch = 120;  // angle delta of one notch of the wheel
constexpr int kLinesPerNotch = 3;

}  // namespace

ListWidget::ListWidget(QWidget* parent) : QWidget(parent), scrollBar_(new QScrollBar(this)) {
  setObjectName("QvnList");
  InstallAccessibleFactory();
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  scrollBar_->setOrientation(Qt::Vertical);
  scrollBar_->setFocusPolicy(Qt::NoFocus);
  connect(scrollBar_, &QScrollBar::actionTriggered, this,
          [this](int action) { ScrollBarAction(action); });
  connect(scrollBar_, &QScrollBar::sliderReleased, this, [this] {
    if (!scrollsItself_) Report(ListInputKind::kThumbReleased, scrollBar_->sliderPosition());
  });
  connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int value) {
    if (scrollsItself_ && !settingScrollBar_) Report(ListInputKind::kScrolledTo, value);
  });
}

void ListWidget::SetInputHandler(std::function<void(const ListInput&)> handler) {
  handler_ = std::move(handler);
}

void ListWidget::SetColumns(std::vector<ListColumnLook> columns) {
  columns_ = std::move(columns);
  update();
}

void ListWidget::SetRows(std::vector<ListRowLook> rows, int selected) {
  rows_ = std::move(rows);
  selected_ = selected;
  update();
}

void ListWidget::SetIcons(std::vector<QImage> icons) {
  icons_ = std::move(icons);
  update();
}

void ListWidget::SetScrollBar(bool shown, int maximum, int position, int page) {
  settingScrollBar_ = true;
  scrollBar_->setRange(0, std::max(maximum, 0));
  scrollBar_->setPageStep(std::max(page, 1));
  scrollBar_->setValue(position);
  settingScrollBar_ = false;
  if (shown != ScrollBarShown()) {
    scrollBar_->setVisible(shown);
    update();
  }
}

void ListWidget::Report(ListInputKind kind, int32_t value, uint8_t character) {
  if (handler_) handler_({kind, value, character});
}

// The program carries out a program-scrolled list's scrolling, so the bar
// snaps back to where the program put it; only a drag keeps the thumb moving
// until it is released.
void ListWidget::ScrollBarAction(int action) {
  if (scrollsItself_) return;
  ListScrollAction scroll;
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      scroll = kScrollLineUp;
      break;
    case QAbstractSlider::SliderSingleStepAdd:
      scroll = kScrollLineDown;
      break;
    case QAbstractSlider::SliderPageStepSub:
      scroll = kScrollPageUp;
      break;
    case QAbstractSlider::SliderPageStepAdd:
      scroll = kScrollPageDown;
      break;
    case QAbstractSlider::SliderToMinimum:
      scroll = kScrollToTop;
      break;
    case QAbstractSlider::SliderToMaximum:
      scroll = kScrollToBottom;
      break;
    default:
      return;  // a drag: reported when the thumb is released
  }
  scrollBar_->setSliderPosition(scrollBar_->value());
  Report(ListInputKind::kScrollAction, scroll);
}

int ListWidget::RowHeight() const {
  return fontMetrics().height() + kRowPadding;
}

int ListWidget::HeaderHeight() const {
  bool any = std::any_of(columns_.begin(), columns_.end(),
                         [](const ListColumnLook& column) { return !column.header.empty(); });
  return any ? RowHeight() + kRowPadding : 0;
}

QRect ListWidget::RowsArea() const {
  int right = width() - kFrame - (ScrollBarShown() ? scrollBar_->width() : 0);
  int top = kFrame + HeaderHeight();
  return QRect(QPoint(kFrame, top), QPoint(right - 1, height() - kFrame - 1));
}

int ListWidget::WholeRowsShown() const {
  return std::max(RowsArea().height(), 0) / RowHeight();
}

QRect ListWidget::RowRect(int shown) const {
  QRect area = RowsArea();
  return QRect(area.left(), area.top() + shown * RowHeight(), area.width(), RowHeight());
}

ListRowPainter ListWidget::RowPainter() const {
  return ListRowPainter(palette(), columns_, icons_, RowHeight(), devicePixelRatioF());
}

QRect ListWidget::NodeRect(int shown) const {
  if (shown < 0 || shown >= static_cast<int>(rows_.size())) return {};
  for (size_t c = 0; c < columns_.size() && c < rows_[shown].size(); ++c) {
    const ListCellLook& cell = rows_[shown][c];
    if (!columns_[c].tree || cell.node == ListNode::kNone) continue;
    return RowPainter().NodeBox(RowRect(shown), columns_[c].left, cell.level);
  }
  return {};
}

ListNode ListWidget::NodeOf(int shown) const {
  if (shown < 0 || shown >= static_cast<int>(rows_.size())) return ListNode::kNone;
  for (size_t c = 0; c < columns_.size() && c < rows_[shown].size(); ++c) {
    if (columns_[c].tree) return rows_[shown][c].node;
  }
  return ListNode::kNone;
}

int ListWidget::ShownRowAt(QPoint point) const {
  QRect area = RowsArea();
  if (!area.contains(point)) return -1;
  int shown = (point.y() - area.top()) / RowHeight();
  return shown < static_cast<int>(rows_.size()) ? shown : -1;
}

int ListWidget::ResizableBorderAt(QPoint point) const {
  if (point.y() >= kFrame + HeaderHeight()) return -1;
  for (size_t c = 0; c < columns_.size(); ++c) {
    const ListColumnLook& column = columns_[c];
    int border = kFrame + column.left + column.width;
    if (column.resizable && std::abs(point.x() - border) <= kResizeGrip) {
      return static_cast<int>(c);
    }
  }
  return -1;
}

void ListWidget::resizeEvent(QResizeEvent*) {
  int barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  scrollBar_->setGeometry(width() - kFrame - barWidth, kFrame, barWidth,
                          std::max(height() - 2 * kFrame, 0));
}

void ListWidget::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
    return QWidget::keyPressEvent(event);  // focus moves on as usual
  }
  std::string typed = ToAnsi(event->text());
  uint8_t character = typed.size() == 1 ? static_cast<uint8_t>(typed[0]) : 0;
  int32_t code = RuntimeKeyCode(*event);
  if (code != 0 || character != 0) Report(ListInputKind::kKey, code, character);
  event->accept();
}

void ListWidget::mousePressEvent(QMouseEvent* event) {
  QPoint point = event->position().toPoint();
  // Only a popup sees presses outside itself; the base class closes it.
  if (!rect().contains(point)) return QWidget::mousePressEvent(event);
  if (event->button() == Qt::LeftButton) {
    if ((resizing_ = ResizableBorderAt(point)) >= 0) return;
    int shown = ShownRowAt(point);
    if (shown < 0) return;
    if (NodeRect(shown).adjusted(-2, -2, 2, 2).contains(point)) {
      return Report(ListInputKind::kNodeClick, shown);
    }
    Report(ListInputKind::kClick, shown);
  } else if (event->button() == Qt::RightButton) {
    // Below the last row the click names the first row past the end.
    if (!RowsArea().contains(point)) return;
    int shown = ShownRowAt(point);
    Report(ListInputKind::kRightClick, shown >= 0 ? shown : static_cast<int>(rows_.size()));
  }
}

void ListWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  int shown = ShownRowAt(event->position().toPoint());
  if (event->button() == Qt::LeftButton && shown >= 0 &&
      !NodeRect(shown).contains(event->position().toPoint())) {
    Report(ListInputKind::kDoubleClick, shown);
  }
}

void ListWidget::mouseMoveEvent(QMouseEvent* event) {
  QPoint point = event->position().toPoint();
  if (resizing_ < 0) {
    setCursor(ResizableBorderAt(point) >= 0 ? Qt::SplitHCursor : Qt::ArrowCursor);
    return;
  }
  // The columns after the dragged one move with its border.
  ListColumnLook& column = columns_[resizing_];
  int width = std::max(point.x() - kFrame - column.left, kMinimumColumn);
  int shift = width - column.width;
  column.width = width;
  for (size_t c = resizing_ + 1; c < columns_.size(); ++c) columns_[c].left += shift;
  update();
}

void ListWidget::mouseReleaseEvent(QMouseEvent*) {
  resizing_ = -1;
}

// The wheel scrolls a list that scrolls itself through its scroll bar; for a
// program-scrolled list each notch asks for three lines.
void ListWidget::wheelEvent(QWheelEvent* event) {
  event->accept();
  if (scrollsItself_) {
    QApplication::sendEvent(scrollBar_, event);
    return;
  }
  int notches = event->angleDelta().y() / kWheelNotch;
  ListScrollAction line = notches > 0 ? kScrollLineUp : kScrollLineDown;
  for (int i = 0; i < std::abs(notches) * kLinesPerNotch; ++i) {
    Report(ListInputKind::kScrollAction, line);
  }
}

void ListWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Base));
  painter.setClipRect(RowsArea());
  ListRowPainter rowPainter = RowPainter();
  for (int shown = 0; shown < static_cast<int>(rows_.size()); ++shown) {
    rowPainter.Paint(painter, rows_[shown], RowRect(shown), shown == selected_);
  }
  if (selected_ >= 0 && selected_ < static_cast<int>(rows_.size()) && hasFocus()) {
    painter.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DotLine));
    painter.drawRect(RowRect(selected_).adjusted(0, 0, -1, -1));
  }
  painter.setClipping(false);
  PaintHeader(painter);
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ListWidget::PaintHeader(QPainter& painter) const {
  int height = HeaderHeight();
  if (height == 0) return;
  QRect area(kFrame, kFrame, RowsArea().width(), height);
  painter.fillRect(area, palette().color(QPalette::Button));
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawLine(area.bottomLeft(), area.bottomRight());
  for (const ListColumnLook& column : columns_) {
    if (column.width <= 0) continue;
    QRect cell(kFrame + column.left, kFrame, column.width, height - 1);
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(ListTextRect(cell, column.headerIndent, column.headerJustification),
                     ListAlignment(column.headerJustification), FromAnsi(column.header));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(cell.topRight(), cell.bottomRight());
  }
}

}  // namespace rk::platform
