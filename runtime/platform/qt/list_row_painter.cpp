#include "runtime/platform/qt/list_row_painter.h"

#include <QPainter>
#include <cmath>
#include <cstdlib>

#include "runtime/platform/qt/ansi_text.h"

namespace rk::platform {
namespace {

constexpr int kCellMargin = 2;
constexpr int kIconPadding = 2;
constexpr int kNodeBox = 9;

QColor RuntimeColour(int32_t value, QColor fallback) {
  if (value < 0) return fallback;
  return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

// The icons drawn for numbers the list has not been given: a few plain shapes
// in distinct colours, so that rows still tell their kinds apart.
QImage DefaultIcon(int32_t icon, int size, qreal ratio) {
  static const QColor kColours[] = {QColor(0x20, 0x60, 0xC0), QColor(0xC0, 0x80, 0x20),
                                    QColor(0x30, 0x90, 0x30), QColor(0xA0, 0x30, 0x30)};
  int device = static_cast<int>(std::lround(size * ratio));
  QImage image(device, device, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(ratio);
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

Qt::Alignment ListAlignment(uint8_t justification) {
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

QRect ListTextRect(const QRect& cell, int indent, uint8_t justification) {
  QRect inside = cell.adjusted(kCellMargin, 0, -kCellMargin, 0);
  if (justification == 1 || justification == 3) return inside.adjusted(0, 0, -indent, 0);
  return inside.adjusted(indent, 0, 0, 0);
}

ListRowPainter::ListRowPainter(const QPalette& palette, const std::vector<ListColumnLook>& columns,
                               const std::vector<QImage>& icons, int rowHeight,
                               qreal devicePixelRatio)
    : palette_(palette),
      columns_(columns),
      icons_(icons),
      rowHeight_(rowHeight),
      devicePixelRatio_(std::max<qreal>(devicePixelRatio, 1.0)) {}

int ListRowPainter::TreeIndentStep() const {
  return std::max(rowHeight_, kNodeBox + 4);
}

QRect ListRowPainter::NodeBox(const QRect& rowRect, int columnLeft, int32_t level) const {
  int step = TreeIndentStep();
  int centreX = rowRect.left() + columnLeft + std::abs(level) * step + step / 2;
  return QRect(centreX - kNodeBox / 2, rowRect.center().y() - kNodeBox / 2, kNodeBox, kNodeBox);
}

int ListRowPainter::IconSide() const {
  return std::max(rowHeight_ - kIconPadding, 1);
}

// Scaled to the row in device pixels, not in widget pixels: the painter would
// otherwise stretch a small image over a high-density screen and blur it.
QImage ListRowPainter::IconImage(int32_t icon) const {
  int size = IconSide();
  if (icon >= 1 && icon <= static_cast<int32_t>(icons_.size()) && !icons_[icon - 1].isNull()) {
    int device = static_cast<int>(std::lround(size * devicePixelRatio_));
    QImage image =
        icons_[icon - 1].scaled(device, device, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    image.setDevicePixelRatio(devicePixelRatio_);
    return image;
  }
  return DefaultIcon(icon, size, devicePixelRatio_);
}

void ListRowPainter::Paint(QPainter& painter, const ListRowLook& row, const QRect& rowRect,
                           bool selected) const {
  QColor lineColour = palette_.color(QPalette::Mid);
  // The selection is marked across the whole row, also beyond the last column.
  if (selected) painter.fillRect(rowRect, palette_.color(QPalette::Highlight));
  for (size_t c = 0; c < columns_.size(); ++c) {
    const ListColumnLook& column = columns_[c];
    if (column.width <= 0) continue;
    ListCellLook empty;
    const ListCellLook& cell = c < row.size() ? row[c] : empty;
    QRect cellRect(rowRect.left() + column.left, rowRect.top(), column.width, rowRect.height());
    QColor background =
        selected ? RuntimeColour(cell.colours[kListSelectedBackground],
                                 palette_.color(QPalette::Highlight))
                 : RuntimeColour(cell.colours[kListBackground], palette_.color(QPalette::Base));
    QColor foreground =
        selected ? RuntimeColour(cell.colours[kListSelectedForeground],
                                 palette_.color(QPalette::HighlightedText))
                 : RuntimeColour(cell.colours[kListForeground], palette_.color(QPalette::Text));
    painter.fillRect(cellRect, background);
    QRect textArea = cellRect;
    if (column.tree) {
      PaintTreeCell(painter, cell, cellRect, foreground);
      textArea.setLeft(cellRect.left() + (std::abs(cell.level) + 1) * TreeIndentStep());
    }
    if (column.icon && cell.icon > 0) {
      QImage icon = IconImage(cell.icon);
      QSizeF side = icon.deviceIndependentSize();
      painter.drawImage(QPointF(textArea.left() + kCellMargin,
                                textArea.top() + (textArea.height() - side.height()) / 2),
                        icon);
      textArea.setLeft(textArea.left() + static_cast<int>(std::ceil(side.width())) +
                       2 * kCellMargin);
    }
    painter.setPen(foreground);
    painter.drawText(ListTextRect(textArea, column.indent, column.dataJustification),
                     ListAlignment(column.dataJustification), FromAnsi(cell.text));
    painter.setPen(lineColour);
    if (column.rightBorder) painter.drawLine(cellRect.topRight(), cellRect.bottomRight());
    if (column.underline) painter.drawLine(cellRect.bottomLeft(), cellRect.bottomRight());
  }
}

// A tree cell: dotted lines from the parent's level to the row's node, and the
// node's box with "+" (closed) or "-" (open).
void ListRowPainter::PaintTreeCell(QPainter& painter, const ListCellLook& cell,
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
  painter.fillRect(box, palette_.color(QPalette::Base));
  painter.drawRect(box);
  painter.setPen(palette_.color(QPalette::Text));
  painter.drawLine(box.left() + 2, centreY, box.right() - 2, centreY);
  if (cell.node == ListNode::kClosed) {
    painter.drawLine(centreX, box.top() + 2, centreX, box.bottom() - 2);
  }
}

}  // namespace rk::platform
