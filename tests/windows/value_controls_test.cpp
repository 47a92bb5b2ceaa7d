// Spin boxes, check boxes, option groups and text boxes over their variables:
// what they show, what they store and the events they raise.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <cstring>

#include "runtime/core/type_codes.h"
#include "runtime/platform/qt/beep.h"
#include "runtime/windows/accept_loop.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_post.h"
#include "runtime/windows/property_codes.h"
#include "runtime/windows/thread_windows.h"
#include "runtime/windows/window_statements.h"
#include "tests/windows/window_fixture.h"

namespace rk {
namespace {

using namespace rk::testing;

ControlRecord Bound(RecordKind kind, int32_t number, int32_t y, DataDescriptor use) {
  ControlRecord control = MakeControl(kind, number, {4, y, 80, 12});
  control.use = std::move(use);
  return control;
}

ControlRecord Radio(int32_t number, std::string text) {
  ControlRecord radio = MakeControl(RecordKind::kRadio, number, {8, 0, 40, 10});
  radio.text = std::move(text);
  return radio;
}

class ValueControlsTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ControlRecord spin = Bound(RecordKind::kSpin, 1, 4, LongDescriptor());
    spin.picture = "@n5";
    ControlRecord option = Bound(RecordKind::kOption, 3, 36, TextDescriptor(4));
    option.at = {4, 36, 100, 40};
    option.children = {Radio(4, "VHS"), Radio(5, "&SVHS")};
    DataDescriptor memo;
    memo.type = kTextArea;
    memo.size = sizeof notes_;
    ControlRecord text = Bound(RecordKind::kText, 7, 96, memo);
    text.at = {4, 96, 120, 20};
    std::memcpy(notes_, "Line one\r\nLine two      ", sizeof notes_);
    thread_ = START(
        [this, spin, option, text] {
          Window window;
          OpenTestWindow(
              window, WindowKind::kPlain,
              WindowDefinition({spin, Bound(RecordKind::kCheck, 2, 20, TextDescriptor(1)), option,
                                Bound(RecordKind::kCheck, 6, 80, LongDescriptor()), text}),
              {&rating_, &flag_, format_, &numericFlag_, notes_});
          for (AcceptLoop loop; loop.Next();) {
            if (EVENT() == event::kAlways) {
              DISPLAY();  // the test changed the variables
            } else if (EVENT() != event::kOpenWindow && EVENT() != event::kSelected) {
              events_.push_back(Describe(EVENT(), FIELD()));
            }
          }
        },
        0);
    RunUntilIdle();
    window_ = CurrentWindowOf(thread_);
    ASSERT_NE(window_, nullptr);
  }

  template <typename W>
  W& WidgetOf(int number) {
    for (const auto& control : window_->controls) {
      if (control->Number() == number) return *static_cast<W*>(control->Widget());
    }
    ADD_FAILURE() << "no control " << number;
    return *static_cast<W*>(window_->controls.front()->Widget());
  }
  Control& ControlOf(int number) {
    for (const auto& control : window_->controls) {
      if (control->Number() == number) return *control;
    }
    return *window_->controls.front();
  }

  int32_t thread_ = 0;
  Window* window_ = nullptr;
  int32_t rating_ = 2;
  char flag_ = ' ';
  char format_[4] = {'S', 'V', 'H', 'S'};
  int32_t numericFlag_ = 1;
  char notes_[24];
  std::vector<std::string> events_;
};

TEST_F(ValueControlsTest, SpinStaysInsideItsRangeAndStoresEachStep) {
  auto& spin = WidgetOf<QSpinBox>(1);
  EXPECT_EQ(spin.value(), 2);
  EXPECT_GE(spin.maximum(), 9999) << "as wide as the picture shows";
  EXPECT_LE(spin.maximum(), 99999);
  ASSERT_TRUE(ControlOf(1).SetProperty(property::kRangeHigh, 0, "3"));
  QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
  QApplication::sendEvent(&spin, &up);
  QApplication::sendEvent(&spin, &up);
  RunUntilIdle();
  EXPECT_EQ(spin.value(), 3);
  EXPECT_EQ(rating_, 3);
  EXPECT_EQ(events_, (std::vector<std::string>{"2:1"})) << "the refused step changed nothing";
  EXPECT_EQ(ControlOf(1).Property(property::kRangeHigh, 0), "3");
}

