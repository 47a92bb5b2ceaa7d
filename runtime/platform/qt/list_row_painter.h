// Draws one row of a list: each column's cell with its colours, tree lines and
// node box, icon and text. The list widget paints its rows with it and a drop
// list's face paints its current choice the same way, so both look alike.
#pragma once

#include <QColor>
#include <QImage>
#include <QPalette>
#include <QRect>
#include <vector>

#include "runtime/platform/qt/list_looks.h"

class QPainter;

namespace rk::platform {

// Where a text goes in its cell and how it is aligned there: the indent is kept
// from the side the text is justified to ("D" is drawn right-justified).
QRect ListTextRect(const QRect& cell, int indent, uint8_t justification);
Qt::Alignment ListAlignment(uint8_t justification);

// Sizes are in the widget's device-independent pixels; images are made at the
// screen's device pixel ratio, so icons stay sharp on high-density screens.
class ListRowPainter {
 public:
  ListRowPainter(const QPalette& palette, const std::vector<ListColumnLook>& columns,
                 const std::vector<QImage>& icons, int rowHeight, qreal devicePixelRatio);

  // The horizontal step of one tree level.
  int TreeIndentStep() const;
  // The node box of a tree cell at `level` whose column starts at `columnLeft`,
  // in a row drawn at `rowRect`.
  QRect NodeBox(const QRect& rowRect, int columnLeft, int32_t level) const;
  // Paints `row` into `rowRect`; columns are placed from rowRect's left edge.
  void Paint(QPainter& painter, const ListRowLook& row, const QRect& rowRect, bool selected) const;
  // Icon `icon` (1-based) as a row shows it: a square that fits the row, in
  // device pixels at the painter's ratio; a default shape for icons not given.
  QImage IconImage(int32_t icon) const;
  // The side of that square in device-independent pixels.
  int IconSide() const;

 private:
  void PaintTreeCell(QPainter& painter, const ListCellLook& cell, const QRect& cellRect,
                     QColor lineColour) const;

  const QPalette& palette_;
  const std::vector<ListColumnLook>& columns_;
  const std::vector<QImage>& icons_;
  int rowHeight_;
  qreal devicePixelRatio_;
};

}  // namespace rk::platform
