#include "runtime/core/decimal_digits.h"

#include <gtest/gtest.h>

#include <limits>

namespace rk {
namespace {

std::string Rounded(const char* text, int places) {
  DecimalDigits d;
  EXPECT_TRUE(DigitsOfDecimalText(text, d)) << text;
  d.RoundToPlaces(places);
  return d.Text();
}

TEST(DecimalDigitsTest, PlainTextsReadExactly) {
  for (const char* text :
       {"0", "5", "-12.5", "0.05", "100", "123456789012345678901234567.125", "-0.000001"}) {
    DecimalDigits d;
    ASSERT_TRUE(DigitsOfDecimalText(text, d)) << text;
    EXPECT_EQ(d.Text(), text);
  }
  DecimalDigits d;
  EXPECT_TRUE(DigitsOfDecimalText("  +007.50  ", d));
  EXPECT_EQ(d.Text(), "7.5");
  EXPECT_TRUE(DigitsOfDecimalText("-0.00", d));
  EXPECT_EQ(d.Text(), "0");
  const std::string tooLong(65, '7');
  for (const char* bad : {"", " ", "-", "1e5", "1.2.3", "12a", "--1", tooLong.c_str()}) {
    EXPECT_FALSE(DigitsOfDecimalText(bad, d)) << bad;
  }
}

TEST(DecimalDigitsTest, RoundingHalfAwayFromZero) {
  EXPECT_EQ(Rounded("2.345", 2), "2.35");
  EXPECT_EQ(Rounded("-2.345", 2), "-2.35");
  EXPECT_EQ(Rounded("2.344", 2), "2.34");
  EXPECT_EQ(Rounded("999.995", 2), "1000");
  EXPECT_EQ(Rounded("0.5", 0), "1");
  EXPECT_EQ(Rounded("0.004", 2), "0");
  EXPECT_EQ(Rounded("-0.004", 2), "0");
  EXPECT_EQ(Rounded("0.005", 2), "0.01");
  EXPECT_EQ(Rounded("0.0004", 0), "0");
  EXPECT_EQ(Rounded("12.5", 3), "12.5");
}

TEST(DecimalDigitsTest, DoublesGiveFourteenSignificantDigits) {
  DecimalDigits d;
  ASSERT_TRUE(DigitsOfReal(0.1 + 0.2, d));
  EXPECT_EQ(d.Text(), "0.3");
  ASSERT_TRUE(DigitsOfReal(-1234.5, d));
  EXPECT_EQ(d.Text(), "-1234.5");
  ASSERT_TRUE(DigitsOfReal(1e20, d));
  EXPECT_EQ(d.Text(), "100000000000000000000");
  ASSERT_TRUE(DigitsOfReal(123456789012345678.0, d));
  EXPECT_EQ(d.Text(), "123456789012350000");
  EXPECT_FALSE(DigitsOfReal(std::numeric_limits<double>::infinity(), d));
}

}  // namespace
}  // namespace rk
