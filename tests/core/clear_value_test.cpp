#include "runtime/core/clear_value.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <vector>

#include "runtime/core/type_codes.h"
#include "runtime/core/type_descriptor.h"

namespace rk {
namespace {

// Builds descriptor bytes: plain numbers are bytes, Word() four little-endian bytes.
struct Bytes {
  std::vector<uint8_t> v;
  Bytes& operator<<(int byte) {
    v.push_back(static_cast<uint8_t>(byte));
    return *this;
  }
  Bytes& Word(uint32_t w) {
    for (int i = 0; i < 4; ++i) v.push_back(static_cast<uint8_t>(w >> (8 * i)));
    return *this;
  }
  Bytes& Text(uint8_t code, uint32_t length) { return (*this << code).Word(length) << 0; }
};

template <size_t N>
std::vector<uint8_t> Cleared(const Bytes& d, int mode, uint32_t expectedBytes) {
  std::vector<uint8_t> buffer(N + 4, 0xAB);
  EXPECT_EQ(ClearValue(buffer.data(), d.v, mode), expectedBytes);
  for (size_t i = N; i < buffer.size(); ++i) EXPECT_EQ(buffer[i], 0xAB) << "wrote past the value";
  buffer.resize(N);
  return buffer;
}

TEST(ClearValue, NumbersTakeTheirLowestBlankAndHighestValues) {
  auto longs = Cleared<12>(Bytes{} << kDimension, kClearLow, 0);  // malformed: count missing
  EXPECT_EQ(longs, std::vector<uint8_t>(12, 0xAB));

  Bytes dim;
  (dim << kDimension).Word(3) << kLong;
  auto low = Cleared<12>(dim, kClearLow, 12);
  for (int i = 0; i < 3; ++i) {
    int32_t v;
    std::memcpy(&v, &low[4 * i], 4);
    EXPECT_EQ(v, INT32_MIN);
  }

  auto shortHigh = Cleared<2>(Bytes{} << kShort, kClearHigh, 2);
  EXPECT_EQ(shortHigh, (std::vector<uint8_t>{0xFF, 0x7F}));
  auto dateHigh = Cleared<4>(Bytes{} << kDate, kClearHigh, 4);
  EXPECT_EQ(dateHigh, std::vector<uint8_t>(4, 0xFF));

  auto realHigh = Cleared<8>(Bytes{} << kReal, kClearHigh, 8);
  uint64_t bits;
  std::memcpy(&bits, realHigh.data(), 8);
  EXPECT_EQ(bits, 0x7FEFFFFFFFFFFFE3ull);
  auto sreal = Cleared<4>(Bytes{} << kSReal, kClearLow, 4);
  float f;
  std::memcpy(&f, sreal.data(), 4);
  EXPECT_EQ(f, -3.40282347e+38f);

  EXPECT_EQ(Cleared<8>(Bytes{} << kMbf8, kClearHigh, 8),
            (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0xFF}));
  EXPECT_EQ(Cleared<3>(Bytes{} << kDecimal << 3 << 2, kClearLow, 3),
            (std::vector<uint8_t>{0x89, 0x99, 0x99}));
  EXPECT_EQ(Cleared<3>(Bytes{} << kDecimal << 3 << 2, kClearHigh, 3),
            (std::vector<uint8_t>{0x09, 0x99, 0x99}));
  EXPECT_EQ(Cleared<3>(Bytes{} << kPDecimal << 3 << 0, kClearLow, 3),
            (std::vector<uint8_t>{0x99, 0x99, 0x9D}));
  EXPECT_EQ(Cleared<3>(Bytes{} << kPDecimal << 3 << 0, kClearBlank, 3),
            (std::vector<uint8_t>{0x00, 0x00, 0x0F}));
}

TEST(ClearValue, TextsAndGroups) {
  auto pstring = Cleared<10>(Bytes{}.Text(kPString, 10), kClearHigh, 10);
  EXPECT_EQ(pstring[0], 9);
  EXPECT_EQ(std::vector<uint8_t>(pstring.begin() + 1, pstring.end()),
            std::vector<uint8_t>(9, 0xFF));
  auto cstring = Cleared<4>(Bytes{}.Text(kCString, 4), kClearHigh, 4);
  EXPECT_EQ(cstring, (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0x00}));
  EXPECT_EQ(Cleared<3>(Bytes{}.Text(kString, 3), kClearBlank, 3), std::vector<uint8_t>(3, ' '));

  // GROUP: SHORT at 0, STRING(3) at 2, then a bare LONG right after it, and a
  // member placed at 12 leaving a gap that must stay untouched.
  Bytes group;
  group << kGroup << kMember;
  group.Word(0) << 'n' << 0 << kShort << kMember;
  group.Word(2) << 0;
  group.Text(kString, 3) << kLong << kMember;
  group.Word(12) << 0 << kByte << 0;
  EXPECT_EQ(DescriptorSize(group.v), 13u);
  auto blank = Cleared<13>(group, kClearBlank, 13);
  EXPECT_EQ(blank, (std::vector<uint8_t>{0, 0, ' ', ' ', ' ', 0, 0, 0, 0, 0xAB, 0xAB, 0xAB, 0}));

  Bytes groups;
  (groups << kDimension).Word(2);
  groups.v.insert(groups.v.end(), group.v.begin(), group.v.end());
  auto high = Cleared<26>(groups, kClearHigh, 26);
  EXPECT_EQ(high[13 + 12], 0xFF);
  EXPECT_EQ(high[13 + 1], 0x7F);
}

TEST(DescriptorReader, RejectsDamageWithoutReadingPastTheBytes) {
  for (std::vector<uint8_t> bad : std::initializer_list<std::vector<uint8_t>>{
           {kString, 1, 0},                              // length cut short
           {kString, 1, 0, 0, 0, 'x'},                   // picture without its NUL
           {kGroup, kLong},                              // group without its end
           {12},                                         // unused code
           {kDimension, 0xFF, 0xFF, 0xFF, 0xFF, kReal},  // larger than any value
       }) {
    DescriptorReader reader(bad);
    DescriptorItem item;
    EXPECT_FALSE(reader.Next(item));
    EXPECT_TRUE(reader.Malformed());
  }
  std::vector<uint8_t> deep(40, kGroup);
  DescriptorReader reader(deep);
  DescriptorItem item;
  EXPECT_FALSE(reader.Next(item));
}

}  // namespace
}  // namespace rk
