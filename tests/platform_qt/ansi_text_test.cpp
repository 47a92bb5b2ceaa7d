#include "runtime/platform/qt/ansi_text.h"

#include <gtest/gtest.h>

#include "runtime/platform/qt/clipboard.h"
#include "tests/support/qt_application.h"

namespace rk::platform {
namespace {

TEST(AnsiTextTest, WindowsBytesBecomeTheirUnicodeCharactersAndBack) {
  const std::string ansi = "Caf\xE9 \x80 5 \x93quoted\x94 \x9F";
  QString text = FromAnsi(ansi);
  EXPECT_EQ(text, QString::fromUtf8("Café € 5 “quoted” Ÿ"));
  EXPECT_EQ(ToAnsi(text), ansi);
  EXPECT_EQ(ToAnsi(QString::fromUtf8("Ωmega")), "?mega");
  // Embedded zero bytes are text like any other.
  EXPECT_EQ(FromAnsi(std::string("a\0b", 3)).size(), 3);
}

TEST(ClipboardTest, CarriesRuntimeTextUnchanged) {
  rk::testing::EnsureQtApplication();
  SetClipboardText(
      "Tape \xAB"
      "12\xBB");
  EXPECT_TRUE(ClipboardHasText());
  EXPECT_EQ(ClipboardText(),
            "Tape \xAB"
            "12\xBB");
}

}  // namespace
}  // namespace rk::platform
