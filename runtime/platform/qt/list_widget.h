// The list box widget (window class QvnList): a header row, columns laid out by
// the list control, the rows the control hands over, the selection and a
// vertical scroll bar. It paints what it is given and reports input through one
// callback; it never moves its selection or its rows by itself. The one thing
// it changes on its own is a resizable column's width, dragged by the header's
// border.
//
// Colours are the runtime's 0x00BBGGRR numbers; -1 stands for the widget's
// default of that colour.
#pragma once

#include <QImage>
#include <QScrollBar>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "runtime/platform/qt/list_input.h"

namespace rk::platform {

// The four colours of a cell, in the order of a column's colour fields.
enum ListColour : uint8_t {
  kListForeground = 0,
  kListBackground = 1,
  kListSelectedForeground = 2,
  kListSelectedBackground = 3,
};

struct ListColumnLook {
  int left = 0;  // pixels from the list's left edge
  int width = 0;
  int indent = 0;
  int headerIndent = 0;
  uint8_t dataJustification = 0;  // 0 left, 1 right, 2 centre, 3 decimal (drawn right)
  uint8_t headerJustification = 0;
  std::string header;  // ANSI; empty: no header text
  bool rightBorder = false;
  bool underline = false;
  bool resizable = false;
  bool tree = false;
  bool icon = false;
};

// Node boxes of tree rows.
enum class ListNode : int8_t { kNone, kClosed, kOpen };

struct ListCellLook {
  std::string text;  // ANSI, already formatted
  std::array<int32_t, 4> colours{-1, -1, -1, -1};
  int32_t icon = 0;  // 1-based into the icon list; 0 none
  int32_t level = 0;
  ListNode node = ListNode::kNone;
};

using ListRowLook = std::vector<ListCellLook>;  // one cell per column

class ListWidget : public QWidget {
 public:
  explicit ListWidget(QWidget* parent);

  void SetInputHandler(std::function<void(const ListInput&)> handler);
  void SetColumns(std::vector<ListColumnLook> columns);
  const std::vector<ListColumnLook>& Columns() const { return columns_; }
  // The rows shown from the top; `selected` is the index of the selected one
  // among them, -1 when it is not shown.
  void SetRows(std::vector<ListRowLook> rows, int selected);
  // Icon n of the list is icons[n - 1]; numbers beyond the list draw a default.
  void SetIcons(std::vector<QImage> icons);

  // The scroll bar: shown or not, its range and thumb position.
  void SetScrollBar(bool shown, int maximum, int position, int page);
  bool ScrollBarShown() const { return !scrollBar_->isHidden(); }
  // A list that scrolls itself reports where the user moved the scroll bar
  // (kScrolledTo); otherwise the bar stays put and reports the action
  // (kScrollAction, kThumbReleased) for the program to carry out.
  void SetScrollsItself(bool itself) { scrollsItself_ = itself; }
  QScrollBar& ScrollBar() { return *scrollBar_; }

  int RowHeight() const;
  int HeaderHeight() const;
  // The number of whole rows that fit below the header.
  int WholeRowsShown() const;
  // Where row `shown` (0 = top row shown) is drawn, and its tree node box in the
  // tree column (empty when it has none).
  QRect RowRect(int shown) const;
  QRect NodeRect(int shown) const;
  ListNode NodeOf(int shown) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void Report(ListInputKind kind, int32_t value, uint8_t character = 0);
  void ScrollBarAction(int action);
  QRect RowsArea() const;
  int ShownRowAt(QPoint point) const;
  int ResizableBorderAt(QPoint point) const;
  int TreeIndentStep() const;
  void PaintHeader(class QPainter& painter) const;
  void PaintRow(QPainter& painter, int shown) const;
  void PaintTreeCell(QPainter& painter, const ListColumnLook& column, const ListCellLook& cell,
                     const QRect& cellRect, QColor lineColour) const;
  QImage IconImage(int32_t icon) const;

  std::function<void(const ListInput&)> handler_;
  std::vector<ListColumnLook> columns_;
  std::vector<ListRowLook> rows_;
  int selected_ = -1;
  std::vector<QImage> icons_;
  QScrollBar* scrollBar_;
  bool settingScrollBar_ = false;
  bool scrollsItself_ = false;
  int resizing_ = -1;  // the column whose border is being dragged
};

}  // namespace rk::platform
