#include "runtime/core/decimal_stack.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>

namespace rk {
namespace {

using Int128 = __int128;

// Fixed-point text of value / 10^places, written the way the decimal stack does.
std::string FixedText(Int128 value, int places) {
  bool negative = value < 0;
  if (negative) value = -value;
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(value % 10)));
    value /= 10;
  } while (value != 0);
  if (digits.size() <= static_cast<size_t>(places)) {
    digits.insert(0, places + 1 - digits.size(), '0');
  }
  std::string text = digits.substr(0, digits.size() - places);
  if (places > 0) text += "." + digits.substr(digits.size() - places);
  bool zero = digits.find_first_not_of("0") == std::string::npos;
  return (negative && !zero ? "-" : "") + text;
}

// The digits before the point; "-0" reads as "0".
std::string IntegerPart(const std::string& text) {
  std::string integer = text.substr(0, text.find('.'));
  return integer == "-0" ? "0" : integer;
}

class RandomOperands : public ::testing::Test {
 protected:
  // Up to 15 integer digits and two places, so every product fits in 128 bits.
  int64_t Next() {
    std::uniform_int_distribution<int64_t> magnitude(0, 99'999'999'999'999'999);
    std::uniform_int_distribution<int> digits(1, 17);
    int64_t v = magnitude(rng_);
    for (int cut = digits(rng_); cut < 17; ++cut) v /= 10;
    return rng_() % 2 ? -v : v;
  }
  std::mt19937_64 rng_{20261208};
  DecimalStack stack_;
};

TEST_F(RandomOperands, AddSubtractMultiplyAgreeWithExactIntegers) {
  for (int i = 0; i < 2000; ++i) {
    int64_t a = Next();
    int64_t b = Next();
    stack_.PushText(FixedText(a, 2));
    stack_.PushText(FixedText(b, 2));
    stack_.Add();
    ASSERT_EQ(stack_.PopText(), FixedText(Int128(a) + b, 2))
        << FixedText(a, 2) << " + " << FixedText(b, 2);

    stack_.PushText(FixedText(a, 2));
    stack_.PushText(FixedText(b, 2));
    stack_.Subtract();
    ASSERT_EQ(stack_.PopText(), FixedText(Int128(a) - b, 2));

    stack_.PushText(FixedText(a, 2));
    stack_.PushText(FixedText(b, 2));
    stack_.Multiply();
    ASSERT_EQ(stack_.PopText(), FixedText(Int128(a) * b, 4));
  }
  EXPECT_EQ(stack_.Depth(), 0u);
}

TEST_F(RandomOperands, DivisionIntegerPartAndCompareAreExact) {
  for (int i = 0; i < 2000; ++i) {
    int64_t a = Next();
    int64_t b = Next();
    if (b == 0) continue;
    stack_.PushText(FixedText(a, 2));
    stack_.PushText(FixedText(b, 2));
    stack_.Divide();
    stack_.PushText("1000");
    stack_.Multiply();
    // The integer part of quotient * 1000 is the exact truncated value.
    ASSERT_EQ(IntegerPart(stack_.PopText()), FixedText(Int128(a) * 1000 / b, 0))
        << FixedText(a, 2) << " / " << FixedText(b, 2);

    stack_.PushText(FixedText(a, 2));
    stack_.PushText(FixedText(b, 2));
    ASSERT_EQ(stack_.Compare(), (a > b) - (a < b));
  }
}

TEST(DecimalStack, IntegerPartOfRepeatingQuotientIsExact) {
  DecimalStack stack;
  stack.PushLong(1);
  stack.PushLong(3);
  stack.Divide();
  stack.PushLong(100);
  stack.Multiply();
  EXPECT_EQ(stack.PopLong(), 33);

  stack.PushLong(-7);
  stack.PushLong(2);
  stack.Divide();
  EXPECT_EQ(stack.PopText(), "-3.5");

  stack.PushText("10.00");
  stack.PushLong(4);
  stack.Divide();
  EXPECT_EQ(stack.PopText(), "2.50");

  stack.PushLong(5);
  stack.PushLong(0);
  stack.Divide();
  EXPECT_TRUE(stack.PopIsZero());
}

TEST(DecimalStack, PackedFormsRoundTripWithSignAndPlaces) {
  DecimalStack stack;
  // DECIMAL(4 bytes, 2 places) = 7 digits: -12345.67
  const uint8_t decimal[4] = {0x81, 0x23, 0x45, 0x67};
  stack.PushDecimal(decimal, 4, 2);
  EXPECT_EQ(stack.Top().negative, 1);
  uint8_t pdecimal[4] = {};
  stack.PopToPDecimal(pdecimal, 4, 2);
  const uint8_t expectedP[4] = {0x12, 0x34, 0x56, 0x7D};
  EXPECT_EQ(0, memcmp(pdecimal, expectedP, 4));

  stack.PushPDecimal(pdecimal, 4, 2);
  EXPECT_EQ(stack.PopText(), "-12345.67");

  // Fewer places cut the fraction; a value that becomes zero is stored positive.
  stack.PushText("-0.004");
  uint8_t cut[2] = {0xFF, 0xFF};
  stack.PopToDecimal(cut, 2, 2);
  EXPECT_EQ(cut[0], 0x00);
  EXPECT_EQ(cut[1], 0x00);

  stack.PushULong(4294967295u);
  EXPECT_EQ(stack.PopText(), "4294967295");
  stack.PushLong(INT32_MIN);
  EXPECT_EQ(stack.PopLong(), INT32_MIN);
}

TEST(DecimalStack, ConvertsToAndFromDoubles) {
  DecimalStack stack;
  stack.PushReal(1234567.89);
  EXPECT_EQ(stack.PopText(), "1234567.89");
  stack.PushReal(-0.125);
  EXPECT_DOUBLE_EQ(stack.PopReal(), -0.125);
  stack.PushText("12345678901234567890.5");
  EXPECT_DOUBLE_EQ(stack.PopReal(), 12345678901234567890.5);
  stack.PushText("0.000001");
  EXPECT_DOUBLE_EQ(stack.PopReal(), 1e-6);
}

TEST(DecimalStackDeathTest, TenthPushIsAnInternalError) {
  DecimalStack stack;
  for (size_t i = 0; i < DecimalStack::kAccumulators; ++i) stack.PushLong(1);
  EXPECT_EXIT(stack.PushLong(1), ::testing::ExitedWithCode(2), "Stack overflow");
}

}  // namespace
}  // namespace rk
