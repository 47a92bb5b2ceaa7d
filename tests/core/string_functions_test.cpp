#include "runtime/core/string_functions.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/core/collation.h"
#include "runtime/core/value_stack.h"

namespace rk {
namespace {

// Pushes text, applies f and returns the resulting top.
template <typename F>
std::string Apply(const std::string& text, F f) {
  Values().PushText(text);
  f();
  return Values().PopString();
}

TEST(StringFunctions, ClipLeftRightCenter) {
  EXPECT_EQ(Apply("ab  ", [] { CLIP(); }), "ab");
  EXPECT_EQ(Apply("   ", [] { CLIP(); }), "");
  EXPECT_EQ(Apply("  ab ", [] { LEFT(); }), "ab   ");
  EXPECT_EQ(Apply("  ab ", [] { LEFT(3); }), "ab ");
  EXPECT_EQ(Apply("ab", [] { LEFT(4); }), "ab  ");
  EXPECT_EQ(Apply("ab  ", [] { RIGHT(); }), "  ab");
  EXPECT_EQ(Apply("abcdef", [] { RIGHT(3); }), "def");
  EXPECT_EQ(Apply("AB", [] { CENTER(5); }), "  AB ");
  EXPECT_EQ(Apply("  AB    ", [] { CENTER(); }), "   AB   ");
  EXPECT_EQ(Apply("ABCDE", [] { CENTER(2); }), "CD");  // 3 cut: 2 left, 1 right
}

TEST(StringFunctions, SubCountsFromEitherEnd) {
  EXPECT_EQ(Apply("ABCDE", [] { SUB(-2, 2); }), "DE");
  EXPECT_EQ(Apply("ABCDE", [] { SUB(4, 10); }), "DE");
  EXPECT_EQ(Apply("ABCDE", [] { SUB(9, 1); }), "");
  EXPECT_EQ(Apply("ABCDE", [] { SUB(-10, 2); }), "AB");
  EXPECT_EQ(Apply("ABCDE", [] { SUB(0, 2); }), "AB");
  EXPECT_EQ(Apply("ABCDE", [] { SUB(2, -1); }), "");
}

TEST(StringFunctions, CaseFollowsTheCaseTable) {
  std::string field = "Mixed \xE9";
  EXPECT_EQ(Apply(field, [] { UPPER(); }), "MIXED \xE9");
  EXPECT_EQ(field, "Mixed \xE9");  // the pushed field itself is never changed
  SetSystemCasePairs();
  EXPECT_EQ(Apply(field, [] { UPPER(); }), "MIXED \xC9");
  EXPECT_EQ(Apply("ABC", [] { LOWER(); }), "abc");
  ResetCharacterSets();
  EXPECT_EQ(Apply("", [] { UPPER(); }), "");
}

int32_t InString(const char* sub, const char* text, int32_t step, int32_t start) {
  Values().PushText(text);
  Values().PushText(sub);
  return INSTRING(step, start);
}

TEST(StringFunctions, InStringSearchesBySteps) {
  EXPECT_EQ(InString("CD", "ABCDEF", 1, 1), 3);
  EXPECT_EQ(InString("CD", "ABCDEF", 2, 1), 2);
  EXPECT_EQ(InString("CD", "ABCDEF", 0, 1), 2);  // step = substring length
  EXPECT_EQ(InString("DE", "ABCDEF", 2, 1), 0);  // not on a step
  EXPECT_EQ(InString("cd", "ABCDEF", 1, 1), 0);
  EXPECT_EQ(InString("", "ABCDEF", 1, 1), 0);
  EXPECT_EQ(InString("CD", "ABCDEF", 1, 0), 0);
  EXPECT_EQ(InString("ABCDEFG", "ABCDEF", 1, 1), 0);
  EXPECT_EQ(InString("B", "ABAB", 1, 3), 4);
  // Backwards from far beyond the end finds the A at 3 at once: (3 - 1) div -1 + 1.
  EXPECT_EQ(InString("A", "ABAB", -1, 2000000000), -1);
  EXPECT_EQ(Values().Depth(), 0u);
}

TEST(StringFunctions, AllNumericLen) {
  EXPECT_EQ(Apply("AB", [] { ALL(5); }), "ABABA");
  EXPECT_EQ(Apply("*", [] { ALL(); }), std::string(255, '*'));
  EXPECT_EQ(Apply("", [] { ALL(5); }), "");

  auto numeric = [](const std::string& text) {
    Values().PushText(text);
    return NUMERIC();
  };
  EXPECT_TRUE(numeric(" -12.5e3  "));
  EXPECT_TRUE(numeric(""));
  EXPECT_FALSE(numeric("12a"));
  EXPECT_FALSE(numeric("."));
  EXPECT_TRUE(numeric(std::string(39, '1') + "x"));  // only 39 characters count

  Values().PushText("ab  ");
  EXPECT_EQ(LEN(), 4);
}

}  // namespace
}  // namespace rk
