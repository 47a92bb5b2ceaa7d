// The standard messages: their texts with arguments and the last error, the order
// in which SHOWMESSAGE takes its arguments, the button it returns, and the end of
// the program after the fatal ones.
#include "app/standard_messages.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include "runtime/core/error_state.h"
#include "runtime/core/value_stack.h"
#include "runtime/platform/qt/message_dialog.h"
#include "runtime/platform/qt/scheduler.h"
#include "runtime/windows/message_box.h"
#include "runtime/windows/thread_start.h"
#include "tests/support/halting_child.h"
#include "tests/support/qt_application.h"

namespace rk {
namespace {

StandardMessage Compose(int32_t number, std::vector<std::string> given = {},
                        std::string_view error = "Access Denied (5)") {
  given.resize(4);
  return ComposeStandardMessage(number, {given[0], given[1], given[2], given[3]}, error);
}

TEST(StandardMessagesTest, TextsJoinArgumentsAndTheLastError) {
  StandardMessage framing = Compose(34, {"Delete", "HTAPES"});
  EXPECT_EQ(framing.title, "Transaction Framing Error");
  EXPECT_EQ(framing.text,
            "Error: (Access Denied (5)) attempting to frame the Delete transaction on HTAPES.  "
            "Delete transaction cancelled.");
  EXPECT_EQ(framing.icon, MessageIcon::kExclamation);
  EXPECT_EQ(framing.buttons, kButtonOk);
  EXPECT_TRUE(framing.haltText.empty());

  // Arguments are trimmed of their padding where they are joined.
  EXPECT_EQ(Compose(10, {"Speed   ", "1 ", "3"}).text,
            "The value of Speed must be between 1 and 3.");
  EXPECT_EQ(Compose(26, {"README.TXT"}, "File Not Found (2)").text,
            "README.TXT File Load Error.  Error: File Not Found (2).");
  EXPECT_EQ(Compose(6, {"BROWSEHTAPES"}).text, "The Procedure BROWSEHTAPES has not been defined.");
  EXPECT_EQ(Compose(22, {"HTAPES"}).text,
            "The File HTAPESwas not found, and creation of the file is not allowed.  Press OK to "
            "end this application.");
}

TEST(StandardMessagesTest, TitlesAndTextsThatDependOnTheirArguments) {
  EXPECT_EQ(Compose(29, {"Down"}).title, "End of File Error");
  EXPECT_EQ(Compose(29, {"Up"}).title, "Beginning of File Error");
  EXPECT_NE(Compose(29, {"Down"}).text, Compose(29, {"Up"}).text);
  EXPECT_EQ(Compose(15, {"Locked"}, "").text, "This record was changed by another station.");
  EXPECT_EQ(Compose(15, {"Locked"}).text,
            "An error (Access Denied (5)) was experienced when attempting to update a record "
            "from the file.  Probable Cause: Locked.");
  EXPECT_TRUE(Compose(0).text.empty());
  EXPECT_TRUE(Compose(36).text.empty());
}

TEST(StandardMessagesTest, ButtonsDefaultsAndWhichMessagesEndTheProgram) {
  struct Expected {
    int32_t number;
    int32_t buttons;
    int32_t defaultButton;
    MessageIcon icon;
    const char* halt;
  };
  const Expected expected[] = {
      {1, kButtonOk, 0, MessageIcon::kExclamation, "Invalid File!"},
      {2, kButtonYes | kButtonNo, kButtonYes, MessageIcon::kQuestion, "Invalid Key!"},
      {3, kButtonOk, 0, MessageIcon::kExclamation, "Error Rebuilding Key!"},
      {5, kButtonOk, 0, MessageIcon::kExclamation, "File Creation Error!"},
      {16, kButtonYes | kButtonNo | kButtonCancel, kButtonCancel, MessageIcon::kExclamation, ""},
      {23, kButtonYes | kButtonNo, kButtonNo, MessageIcon::kQuestion, ""},
      {25, kButtonRetry | kButtonCancel, kButtonCancel, MessageIcon::kExclamation, ""},
      {27, kButtonOk | kButtonCancel, kButtonCancel, MessageIcon::kQuestion, ""},
      {30, kButtonOk, 0, MessageIcon::kExclamation, ""},
      {33, kButtonYes | kButtonNo | kButtonCancel, kButtonNo, MessageIcon::kQuestion, ""},
  };
  for (const Expected& e : expected) {
    StandardMessage message = Compose(e.number, {"X"});
    EXPECT_EQ(message.buttons, e.buttons) << e.number;
    EXPECT_EQ(message.defaultButton, e.defaultButton) << e.number;
    EXPECT_EQ(message.icon, e.icon) << e.number;
    EXPECT_EQ(message.haltText, e.halt) << e.number;
  }
  EXPECT_EQ(Compose(2).haltUnlessButton, kButtonYes);
  for (int32_t number = kFirstStandardMessage; number <= kLastStandardMessage; ++number) {
    EXPECT_FALSE(Compose(number, {"Down"}).text.empty()) << number;
  }
}

TEST(StandardMessagesTest, TheLastErrorIsItsTrimmedTextAndCode) {
  ClearError();
  EXPECT_EQ(LastErrorText(), "");
  SetError(35, "HTAPES");
  EXPECT_EQ(LastErrorText(), "Record Not Found (35)");
  SetMessageOverride(35, std::string(200, 'x') + "   ");
  EXPECT_EQ(LastErrorText().size(), kErrorTextLimit);
  ClearMessageOverrides();
  ClearError();
}

platform::MessageDialog* OpenMessageDialog() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* dialog = dynamic_cast<platform::MessageDialog*>(widget);
    if (dialog && dialog->isVisible()) return dialog;
  }
  return nullptr;
}

