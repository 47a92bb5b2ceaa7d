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

class ListRowPainter {
 public:
  ListRowPainter(const QPalette& palette, const std::vector<ListColumnLook>& columns,
                 const std::vector<QImage>& icons, int rowHeight);

  // The horizontal step of one tree level.
  int TreeIndentStep() const;
  // The node box of a tree cell at `level` whose column starts at `columnLeft`,
  // in a row drawn at `rowRect`.
  QRect NodeBox(const QRect& rowRect, int columnLeft, int32_t level) const;
  // Paints `row` into `rowRect`; columns are placed from rowRect's left edge.
  void Paint(QPainter& painter, const ListRowLook& row, const QRect& rowRect, bool selected) const;

 private:
  void PaintTreeCell(QPainter& painter, const ListCellLook& cell, const QRect& cellRect,
                     QColor lineColour) const;
  QImage IconImage(int32_t icon) const;

  const QPalette& palette_;
  const std::vector<ListColumnLook>& columns_;
  const std::vector<QImage>& icons_;
  int rowHeight_;
};

}  // namespace rk::platform
