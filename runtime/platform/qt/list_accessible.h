// What a screen reader sees of a list box: a table whose rows are the rows the
// list shows, whose columns are the FORMAT's columns that take room, with the
// column headers as header cells and the selected row as the selection.
//
// The list draws its rows itself, so without this interface assistive tools
// would see one blank widget. Everything is read from the widget when asked,
// so the answers follow the page the procedure last handed over. Choosing a
// row from an assistive tool is reported like a click: the procedure moves the
// selection, as it does for the mouse.
#pragma once

#include <QAccessibleWidget>
#include <map>
#include <utility>
#include <vector>

namespace rk::platform {

class ListWidget;

class ListAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
 public:
  explicit ListAccessible(ListWidget* list);
  ~ListAccessible() override;

  // The list's columns that are shown (a width above 0), by their index in
  // the list's columns: column c of the table is Columns(list)[c].
  static std::vector<int> ShownColumns(const ListWidget& list);
  static bool HasHeader(const ListWidget& list);

  void* interface_cast(QAccessible::InterfaceType type) override;
  int childCount() const override;
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QAccessibleInterface* childAt(int x, int y) const override;

  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override;
  int selectedCellCount() const override;
  QList<QAccessibleInterface*> selectedCells() const override;
  QString columnDescription(int column) const override;
  QString rowDescription(int) const override { return {}; }
  int selectedColumnCount() const override { return 0; }
  int selectedRowCount() const override;
  int columnCount() const override;
  int rowCount() const override;
  QList<int> selectedColumns() const override { return {}; }
  QList<int> selectedRows() const override;
  bool isColumnSelected(int) const override { return false; }
  bool isRowSelected(int row) const override;
  bool selectRow(int row) override;
  bool selectColumn(int) override { return false; }
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  void modelChange(QAccessibleTableModelChangeEvent* event) override;

  // The header cell of a column; null when the list has no header row.
  QAccessibleInterface* HeaderCell(int column) const;

 private:
  ListWidget& List() const;
  // The interface of a cell (row -1: the header), made once and kept until
  // the rows are replaced: assistive tools hold on to them by identity.
  QAccessibleInterface* Cell(int row, int column) const;
  void ForgetCells();

  mutable std::map<std::pair<int, int>, QAccessible::Id> cells_;
};

}  // namespace rk::platform
