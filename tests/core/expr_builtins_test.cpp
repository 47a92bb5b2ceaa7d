#include "runtime/core/expr_builtins.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "runtime/core/day_number.h"
#include "runtime/core/error_state.h"
#include "runtime/core/expr_evaluation.h"
#include "runtime/core/expr_parser.h"
#include "runtime/core/expr_symbols.h"
#include "runtime/core/value_stack.h"

#include "tests/core/expr_test_fixture.h"

namespace rk {
namespace {

class ExprBuiltinsTest : public ExprTest {
 protected:
  static double Real(std::string_view expression) {
    ExprTree tree = Evaluate(expression);
    EXPECT_NE(tree, nullptr) << expression;
    return tree ? EvaluateAsReal(*tree) : NAN;
  }

  static int32_t Long(std::string_view expression) {
    ExprTree tree = Evaluate(expression);
    EXPECT_NE(tree, nullptr) << expression;
    return tree ? EvaluateAsLong(*tree) : -999;
  }
};

TEST_F(ExprBuiltinsTest, ArithmeticIsDoneInDoubles) {
  EXPECT_EQ(Eval("7 / 2"), "3.5");
  EXPECT_EQ(Long("7 / 2"), 3);
  EXPECT_EQ(Long("-7 / 2"), -3);  // truncated toward zero
  EXPECT_EQ(Eval("7.5 % 2"), "1.5");
  EXPECT_EQ(Eval("-7 % 3"), "-1");
  EXPECT_EQ(Eval("2 ^ 0.5 * 2 ^ 0.5"), "2");
  EXPECT_EQ(Eval("-(3)"), "-3");
  EXPECT_EQ(Eval("2147483647 + 1"), "2147483648");
  EXPECT_EQ(Long("2147483647 + 1"), INT32_MAX);  // beyond the range: the nearest end
  EXPECT_EQ(Long("1 / 0"), INT32_MAX);
  EXPECT_EQ(Long("0 / 0"), 0);
  // Texts used as numbers go through TextToReal.
  EXPECT_EQ(Eval("'12.5abc' * 2"), "25");
  EXPECT_EQ(Eval("'abc' + 1"), "1");
}

TEST_F(ExprBuiltinsTest, ComparisonsChooseTextOrNumberRules) {
  EXPECT_EQ(Eval("'ABC' = 'ABC  '"), "1");
  EXPECT_EQ(Eval("'ABC' < 'ABD'"), "1");
  EXPECT_EQ(Eval("'10' < '9'"), "1");  // both texts: collated
  EXPECT_EQ(Eval("10 < '9'"), "0");    // mixed: as numbers
  EXPECT_EQ(Eval("'10' = 10.0"), "1");
  EXPECT_EQ(Eval("0.1 + 0.2 = 0.3"), "1");
  EXPECT_EQ(Eval("0.1 + 0.2 <> 0.3"), "0");
  EXPECT_EQ(Eval("1 = 1.000001"), "0");
  EXPECT_EQ(Eval("'' = '   '"), "1");
}

TEST_F(ExprBuiltinsTest, TruthValuesOfNumbersAndTexts) {
  EXPECT_EQ(Eval("NOT 0.0000001"), "0");  // non-zero exactly
  EXPECT_EQ(Eval("NOT '   '"), "1");      // blank after clipping
  EXPECT_EQ(Eval("NOT ' x '"), "0");
  EXPECT_EQ(Eval("NOT '0'"), "0");  // a text is true when not blank
  EXPECT_EQ(Eval("'a' AND 2"), "1");
  EXPECT_EQ(Eval("'' OR 0"), "0");
  EXPECT_EQ(Eval("'x' XOR 0"), "1");
  EXPECT_EQ(Eval("'x' XOR 3"), "0");
}

TEST_F(ExprBuiltinsTest, MathematicalFunctions) {
  EXPECT_EQ(Eval("ABS(-2.5)"), "2.5");
  EXPECT_NEAR(Real("ACOS(0)"), M_PI / 2, 1e-12);
  EXPECT_NEAR(Real("ASIN(1)"), M_PI / 2, 1e-12);
  EXPECT_NEAR(Real("ATAN(1)"), M_PI / 4, 1e-12);
  EXPECT_NEAR(Real("COS(0)"), 1, 1e-12);
  EXPECT_NEAR(Real("SIN(0)"), 0, 1e-12);
  EXPECT_NEAR(Real("TAN(1)"), std::tan(1.0), 1e-12);
  EXPECT_EQ(Eval("LOG10(1000)"), "3");
  EXPECT_NEAR(Real("LOGE(10)"), std::log(10.0), 1e-12);
  EXPECT_EQ(Eval("SQRT(16)"), "4");
  EXPECT_EQ(Eval("INT(-3.99)"), "-3");
  EXPECT_EQ(Eval("INT('7.9')"), "7");
  EXPECT_EQ(Eval("INRANGE(5, 1, 5)"), "1");
  EXPECT_EQ(Eval("INRANGE(0.1 + 0.2, 0, 0.3)"), "1");
  EXPECT_EQ(Eval("INRANGE(6, 1, 5)"), "0");
  EXPECT_EQ(Eval("INRANGE(0, 1, 5)"), "0");
}

TEST_F(ExprBuiltinsTest, RoundGoesToAPowerOfTenWithHalvesAwayFromZero) {
  EXPECT_EQ(Eval("ROUND(2.675, 0.01)"), "2.68");
  EXPECT_EQ(Eval("ROUND(-2.675, 0.01)"), "-2.68");
  EXPECT_EQ(Eval("ROUND(1250, 100)"), "1300");
  EXPECT_EQ(Eval("ROUND(1249, 100)"), "1200");
  EXPECT_EQ(Eval("ROUND(-0.5, 1)"), "-1");
  EXPECT_EQ(Eval("ROUND(2.5, 1)"), "3");
  EXPECT_EQ(Eval("ROUND(1.2345, 0.001)"), "1.235");
  EXPECT_EQ(Eval("ROUND(3.7, 0)"), "3.7");  // no step: unchanged
}

TEST_F(ExprBuiltinsTest, BitFunctionsWorkOn32BitValues) {
  EXPECT_EQ(Long("BAND(0FH, 3CH)"), 0x0C);
  EXPECT_EQ(Long("BOR(0F0H, 0FH)"), 0xFF);
  EXPECT_EQ(Long("BXOR(0FFH, 0FH)"), 0xF0);
  EXPECT_EQ(Long("BAND(-1, 80000000H)"), INT32_MIN);
  EXPECT_EQ(Long("BSHIFT(1, 4)"), 16);
  EXPECT_EQ(Long("BSHIFT(1, 31)"), INT32_MIN);
  EXPECT_EQ(Long("BSHIFT(-1, -28)"), 15);  // a right shift is logical
  EXPECT_EQ(Long("BSHIFT(1, 32)"), 0);
  EXPECT_EQ(Long("BSHIFT(-1, -32)"), 0);
  EXPECT_EQ(Long("BSHIFT(5, 0)"), 5);
  EXPECT_EQ(Long("BAND(7.9, 3)"), 3);  // real arguments truncated
}

TEST_F(ExprBuiltinsTest, StringFunctions) {
  EXPECT_EQ(Eval("LEFT('  AB', 4)"), "AB  ");
  EXPECT_EQ(Eval("LEFT('  AB')"), "AB  ");
  EXPECT_EQ(Eval("LEFT('AB', 1)"), "A");
  EXPECT_EQ(Eval("RIGHT('AB', 5)"), "   AB");
  EXPECT_EQ(Eval("RIGHT('AB  ')"), "  AB");
  EXPECT_EQ(Eval("CENTER('AB', 5)"), "  AB ");
  EXPECT_EQ(Eval("SUB('ABCDE', 2, 3)"), "BCD");
  EXPECT_EQ(Eval("SUB('ABCDE', -2, 2)"), "DE");
  EXPECT_EQ(Eval("SUB('ABCDE', 4)"), "DE");  // the rest of the text
  EXPECT_EQ(Eval("SUB('ABCDE', 9, 1)"), "");
  EXPECT_EQ(Eval("SUB('ABCDE', 2.9, 1.9)"), "B");  // truncated toward zero
  EXPECT_EQ(Eval("CLIP('ab  ') & '|'"), "ab|");
  EXPECT_EQ(Eval("UPPER('MiXed 1') & LOWER('MiXed 1')"), "MIXED 1mixed 1");
  EXPECT_EQ(Eval("ALL('AB', 5)"), "ABABA");
  EXPECT_EQ(Long("LEN(ALL('-'))"), 255);
  EXPECT_EQ(Long("INSTRING('CD', 'ABCDEF', 1, 1)"), 3);
  EXPECT_EQ(Long("INSTRING('CD', 'ABCDEF', 2, 1)"), 2);
  EXPECT_EQ(Long("INSTRING('CD', 'ABCDEF')"), 2);  // step defaults to the length
  EXPECT_EQ(Long("INSTRING('cd', 'ABCDEF', 1, 1)"), 0);
  EXPECT_EQ(Long("INSTRING('CD', 'ABCDEF', 1, 4)"), 0);
  EXPECT_EQ(Long("NUMERIC('12.5 ')"), 1);
  EXPECT_EQ(Long("NUMERIC('12a')"), 0);
  EXPECT_EQ(Long("NUMERIC('')"), 1);
  // Numbers become texts where a text is needed.
  EXPECT_EQ(Eval("SUB(12345, 2, 2) & LEFT(1.5, 4)"), "231.5 ");
}

TEST_F(ExprBuiltinsTest, CharacterCodes) {
  EXPECT_EQ(Eval("CHR(65) & CHR(322)"), "AB");  // the low eight bits
  EXPECT_EQ(Long("VAL('abc')"), 97);
  EXPECT_EQ(Long("VAL('')"), 0);
  EXPECT_EQ(Long("VAL(CHR(200))"), 200);
  EXPECT_EQ(Long("LEN('ab  ')"), 4);
  EXPECT_EQ(Long("LEN(12345)"), 5);
  EXPECT_EQ(Long("LEN('')"), 0);
}

TEST_F(ExprBuiltinsTest, DateFunctions) {
  EXPECT_EQ(Long("DATE(1, 1, 1801)"), 4);
  EXPECT_EQ(Long("DATE(14, 1, 1995)"), DateToDay(1996, 2, 1));
  EXPECT_EQ(Long("DATE(1, 32, 95)"), DateToDay(1995, 2, 1));
  int32_t day = DateToDay(1995, 1, 5);
  std::string d = std::to_string(day);
  EXPECT_EQ(Long("DAY(" + d + ")"), 5);
  EXPECT_EQ(Long("MONTH(" + d + ")"), 1);
  EXPECT_EQ(Long("YEAR(" + d + ")"), 1995);
  EXPECT_EQ(Long("YEAR(0)"), 0);  // no date
  EXPECT_EQ(Long("TODAY()"), Today());
  int32_t clock = Long("CLOCK()");
  EXPECT_GE(clock, 1);
  EXPECT_LE(clock, 8640000);
  EXPECT_EQ(Eval("AGE(" + std::to_string(day - 30) + ", " + d + ")"), "30 DAYS");
  EXPECT_EQ(Eval("AGE(DATE(1, 1, 1990), DATE(12, 31, 1995))"), "5 YRS");
}

TEST_F(ExprBuiltinsTest, PictureFunctions) {
  EXPECT_EQ(Eval("FORMAT(1234.5, @N10.2)"), "  1,234.50");
  EXPECT_EQ(Eval("FORMAT(DATE(1, 5, 1995), @D2)"), " 1/05/1995");
  EXPECT_EQ(Eval("DEFORMAT(' 1/05/1995', @D2)"), std::to_string(DateToDay(1995, 1, 5)));
  EXPECT_EQ(Eval("DEFORMAT('$1,234.50-')"), "-1234.50");
  EXPECT_EQ(Eval("FORMAT(5, '@N3')"), "  5");  // the picture may be any text
  EXPECT_EQ(Eval("FORMAT(5, 'nonsense')"), "");
}

TEST_F(ExprBuiltinsTest, RandomStaysWithinItsBounds) {
  bool sawLow = false;
  bool sawHigh = false;
  for (int i = 0; i < 400; ++i) {
    int32_t value = Long("RANDOM(3, 5)");
    ASSERT_GE(value, 3);
    ASSERT_LE(value, 5);
    sawLow |= value == 3;
    sawHigh |= value == 5;
  }
  EXPECT_TRUE(sawLow && sawHigh);
  int32_t reversed = Long("RANDOM(10, 8)");
  EXPECT_TRUE(reversed >= 8 && reversed <= 10);
  EXPECT_EQ(Long("RANDOM(7, 7)"), 7);
  EXPECT_GT(Long("MEMORY()"), 0);
}

}  // namespace
}  // namespace rk
