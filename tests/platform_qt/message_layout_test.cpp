#include "runtime/platform/qt/message_layout.h"

#include <gtest/gtest.h>

#include "runtime/platform/qt/dialog_units.h"
#include "runtime/platform/qt/fonts.h"
#include "tests/support/qt_application.h"

namespace rk::platform {
namespace {

class MessageLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rk::testing::EnsureQtApplication();
    InstallFontSubstitutions();
    font = MakeFont({"Helv", 8, 700, false, false, false});
    base = BaseUnitsOf(font);
  }
  int X(int units) const { return DialogToPixelsX(units, base); }
  int Y(int units) const { return DialogToPixelsY(units, base); }

  QFont font;
  DialogBaseUnits base;
};

TEST_F(MessageLayoutTest, ButtonsFormOneCentredRowBelowTheText) {
  MessageLayout layout = LayOutMessage(font, "Record saved.", false, 3);
  ASSERT_EQ(layout.buttons.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(layout.buttons[i].size(), QSize(X(50), Y(14)));
    EXPECT_EQ(layout.buttons[i].top(), layout.buttons[0].top());
    EXPECT_GE(layout.buttons[i].top(), layout.text.bottom());
    if (i > 0) {
      EXPECT_EQ(layout.buttons[i].left() - layout.buttons[i - 1].right() - 1, X(5));
    }
  }
  int leftSpace = layout.buttons.front().left();
  int rightSpace = layout.dialog.width() - layout.buttons.back().right() - 1;
  EXPECT_LE(std::abs(leftSpace - rightSpace), 1);
  EXPECT_EQ(layout.dialog.height(), layout.buttons[0].bottom() + 1 + Y(5));
  // A short text gets the minimum text area.
  EXPECT_EQ(layout.buttons[0].top(), Y(45));
}

TEST_F(MessageLayoutTest, ManyButtonsWidenTheDialog) {
  MessageLayout layout = LayOutMessage(font, "?", false, 8);
  EXPECT_EQ(layout.buttons.front().left(), X(5));
  EXPECT_EQ(layout.dialog.width(), layout.buttons.back().right() + 1 + X(5));
}

TEST_F(MessageLayoutTest, LongTextWrapsWithinTheWrapWidthAndGrowsTheTextArea) {
  QString longText;
  for (int i = 0; i < 60; ++i) longText += "collection ";
  MessageLayout shortLayout = LayOutMessage(font, "One line", false, 1);
  MessageLayout longLayout = LayOutMessage(font, longText, false, 1);
  EXPECT_LE(longLayout.text.width(), X(200));
  EXPECT_GT(longLayout.text.height(), shortLayout.text.height() * 3);
  EXPECT_EQ(longLayout.buttons[0].top(), longLayout.text.height() + 2 * Y(5));
  EXPECT_EQ(longLayout.dialog.width(), longLayout.text.right() + 1 + X(5));
}

TEST_F(MessageLayoutTest, IconAndTextAreCentredSideBySide) {
  MessageLayout layout = LayOutMessage(font, "Are you sure?", true, 2);
  EXPECT_EQ(layout.icon.size(), QSize(kMessageIconPixels, kMessageIconPixels));
  EXPECT_EQ(layout.icon.left(), X(5));
  EXPECT_EQ(layout.text.left(), layout.icon.right() + 1 + X(5));
  int area = layout.buttons[0].top();
  EXPECT_LE(std::abs(layout.icon.top() - (area - layout.icon.bottom() - 1)), 1);
  EXPECT_LE(std::abs(layout.text.top() - (area - layout.text.bottom() - 1)), 1);
  EXPECT_TRUE(LayOutMessage(font, "Are you sure?", false, 2).icon.isEmpty());
}

}  // namespace
}  // namespace rk::platform
