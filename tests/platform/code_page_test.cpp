#include "runtime/platform/code_page.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/platform/system_text.h"

namespace rk::platform {
namespace {

std::string AllBytes() {
  std::string bytes;
  for (int c = 0; c < 256; ++c) bytes += static_cast<char>(c);
  return bytes;
}

TEST(CodePage, EveryAnsiByteRoundTripsThroughUnicode) {
  std::string bytes = AllBytes();
  EXPECT_EQ(Utf16ToAnsi(AnsiToUtf16(bytes)), bytes);
  EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(bytes)), bytes);
  EXPECT_EQ(AnsiToUtf8("\x80\xE9"), "\u20AC\u00E9");
  EXPECT_EQ(Utf8ToAnsi("\u0160\u4E2D"), "\x8A?");
}

TEST(CodePage, MalformedUtf8BecomesOneMarkPerBadByte) {
  EXPECT_EQ(Utf8ToAnsi("a\xC3"), "a?");
  EXPECT_EQ(Utf8ToAnsi("\xC0\xAF"), "??");       // overlong
  EXPECT_EQ(Utf8ToAnsi("\xED\xA0\x80"), "???");  // surrogate
  EXPECT_EQ(Utf16ToAnsi(u"\U0001F600x"), "?x");
}

TEST(CodePage, StrictConversionKeepsEveryCharacterThatHasAByte) {
  std::string problem;
  EXPECT_EQ(Utf8ToAnsiStrict("Caf\u00E9 \u20AC 5 \u201Cquoted\u201D? \u0178", problem),
            "Caf\xE9 \x80 5 \x93quoted\x94? \x9F");
  EXPECT_EQ(problem, "");
}

TEST(CodePage, StrictConversionNamesTheFirstUnmappableCharacterAndItsPosition) {
  std::string problem;
  EXPECT_FALSE(Utf8ToAnsiStrict("ab\u0416c\u4E2D", problem).has_value());
  EXPECT_EQ(problem, "character U+0416 has no ANSI code (byte 3 of the text)");
  // The five undefined bytes' controls are not characters of the page.
  EXPECT_FALSE(Utf8ToAnsiStrict("x\u0081", problem).has_value());
  EXPECT_EQ(problem, "character U+0081 has no ANSI code (byte 2 of the text)");
  EXPECT_FALSE(Utf8ToAnsiStrict("\U0001F600", problem).has_value());
  EXPECT_EQ(problem, "character U+1F600 has no ANSI code (byte 1 of the text)");
  EXPECT_FALSE(Utf8ToAnsiStrict("\uFFFD", problem).has_value());
  EXPECT_EQ(problem, "character U+FFFD has no ANSI code (byte 1 of the text)");
}

TEST(CodePage, StrictConversionReportsMalformedUtf8) {
  std::string problem;
  EXPECT_FALSE(Utf8ToAnsiStrict("ok\xC0\xAF", problem).has_value());
  EXPECT_EQ(problem, "malformed UTF-8 (byte 3 of the text)");
  EXPECT_FALSE(Utf8ToAnsiStrict("abc\xE2\x82", problem).has_value());
  EXPECT_EQ(problem, "malformed UTF-8 (byte 4 of the text)");
}

TEST(CodePage, OemAndAnsiShareTheirCommonCharacters) {
  EXPECT_EQ(OemToAnsi(0x81), 0xFC);  // u-umlaut
  EXPECT_EQ(OemToAnsi(0xE1), 0xDF);  // sharp s
  EXPECT_EQ(OemToAnsi(0x9C), 0xA3);  // pound sign
  EXPECT_EQ(OemToAnsi(0xC4), '-');   // box drawing has no counterpart
  EXPECT_EQ(OemToAnsi(0xB3), '|');
  EXPECT_EQ(AnsiToOem(0xC0), 'A');  // A-grave is not in the OEM page
  int shared = 0;
  for (int c = 0; c < 256; ++c) {
    uint8_t ansi = OemToAnsi(static_cast<uint8_t>(c));
    if (ansi >= 0x80 && AnsiToOem(ansi) == c) ++shared;
    if (c < 0x80) {
      ASSERT_EQ(ansi, c);
    }
  }
  EXPECT_EQ(shared, 54);  // the upper-half characters both pages hold
  char text[] = "\x9A\x84nnchen";
  OemToAnsiBuffer(text, 8);
  EXPECT_STREQ(text, "\xDC\xE4nnchen");
  AnsiToOemBuffer(text, 8);
  EXPECT_STREQ(text, "\x9A\x84nnchen");
}

TEST(SystemText, CaseAndLinguisticOrder) {
  EXPECT_EQ(SystemToUpper(0xE4), 0xC4);
  EXPECT_EQ(SystemToLower(0x8A), 0x9A);
  EXPECT_EQ(SystemToUpper(0xDF), 0xDF);
  EXPECT_TRUE(SystemIsLower(0xDF));
  EXPECT_FALSE(SystemIsUpper(0xD7));
  EXPECT_LT(SystemCompareText("a", "A"), 0);
  EXPECT_LT(SystemCompareText("A", "b"), 0);
  EXPECT_LT(SystemCompareText("\xC4pfel", "Apfelz"), 0);  // accent counts after the letters
  EXPECT_GT(SystemCompareText("\xC4pfel", "Apfel"), 0);
  EXPECT_EQ(SystemCompareTextNoCase("\xC4PFEL", "\xE4pfel"), 0);
  EXPECT_LT(SystemCompareText("-", "0"), 0);
  EXPECT_LT(SystemCompareText("9", "a"), 0);
}

}  // namespace
}  // namespace rk::platform
