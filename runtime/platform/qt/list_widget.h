// The list box widget (window class QvnList): a header row, columns laid out by
// the list control, the rows the control hands over, the selection and a
// vertical scroll bar. It paints what it is given and reports input through one
// callback; it never moves its selection or its rows by itself. The one thing
// it changes on its own is a resizable column's width, dragged by the header's
// border.
//
// The same widget serves as a drop list's popup: shown as a popup window it
// closes on a click outside it, as popups do.
#pragma once

#include <QImage>
#include <QScrollBar>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

#include "runtime/platform/qt/list_input.h"
#include "runtime/platform/qt/list_looks.h"

namespace rk::platform {

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
  const std::vector<QImage>& Icons() const { return icons_; }
  // The rows shown and the selected one among them.
  const std::vector<ListRowLook>& Rows() const { return rows_; }
  int SelectedShown() const { return selected_; }

  // The scroll bar: shown or not, its range and thumb position.
  void SetScrollBar(bool shown, int maximum, int position, int page);
  bool ScrollBarShown() const { return !scrollBar_->isHidden(); }
  // A list that scrolls itself reports where the user moved the scroll bar
  // (kScrolledTo); otherwise the bar stays put and reports the action
  // (kScrollAction, kThumbReleased) for the program to carry out.
  void SetScrollsItself(bool itself) { scrollsItself_ = itself; }
  QScrollBar& ScrollBar() { return *scrollBar_; }

  // Reports a click on shown row `shown`: how assistive tools choose a row.
  void ChooseShownRow(int shown) { Report(ListInputKind::kClick, shown); }

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
  void wheelEvent(QWheelEvent* event) override;

 private:
  void Report(ListInputKind kind, int32_t value, uint8_t character = 0);
  void ScrollBarAction(int action);
  QRect RowsArea() const;
  int ShownRowAt(QPoint point) const;
  int ResizableBorderAt(QPoint point) const;
  class ListRowPainter RowPainter() const;
  void PaintHeader(class QPainter& painter) const;

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
