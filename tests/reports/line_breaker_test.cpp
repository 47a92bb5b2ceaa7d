#include "runtime/reports/line_breaker.h"

#include <gtest/gtest.h>

namespace rk {
namespace {

// Every character ten units wide.
int32_t Tens(std::string_view text) {
  return static_cast<int32_t>(text.size()) * 10;
}

using Lines = std::vector<std::string>;

TEST(LineBreakerTest, WordsFillEachLineUpToTheWidth) {
  EXPECT_EQ(BreakLines("the quick brown fox jumps", 100, Tens),
            (Lines{"the quick", "brown fox", "jumps"}));
  // A line exactly as wide as the width still fits.
  EXPECT_EQ(BreakLines("abcd efghi", 100, Tens), (Lines{"abcd efghi"}));
  // Runs of spaces between words do not leave empty lines or leading spaces.
  EXPECT_EQ(BreakLines("aaaa     bbbb   cccc", 90, Tens), (Lines{"aaaa bbbb", "cccc"}));
}

TEST(LineBreakerTest, AWordWiderThanTheWidthIsCutWhereItReachesIt) {
  EXPECT_EQ(BreakLines("abcdefghijklm", 50, Tens), (Lines{"abcde", "fghij", "klm"}));
  EXPECT_EQ(BreakLines("ab abcdefgh", 50, Tens), (Lines{"ab", "abcde", "fgh"}));
  // Narrower than one character: one character a line, never an endless loop.
  EXPECT_EQ(BreakLines("abc", 5, Tens), (Lines{"a", "b", "c"}));
}

TEST(LineBreakerTest, TheTextsOwnLineBreaksAndEmptyLinesStay) {
  EXPECT_EQ(BreakLines("one two\r\nthree\rfour\n\nfive", 1000, Tens),
            (Lines{"one two", "three", "four", "", "five"}));
  EXPECT_EQ(BreakLines("", 100, Tens), (Lines{""}));
}

TEST(LineBreakerTest, WithoutAWidthOnlyLineBreaksDivideAndTrailingSpacesGo) {
  EXPECT_EQ(BreakLines("a very long line indeed   \nnext  ", 0, Tens),
            (Lines{"a very long line indeed", "next"}));
}

}  // namespace
}  // namespace rk
