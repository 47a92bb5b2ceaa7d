#include "runtime/platform/qt/list_cell_accessible.h"

#include <QWindow>

#include "runtime/platform/qt/ansi_text.h"
#include "runtime/platform/qt/list_accessible.h"
#include "runtime/platform/qt/list_widget.h"

namespace rk::platform {

ListCellAccessible::ListCellAccessible(ListWidget* list, int row, int column)
    : list_(list), row_(row), column_(column) {}

int ListCellAccessible::ListColumn() const {
  if (list_ == nullptr) return -1;
  std::vector<int> shown = ListAccessible::ShownColumns(*list_);
  return column_ >= 0 && column_ < static_cast<int>(shown.size()) ? shown[column_] : -1;
}

bool ListCellAccessible::isValid() const {
  if (ListColumn() < 0) return false;
  if (IsHeader()) return ListAccessible::HasHeader(*list_);
  return row_ < static_cast<int>(list_->Rows().size());
}

QWindow* ListCellAccessible::window() const {
  return list_ != nullptr ? list_->window()->windowHandle() : nullptr;
}

QAccessibleInterface* ListCellAccessible::parent() const {
  return list_ != nullptr ? QAccessible::queryAccessibleInterface(list_.data()) : nullptr;
}

QString ListCellAccessible::text(QAccessible::Text type) const {
  if (type != QAccessible::Name || !isValid()) return {};
  int column = ListColumn();
  if (IsHeader()) return FromAnsi(list_->Columns()[column].header);
  const ListRowLook& row = list_->Rows()[row_];
  return column < static_cast<int>(row.size()) ? FromAnsi(row[column].text) : QString();
}

QRect ListCellAccessible::rect() const {
  if (!isValid()) return {};
  const ListColumnLook& column = list_->Columns()[ListColumn()];
  QRect band = list_->RowRect(IsHeader() ? 0 : row_);
  if (IsHeader())
    band =
        QRect(band.left(), band.top() - list_->HeaderHeight(), band.width(), list_->HeaderHeight());
  QRect local(band.left() + column.left, band.top(), column.width, band.height());
  return QRect(list_->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::Role ListCellAccessible::role() const {
  return IsHeader() ? QAccessible::ColumnHeader : QAccessible::Cell;
}

QAccessible::State ListCellAccessible::state() const {
  QAccessible::State state;
  if (!isValid()) {
    state.invalid = true;
    return state;
  }
  if (IsHeader()) return state;
  state.selectable = true;
  state.selected = isSelected();
  state.focusable = true;
  state.focused = state.selected && list_->hasFocus();
  return state;
}

void* ListCellAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TableCellInterface && !IsHeader()) {
    return static_cast<QAccessibleTableCellInterface*>(this);
  }
  return nullptr;
}

bool ListCellAccessible::isSelected() const {
  return isValid() && !IsHeader() && row_ == list_->SelectedShown();
}

QList<QAccessibleInterface*> ListCellAccessible::columnHeaderCells() const {
  auto* table = dynamic_cast<ListAccessible*>(parent());
  QAccessibleInterface* header = table != nullptr ? table->HeaderCell(column_) : nullptr;
  if (header == nullptr) return {};
  return {header};
}

}  // namespace rk::platform
