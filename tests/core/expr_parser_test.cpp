#include "runtime/core/expr_parser.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "runtime/core/error_state.h"
#include "runtime/core/expr_evaluation.h"
#include "runtime/core/expr_print.h"
#include "runtime/core/expr_symbols.h"
#include "runtime/core/value_stack.h"

#include "tests/core/expr_test_fixture.h"

namespace rk {
namespace {

class ExprParserTest : public ExprTest {
 protected:
  static std::string Printed(std::string_view text) {
    ExprTree tree = Evaluate(text);
    return tree ? PrintTree(*tree) : "error " + std::to_string(ErrorCode());
  }
};

TEST_F(ExprParserTest, PrecedenceFollowsTheGrammarLevels) {
  EXPECT_EQ(Eval("1 + 2 * 3"), "7");
  EXPECT_EQ(Eval("(1 + 2) * 3"), "9");
  EXPECT_EQ(Eval("2 * 3 ^ 2"), "18");
  EXPECT_EQ(Eval("-2 ^ 2"), "4");  // the sign belongs to the primary
  EXPECT_EQ(Eval("2 ^ -1"), "0.5");
  EXPECT_EQ(Eval("1 + 2 & 3"), "33");        // sum binds tighter than concatenation
  EXPECT_EQ(Eval("'a' & 'b' = 'ab'"), "1");  // concatenation tighter than comparison
  EXPECT_EQ(Eval("NOT 1 = 2"), "1");         // NOT takes the whole comparison
  EXPECT_EQ(Eval("1 OR 0 AND 0"), "1");      // AND tighter than OR
  EXPECT_EQ(Eval("0 AND 0 OR 1"), "1");
  EXPECT_EQ(Eval("1 XOR 1 AND 0"), "1");
  EXPECT_EQ(Eval("~0"), "1");
  EXPECT_EQ(Eval("~ ~ 5"), "1");
  EXPECT_EQ(Eval("+3 - 1"), "2");
}

TEST_F(ExprParserTest, EveryBinaryLevelIsLeftAssociative) {
  EXPECT_EQ(Eval("2 ^ 3 ^ 2"), "64");
  EXPECT_EQ(Eval("10 - 4 - 3"), "3");
  EXPECT_EQ(Eval("64 / 4 / 2"), "8");
  EXPECT_EQ(Eval("17 % 5 * 2"), "4");
  EXPECT_EQ(Eval("3 > 2 > 0"), "1");  // (3 > 2) > 0
  EXPECT_EQ(Eval("1 = 1 = 1"), "1");
  EXPECT_EQ(Eval("2 = 2 = 2"), "0");  // (2 = 2) is 1, not 2
  EXPECT_EQ(Eval("1 XOR 1 XOR 1"), "1");
}

TEST_F(ExprParserTest, ComparisonSpellings) {
  EXPECT_EQ(Eval("2 <= 2"), "1");
  EXPECT_EQ(Eval("2 =< 1"), "0");
  EXPECT_EQ(Eval("3 >= 4"), "0");
  EXPECT_EQ(Eval("3 => 3"), "1");
  EXPECT_EQ(Eval("1 <> 2"), "1");
  EXPECT_EQ(Eval("1 ~= 1"), "0");
  EXPECT_EQ(Eval("1 < 2"), "1");
  EXPECT_EQ(Eval("1 > 2"), "0");
}

TEST_F(ExprParserTest, ConstantsOfEveryForm) {
  EXPECT_EQ(Eval("10H"), "16");
  EXPECT_EQ(Eval("17O"), "15");
  EXPECT_EQ(Eval("101B"), "5");
  EXPECT_EQ(Eval("10H + 1"), "17");
  EXPECT_EQ(Eval("'It''s'"), "It's");
  EXPECT_EQ(Eval("'It''s'").size(), 4u);
  EXPECT_EQ(Eval(".25 * 4"), "1");
  EXPECT_EQ(Eval("1.5e2"), "150");
  EXPECT_EQ(Eval("@N12.2"), "@N12.2");
}

TEST_F(ExprParserTest, ArgumentCountsAreChecked) {
  EXPECT_EQ(Eval("ABS(-3)"), "3");
  EXPECT_EQ(Eval("ABS(1, 2)"), "error 800");
  EXPECT_EQ(Eval("ABS()"), "error 800");
  EXPECT_EQ(Eval("ABS"), "error 800");
  EXPECT_EQ(Eval("BAND(12)"), "error 800");
  EXPECT_EQ(Eval("INRANGE(1, 2, 3, 4)"), "error 800");
  // A function without arguments may leave out its parentheses.
  EXPECT_EQ(Eval("TODAY = TODAY()"), "1");
}

TEST_F(ExprParserTest, EveryKindOfFaultIsRefusedWithItsCode) {
  const char* invalid[] = {
      "",        "- -2",    "(1",    "1)",        "1 +",     "* 2",     "1 2",
      "AND 1",   "1 AND",   "NOT",   "'open",     "19O",     "1 ~ 2",   "@",
      "ABS(1,)", "ABS(,1)", "ABS(1", "(1))",      "1 $ 2",   "[1]",     "1 <",
      "1 = = 2", "1 & & 2", "()",    "ABS(1)(2)", "3 NOT 2", "'a' 'b'", "1 ^",
  };
  for (const char* text : invalid) {
    SetError(5, "stale");
    EXPECT_EQ(Eval(text), "error 800") << text;
    EXPECT_EQ(ErrorName(), "Invalid expression for EVALUATE") << text;
  }
  EXPECT_EQ(Eval("NOSUCHNAME + 1"), "error 801");
  EXPECT_EQ(ErrorName(), "No BIND on variable");
  EXPECT_EQ(Eval("1 + upper(nosuch)"), "error 801");
}

TEST_F(ExprParserTest, SuccessClearsTheErrorState) {
  SetError(801, "No BIND on variable");
  ExprTree tree = Evaluate("1");
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(ErrorCode(), 0);
}

TEST_F(ExprParserTest, NestingIsBounded) {
  std::string nested(kMaxExpressionNesting, '(');
  nested += "1" + std::string(kMaxExpressionNesting, ')');
  EXPECT_EQ(Eval(nested), "1");
  EXPECT_EQ(Eval("(" + nested + ")"), "error 800");

  std::string manyNots;
  for (int i = 0; i < 1000; ++i) manyNots += "NOT ";
  EXPECT_EQ(Eval(manyNots + "1"), "error 800");
}

TEST_F(ExprParserTest, PrintTreeSpellsOperatorsAndKeepsNeededParentheses) {
  EXPECT_EQ(Printed("1+2*3"), "1 + 2 * 3");
  EXPECT_EQ(Printed("(1+2)*3"), "(1 + 2) * 3");
  EXPECT_EQ(Printed("1-(2-3)"), "1 - (2 - 3)");
  EXPECT_EQ(Printed("(1-2)-3"), "1 - 2 - 3");
  EXPECT_EQ(Printed("-(2^2)"), "-(2 ^ 2)");
  EXPECT_EQ(Printed("-2^2"), "-2 ^ 2");
  EXPECT_EQ(Printed("a = 1"), "error 801");
  EXPECT_EQ(Printed("1 =< 2 AND NOT 3 ~= 4 or 5 xor 6"), "1 <= 2 AND NOT 3 <> 4 OR 5 XOR 6");
  EXPECT_EQ(Printed("NOT (1 AND 2)"), "NOT (1 AND 2)");
  EXPECT_EQ(Printed("1 % 2 & 'x''y' <> @n9 => 7/8"), "1 % 2 & 'x''y' <> @n9 >= 7 / 8");
  EXPECT_EQ(Printed("sub('abc',1 , 2)"), "SUB('abc', 1, 2)");
  EXPECT_EQ(Printed("today"), "TODAY()");
  EXPECT_EQ(Printed("1.5e3 + 0.25"), "1500 + 0.25");
}

// Evaluation refuses to start when the value stack has no room for the deepest
// part of the tree, instead of overflowing it.
TEST_F(ExprParserTest, EvaluationNeedsRoomOnTheValueStack) {
  ExprTree tree = Evaluate("'a' & ('b' & ('c' & 'd')) = 'abcd'");
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(tree->stackNeed, 4);
  for (size_t i = 0; i + 3 < ValueStack::kSlots; ++i) Values().PushText("filler");
  EXPECT_EQ(EvaluateAsLong(*tree), 0);
  EXPECT_EQ(ErrorCode(), 800);
  EXPECT_EQ(Values().Depth(), ValueStack::kSlots - 3);
  Values().Pop();
  ClearError();
  EXPECT_EQ(EvaluateAsLong(*tree), 1);
  EXPECT_EQ(ErrorCode(), 0);
  EXPECT_EQ(Values().Depth(), ValueStack::kSlots - 4);
}

// Printing and parsing again gives the same text: the parentheses kept are
// enough to rebuild the same tree.
TEST_F(ExprParserTest, PrintedTreesParseBackToThemselves) {
  const char* texts[] = {
      "2 / (3 * 4)",       "(2 / 3) * 4",  "1 < (2 = 3)", "(1 OR 2) AND 3",
      "1 OR (2 XOR 3)",    "-(1 + 2) ^ 2", "2 ^ (3 ^ 2)", "('a' & 'b') & 'c'",
      "'a' & ('b' & 'c')", "NOT NOT 1",    "(NOT 1) = 0", "ABS(-(2 - 5)) % 3",
  };
  for (const char* text : texts) {
    std::string once = Printed(text);
    EXPECT_EQ(Printed(once), once) << text;
    EXPECT_EQ(Eval(once), Eval(text)) << text;
  }
}

// Random and truncated texts: every one is either refused with an error code or
// parsed into a tree that evaluates, and the value stack is left as it was.
TEST_F(ExprParserTest, RandomAndTruncatedInputsNeverCrash) {
  const std::string alphabet = "0123456789.eEHOB+-*/%^&=<>~()[],:' @NnDPpKk\\\tABSUPERandornot";
  const char* seeds[] = {
      "UPPER('abc') & SUB('hello', 2, 3) = 'ABCell'",
      "INRANGE(5, 1, 10) AND NOT (2 ^ 3 ^ 2 <> 64) OR BSHIFT(1, 4) = 16",
      "FORMAT(1234.5, @N12`2) & DEFORMAT('1,234', @N9)",
      "INSTRING('cd', 'abcdef', 1, 1) + LEN(ALL('ab', 5)) * 10H - 101B",
  };
  std::mt19937 random(12345);
  auto check = [&](const std::string& text) {
    Values().PushText("guard");
    ExprTree tree = Evaluate(text);
    if (tree) {
      EvaluateAsText(*tree);
      EvaluateAsLong(*tree);
    } else {
      EXPECT_TRUE(ErrorCode() == 800 || ErrorCode() == 801) << text;
    }
    ASSERT_EQ(Values().Depth(), 1u) << text;
    Values().Pop();
  };
  for (const char* seed : seeds) {
    std::string text = seed;
    for (size_t length = 0; length <= text.size(); ++length) check(text.substr(0, length));
  }
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    size_t length = random() % 24;
    for (size_t i = 0; i < length; ++i) text.push_back(alphabet[random() % alphabet.size()]);
    check(text);
  }
  for (int round = 0; round < 500; ++round) {
    std::string text = seeds[random() % std::size(seeds)];
    text[random() % text.size()] = static_cast<char>(random() % 256);
    check(text);
  }
}

}  // namespace
}  // namespace rk
