#include "runtime/core/value_stack.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "runtime/core/collation.h"
#include "runtime/core/evaluation_stacks.h"

namespace rk {
namespace {

char* MallocText(const char* text) {
  size_t n = std::strlen(text);
  auto* block = static_cast<char*>(std::malloc(n));
  std::memcpy(block, text, n);
  return block;
}

TEST(ValueStack, NumbersAndTruthValuesAsText) {
  ValueStack s;
  s.PushBool(false);
  EXPECT_EQ(s.PopLength(), 0u);
  s.PushBool(true);
  EXPECT_EQ(s.PopString(), "1");
  s.PushLong(-2147483647 - 1);
  EXPECT_EQ(s.PopString(), "-2147483648");
  s.PushReal(-1.2345678901234e-308);  // longer than the inline buffer
  EXPECT_EQ(s.PopString(), "-1.2345678901234e-308");
  s.PushText("  12.5xyz");
  EXPECT_EQ(s.PopAsReal(), 12.5);
  s.PushText("2.9999999999999996");
  EXPECT_EQ(s.PopAsLong(), 3);
  // An empty view carries no characters at all (its data may be null).
  s.PushCopy(std::string_view{});
  EXPECT_EQ(s.PopString(), "");
}

TEST(ValueStack, ComparisonIgnoresTrailingSpaces) {
  ValueStack s;
  auto compare = [&](const char* second, const char* top) {
    s.PushText(second);
    s.PushText(top);
    return s.CompareTop();
  };
  EXPECT_EQ(compare("ABC", "ABC   "), 0);
  EXPECT_EQ(compare("ABC", "ABD"), -1);
  EXPECT_EQ(compare("AB", "AB!"), -1);
  SetCollatingList("! ");  // now '!' weighs less than a space
  EXPECT_EQ(compare("AB", "AB!"), 1);
  ResetCharacterSets();
  EXPECT_EQ(compare("", ""), 0);
  EXPECT_EQ(compare("", "  "), 0);

  s.PushText("abc");
  s.PushText("ABCD");
  EXPECT_EQ(s.ComparePrefix(), 1);
  s.PushText("abc  ");
  s.PushText("ABC");
  EXPECT_EQ(s.CompareNoCase(), 0);
  s.PushText("abc");
  s.PushText("ABCD");
  EXPECT_EQ(s.CompareNoCase(), -1);
  s.PushText("b");
  s.PushText("a");
  EXPECT_EQ(s.CompareTopReversed(), -1);
  EXPECT_EQ(s.Depth(), 0u);
}

TEST(ValueStack, WritableCopiesNeverTouchForeignText) {
  ValueStack s;
  char field[] = "HELLO";
  s.PushText(field, 5);
  s.WritableTop()[0] = 'J';
  EXPECT_STREQ(field, "HELLO");
  EXPECT_EQ(s.Top(), "JELLO");

  s.SetTopLength(8);
  EXPECT_EQ(s.Top(), "JELLO   ");
  s.SetTopLength(2);
  EXPECT_EQ(s.Top(), "JE");

  std::string longText(40, 'x');
  s.PushText(longText);
  s.WritableTop()[0] = 'y';
  EXPECT_EQ(longText[0], 'x');
  s.Clear();
}

TEST(ValueStack, PopsIntoFixedFields) {
  ValueStack s;
  char field[6];
  s.PushText("AB");
  s.PopToField(field, 6);
  EXPECT_EQ(std::string(field, 6), "AB    ");
  s.PushText("ABCDEFGH");
  s.PopToField(field, 6);
  EXPECT_EQ(std::string(field, 6), "ABCDEF");

  char cstring[4];
  s.PushText("ABCDEFGH");
  s.PopToCString(cstring, 4);
  EXPECT_STREQ(cstring, "ABC");

  char counted[4];
  s.PushText("ABCDEFGH");
  s.PopToCountedText(counted, 4);
  EXPECT_EQ(counted[0], 3);
  EXPECT_EQ(std::string(counted + 1, 3), "ABC");

  s.PushOwnedText(MallocText("owned"), 5);
  char* block = nullptr;
  size_t length = 0;
  s.PopToOwned(block, length);
  EXPECT_EQ(std::string(block, length), "owned");
  std::free(block);
}

TEST(ValueStack, RollConcatAndSaveRestoreKeepOrderAndOwnership) {
  ValueStack s;
  s.PushText("a");
  s.PushLong(2);
  s.PushOwnedText(MallocText("c"), 1);
  s.Roll(2);
  EXPECT_EQ(s.Peek(0), "a");
  EXPECT_EQ(s.Peek(1), "c");
  EXPECT_EQ(s.Peek(2), "2");

  s.Concat();
  EXPECT_EQ(s.Top(), "ca");
  s.PushText("x");
  s.ConcatReversed();
  EXPECT_EQ(s.Top(), "xca");

  auto saved = s.SaveStack();
  EXPECT_EQ(s.Depth(), 0u);
  s.PushText("inner");
  s.RestoreStack(std::move(saved));
  ASSERT_EQ(s.Depth(), 2u);
  EXPECT_EQ(s.Peek(0), "xca");
  EXPECT_EQ(s.Peek(1), "2");  // inline text survives the move

  s.SaveStack();  // the discarded block frees the owned text (checked under the sanitizers)
  s.PushText("left over");
  s.RestoreStack(nullptr);
  EXPECT_EQ(s.Depth(), 0u);

  s.PushText("  ");
  EXPECT_FALSE(s.IsNonBlank());
  s.PushText(" x ");
  EXPECT_TRUE(s.IsNonBlank());
}

TEST(ValueStack, SwapExchangesWholeThreadState) {
  EvaluationStacks other;
  other.values.PushLong(42);
  other.decimals.PushLong(7);
  Values().PushText("mine");
  SwapEvaluationStacks(other);
  EXPECT_EQ(Values().PopString(), "42");
  EXPECT_EQ(Decimals().PopLong(), 7);
  EXPECT_EQ(other.values.Top(), "mine");
  SwapEvaluationStacks(other);
  EXPECT_EQ(Values().PopString(), "mine");
}

using ValueStackDeathTest = ::testing::TestWithParam<int>;

// Every kind of push onto a full stack stops the program instead of writing
// past the last slot.
TEST_P(ValueStackDeathTest, PushOntoFullStackIsAnInternalError) {
  ValueStack s;
  for (size_t i = 0; i < ValueStack::kSlots; ++i) s.PushLong(static_cast<int32_t>(i));
  auto push = [&] {
    switch (GetParam()) {
      case 0:
        s.PushText("x");
        break;
      case 1:
        s.PushOwnedText(MallocText("x"), 1);
        break;
      case 2:
        s.PushEmpty();
        break;
      case 3:
        s.PushLong(1);
        break;
      case 4:
        s.PushReal(1.5);
        break;
      case 5:
        s.PushBool(true);
        break;
      case 6:
        s.PushCopy(std::string(30, 'x'));
        break;
      default:
        s.PushBool(false);
        break;
    }
  };
  EXPECT_EXIT(push(), ::testing::ExitedWithCode(2), "Stack overflow");
}

INSTANTIATE_TEST_SUITE_P(EveryPush, ValueStackDeathTest, ::testing::Range(0, 8));

TEST(ValueStackDeathTest, PopOfEmptyStackIsAnInternalError) {
  ValueStack s;
  EXPECT_EXIT(s.Pop(), ::testing::ExitedWithCode(2), "Internal error 02");
}

}  // namespace
}  // namespace rk
