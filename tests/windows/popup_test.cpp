#include "runtime/windows/popup.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <vector>

#include "runtime/platform/qt/popup_menu.h"
#include "runtime/platform/qt/scheduler.h"
#include "runtime/windows/popup_text.h"
#include "runtime/windows/thread_start.h"
#include "tests/support/qt_application.h"

namespace rk {
namespace {

using Kind = PopupItem::Kind;

// One line per entry: depth, kind, flags, number and text.
std::string Describe(const std::vector<PopupItem>& items, int depth = 0) {
  std::string out;
  for (const PopupItem& item : items) {
    out += std::string(depth * 2, ' ');
    if (item.kind == Kind::kSeparator) {
      out += "-\n";
      continue;
    }
    out += item.greyed ? "~" : "";
    out += item.checked ? "+" : "";
    out += item.kind == Kind::kSubmenu ? "[" + item.text + "]\n"
                                       : std::to_string(item.number) + " " + item.text + "\n";
    out += Describe(item.children, depth + 1);
  }
  return out;
}

TEST(PopupTextTest, ItemsSeparatorsFlagsAndSubmenusNumberedInOrder) {
  EXPECT_EQ(Describe(ParsePopupText("Plain|-|~Grey|+Sub{One|Two}")),
            "1 Plain\n-\n~2 Grey\n+[Sub]\n  3 One\n  4 Two\n");
  EXPECT_EQ(Describe(ParsePopupText("A{B{C}|D}|~-Off|~+On")),
            "[A]\n  [B]\n    1 C\n  2 D\n~3 Off\n~+4 On\n");
  EXPECT_TRUE(ParsePopupText("").empty());
}

TEST(PopupTextTest, EmptyItemsAreNeitherShownNorNumbered) {
  EXPECT_EQ(Describe(ParsePopupText("|&Insert|&Change|&Delete")),
            "1 &Insert\n2 &Change\n3 &Delete\n");
  EXPECT_EQ(Describe(ParsePopupText("|&Insert|~&Change|~&Delete")),
            "1 &Insert\n~2 &Change\n~3 &Delete\n");
  EXPECT_EQ(Describe(ParsePopupText("One||Two|")), "1 One\n2 Two\n");
  EXPECT_EQ(Describe(ParsePopupText("||~+A|-||B")), "~+1 A\n-\n2 B\n");
  EXPECT_EQ(Describe(ParsePopupText("Sub{|a||b|}|c")), "[Sub]\n  1 a\n  2 b\n3 c\n");
  EXPECT_TRUE(ParsePopupText("|").empty());
  EXPECT_TRUE(ParsePopupText("||").empty());
}

TEST(PopupTextTest, UnbalancedBracesAreTolerated) {
  EXPECT_EQ(Describe(ParsePopupText("X{Y|Z")), "[X]\n  1 Y\n  2 Z\n");
  EXPECT_EQ(Describe(ParsePopupText("a}|b")), "1 a\n2 b\n");
  EXPECT_EQ(Describe(ParsePopupText("S{t}u|v")), "[S]\n  1 t\n2 u\n3 v\n");
}

platform::PopupMenu* OpenPopup() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* menu = dynamic_cast<platform::PopupMenu*>(widget);
    if (menu && menu->isVisible()) return menu;
  }
  return nullptr;
}

QAction* FindAction(QMenu& menu, const QString& text) {
  for (QAction* action : menu.actions()) {
    if (action->text() == text) return action;
    if (QMenu* submenu = action->menu()) {
      if (QAction* found = FindAction(*submenu, text)) return found;
    }
  }
  return nullptr;
}

class PopupTest : public ::testing::Test {
 protected:
  void SetUp() override { rk::testing::EnsureQtApplication(); }
  void Open(const char* text) {
    chosen_ = -1;
    START([this, text] { chosen_ = POPUP(text, 10, 10); }, 0);
    platform::TheScheduler().RunUntilIdle();
  }
  int32_t chosen_ = -1;
};

TEST_F(PopupTest, ReturnsTheNumberOfTheChosenItem) {
  Open("Plain|-|~Grey|+Sub{One|Two}");
  platform::PopupMenu* menu = OpenPopup();
  ASSERT_NE(menu, nullptr);
  QAction* grey = FindAction(*menu, "Grey");
  ASSERT_NE(grey, nullptr);
  EXPECT_FALSE(grey->isEnabled());
  QAction* two = FindAction(*menu, "Two");
  ASSERT_NE(two, nullptr);
  two->trigger();
  menu->hide();
  platform::TheScheduler().RunUntilIdle();
  EXPECT_EQ(chosen_, 4);
}

TEST_F(PopupTest, ALeadingBarShowsNoEmptyItemAndTheFirstItemIsOne) {
  Open("|&Insert|~&Change|~&Delete");
  platform::PopupMenu* menu = OpenPopup();
  ASSERT_NE(menu, nullptr);
  QStringList texts;
  std::vector<bool> enabled;
  for (QAction* action : menu->actions()) {
    texts << action->text();
    enabled.push_back(action->isEnabled());
  }
  EXPECT_EQ(texts, QStringList({"&Insert", "&Change", "&Delete"}));
  EXPECT_EQ(enabled, std::vector<bool>({true, false, false}));
  EXPECT_EQ(QKeySequence::mnemonic(texts.value(0)), QKeySequence(Qt::ALT | Qt::Key_I));
  QAction* insert = FindAction(*menu, "&Insert");
  ASSERT_NE(insert, nullptr);
  insert->trigger();
  menu->hide();
  platform::TheScheduler().RunUntilIdle();
  EXPECT_EQ(chosen_, 1);
}

TEST_F(PopupTest, ClosingWithoutAChoiceReturnsZero) {
  Open("One|Two");
  platform::PopupMenu* menu = OpenPopup();
  ASSERT_NE(menu, nullptr);
  menu->hide();
  platform::TheScheduler().RunUntilIdle();
  EXPECT_EQ(chosen_, 0);
  EXPECT_EQ(OpenPopup(), nullptr);
}

}  // namespace
}  // namespace rk
