#include "runtime/platform/qt/list_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <algorithm>
#include <cstdlib>

#include "runtime/platform/qt/ansi_text.h"
#include "runtime/platform/qt/control_input_filter.h"

namespace rk::platform {
namespace {

constexpr int kFrame = 1;
constexpr int kRowPadding = 2;
constexpr int kCellMargin = 2;
constexpr int kResizeGrip = 3;  // pixels either side of a border that start a drag
constexpr int kMinimumColumn = 4;
constexpr int kNodeBox = 9;

QColor RuntimeColour(int32_t value, QColor fallback) {
  if (value < 0) return fallback;
  return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

Qt::Alignment Alignment(uint8_t justification) {
  switch (justification) {
    case 1:
    case 3:
      return Qt::AlignRight | Qt::AlignVCenter;
    case 2:
      return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
      return Qt::AlignLeft | Qt::AlignVCenter;
  }
}

// The text's place in its cell: the indent is kept from the side the text is
// justified to.
QRect TextRect(const QRect& cell, int indent, uint8_t justification) {
  QRect inside = cell.adjusted(kCellMargin, 0, -kCellMargin, 0);
  if (justification == 1 || justification == 3) return inside.adjusted(0, 0, -indent, 0);
  return inside.adjusted(indent, 0, 0, 0);
}

// The icons drawn for numbers the window has not provided: a few plain shapes
// in distinct colours, so that rows still tell their kinds apart.
QImage DefaultIcon(int32_t icon, int size) {
  static const QColor kColours[] = {QColor(0x20, 0x60, 0xC0), QColor(0xC0, 0x80, 0x20),
                                    QColor(0x30, 0x90, 0x30), QColor(0xA0, 0x30, 0x30)};
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  QColor colour = kColours[(icon - 1) % 4];
  painter.setPen(colour.darker());
  painter.setBrush(colour);
  QRectF box(1, 1, size - 2, size - 2);
  if (icon % 2) {
    painter.drawRoundedRect(box, 2, 2);
  } else {
    painter.drawEllipse(box);
  }
  return image;
}

}  // namespace

ListWidget::ListWidget(QWidget* parent) : QWidget(parent), scrollBar_(new QScrollBar(this)) {
  setObjectName("QvnList");
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

int ListWidget::TreeIndentStep() const {
  return std::max(RowHeight(), kNodeBox + 4);
}

QRect ListWidget::NodeRect(int shown) const {
  if (shown < 0 || shown >= static_cast<int>(rows_.size())) return {};
  for (size_t c = 0; c < columns_.size() && c < rows_[shown].size(); ++c) {
    const ListCellLook& cell = rows_[shown][c];
    if (!columns_[c].tree || cell.node == ListNode::kNone) continue;
    QRect row = RowRect(shown);
    int centreX =
        kFrame + columns_[c].left + std::abs(cell.level) * TreeIndentStep() + TreeIndentStep() / 2;
    return QRect(centreX - kNodeBox / 2, row.center().y() - kNodeBox / 2, kNodeBox, kNodeBox);
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
  if (event->button() == Qt::LeftButton) {
    if ((resizing_ = ResizableBorderAt(point)) >= 0) return;
    int shown = ShownRowAt(point);
    if (shown < 0) return;
    if (NodeRect(shown).adjusted(-2, -2, 2, 2).contains(point)) {
      return Report(ListInputKind::kNodeClick, shown);
    }
    Report(ListInputKind::kClick, shown);
  } else if (event->button() == Qt::RightButton) {
    int shown = ShownRowAt(point);
    if (shown >= 0) Report(ListInputKind::kRightClick, shown);
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

QImage ListWidget::IconImage(int32_t icon) const {
  int size = RowHeight() - kRowPadding;
  if (icon >= 1 && icon <= static_cast<int32_t>(icons_.size()) && !icons_[icon - 1].isNull()) {
    return icons_[icon - 1].scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  }
  return DefaultIcon(icon, size);
}

void ListWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Base));
  painter.setClipRect(RowsArea());
  for (int shown = 0; shown < static_cast<int>(rows_.size()); ++shown) PaintRow(painter, shown);
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
    painter.drawText(TextRect(cell, column.headerIndent, column.headerJustification),
                     Alignment(column.headerJustification), FromAnsi(column.header));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(cell.topRight(), cell.bottomRight());
  }
}

void ListWidget::PaintRow(QPainter& painter, int shown) const {
  const ListRowLook& row = rows_[shown];
  QRect rowRect = RowRect(shown);
  bool selected = shown == selected_;
  QColor lineColour = palette().color(QPalette::Mid);
  for (size_t c = 0; c < columns_.size(); ++c) {
    const ListColumnLook& column = columns_[c];
    if (column.width <= 0) continue;
    ListCellLook empty;
    const ListCellLook& cell = c < row.size() ? row[c] : empty;
    QRect cellRect(rowRect.left() + column.left, rowRect.top(), column.width, rowRect.height());
    QColor background =
        selected ? RuntimeColour(cell.colours[kListSelectedBackground],
                                 palette().color(QPalette::Highlight))
                 : RuntimeColour(cell.colours[kListBackground], palette().color(QPalette::Base));
    QColor foreground =
        selected ? RuntimeColour(cell.colours[kListSelectedForeground],
                                 palette().color(QPalette::HighlightedText))
                 : RuntimeColour(cell.colours[kListForeground], palette().color(QPalette::Text));
    painter.fillRect(cellRect, background);
    QRect textArea = cellRect;
    if (column.tree) {
      PaintTreeCell(painter, column, cell, cellRect, foreground);
      textArea.setLeft(cellRect.left() + (std::abs(cell.level) + 1) * TreeIndentStep());
    }
    if (column.icon && cell.icon > 0) {
      QImage icon = IconImage(cell.icon);
      painter.drawImage(textArea.left() + kCellMargin,
                        textArea.top() + (textArea.height() - icon.height()) / 2, icon);
      textArea.setLeft(textArea.left() + icon.width() + 2 * kCellMargin);
    }
    painter.setPen(foreground);
    painter.drawText(TextRect(textArea, column.indent, column.dataJustification),
                     Alignment(column.dataJustification), FromAnsi(cell.text));
    painter.setPen(lineColour);
    if (column.rightBorder) painter.drawLine(cellRect.topRight(), cellRect.bottomRight());
    if (column.underline) painter.drawLine(cellRect.bottomLeft(), cellRect.bottomRight());
  }
  if (selected && hasFocus()) {
    painter.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DotLine));
    painter.drawRect(rowRect.adjusted(0, 0, -1, -1));
  }
}

