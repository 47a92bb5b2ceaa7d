// Control objects over their variables: DISPLAY shows values, user input is
// stored back and raises the kind's events, properties and choices.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <cstring>

#include "runtime/platform/qt/entry_widget.h"
#include "runtime/windows/accept_loop.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_post.h"
#include "runtime/windows/property_codes.h"
#include "runtime/windows/thread_windows.h"
#include "runtime/windows/window_open.h"
#include "runtime/windows/window_statements.h"
#include "tests/windows/window_fixture.h"

namespace rk {
namespace {

using namespace rk::testing;

// 1 entry (date D6), 2 check, 3 option with radios 4 and 5, 6 spin, 7 progress,
// 8 use-string (n5), 9 button.
StructureRecord AllKinds() {
  ControlRecord option = Bound(
      WithText(MakeControl(RecordKind::kOption, 3, {4, 40, 100, 30}), "Speed"), TextDescriptor(4));
  option.children = {WithText(MakeControl(RecordKind::kRadio, 4, {8, 50, 40, 10}), "&SP"),
                     WithText(MakeControl(RecordKind::kRadio, 5, {50, 50, 40, 10}), "&LP")};
  return WindowDefinition({
      Bound(MakeControl(RecordKind::kEntry, 1, {4, 4, 60, 12}), LongDescriptor(), "D6"),
      Bound(WithText(MakeControl(RecordKind::kCheck, 2, {4, 20, 60, 10}), "&Stereo"),
            LongDescriptor()),
      option,
      Bound(MakeControl(RecordKind::kSpin, 6, {110, 4, 40, 12}), LongDescriptor()),
      Bound(MakeControl(RecordKind::kProgress, 7, {110, 20, 60, 8}), LongDescriptor()),
      Bound(MakeControl(RecordKind::kUseString, 8, {110, 30, 60, 10}), LongDescriptor(), "n5"),
      WithText(MakeControl(RecordKind::kButton, 9, {110, 50, 40, 14}), "&Go"),
  });
}

class ControlsTest : public WindowTest {
 protected:
  // Opens the window on a thread whose body logs events and runs `onEvent`.
  void Open(std::function<void()> onEvent = [] {}) {
    thread_ = START(
        [this, onEvent] {
          Window window;
          window_ = &window;
          OpenTestWindow(window, WindowKind::kPlain, AllKinds(),
                         {&date_, &stereo_, speed_, &stars_, &percent_, &count_});
          for (AcceptLoop loop; loop.Next();) {
            if (EVENT() != event::kSelected) log_.push_back(Describe(EVENT(), FIELD()));
            onEvent();
          }
          window_ = nullptr;
        },
        0);
    RunUntilIdle();
    ASSERT_NE(window_, nullptr);
    log_.clear();
  }

  template <typename T>
  T* WidgetOf(int32_t number) {
    return qobject_cast<T*>(window_->FindControl(number)->Widget());
  }

  int32_t date_ = 4 + 365;  // 1 January 1802
  int32_t stereo_ = 1;
  char speed_[4] = {'L', 'P', ' ', ' '};
  int32_t stars_ = 2;
  int32_t percent_ = 40;
  int32_t count_ = 12;
  Window* window_ = nullptr;
  int32_t thread_ = 0;
  std::vector<std::string> log_;
};

TEST_F(ControlsTest, ControlsShowTheirVariablesWhenOpenedAndOnDisplay) {
  Open([this] {
    if (EVENT() != event::kAccepted || FIELD() != 9) return;
    count_ = 345;
    percent_ = 100;
    DISPLAY(7, 8);
  });
  EXPECT_EQ(dynamic_cast<platform::EntryWidget*>(WidgetOf<QWidget>(1))->State().text, " 1/01/1802");
  EXPECT_TRUE(WidgetOf<QCheckBox>(2)->isChecked());
  EXPECT_TRUE(WidgetOf<QRadioButton>(5)->isChecked());
  EXPECT_EQ(WidgetOf<QSpinBox>(6)->value(), 2);
  EXPECT_EQ(WidgetOf<QProgressBar>(7)->value(), 40);
  EXPECT_EQ(WidgetOf<QLabel>(8)->text(), "   12");

  count_ = 7;
  stars_ = 3;
  WidgetOf<QPushButton>(9)->click();
  RunUntilIdle();
  EXPECT_EQ(WidgetOf<QLabel>(8)->text(), "  345");
  EXPECT_EQ(WidgetOf<QProgressBar>(7)->value(), 100);
  EXPECT_EQ(WidgetOf<QSpinBox>(6)->value(), 2) << "outside the range displayed";
}

TEST_F(ControlsTest, UserInputIsStoredAndRaisesTheKindsEvents) {
  int32_t choice = -1;
  Open([&] {
    if (EVENT() == event::kNewSelection && FIELD() == 3) choice = CHOICE();
  });
  WidgetOf<QRadioButton>(4)->click();
  WidgetOf<QCheckBox>(2)->click();
  platform::EntryWidget* entry = dynamic_cast<platform::EntryWidget*>(WidgetOf<QWidget>(1));
  entry->setFocus();
  for (int key : {Qt::Key_End, Qt::Key_Home}) {
    QKeyEvent press(QEvent::KeyPress, key,
                    key == Qt::Key_Home ? Qt::ShiftModifier : Qt::NoModifier);
    QApplication::sendEvent(entry, &press);
  }
  for (char c : std::string(" 2/03/1804")) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(c)));
    QApplication::sendEvent(entry, &press);
  }
  entry->clearFocus();
  RunUntilIdle();
  EXPECT_EQ(log_, (std::vector<std::string>{"1:4", "2:3", "1:2", "1a:1", "1:1"}));
  EXPECT_EQ(choice, 1);
  EXPECT_EQ(std::string(speed_, 4), "SP  ");
  EXPECT_EQ(stereo_, 0);
  EXPECT_EQ(date_, 1099 + 31 + 29 + 1) << "2 March 1804 (a leap year), read through the picture";
}

TEST_F(ControlsTest, PropertiesOfControlsAndTheWindow) {
  std::vector<std::string> read;
  Open([&] {
    if (EVENT() != event::kAccepted) return;
    SetProperty(9, property::kText, "&Stop");
    SetProperty(2, property::kDisabled, 1);
    SetProperty(6, property::kHidden, 1);
    SetProperty(6, property::kRangeHigh, 3);
    SetProperty(0, property::kText, "Renamed");
    SetProperty(1, property::kAlertKeys, 0x20D, 254);
    read = {GetProperty(9, property::kText),         GetProperty(2, property::kDisabled),
            GetProperty(6, property::kHidden),       GetProperty(6, property::kRangeHigh),
            GetProperty(0, property::kText),         GetProperty(1, property::kAlertKeys, 254),
            GetProperty(1, property::kAlertKeys, 3), GetProperty(77, property::kText)};
  });
  POST(event::kAccepted, 9, thread_);
  RunUntilIdle();
  EXPECT_EQ(read, (std::vector<std::string>{"&Stop", "1", "1", "3", "Renamed", "525", "0", ""}));
  EXPECT_EQ(WidgetOf<QPushButton>(9)->text(), "&Stop");
  EXPECT_FALSE(WidgetOf<QCheckBox>(2)->isEnabled());
  EXPECT_FALSE(WidgetOf<QSpinBox>(6)->isVisibleTo(window_->shell->Client()));
  EXPECT_EQ(WidgetOf<QSpinBox>(6)->maximum(), 3);
  EXPECT_EQ(window_->shell->Outer()->windowTitle(), "Renamed");
}

}  // namespace
}  // namespace rk