QString TextOf(platform::MessageDialog& dialog) {
  for (QLabel* label : dialog.findChildren<QLabel*>()) {
    if (!label->text().isEmpty()) return label->text();
  }
  return {};
}

void Press(platform::MessageDialog& dialog, const QString& text) {
  for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
    if (button->text() == text) {
      button->click();
      return;
    }
  }
  ADD_FAILURE() << "no button " << text.toStdString();
}

TEST(ShowMessageTest, TakesItsArgumentsOffTheStackAndReturnsTheButton) {
  rk::testing::EnsureQtApplication();
  int32_t answer = -1;
  size_t depthAfter = 99;
  START(
      [&] {
        Values().PushCopy("untouched");
        Values().PushCopy("HTAPES");  // A4
        Values().PushCopy("");
        Values().PushCopy("HTAPES");  // A2
        Values().PushCopy("Delete");  // A1, pushed last
        ClearError();
        answer = SHOWMESSAGE(32);
        depthAfter = Values().Depth();
      },
      0);
  platform::TheScheduler().RunUntilIdle();
  platform::MessageDialog* dialog = OpenMessageDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->windowTitle(), "Confirm Delete");
  Press(*dialog, "Cancel");
  platform::TheScheduler().RunUntilIdle();
  EXPECT_EQ(answer, kButtonCancel);
  EXPECT_EQ(depthAfter, 1u) << "the four arguments are taken, nothing more";

  START([&] { answer = SHOWMESSAGE(34, "Delete", "HTAPES"); }, 0);
  platform::TheScheduler().RunUntilIdle();
  dialog = OpenMessageDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(TextOf(*dialog).contains("frame the Delete transaction on HTAPES"));
  Press(*dialog, "OK");
  platform::TheScheduler().RunUntilIdle();
  EXPECT_EQ(answer, kButtonOk);
}

// The fatal messages end the program once the box is answered.
void ShowAndAnswer(int32_t number, const char* button) {
  rk::testing::EnsureQtApplication();
  START([number] { SHOWMESSAGE(number, "HTAPES"); }, 0);
  platform::TheScheduler().RunUntilIdle();
  platform::MessageDialog* dialog = OpenMessageDialog();
  if (!dialog) std::_Exit(99);
  Press(*dialog, button);
  platform::TheScheduler().RunUntilIdle();
  std::_Exit(0);  // reached only when the message did not halt
}

TEST(ShowMessageDeathTest, FatalMessagesHaltWithTheirText) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  rk::testing::ChildrenSkipLeakCheck haltingChildren;
  EXPECT_EXIT(ShowAndAnswer(1, "OK"), ::testing::ExitedWithCode(1), "Invalid File!");
  EXPECT_EXIT(ShowAndAnswer(2, "&No"), ::testing::ExitedWithCode(1), "Invalid Key!");
  EXPECT_EXIT(ShowAndAnswer(2, "&Yes"), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace rk
