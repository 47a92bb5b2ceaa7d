#include "runtime/windows/message_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include "runtime/platform/qt/message_dialog.h"
#include "runtime/platform/qt/scheduler.h"
#include "runtime/windows/runtime_lock.h"
#include "runtime/windows/thread_start.h"
#include "tests/support/qt_application.h"

namespace rk {
namespace {

using platform::MessageDialog;
using platform::MessageKind;

void RunUntilIdle() {
  platform::TheScheduler().RunUntilIdle();
}

MessageDialog* OpenMessageDialog() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* dialog = dynamic_cast<MessageDialog*>(widget);
    if (dialog && dialog->isVisible()) return dialog;
  }
  return nullptr;
}

std::vector<QPushButton*> ButtonsOf(MessageDialog& dialog) {
  std::vector<QPushButton*> buttons;
  for (QPushButton* button : dialog.findChildren<QPushButton*>()) buttons.push_back(button);
  std::sort(buttons.begin(), buttons.end(),
            [](QPushButton* a, QPushButton* b) { return a->x() < b->x(); });
  return buttons;
}

class MessageBoxTest : public ::testing::Test {
 protected:
  void SetUp() override { rk::testing::EnsureQtApplication(); }

  // Starts a thread that shows the message and records what MESSAGE returns.
  int32_t Show(std::function<int32_t()> message) {
    result_ = -1;
    int32_t thread = START([this, message] { result_ = message(); }, 0);
    RunUntilIdle();
    return thread;
  }

  int32_t result_ = -1;
};

TEST_F(MessageBoxTest, OkAloneByDefaultAndBarsBreakLines) {
  Show([] { return MESSAGE("Tape saved.|Serial 12", "Tapes"); });
  MessageDialog* dialog = OpenMessageDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->windowTitle(), "Tapes");
  std::vector<QPushButton*> buttons = ButtonsOf(*dialog);
  ASSERT_EQ(buttons.size(), 1u);
  EXPECT_EQ(buttons[0]->text(), "OK");
  EXPECT_TRUE(buttons[0]->isDefault());
  QLabel* text = dialog->findChild<QLabel*>();
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->text(), "Tape saved.\nSerial 12");

  buttons[0]->click();
  RunUntilIdle();
  EXPECT_EQ(result_, kButtonOk);
  EXPECT_EQ(OpenMessageDialog(), nullptr);
}

TEST_F(MessageBoxTest, ButtonsInTableOrderWithTheNamedDefault) {
  Show([] { return MESSAGE("Delete?", "", "", kButtonNo | kButtonYes, kButtonNo); });
  MessageDialog* dialog = OpenMessageDialog();
  ASSERT_NE(dialog, nullptr);
  std::vector<QPushButton*> buttons = ButtonsOf(*dialog);
  ASSERT_EQ(buttons.size(), 2u);
  EXPECT_EQ(buttons[0]->text(), "&Yes");
  EXPECT_EQ(buttons[1]->text(), "&No");
  EXPECT_FALSE(buttons[0]->isDefault());
  EXPECT_TRUE(buttons[1]->isDefault());
  buttons[0]->click();
  RunUntilIdle();
  EXPECT_EQ(result_, kButtonYes);
}

TEST_F(MessageBoxTest, EscapeOrCloseIsCancel) {
  Show([] { return MESSAGE("Retry?", "", "Question", kButtonRetry | kButtonCancel); });
  MessageDialog* dialog = OpenMessageDialog();
  ASSERT_NE(dialog, nullptr);
  dialog->close();
  RunUntilIdle();
  EXPECT_EQ(result_, kButtonCancel);
}

TEST_F(MessageBoxTest, OtherThreadsRunWhileTheBoxIsOpen) {
  std::vector<int64_t> served;
  int32_t worker = START(
      [&] {
        for (;;) {
          platform::PlatformMessage message = WaitForNextMessage();
          if (message.kind == MessageKind::kQuit) return;
          served.push_back(message.param);
        }
      },
      0);
  Show([] { return MESSAGE("Busy", "", "", kButtonOk); });
  ASSERT_NE(OpenMessageDialog(), nullptr);
  platform::TheScheduler().Post(SlotAt(worker - 1).fiber, {MessageKind::kKey, 0, 5, nullptr});
  RunUntilIdle();
  EXPECT_EQ(served, std::vector<int64_t>{5});
  EXPECT_EQ(result_, -1) << "the box is still open";

  // The box destroyed unanswered ends the wait as a cancel rather than leaving
  // the thread stuck.
  delete OpenMessageDialog();
  RunUntilIdle();
  EXPECT_EQ(result_, kButtonCancel);
  platform::TheScheduler().Post(SlotAt(worker - 1).fiber, {MessageKind::kQuit, 0, 0, nullptr});
  RunUntilIdle();
}

TEST(MessageBoxTextTest, BarsBecomeLineBreaksAndTheTextIsCut) {
  EXPECT_EQ(MessageBoxText("a|b||c"), "a\r\nb\r\n\r\nc");
  EXPECT_EQ(MessageBoxText(std::string(2000, 'x')).size(), kMessageTextLimit);
  std::string bars(600, '|');
  std::string text = MessageBoxText(bars);
  EXPECT_EQ(text.size(), kMessageTextLimit);
  EXPECT_EQ(text.substr(0, 4), "\r\n\r\n");
}

TEST(MessageBoxTextTest, DefaultIsTheNamedPresentButtonElseTheFirst) {
  EXPECT_EQ(MessageDefaultButton(0, 0), kButtonOk);
  EXPECT_EQ(MessageDefaultButton(kButtonYes | kButtonNo, kButtonNo), kButtonNo);
  EXPECT_EQ(MessageDefaultButton(kButtonYes | kButtonNo, kButtonCancel), kButtonYes);
  EXPECT_EQ(MessageDefaultButton(kButtonCancel | kButtonRetry, 0), kButtonRetry);
}

}  // namespace
}  // namespace rk
