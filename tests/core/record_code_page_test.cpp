#include "runtime/core/record_code_page.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/core/type_codes.h"

namespace rk {
namespace {

TEST(RecordCodePage, ConvertsOnlyTheTextOfTextMembers) {
  // GROUP: STRING(3) at 0, LONG at 3, CSTRING(4) at 7, PSTRING(4) at 11,
  // a 2-element dimension of STRING(1) at 15.
  const std::vector<uint8_t> descriptor = {
      kGroup, kString, 3, 0, 0,          0, 0, kLong, kCString, 4,       0, 0, 0, 0, kPString, 4,
      0,      0,       0, 0, kDimension, 2, 0, 0,     0,        kString, 1, 0, 0, 0, 0,        0};
  // u-umlaut is 0x81 in OEM; 0x81 also fills the number and the unused bytes.
  uint8_t record[17] = {0x81, 'a',  0x81, 0x81, 0x81, 0x81, 0x81, 'x', 0x81,
                        0,    0x81, 1,    0x81, 0x81, 0x81, 0x81, 0x81};
  EXPECT_EQ(RecordToAnsi(record, descriptor), 17u);
  const uint8_t expected[17] = {0xFC, 'a',  0xFC, 0x81, 0x81, 0x81, 0x81, 'x', 0xFC,
                                0,    0x81, 1,    0xFC, 0x81, 0x81, 0xFC, 0xFC};
  EXPECT_EQ(0, std::memcmp(record, expected, 17));
  EXPECT_EQ(RecordToOem(record, descriptor), 17u);
  EXPECT_EQ(record[0], 0x81);
  EXPECT_EQ(record[16], 0x81);

  const std::vector<uint8_t> damaged = {kGroup, kString, 3};
  EXPECT_EQ(RecordToAnsi(record, damaged), 0u);
  EXPECT_EQ(record[0], 0x81);
}

}  // namespace
}  // namespace rk
