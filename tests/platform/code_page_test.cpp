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