TEST_F(ValueControlsTest, CheckBoxStoresOneAndZero) {
  auto& box = WidgetOf<QAbstractButton>(2);
  EXPECT_FALSE(box.isChecked()) << "a blank flag shows unchecked";
  EXPECT_TRUE(WidgetOf<QAbstractButton>(6).isChecked());
  box.click();
  RunUntilIdle();
  EXPECT_EQ(flag_, '1');
  box.click();
  WidgetOf<QAbstractButton>(6).click();
  RunUntilIdle();
  EXPECT_EQ(flag_, '0');
  EXPECT_EQ(numericFlag_, 0);
  EXPECT_EQ(events_, (std::vector<std::string>{"1:2", "1:2", "1:6"}));
}

TEST_F(ValueControlsTest, OptionHoldsTheChosenRadiosText) {
  EXPECT_TRUE(WidgetOf<QAbstractButton>(5).isChecked()) << "matched without its hot-key marker";
  EXPECT_EQ(ControlOf(3).Choice(), 2);
  WidgetOf<QAbstractButton>(4).click();
  RunUntilIdle();
  EXPECT_EQ(std::string(format_, 4), "VHS ");
  EXPECT_EQ(ControlOf(3).Choice(), 1);
  EXPECT_EQ(events_, (std::vector<std::string>{"1:4", "2:3"}));

  std::memcpy(format_, "    ", 4);  // a new record
  POST(event::kAlways, 0, thread_);
  RunUntilIdle();
  EXPECT_FALSE(WidgetOf<QAbstractButton>(4).isChecked()) << "the old choice is not left shown";
  EXPECT_FALSE(WidgetOf<QAbstractButton>(5).isChecked());
  EXPECT_EQ(ControlOf(3).Choice(), 0);
  WidgetOf<QAbstractButton>(5).click();
  RunUntilIdle();
  EXPECT_EQ(std::string(format_, 4), "SVHS") << "the group still chooses one at a time";
  EXPECT_FALSE(WidgetOf<QAbstractButton>(4).isChecked());
}

TEST_F(ValueControlsTest, TextBoxStoresItsLinesAsTypedWhileTheMemoHasRoom) {
  auto& text = WidgetOf<QPlainTextEdit>(7);
  EXPECT_EQ(text.toPlainText(), "Line one\nLine two") << "CR LF breaks the lines, padding goes";
  text.moveCursor(QTextCursor::End);
  text.insertPlainText("\n3");
  RunUntilIdle();
  EXPECT_EQ(std::string(notes_, sizeof notes_), "Line one\r\nLine two\r\n3   ");
  text.insertPlainText("456");  // exactly fills the memo
  RunUntilIdle();
  EXPECT_EQ(std::string(notes_, sizeof notes_), "Line one\r\nLine two\r\n3456");

  const uint64_t beeps = platform::BeepsSounded();
  text.insertPlainText("7");
  RunUntilIdle();
  EXPECT_EQ(platform::BeepsSounded(), beeps + 1);
  EXPECT_EQ(text.toPlainText(), "Line one\nLine two\n3456") << "what has no room is not shown";
  EXPECT_EQ(text.textCursor().position(), 22);
  EXPECT_EQ(std::string(notes_, sizeof notes_), "Line one\r\nLine two\r\n3456");
  EXPECT_TRUE(events_.empty()) << "typing in a text box raises no events";

  std::memcpy(notes_, "Replaced                ", sizeof notes_);
  POST(event::kAlways, 0, thread_);
  RunUntilIdle();
  EXPECT_EQ(text.toPlainText(), "Replaced");
  text.moveCursor(QTextCursor::End);
  text.insertPlainText("!");
  RunUntilIdle();
  EXPECT_EQ(std::string(notes_, 10), "Replaced! ") << "room is counted from the new value";
}

}  // namespace
}  // namespace rk
