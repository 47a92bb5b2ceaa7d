#include "runtime/files/declared_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "runtime/core/type_codes.h"
#include "runtime/core/value_stack.h"

namespace rk {
namespace {

constexpr FieldSpec kFields[] = {
    {"T:SERIAL", 0, kShort},
    {"T:TITLE", 2, kString, 10, 0, 1, "@s10"},
    {"T:PRICE", 12, kDecimal, 3, 2},
    {"T:SCORES", 15, kLong, 0, 0, 3},
};
constexpr KeySpec kKeys[] = {{"T:BY_TITLE", kKeyDup, {2, -1}}};
constexpr MemoSpec kMemos[] = {{"T:NOTES", 8}};
const FileSpec kSpec{"tapes", "TAPES", kFileAttrCreate, 27, kFields, kKeys, kMemos};

TEST(DeclaredFileTest, DescriptorsPointAtTheDeclaration) {
  DeclaredFile tapes(kSpec, nullptr);
  FileDescriptor& file = tapes.file();
  EXPECT_EQ(FileNameText(file), "TAPES");
  EXPECT_EQ(file.recordLength, 27u);
  EXPECT_EQ(file.record, tapes.record());
  ASSERT_EQ(file.keyCount, 1);
  EXPECT_EQ(file.keys[0], tapes.key("T:BY_TITLE"));
  EXPECT_EQ(file.keys[0]->file, &file);
  EXPECT_EQ(file.keys[0]->componentCount, 2);
  EXPECT_EQ(file.keys[0]->components[1], -1);
  ASSERT_EQ(file.memoCount, 1);
  EXPECT_EQ(MemoLabel(*file.memos[0]), "T:NOTES");
  ASSERT_EQ(tapes.fields().size(), 4u);
  EXPECT_EQ(tapes.fields()[1].picture, "@s10");
}

TEST(DeclaredFileTest, FieldsAreReadAndWrittenByName) {
  DeclaredFile tapes(kSpec, nullptr);
  tapes.setLong("T:SERIAL", -12);
  tapes.setText("T:TITLE", "Holiday");
  tapes.setText("T:PRICE", "12.5");
  tapes.setText(*tapes.field("T:SCORES"), "7", 2);
  tapes.setText("T:MISSING", "ignored");

  int16_t serial;
  std::memcpy(&serial, tapes.record(), 2);
  EXPECT_EQ(serial, -12);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(tapes.record()) + 2, 10), "Holiday   ");
  EXPECT_EQ(tapes.text("T:SERIAL"), "-12");
  EXPECT_EQ(tapes.text("T:PRICE"), "12.50");
  EXPECT_EQ(tapes.text(*tapes.field("T:SCORES"), 2), "7");
  EXPECT_EQ(tapes.text(*tapes.field("T:SCORES"), 0), "0");
  EXPECT_EQ(tapes.text("T:MISSING"), "");
  EXPECT_EQ(Values().Depth(), 0u);

  tapes.setMemoText(1, "a much longer note");
  EXPECT_EQ(tapes.memoText(1), "a much l");
  tapes.setMemoText(1, "ab");
  EXPECT_EQ(std::string(tapes.memo(1).buffer, 8), "ab      ");
}

}  // namespace
}  // namespace rk
