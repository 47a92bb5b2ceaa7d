// Texts asked for beyond the longest text the value stack holds: each gives the
// empty text and error 405 instead of exhausting memory, and the evaluator goes
// on. Lengths up to the limit still build in full.
#include "runtime/core/text_length_limit.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "runtime/core/error_state.h"
#include "runtime/core/expr_evaluation.h"
#include "runtime/core/expr_parser.h"
#include "runtime/core/string_functions.h"
#include "runtime/core/value_stack.h"

#include "tests/core/expr_test_fixture.h"

namespace rk {
namespace {

constexpr auto kLimit = static_cast<int32_t>(kMaxTextLength);

class TextLengthLimitTest : public ExprTest {
 protected:
  // Pushes text, applies f and pops the top; the stack must be empty after.
  template <typename F>
  static std::string Apply(std::string_view text, F f) {
    Values().PushText(text);
    f();
    std::string top = Values().PopString();
    EXPECT_EQ(Values().Depth(), 0u);
    return top;
  }

  static int32_t Long(std::string_view expression) {
    ExprTree tree = Evaluate(expression);
    EXPECT_NE(tree, nullptr) << expression;
    return tree ? EvaluateAsLong(*tree) : -1;
  }
};

TEST_F(TextLengthLimitTest, StringFunctionsRefuseLengthsBeyondTheLimit) {
  const struct {
    const char* name;
    void (*apply)();
  } cases[] = {
      {"RIGHT", [] { RIGHT(2147483645); }},
      {"LEFT", [] { LEFT(kLimit + 1); }},
      {"CENTER", [] { CENTER(2147483647); }},
      {"ALL", [] { ALL(kLimit + 1); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ClearError();
    EXPECT_EQ(Apply("x", c.apply), "");
    EXPECT_EQ(ErrorCode(), kTextTooLongError);
    EXPECT_EQ(ErrorName(), "Variable out of range");
  }
}

TEST_F(TextLengthLimitTest, LengthsUpToTheLimitBuildInFull) {
  std::string filled = Apply("ab", [] { ALL(kLimit); });
  ASSERT_EQ(filled.size(), kMaxTextLength);
  EXPECT_EQ(filled.substr(0, 5), "ababa");
  EXPECT_EQ(filled.substr(filled.size() - 2), "ab");  // the limit is even

  std::string right = Apply("xy", [] { RIGHT(kLimit - 1); });
  ASSERT_EQ(right.size(), kMaxTextLength - 1);
  EXPECT_EQ(right.substr(right.size() - 3), " xy");
  EXPECT_EQ(Apply("xy", [] { LEFT(kLimit); }).size(), kMaxTextLength);
  EXPECT_EQ(Apply("xy", [] { CENTER(kLimit); }).size(), kMaxTextLength);
  EXPECT_EQ(ErrorCode(), 0);
}

TEST_F(TextLengthLimitTest, AllRepeatsWholeCopiesThenAPart) {
  // The fill doubles what it has built; the pattern must still restart at every copy.
  EXPECT_EQ(Apply("abc", [] { ALL(11); }), "abcabcabcab");
  EXPECT_EQ(Apply("abc", [] { ALL(2); }), "ab");
  EXPECT_EQ(Apply("z", [] { ALL(4); }), "zzzz");
}

TEST_F(TextLengthLimitTest, StackOperationsRefuseTextsBeyondTheLimit) {
  ValueStack& stack = Values();
  std::string half(kMaxTextLength / 2 + 1, 'h');
  stack.PushText(half);
  stack.PushText(half);
  stack.Concat();
  EXPECT_EQ(stack.PopLength(), 0u);
  EXPECT_EQ(ErrorCode(), kTextTooLongError);

  ClearError();
  stack.PushText("abc");
  stack.SetTopLength(kMaxTextLength + 1);
  EXPECT_EQ(stack.PopLength(), 0u);
  EXPECT_EQ(ErrorCode(), kTextTooLongError);

  ClearError();
  std::string tooLong(kMaxTextLength + 1, 'c');
  stack.PushCopy(tooLong);
  EXPECT_EQ(stack.PopLength(), 0u);
  EXPECT_EQ(ErrorCode(), kTextTooLongError);

  ClearError();
  stack.PushText("abc");
  stack.SetTopLength(kMaxTextLength);
  EXPECT_EQ(stack.PopLength(), kMaxTextLength);
  // PushText keeps a view, so the text must outlive its slot.
  const std::string exactHalf = half.substr(1);
  stack.PushText(exactHalf);
  stack.PushText(exactHalf);
  stack.Concat();
  EXPECT_EQ(stack.PopLength(), kMaxTextLength);
  EXPECT_EQ(ErrorCode(), 0);
}

TEST_F(TextLengthLimitTest, TheEvaluatorGoesOnAfterARefusedLength) {
  EXPECT_EQ(Eval("RIGHT('x', 2147483645)"), "");
  EXPECT_EQ(ErrorCode(), kTextTooLongError);
  EXPECT_EQ(Eval("'<' & ALL('ab', 2147483647) & '>'"), "<>");
  EXPECT_EQ(Long("LEN(CENTER('x', 2147483647)) + 1"), 1);
  // Two halves that fit alone are refused together.
  EXPECT_EQ(Long("LEN(ALL('a', 9000000) & ALL('b', 9000000))"), 0);

  ClearError();
  EXPECT_EQ(Eval("SUB(RIGHT('x', 3), 2) & '|'"), " x|");
  EXPECT_EQ(Long("LEN(ALL('a', 8000000) & ALL('b', 8000000))"), 16000000);
  EXPECT_EQ(ErrorCode(), 0);
}

}  // namespace
}  // namespace rk
