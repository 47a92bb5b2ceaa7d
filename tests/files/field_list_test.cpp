#include "runtime/files/field_list.h"

#include <gtest/gtest.h>

#include "runtime/core/type_codes.h"

namespace rk {
namespace {

TEST(FieldListTest, EncodedListsReadBackFieldByField) {
  const FieldSpec specs[] = {
      {"REC:NUMBER", 0, kShort},
      {"REC:TITLE", 2, kString, 60},
      {"REC:PRICE", 62, kDecimal, 3, 2},
      {"REC:COUNTS", 65, kLong, 0, 0, 4},
      {"REC:RAW", 81, kGroup, 6},
  };
  std::vector<uint8_t> list = EncodeFieldList(specs);
  std::vector<FieldInfo> fields;
  ASSERT_EQ(ParseFieldList(list, fields), 0);
  ASSERT_EQ(fields.size(), 5u);
  EXPECT_EQ(fields[0].number, 1);
  EXPECT_EQ(fields[0].size, 2u);
  EXPECT_EQ(fields[1].name, "REC:TITLE");
  EXPECT_EQ(fields[1].offset, 2u);
  EXPECT_EQ(fields[1].size, 60u);
  EXPECT_EQ(fields[2].type, kDecimal);
  EXPECT_EQ(fields[2].size, 3u);
  EXPECT_EQ(fields[2].places, 2);
  EXPECT_EQ(fields[3].type, kLong);
  EXPECT_EQ(fields[3].count, 4u);
  EXPECT_EQ(fields[3].end(), 81u);
  EXPECT_EQ(fields[4].type, kGroup);
  EXPECT_EQ(fields[4].end(), 87u);
}

TEST(FieldListTest, BareMembersFollowThePreviousOneAndNestedGroupsAreOneField) {
  const std::vector<uint8_t> list = {
      kGroup,  kMember, 4,          0, 0, 0,   'A', 0,     kLong,  // offset 4
      kString, 3,       0,          0, 0, 'x', 0,                  // bare: offset 8, picture "x"
      kGroup,  kShort,  kDimension, 2, 0, 0,   0,   kByte, 0,      // bare nested group of 4 bytes
      kByte,                                                       // bare: offset 15
      0};
  std::vector<FieldInfo> fields;
  ASSERT_EQ(ParseFieldList(list, fields), 0);
  ASSERT_EQ(fields.size(), 4u);
  EXPECT_EQ(fields[1].offset, 8u);
  EXPECT_EQ(fields[1].picture, "x");
  EXPECT_EQ(fields[2].offset, 11u);
  EXPECT_EQ(fields[2].type, kGroup);
  EXPECT_EQ(fields[2].size, 4u);
  EXPECT_EQ(fields[3].offset, 15u);
  EXPECT_EQ(fields[3].number, 4);
}

TEST(FieldListTest, MalformedListsAreRefusedWithoutReadingPastTheirEnd) {
  const FieldSpec specs[] = {{"REC:TITLE", 0, kString, 60}, {"REC:N", 60, kDecimal, 4, 1}};
  const std::vector<uint8_t> whole = EncodeFieldList(specs);
  std::vector<FieldInfo> fields;
  for (size_t length = 0; length < whole.size(); ++length) {
    // A copy of exactly the prefix, so that a sanitizer sees any read beyond it.
    std::vector<uint8_t> prefix(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(length));
    EXPECT_EQ(ParseFieldList(prefix, fields), 75) << "prefix of " << length << " bytes";
    EXPECT_TRUE(fields.empty());
  }
  const std::vector<std::vector<uint8_t>> bad = {
      {kString, 1, 0, 0, 0, 0},                                // not a group
      {kGroup, 99, 0},                                         // unknown type code
      {kGroup, kDimension, 0, 0, 0, 0, kByte, 0},              // array of no elements
      {kGroup, kDecimal, 0, 0, 0},                             // decimal of no bytes
      {kGroup, kMember, 0xFF, 0xFF, 0xFF, 0xFF, 0, kLong, 0},  // ends past 4 GiB
  };
  for (const auto& list : bad) EXPECT_EQ(ParseFieldList(list, fields), 75);
}

}  // namespace
}  // namespace rk
