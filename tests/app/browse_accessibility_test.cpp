// The tape browse as a screen reader reads it: its list through Qt's table
// interface, row by row and cell by cell, with the headers and the selection,
// following the page as the procedure scrolls it.
#include <QAccessible>
#include <string>
#include <vector>

#include "tests/app/browse_fixture.h"

namespace rk::testing {
namespace {

constexpr int32_t kBrowseTapesItem = -6;
constexpr int32_t kBrowseThread = 2;
constexpr int kTitleColumn = 1;
constexpr const char* kTapesTitle = "USER COMPILED TAPES";

std::string Tape(int n) {
  std::string number = std::to_string(n);
  return "TAPE " + std::string(3 - number.size(), '0') + number;
}

// The serial number as the list's picture shows it: six digits.
std::string Serial(int n) {
  std::string number = std::to_string(n);
  return std::string(6 - number.size(), '0') + number;
}

// What a screen reader hears of a cell: its text without the padding.
std::string Spoken(QAccessibleInterface* cell) {
  if (cell == nullptr) return "(no cell)";
  std::string text = cell->text(QAccessible::Name).toStdString();
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

class BrowseAccessibilityTest : public BrowseTest {
 protected:
  QAccessibleInterface* OpenTapes(int tapes) {
    AddTapes(tapes);
    StartProgram();
    Choose(kBrowseTapesItem);
    EXPECT_NE(WindowTitled(kBrowseThread, kTapesTitle), nullptr);
    platform::ListWidget* list = List(kBrowseThread);
    return list != nullptr ? QAccessible::queryAccessibleInterface(list) : nullptr;
  }
};

TEST_F(BrowseAccessibilityTest, TheListIsATableOfTheRowsShown) {
  QAccessibleInterface* reader = OpenTapes(40);
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(reader->role(), QAccessible::Table);
  EXPECT_EQ(reader->text(QAccessible::Name), kTapesTitle) << "no prompt: the window's title";
  QAccessibleTableInterface* table = reader->tableInterface();
  ASSERT_NE(table, nullptr);

  platform::ListWidget& list = *List(kBrowseThread);
  int page = list.WholeRowsShown();
  ASSERT_GE(page, 5);
  EXPECT_EQ(table->rowCount(), static_cast<int>(list.Rows().size()));
  ASSERT_GE(table->rowCount(), page);
  ASSERT_GT(table->columnCount(), kTitleColumn);
  for (int row = 0; row < page; ++row) {
    EXPECT_EQ(Spoken(table->cellAt(row, 0)), Serial(row + 1)) << "serial, row " << row;
    EXPECT_EQ(Spoken(table->cellAt(row, kTitleColumn)), Tape(row + 1)) << "title, row " << row;
  }
  EXPECT_EQ(table->cellAt(table->rowCount(), 0), nullptr);

  // Each column's header, as the table describes it and as a header cell.
  QString header = table->columnDescription(kTitleColumn);
  EXPECT_FALSE(header.isEmpty());
  EXPECT_EQ(header.toStdString(), list.Columns()[kTitleColumn].header);
  QAccessibleInterface* headerCell = reader->child(kTitleColumn);
  ASSERT_NE(headerCell, nullptr);
  EXPECT_EQ(headerCell->role(), QAccessible::ColumnHeader);
  EXPECT_EQ(headerCell->text(QAccessible::Name), header);
  QAccessibleTableCellInterface* cell = table->cellAt(2, kTitleColumn)->tableCellInterface();
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->rowIndex(), 2);
  EXPECT_EQ(cell->columnIndex(), kTitleColumn);
  ASSERT_EQ(cell->columnHeaderCells().size(), 1);
  EXPECT_EQ(cell->columnHeaderCells()[0]->text(QAccessible::Name), header);

  // The children run header row first, then row by row; each cell lies where it is drawn.
  QAccessibleInterface* child = reader->child(table->columnCount() * 3 + kTitleColumn);
  EXPECT_EQ(Spoken(child), Tape(3));
  EXPECT_EQ(reader->indexOfChild(child), table->columnCount() * 3 + kTitleColumn);
  EXPECT_EQ(reader->childAt(child->rect().center().x(), child->rect().center().y()), child);
  QRect drawn = list.RowRect(2);
  EXPECT_EQ(child->rect().top(), list.mapToGlobal(drawn.topLeft()).y());
}

TEST_F(BrowseAccessibilityTest, TheSelectionAndThePageFollowTheProcedure) {
  QAccessibleInterface* reader = OpenTapes(60);
  ASSERT_NE(reader, nullptr);
  QAccessibleTableInterface* table = reader->tableInterface();
  ASSERT_NE(table, nullptr);
  int page = List(kBrowseThread)->WholeRowsShown();

  EXPECT_EQ(table->selectedRows(), QList<int>{0});
  EXPECT_EQ(table->selectedCellCount(), table->columnCount());
  QAccessibleInterface* second = table->cellAt(1, kTitleColumn);
  EXPECT_FALSE(second->state().selected);
  Key(kBrowseThread, Qt::Key_Down);
  EXPECT_EQ(table->selectedRows(), QList<int>{1});
  EXPECT_TRUE(second->state().selected);
  EXPECT_TRUE(second->tableCellInterface()->isSelected());

  // The same cell reads the next page once the procedure has scrolled.
  QAccessibleInterface* top = table->cellAt(0, kTitleColumn);
  Key(kBrowseThread, Qt::Key_PageDown);
  EXPECT_EQ(Spoken(top), Tape(page + 1));

  // Choosing a row from the screen reader moves the selection as a click does.
  ASSERT_TRUE(table->selectRow(3));
  ASSERT_TRUE(
      drive::RunUntil([&] { return SelectedText(kBrowseThread, kTitleColumn) == Tape(page + 4); }));
  EXPECT_TRUE(table->isRowSelected(3));
  EXPECT_EQ(Spoken(table->selectedCells().value(kTitleColumn)), Tape(page + 4));
  EXPECT_FALSE(table->selectRow(table->rowCount())) << "no row there to choose";
}

}  // namespace
}  // namespace rk::testing
