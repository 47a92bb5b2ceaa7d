#include "runtime/core/clipped_text.h"

#include <gtest/gtest.h>

#include <string_view>

namespace rk {
namespace {

using namespace std::string_view_literals;

TEST(ClippedText, ClipRightRemovesOnlyTrailingSpaces) {
  EXPECT_EQ(ClipRight("  two words   "), "  two words");
  EXPECT_EQ(ClipRight("tab\t "), "tab\t");
  EXPECT_EQ(ClipRight("nul\0 "sv), "nul\0"sv);
  EXPECT_EQ(ClipRight("    "), "");
  EXPECT_EQ(ClipRight(""), "");
}

TEST(ClippedText, ClipBothRemovesSpacesAtEitherEnd) {
  EXPECT_EQ(ClipBoth("   12.50  "), "12.50");
  EXPECT_EQ(ClipBoth(" a  b "), "a  b");
  EXPECT_EQ(ClipBoth("\tx "), "\tx");
  EXPECT_EQ(ClipBoth("     "), "");
}

TEST(ClippedText, ClipRightBlanksAlsoRemovesTrailingTabs) {
  EXPECT_EQ(ClipRightBlanks("value \t \t"), "value");
  EXPECT_EQ(ClipRightBlanks(" \tvalue"), " \tvalue");
  EXPECT_EQ(ClipRightBlanks("x\n"), "x\n");
  EXPECT_EQ(ClipRightBlanks("\t\t"), "");
}

TEST(ClippedText, ResultIsAViewIntoTheArgument) {
  std::string_view text = "name    ";
  EXPECT_EQ(ClipRight(text).data(), text.data());
  EXPECT_EQ(ClipRightBlanks(text).data(), text.data());
}

}  // namespace
}  // namespace rk
