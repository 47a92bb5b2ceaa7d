#include "tools/common/json_string.h"

#include <gtest/gtest.h>

#include <string_view>

namespace rk::tools {
namespace {

using namespace std::string_view_literals;

TEST(JsonString, QuoteAndBackslashAreEscaped) {
  EXPECT_EQ(JsonString(R"(a"b\c)"), R"("a\"b\\c")");
}

TEST(JsonString, ControlCharactersAsUnicodeEscapes) {
  EXPECT_EQ(JsonString("a\nb\tc\r"), R"("a\u000ab\u0009c\u000d")");
  EXPECT_EQ(JsonString("\0\x1f\x7f"sv), R"("\u0000\u001f\u007f")");
}

TEST(JsonString, WindowsTextBecomesUtf8) {
  // The euro sign and e acute of Windows-1252, passed through as UTF-8.
  EXPECT_EQ(JsonString("\x80 caf\xE9"), "\"\u20AC caf\u00E9\"");
  EXPECT_EQ(JsonString(""), "\"\"");
}

}  // namespace
}  // namespace rk::tools