// A tree cell: dotted lines from the parent's level to the row's node, and the
// node's box with "+" (closed) or "-" (open).
void ListWidget::PaintTreeCell(QPainter& painter, const ListColumnLook&, const ListCellLook& cell,
                               const QRect& cellRect, QColor lineColour) const {
  int step = TreeIndentStep();
  int level = std::abs(cell.level);
  int centreX = cellRect.left() + level * step + step / 2;
  int centreY = cellRect.center().y();
  painter.setPen(QPen(lineColour, 1, Qt::DotLine));
  if (level > 0) {
    int parentX = centreX - step;
    painter.drawLine(parentX, cellRect.top(), parentX, cellRect.bottom());
    painter.drawLine(parentX, centreY, centreX, centreY);
  }
  painter.drawLine(centreX, centreY, centreX + step / 2, centreY);
  if (cell.node == ListNode::kNone) return;
  QRect box(centreX - kNodeBox / 2, centreY - kNodeBox / 2, kNodeBox - 1, kNodeBox - 1);
  painter.setPen(QPen(lineColour, 1, Qt::SolidLine));
  painter.fillRect(box, palette().color(QPalette::Base));
  painter.drawRect(box);
  painter.setPen(palette().color(QPalette::Text));
  painter.drawLine(box.left() + 2, centreY, box.right() - 2, centreY);
  if (cell.node == ListNode::kClosed) {
    painter.drawLine(centreX, box.top() + 2, centreX, box.bottom() - 2);
  }
}

}  // namespace rk::platform
