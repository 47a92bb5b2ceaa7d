#include "runtime/core/expr_symbols.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "runtime/core/error_state.h"
#include "runtime/core/expr_evaluation.h"
#include "runtime/core/expr_parser.h"
#include "runtime/core/expr_print.h"
#include "runtime/core/value_stack.h"

#include "tests/core/expr_test_fixture.h"

namespace rk {
namespace {

class ExprSymbolsTest : public ExprTest {
 protected:
  static ValueRef LongRef(int32_t& value) { return MakeValueRef(kLong, -1, 0, &value); }
  static ValueRef StringRef(char* field, int32_t size) {
    return MakeValueRef(kString, size, 0, field);
  }
};

TEST_F(ExprSymbolsTest, BoundVariablesAreReadWhenEvaluated) {
  int32_t count = 4;
  Bind("Count", LongRef(count));
  ExprTree tree = Evaluate("count * 2");
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(EvaluateAsLong(*tree), 8);
  count = 21;
  EXPECT_EQ(EvaluateAsLong(*tree), 42);
  EXPECT_EQ(PrintTree(*tree), "Count * 2");
}

TEST_F(ExprSymbolsTest, NamesKeepPrefixAndAreFoundWithoutRegardToCase) {
  char notes[12];
  std::memcpy(notes, "tape notes  ", 12);
  Bind("HTA:NOTES", StringRef(notes, 12));
  EXPECT_EQ(Eval("upper(hta:notes)"), "TAPE NOTES  ");
  EXPECT_EQ(Eval("Hta:Notes = 'tape notes'"), "1");  // trailing spaces do not count
  EXPECT_EQ(Eval("HTA:NOTES & '|'"), "tape notes  |");
  EXPECT_EQ(Eval("NOT HTA:NOTES"), "0");
  std::memset(notes, ' ', 12);
  EXPECT_EQ(Eval("NOT HTA:NOTES"), "1");
  EXPECT_EQ(Eval("NOTES"), "error 801");
}

TEST_F(ExprSymbolsTest, BindTakesItsNameFromTheValueStack) {
  int32_t value = 5;
  Values().PushText("FROMSTACK");
  BindFromStack(LongRef(value));
  EXPECT_EQ(Values().Depth(), 0u);
  EXPECT_EQ(Eval("FromStack + 1"), "6");

  // Names are cut to 99 characters.
  std::string longName(120, 'N');
  Bind(longName, LongRef(value));
  EXPECT_EQ(Eval(std::string(99, 'n')), "5");
}

TEST_F(ExprSymbolsTest, RebindingReplacesAndUnbindForgets) {
  int32_t first = 1;
  int32_t second = 2;
  Bind("V", LongRef(first));
  Bind("v", LongRef(second));
  EXPECT_EQ(Eval("V"), "2");

  ExprTree kept = Evaluate("V + 10");
  ASSERT_NE(kept, nullptr);
  Unbind();
  EXPECT_EQ(Eval("V"), "error 801");
  EXPECT_EQ(ErrorName(), "No BIND on variable");
  EXPECT_EQ(Eval("ABS(-1) AND 1"), "1");  // the built-ins come back
  // A tree parsed before keeps the symbols it uses.
  EXPECT_EQ(EvaluateAsLong(*kept), 12);
}

TEST_F(ExprSymbolsTest, EachThreadHasItsOwnTable) {
  int32_t a = 7;
  Bind("ONLYA", LongRef(a));
  BoundNamesSlot other;  // a thread that has not run yet
  SwapBoundNames(other);
  EXPECT_EQ(Eval("ONLYA"), "error 801");
  int32_t b = 9;
  Bind("ONLYB", LongRef(b));
  SwapBoundNames(other);  // back to the first thread
  EXPECT_EQ(Eval("ONLYA"), "7");
  EXPECT_EQ(Eval("ONLYB"), "error 801");
  SwapBoundNames(other);
  EXPECT_EQ(Eval("ONLYB"), "9");
}

int32_t Difference() {
  // The first argument is on top.
  int32_t first = Values().PopAsLong();
  int32_t second = Values().PopAsLong();
  return first - second;
}

double Half() {
  return Values().PopAsReal() / 2;
}

void Bracket() {
  std::string text(Values().Top());
  Values().Pop();
  Values().PushCopy("[" + text + "]");
}

// Leaves its argument and pushes two more slots.
void Untidy() {
  Values().PushText("junk");
  Values().PushText("result");
}

TEST_F(ExprSymbolsTest, BoundProceduresTakeTheirArgumentsFromTheStack) {
  ASSERT_TRUE(BindProcedure("DIFF", LongProcedure(Difference), 2, ResultClass::kInteger));
  ASSERT_TRUE(BindProcedure("HALF", RealProcedure(Half), 1, ResultClass::kReal));
  ASSERT_TRUE(BindProcedure("BRACKET", TextProcedure(Bracket), 1, ResultClass::kText));
  ASSERT_TRUE(BindProcedure("UNTIDY", TextProcedure(Untidy), 1, ResultClass::kText));
  EXPECT_EQ(Eval("DIFF(10, 3)"), "7");
  EXPECT_EQ(Eval("HALF(5) + 1"), "3.5");
  EXPECT_EQ(Eval("BRACKET('a' & 1) & BRACKET(2)"), "[a1][2]");
  EXPECT_EQ(Eval("UNTIDY('x') & '!'"), "result!");
  EXPECT_EQ(Eval("DIFF(1)"), "error 800");
  EXPECT_EQ(Eval("DIFF(1, 2, 3)"), "error 800");
  EXPECT_EQ(Eval("PrintMe"), "error 801");

  // The address must answer in the class declared.
  EXPECT_FALSE(BindProcedure("BAD", LongProcedure(Difference), 2, ResultClass::kText));
  EXPECT_FALSE(BindProcedure("BAD", TextProcedure(Bracket), -1, ResultClass::kText));
  EXPECT_EQ(Eval("BAD(1, 2)"), "error 801");
}

TEST_F(ExprSymbolsTest, SubscriptsAndSlices) {
  int32_t array[3] = {10, 20, 30};
  ValueRef dimensioned = MakeValueRef(kLong | kRefDimensioned, -1, 0, array);
  dimensioned.count = 3;
  Bind("A", dimensioned);
  char title[8];
  std::memcpy(title, "ABCDEFG ", 8);
  Bind("T", StringRef(title, 8));

  EXPECT_EQ(Eval("A[2]"), "20");
  EXPECT_EQ(Eval("A[1] + A[3]"), "40");
  EXPECT_EQ(Eval("A[1 + 1] * 2"), "40");
  EXPECT_EQ(Eval("A[0] & '|' & A[4]"), "|");  // outside the array: nothing
  EXPECT_EQ(Eval("A[1, 2]"), "error 800");
  EXPECT_EQ(Eval("T[1]"), "error 800");  // not dimensioned
  EXPECT_EQ(Eval("T[2 : 4]"), "BCD");
  EXPECT_EQ(Eval("T[5 : 99]"), "EFG ");
  EXPECT_EQ(Eval("T[-3 : 1]"), "A");
  EXPECT_EQ(Eval("T[4 : 2] = ''"), "1");
  EXPECT_EQ(Eval("T[2:4]"), "BCD");
  EXPECT_EQ(Eval("T[2 : 4"), "error 800");
}

}  // namespace
}  // namespace rk
