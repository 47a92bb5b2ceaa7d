// FORMAT strings of list boxes: the grammar, field assignment, layout and tree
// node states, and every FORMAT string the application's windows carry.
#include "runtime/windows/list_format.h"

#include <gtest/gtest.h>

#include <functional>

#include "resources/resource_table.h"
#include "runtime/windows/definition_reader.h"

namespace rk {
namespace {

std::vector<ListColumn> Parse(std::string_view format) {
  std::vector<ListColumn> columns;
  ListFormatError error;
  EXPECT_TRUE(ParseListFormat(format, columns, &error))
      << format << ": " << error.reason << " at " << error.offset;
  return columns;
}

ListFormatError Refusal(std::string_view format) {
  std::vector<ListColumn> columns{ListColumn{}};
  ListFormatError error;
  EXPECT_FALSE(ParseListFormat(format, columns, &error)) << format;
  EXPECT_TRUE(columns.empty()) << format;
  return error;
}

TEST(ListFormat, BrowseColumnsCarryBorderResizingHeaderAndPicture) {
  std::vector<ListColumn> columns =
      Parse("30L|M~SERIAL~@N06@36L|M~DATE~@D5@164L|M~DESCRIPTION~@s80@");
  ASSERT_EQ(columns.size(), 3u);
  EXPECT_EQ(columns[0].widthUnits, 30);
  EXPECT_EQ(columns[0].header, "SERIAL");
  EXPECT_EQ(columns[0].picture, "N06");
  EXPECT_EQ(columns[0].flags, kColumnRightBorder | kColumnResizable);
  EXPECT_EQ(columns[1].picture, "D5");
  EXPECT_EQ(columns[2].widthUnits, 164);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(columns[i].field, i + 1);
    EXPECT_EQ(columns[i].DataJustification(), kJustifyLeft);
    EXPECT_EQ(columns[i].HeaderJustification(), kJustifyLeft);
  }
}

TEST(ListFormat, LetterAfterTheHeaderChangesOnlyTheHeader) {
  std::vector<ListColumn> columns = Parse("58C|M~RUNNING TIME~L@T4@20R(3)~X~D(5)");
  ASSERT_EQ(columns.size(), 2u);
  EXPECT_EQ(columns[0].DataJustification(), kJustifyCentre);
  EXPECT_EQ(columns[0].HeaderJustification(), kJustifyLeft);
  EXPECT_EQ(columns[0].picture, "T4");
  EXPECT_EQ(columns[1].DataJustification(), kJustifyRight);
  EXPECT_EQ(columns[1].HeaderJustification(), kJustifyDecimal);
  EXPECT_EQ(columns[1].indentUnits, 3);
  EXPECT_EQ(columns[1].headerIndentUnits, 5);
}

TEST(ListFormat, TreeColumnReadsTextColoursIconAndLevel) {
  std::vector<ListColumn> columns = Parse("800L*IT@s200@");
  ASSERT_EQ(columns.size(), 1u);
  EXPECT_EQ(columns[0].field, 1);
  EXPECT_EQ(columns[0].colourField, 2);
  EXPECT_EQ(columns[0].iconField, 6);
  EXPECT_EQ(columns[0].treeField, 7);
  EXPECT_TRUE(columns[0].Has(kColumnTree));
  EXPECT_TRUE(columns[0].Has(kColumnIcon));
  EXPECT_EQ(columns[0].flags2, kColumnColours);
}

TEST(ListFormat, FieldNumbersRunOnFromTheLastFieldUsed) {
  // The second column names field 5; the third follows it, after its icon.
  std::vector<ListColumn> columns = Parse("10L*10L#5#i10LT(LBI)");
  ASSERT_EQ(columns.size(), 3u);
  EXPECT_EQ(columns[0].field, 1);
  EXPECT_EQ(columns[0].colourField, 2);
  EXPECT_EQ(columns[1].field, 5);
  EXPECT_EQ(columns[1].iconField, 6);
  EXPECT_EQ(columns[2].field, 7);
  EXPECT_EQ(columns[2].treeField, 8);
  EXPECT_EQ(columns[2].flags2, kTreeLines | kTreeBoxes | kTreeIcons);
}

TEST(ListFormat, FirstPictureCountsAndMinorFlagsAreKept) {
  std::vector<ListColumn> columns = Parse("10L@s5@@n9@_FS(12)H(3)/?");
  ASSERT_EQ(columns.size(), 1u);
  EXPECT_EQ(columns[0].picture, "s5");
  EXPECT_TRUE(columns[0].Has(kColumnUnderline));
  EXPECT_TRUE(columns[0].Has(kColumnFixed));
  EXPECT_TRUE(columns[0].Has(kColumnScroll));
  EXPECT_TRUE(columns[0].Has(kColumnSlash));
  EXPECT_TRUE(columns[0].Has(kColumnQuery));
  EXPECT_EQ(columns[0].scrollWidthUnits, 12);
  EXPECT_EQ(columns[0].heightNumber, 3);
  EXPECT_EQ(columns[0].flags2 & kColumnHeightGiven, kColumnHeightGiven);
  // A header may hold the characters that delimit other groups.
  EXPECT_EQ(Parse("10L~No. (#@)~")[0].header, "No. (#@)");
}

TEST(ListFormat, MalformedStringsAreRefusedAtTheFirstViolation) {
  struct Case {
    const char* format;
    size_t offset;
  };
  const Case cases[] = {
      {"", 0},                // no columns
      {"L~X~", 0},            // no width
      {"10~X~", 2},           // no justification
      {"10l", 2},             // justification letters are upper case
      {"10L(3", 5},           // indent not closed
      {"10L~HEAD", 4},        // header not closed
      {"10L@s20", 4},         // picture not closed
      {"10L#3", 5},           // field number not closed
      {"10L#0#", 5},          // fields count from 1
      {"10L#x#", 4},          // field number without digits
      {"10LT(LQ)", 6},        // unknown tree option
      {"10LT(L", 6},          // tree options not closed
      {"10L|M~A~@s5@x", 12},  // stray character
      {"10L20", 5},           // the second column lacks its letter
      {"9999999999L", 9},     // a width that would overflow
  };
  for (const Case& c : cases) {
    ListFormatError error = Refusal(c.format);
    EXPECT_EQ(error.offset, c.offset) << c.format << ": " << error.reason;
    EXPECT_FALSE(error.reason.empty()) << c.format;
  }
}

TEST(ListFormat, LayoutPlacesColumnsSideBySideAndNegativeWidthsTakeNoRoom) {
  std::vector<ListColumn> columns = Parse("40L(4)~A~R(8)-12L20C");
  LayOutColumns(columns, AxisScale{6, 4});  // 6-pixel average character width
  ASSERT_EQ(columns.size(), 3u);
  EXPECT_EQ(columns[0].left, 0);
  EXPECT_EQ(columns[0].width, 60);
  EXPECT_EQ(columns[0].right, 60);
  EXPECT_EQ(columns[0].indent, 6);
  EXPECT_EQ(columns[0].headerIndent, 12);
  EXPECT_EQ(columns[1].left, 60);
  EXPECT_EQ(columns[1].right, 59);
  EXPECT_EQ(columns[2].left, 60);
  EXPECT_EQ(columns[2].right, 90);
}

TEST(ListFormat, TreeNodeStatesFollowTheLevels) {
  // A root with an open child that has two leaves, then a collapsed root and a
  // positive root without children.
  std::vector<int32_t> levels = {1, 2, 3, 3, -1, 1, -2};
  std::vector<TreeNodeState> expected = {kNodeOpen,      kNodeOpen, kNodeLeaf,     kNodeLeaf,
                                         kNodeCollapsed, kNodeOpen, kNodeCollapsed};
  EXPECT_EQ(TreeNodeStates(levels), expected);
  EXPECT_TRUE(TreeNodeStates({}).empty());
  EXPECT_EQ(TreeNodeStates({INT32_MIN, 1}),
            (std::vector<TreeNodeState>{kNodeCollapsed, kNodeLeaf}));
}

void ForEachList(const std::vector<ControlRecord>& controls,
                 const std::function<void(const ControlRecord&)>& visit) {
  for (const ControlRecord& control : controls) {
    if (control.kind == RecordKind::kList) visit(control);
    ForEachList(control.children, visit);
  }
}

TEST(ListFormat, EveryListOfTheApplicationHasAWellFormedFormat) {
  int lists = 0;
  int trees = 0;
  for (const ResourceEntry& entry : ProgramResources()) {
    if (std::string_view(entry.type) != "DABDUMP") continue;
    std::string error;
    std::optional<Definition> definition = ReadDefinitionResource(entry.bytes(), error);
    ASSERT_TRUE(definition) << entry.name << ": " << error;
    for (const StructureRecord& structure : definition->structures) {
      ForEachList(structure.controls, [&](const ControlRecord& list) {
        SCOPED_TRACE(structure.label + ": " + list.format);
        std::vector<ListColumn> columns = Parse(list.format);
        ASSERT_FALSE(columns.empty());
        ++lists;
        for (const ListColumn& column : columns) {
          EXPECT_GT(column.widthUnits, 0);
          EXPECT_FALSE(column.picture.empty());
          if (column.Has(kColumnTree)) ++trees;
        }
      });
    }
  }
  EXPECT_GE(lists, 20);
  EXPECT_EQ(trees, 2);
}

}  // namespace
}  // namespace rk
