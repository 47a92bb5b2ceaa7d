// The browse table against the files and the window definitions it names: a
// row that names a missing field or key, shows a column the list has not got,
// or numbers a button the window lacks fails here rather than at run time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "app/browse_spec.h"
#include "app/collection_files.h"
#include "resources/resource_table.h"
#include "runtime/core/type_codes.h"
#include "runtime/windows/definition_layout.h"
#include "runtime/windows/definition_reader.h"
#include "runtime/windows/list_format.h"

namespace rk {
namespace {

// "REELBASE.qvw$reelb002" is kept in the resource "REELB002_RSC".
std::string ResourceOf(const std::string& tag) {
  std::string name = tag.substr(tag.find('$') + 1);
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return name + "_RSC";
}

const ControlRecord* FindNumbered(const std::vector<ControlRecord>& controls, int32_t number) {
  for (const ControlRecord& control : controls) {
    if (control.number == number) return &control;
    if (const ControlRecord* inside = FindNumbered(control.children, number)) return inside;
  }
  return nullptr;
}

StructureRecord WindowOf(const BrowseSpec& spec) {
  auto bytes = FindResource(ResourceOf(spec.tag), "DABDUMP");
  if (!bytes) {
    ADD_FAILURE() << spec.procedure << ": no definition " << ResourceOf(spec.tag);
    return {};
  }
  std::string error;
  auto definition = ReadDefinitionResource(*bytes, error);
  if (!definition) {
    ADD_FAILURE() << spec.procedure << ": " << error;
    return {};
  }
  for (const StructureRecord& structure : definition->structures) {
    if (structure.label == spec.label) return structure;
  }
  ADD_FAILURE() << spec.procedure << ": no window " << spec.label;
  return {};
}

TEST(BrowseTablesTest, EveryRowNamesFieldsAndKeysOfItsFiles) {
  ASSERT_EQ(BrowseSpecs().size(), 12u) << "nine browses and three selects";
  for (const BrowseSpec& spec : BrowseSpecs()) {
    SCOPED_TRACE(spec.procedure);
    DeclaredFile& file = CollectionFile(spec.file);
    for (const char* column : spec.columns) EXPECT_NE(file.field(column), nullptr) << column;
    for (const BrowseOrder& order : spec.orders) {
      EXPECT_NE(file.key(order.key), nullptr) << order.key;
      if (!order.ranged()) continue;
      EXPECT_NE(file.field(order.linkField), nullptr) << order.linkField;
      DeclaredFile* parent = CollectionFileOfName(order.parentField);
      ASSERT_NE(parent, nullptr) << order.parentField;
      EXPECT_NE(parent->field(order.parentField), nullptr) << order.parentField;
      bool opened = std::any_of(spec.otherFiles.begin(), spec.otherFiles.end(),
                                [&](CollectionFileId id) { return &CollectionFile(id) == parent; });
      EXPECT_TRUE(opened) << "the parent of " << order.key << " is opened too";
    }
    for (const BrowseExtraButton& button : spec.extraButtons) {
      EXPECT_NE(BrowseSpecNamed(button.procedure), nullptr) << button.procedure;
    }
  }
}

TEST(BrowseTablesTest, EveryRowMatchesItsWindow) {
  for (const BrowseSpec& spec : BrowseSpecs()) {
    SCOPED_TRACE(spec.procedure);
    StructureRecord window = WindowOf(spec);
    const ControlRecord* list = FindNumbered(window.controls, browse_control::kList);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->kind, RecordKind::kList);
    std::vector<ListColumn> columns;
    ListFormatError error;
    ASSERT_TRUE(ParseListFormat(list->format, columns, &error)) << error.reason;
    ASSERT_EQ(columns.size(), spec.columns.size());
    DeclaredFile& file = CollectionFile(spec.file);
    for (size_t i = 0; i < columns.size(); ++i) {
      const FieldInfo* field = file.field(spec.columns[i]);
      ASSERT_NE(field, nullptr);
      bool textPicture = !columns[i].picture.empty() && std::tolower(columns[i].picture[0]) == 's';
      EXPECT_EQ(textPicture, IsTextType(field->type)) << columns[i].header << " " << field->name;
      if (textPicture) {
        EXPECT_EQ(std::stoul(columns[i].picture.substr(1)), field->size);
      }
    }
    const ControlRecord* close = FindNumbered(window.controls, spec.closeButton);
    const ControlRecord* help = FindNumbered(window.controls, spec.helpButton);
    ASSERT_NE(close, nullptr);
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(close->text, "Close");
    EXPECT_EQ(help->text, "Help");
    int32_t sheet = spec.isSelect() ? browse_control::kSelectSheet : browse_control::kSheet;
    const ControlRecord* tabs = FindNumbered(window.controls, sheet);
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->kind, RecordKind::kSheet);
    EXPECT_EQ(tabs->children.size(), spec.orders.size());
    for (const BrowseExtraButton& button : spec.extraButtons) {
      const ControlRecord* control = FindNumbered(window.controls, button.control);
      ASSERT_NE(control, nullptr) << button.control;
      EXPECT_EQ(control->kind, RecordKind::kButton);
    }
  }
}

}  // namespace
}  // namespace rk
