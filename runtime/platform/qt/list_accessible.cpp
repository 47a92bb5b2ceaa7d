#include "runtime/platform/qt/list_accessible.h"

#include "runtime/platform/qt/ansi_text.h"
#include "runtime/platform/qt/list_cell_accessible.h"
#include "runtime/platform/qt/list_widget.h"

namespace rk::platform {

ListAccessible::ListAccessible(ListWidget* list) : QAccessibleWidget(list, QAccessible::Table) {}

ListAccessible::~ListAccessible() {
  ForgetCells();
}

std::vector<int> ListAccessible::ShownColumns(const ListWidget& list) {
  std::vector<int> shown;
  const std::vector<ListColumnLook>& columns = list.Columns();
  for (size_t c = 0; c < columns.size(); ++c) {
    if (columns[c].width > 0) shown.push_back(static_cast<int>(c));
  }
  return shown;
}

bool ListAccessible::HasHeader(const ListWidget& list) {
  return list.HeaderHeight() > 0;
}

ListWidget& ListAccessible::List() const {
  return *static_cast<ListWidget*>(widget());
}

void* ListAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
  return QAccessibleWidget::interface_cast(type);
}

int ListAccessible::columnCount() const {
  return static_cast<int>(ShownColumns(List()).size());
}

int ListAccessible::rowCount() const {
  return static_cast<int>(List().Rows().size());
}

// Children run row by row, the header row first when there is one.
int ListAccessible::childCount() const {
  return columnCount() * (rowCount() + (HasHeader(List()) ? 1 : 0));
}

QAccessibleInterface* ListAccessible::child(int index) const {
  int columns = columnCount();
  if (index < 0 || index >= childCount() || columns == 0) return nullptr;
  int row = index / columns - (HasHeader(List()) ? 1 : 0);
  return Cell(row, index % columns);
}

int ListAccessible::indexOfChild(const QAccessibleInterface* child) const {
  const auto* cell = dynamic_cast<const ListCellAccessible*>(child);
  if (cell == nullptr || !cell->isValid()) return -1;
  int row = cell->rowIndex() + (HasHeader(List()) ? 1 : 0);
  return row * columnCount() + cell->columnIndex();
}

QAccessibleInterface* ListAccessible::childAt(int x, int y) const {
  for (int index = 0; index < childCount(); ++index) {
    QAccessibleInterface* cell = child(index);
    if (cell != nullptr && cell->rect().contains(x, y)) return cell;
  }
  return nullptr;
}

QAccessibleInterface* ListAccessible::cellAt(int row, int column) const {
  if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return nullptr;
  return Cell(row, column);
}

QAccessibleInterface* ListAccessible::HeaderCell(int column) const {
  if (!HasHeader(List()) || column < 0 || column >= columnCount()) return nullptr;
  return Cell(-1, column);
}

QString ListAccessible::columnDescription(int column) const {
  std::vector<int> shown = ShownColumns(List());
  if (column < 0 || column >= static_cast<int>(shown.size())) return {};
  return FromAnsi(List().Columns()[shown[column]].header);
}

bool ListAccessible::isRowSelected(int row) const {
  return row >= 0 && row < rowCount() && row == List().SelectedShown();
}

int ListAccessible::selectedRowCount() const {
  return isRowSelected(List().SelectedShown());
}

QList<int> ListAccessible::selectedRows() const {
  if (selectedRowCount() == 0) return {};
  return {List().SelectedShown()};
}

int ListAccessible::selectedCellCount() const {
  return selectedRowCount() * columnCount();
}

QList<QAccessibleInterface*> ListAccessible::selectedCells() const {
  QList<QAccessibleInterface*> cells;
  if (selectedRowCount() == 0) return cells;
  for (int column = 0; column < columnCount(); ++column) {
    cells.append(Cell(List().SelectedShown(), column));
  }
  return cells;
}

bool ListAccessible::selectRow(int row) {
  if (row < 0 || row >= rowCount()) return false;
  List().ChooseShownRow(row);
  return true;
}

void ListAccessible::modelChange(QAccessibleTableModelChangeEvent*) {
  ForgetCells();
}

QAccessibleInterface* ListAccessible::Cell(int row, int column) const {
  auto found = cells_.find({row, column});
  if (found != cells_.end()) {
    if (QAccessibleInterface* cell = QAccessible::accessibleInterface(found->second)) return cell;
  }
  auto* cell = new ListCellAccessible(&List(), row, column);
  cells_[{row, column}] = QAccessible::registerAccessibleInterface(cell);
  return cell;
}

void ListAccessible::ForgetCells() {
  for (const auto& [place, id] : cells_) QAccessible::deleteAccessibleInterface(id);
  cells_.clear();
}

}  // namespace rk::platform
