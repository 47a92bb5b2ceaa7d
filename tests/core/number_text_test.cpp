#include "runtime/core/number_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <random>

namespace rk {
namespace {

TEST(RealToText, GeneralFormWithFourteenDigits) {
  EXPECT_EQ(RealToText(100.0), "100");
  EXPECT_EQ(RealToText(0.5), "0.5");
  EXPECT_EQ(RealToText(-0.0), "0");
  EXPECT_EQ(RealToText(0.1 + 0.2), "0.3");
  EXPECT_EQ(RealToText(12345678901234.0), "12345678901234");
  EXPECT_EQ(RealToText(1e20), "1e+20");
  EXPECT_EQ(RealToText(1.5e-7), "1.5e-07");
  char buffer[kMaxRealText];
  EXPECT_EQ(RealToText(-1.2345678901234e-308, buffer), 21u);
}

TEST(RealToText, RoundTripsFourteenSignificantDigits) {
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> mantissa(1.0, 10.0);
  std::uniform_int_distribution<int> exponent(-300, 300);
  for (int i = 0; i < 20000; ++i) {
    double x = std::ldexp(mantissa(rng), exponent(rng)) * (rng() % 2 ? -1 : 1);
    char expected[40];
    std::snprintf(expected, sizeof expected, "%.13e", x);
    double rounded = std::strtod(expected, nullptr);
    std::string text = RealToText(x);
    ASSERT_EQ(TextToReal(text), rounded) << text;
    ASSERT_EQ(RealToText(rounded), text);
  }
}

TEST(TextToReal, ReadsTheLeadingNumberOnly) {
  EXPECT_EQ(TextToReal("  12.5xyz"), 12.5);
  EXPECT_EQ(TextToReal("abc"), 0);
  EXPECT_EQ(TextToReal(""), 0);
  EXPECT_EQ(TextToReal("-.5"), -0.5);
  EXPECT_EQ(TextToReal("+3e2"), 300);
  EXPECT_EQ(TextToReal("3e"), 3);
  EXPECT_EQ(TextToReal("-"), 0);
  EXPECT_EQ(TextToReal("inf"), 0);
  EXPECT_EQ(TextToReal("1e999"), DBL_MAX);
  EXPECT_EQ(TextToReal("1e-999"), 0);
  // Only the first 40 characters count.
  EXPECT_EQ(TextToReal(std::string(39, '0') + "12"), 1);
}

TEST(NumberPrefixLength, MeasuresTheNumberSyntax) {
  EXPECT_EQ(NumberPrefixLength(" -1.5e3x"), 7u);
  EXPECT_EQ(NumberPrefixLength("."), 0u);
  EXPECT_EQ(NumberPrefixLength("1e+"), 1u);
}

TEST(RealToLong, TruncatesWithApproximateCorrection) {
  EXPECT_EQ(RealToLong(2.9), 2);
  EXPECT_EQ(RealToLong(2.9999999999999996), 3);
  EXPECT_EQ(RealToLong(-2.5), -2);
  EXPECT_EQ(RealToLong(-2.9999999999999996), -3);
  EXPECT_EQ(RealToLong(-0.99999999999999989), -1);
  EXPECT_EQ(RealToLong(0.3 / 0.1), 3);
  EXPECT_EQ(RealToLong(2147483647.0), 2147483647);
  EXPECT_EQ(RealToLong(3e9), INT32_MIN);
  EXPECT_EQ(RealToLong(NAN), INT32_MIN);
}

TEST(ApproximatelyEqual, ComparesBinaryExponents) {
  EXPECT_TRUE(ApproximatelyEqual(0.1 + 0.2, 0.3));
  EXPECT_FALSE(ApproximatelyEqual(1.0, 1.0 + 1e-12));
  EXPECT_TRUE(ApproximatelyEqual(1e-20, 0.0));
  EXPECT_FALSE(ApproximatelyEqual(1e-10, 0.0));
}

// Found by fuzzing "0 / 0 > 1": the difference of a NaN has no exponent.
TEST(ApproximatelyEqual, NotANumberAndInfinitiesMatchOnlyThemselves) {
  EXPECT_FALSE(ApproximatelyEqual(NAN, 17.0));
  EXPECT_FALSE(ApproximatelyEqual(NAN, NAN));
  EXPECT_TRUE(ApproximatelyEqual(INFINITY, INFINITY));
  EXPECT_FALSE(ApproximatelyEqual(INFINITY, -INFINITY));
  EXPECT_FALSE(ApproximatelyEqual(INFINITY, DBL_MAX));
  EXPECT_FALSE(ApproximatelyEqual(DBL_MAX, -DBL_MAX));
}

}  // namespace
}  // namespace rk
