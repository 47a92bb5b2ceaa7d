// One cell of a list box as assistive tools see it (ListAccessible): a data
// cell with its formatted text, or, in row -1, a column's header. It holds
// only its place and reads the list when asked, so it never shows stale text;
// once its row is gone it reports itself invalid.
#pragma once

#include <QAccessible>
#include <QPointer>

namespace rk::platform {

class ListWidget;

class ListCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
 public:
  // `column` counts the shown columns (ListAccessible::ShownColumns).
  ListCellAccessible(ListWidget* list, int row, int column);

  bool isValid() const override;
  QObject* object() const override { return nullptr; }
  QWindow* window() const override;
  QAccessibleInterface* parent() const override;
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QString text(QAccessible::Text type) const override;
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override;
  QAccessible::Role role() const override;
  QAccessible::State state() const override;
  void* interface_cast(QAccessible::InterfaceType type) override;

  bool isSelected() const override;
  QList<QAccessibleInterface*> columnHeaderCells() const override;
  QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
  int columnIndex() const override { return column_; }
  int rowIndex() const override { return row_; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return parent(); }

 private:
  bool IsHeader() const { return row_ < 0; }
  // The list's column index of this cell's column, -1 when it is gone.
  int ListColumn() const;

  QPointer<ListWidget> list_;
  int row_;
  int column_;
};

}  // namespace rk::platform
