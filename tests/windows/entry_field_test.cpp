// The entry field through its real widget: keys and focus changes sent to the
// painted field, the events its ACCEPT loop sees, and the bound variables.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTabWidget>
#include <cstring>

#include "runtime/core/day_number.h"
#include "runtime/platform/qt/ansi_text.h"
#include "runtime/platform/qt/beep.h"
#include "runtime/platform/qt/clipboard.h"
#include "runtime/platform/qt/entry_widget.h"
#include "runtime/windows/accept_loop.h"
#include "runtime/windows/definition_flags.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_post.h"
#include "runtime/windows/thread_windows.h"
#include "runtime/windows/window_statements.h"
#include "tests/windows/window_fixture.h"

namespace rk {
namespace {

using namespace rk::testing;

DataDescriptor Simple(uint8_t type, int32_t size) {
  DataDescriptor d;
  d.type = type;
  d.size = size;
  return d;
}

ControlRecord Entry(int32_t number, int32_t y, std::string picture, DataDescriptor use,
                    int32_t flags = 0) {
  ControlRecord control = MakeControl(RecordKind::kEntry, number, {4, y, 100, 12});
  control.picture = std::move(picture);
  control.use = std::move(use);
  control.flags = flags;
  return control;
}

ControlRecord OkButton() {
  ControlRecord button = MakeControl(RecordKind::kButton, 5, {110, 4, 40, 14});
  button.text = "OK";
  return button;
}

void SendKey(QWidget& widget, int key, Qt::KeyboardModifiers modifiers = {}, QString text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QApplication::sendEvent(&widget, &press);
}

void TypeText(QWidget& widget, std::string_view text) {
  for (char c : text) SendKey(widget, 0, {}, platform::FromAnsi(std::string_view(&c, 1)));
}

// Moves the real focus, and lets the window hear of it.
void SendFocus(QWidget& widget, bool in) {
  if (in) {
    widget.setFocus(Qt::TabFocusReason);
  } else {
    widget.clearFocus();
  }
  RunUntilIdle();
}

// A form with four fields: a name (@s20, capitalised), a price (@n-7.2 over a
// REAL), a date (@D6 over a LONG day number) and a read-only label (@s10); and
// an OK button (5) that starts the validation pass.
class EntryFieldTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    std::memcpy(name_, "Old name            ", 20);
    std::memcpy(label_, "Tape 7    ", 10);
    thread_ = START(
        [this] {
          Window window;
          OpenTestWindow(
              window, WindowKind::kPlain,
              WindowDefinition(
                  {Entry(1, 4, "@s20", Simple(kString, 20), control_flag::kCapitalise),
                   Entry(2, 20, "@n-7.2", Simple(kReal, 8)), Entry(3, 36, "@D6", Simple(kLong, 4)),
                   Entry(4, 52, "@s10", Simple(kString, 10), control_flag::kReadOnly), OkButton()}),
              {name_, &price_, &date_, label_});
          for (AcceptLoop loop; loop.Next();) {
            if (EVENT() == event::kAlways) DISPLAY();  // the test changed the variables
            if (EVENT() == event::kAccepted || EVENT() == event::kChangedAndLeft ||
                EVENT() == event::kCompleted) {
              events_.push_back(Describe(EVENT(), FIELD()));
            }
            if (EVENT() == event::kAccepted && FIELD() == 5) SELECT(0);
          }
        },
        0);
    RunUntilIdle();
    window_ = CurrentWindowOf(thread_);
    ASSERT_NE(window_, nullptr);
  }

  platform::EntryWidget& Field(int index) {
    return *static_cast<platform::EntryWidget*>(window_->controls.at(index)->Widget());
  }
  std::string Shown(int index) { return Field(index).State().text; }

  // Gives the field the focus and empties it, as a person selecting and deleting.
  platform::EntryWidget& Emptied(int index) {
    platform::EntryWidget& field = Field(index);
    SendFocus(field, true);
    Clear(field);
    return field;
  }

  static void Clear(platform::EntryWidget& field) {
    SendKey(field, Qt::Key_End);
    SendKey(field, Qt::Key_Home, Qt::ShiftModifier);
    SendKey(field, Qt::Key_Delete);
  }

  static void ExpectSelectedForCorrection(const platform::EntryWidget& field,
                                          std::string_view typed) {
    EXPECT_TRUE(field.hasFocus());
    EXPECT_EQ(field.State().text, typed) << "the refused text stays as typed";
    EXPECT_EQ(field.State().selectionStart, 0u);
    EXPECT_EQ(field.State().selectionEnd, typed.size()) << "and is selected, to be typed over";
  }

  int32_t thread_ = 0;
  Window* window_ = nullptr;
  char name_[20];
  double price_ = 3.5;
  int32_t date_ = 0;
  char label_[10];
  std::vector<std::string> events_;
};

TEST_F(EntryFieldTest, ShowsTheVariablesThroughTheirPictures) {
  EXPECT_EQ(Shown(0), "Old name") << "a text field's padding is not part of what is edited";
  EXPECT_EQ(Shown(1), "   3.50");
  EXPECT_EQ(Shown(3), "Tape 7");
  price_ = -12.5;
  date_ = DateToDay(1995, 1, 5);
  POST(event::kAlways, 0, thread_);
  RunUntilIdle();
  EXPECT_EQ(Shown(1), " -12.50");
  EXPECT_EQ(Shown(2), " 5/01/1995");
}

TEST_F(EntryFieldTest, TypingCapitalisesWordsAndBeepsWhenFull) {
  platform::EntryWidget& field = Emptied(0);
  TypeText(field, "o'clock it");
  EXPECT_EQ(Shown(0), "O'clock It") << "no capital after an apostrophe, one after a space";
  SendKey(field, Qt::Key_A, Qt::ShiftModifier, "a");
  EXPECT_EQ(Shown(0), "O'clock Ita") << "Shift keeps a word's first letter as typed";

  TypeText(field, " 123456789");
  ASSERT_EQ(Shown(0).size(), 20u);
  const uint64_t beeps = platform::BeepsSounded();
  const platform::EntryState before = field.State();
  TypeText(field, "x");
  EXPECT_EQ(platform::BeepsSounded(), beeps + 1);
  EXPECT_EQ(field.State().text, before.text);
  EXPECT_EQ(field.State().caret, before.caret);
}

TEST_F(EntryFieldTest, EscapeShowsTheVariableAgainAndRaisesNothing) {
  platform::EntryWidget& field = Emptied(0);
  TypeText(field, "new");
  SendKey(field, Qt::Key_Escape);
  EXPECT_EQ(Shown(0), "Old name");
  EXPECT_EQ(field.State().selectionStart, 0u) << "the restored value is selected";
  EXPECT_EQ(field.State().selectionEnd, 8u);
  SendFocus(field, false);
  RunUntilIdle();
  EXPECT_EQ(std::string(name_, 20), "Old name            ");
  EXPECT_TRUE(events_.empty()) << "undone edits leave nothing to accept";
}

TEST_F(EntryFieldTest, ReadOnlyFieldOnlyCopies) {
  platform::EntryWidget& field = Field(3);
  SendFocus(field, true);
  SendKey(field, Qt::Key_Home);
  SendKey(field, Qt::Key_End, Qt::ShiftModifier);
  platform::SetClipboardText("");
  SendKey(field, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(platform::ClipboardText(), "Tape 7");

  platform::SetClipboardText("pasted");
  SendKey(field, Qt::Key_X, Qt::ControlModifier);
  SendKey(field, Qt::Key_V, Qt::ControlModifier);
  SendKey(field, Qt::Key_Backspace);
  TypeText(field, "z");
  EXPECT_EQ(Shown(3), "Tape 7");
  EXPECT_EQ(platform::ClipboardText(), "pasted") << "cut did not copy either";
}

TEST_F(EntryFieldTest, FreelyTypedNumberAndDateReachTheVariables) {
  TypeText(Emptied(1), "12.99");
  SendFocus(Field(1), false);
  TypeText(Emptied(2), "5/1/1995");
  SendFocus(Field(2), false);
  RunUntilIdle();
  EXPECT_DOUBLE_EQ(price_, 12.99);
  EXPECT_EQ(Shown(1), "  12.99");
  EXPECT_EQ(date_, DateToDay(1995, 1, 5));
  EXPECT_EQ(Shown(2), " 5/01/1995");
  EXPECT_EQ(events_, (std::vector<std::string>{"1a:2", "1:2", "1a:3", "1:3"}));
}

TEST_F(EntryFieldTest, EditingInPlaceReadsByPosition) {
  platform::EntryWidget& field = Field(1);  // "   3.50"
  SendFocus(field, true);
  SendKey(field, Qt::Key_End);
  SendKey(field, Qt::Key_Left);
  SendKey(field, Qt::Key_Backspace);
  TypeText(field, "7");
  SendFocus(field, false);
  RunUntilIdle();
  EXPECT_DOUBLE_EQ(price_, 3.70);
}

TEST_F(EntryFieldTest, ValueThePictureCannotShowIsRefused) {
  const uint64_t beeps = platform::BeepsSounded();
  TypeText(Emptied(1), "123456");  // six integer digits; @n-7.2 holds four
  SendFocus(Field(1), false);
  EXPECT_EQ(platform::BeepsSounded(), beeps + 1);
  EXPECT_DOUBLE_EQ(price_, 3.5);
  EXPECT_EQ(Shown(1), "123456") << "the refused text stays for correction";
  EXPECT_EQ(events_, (std::vector<std::string>{"1a:2"})) << "no accepted event";
}

TEST_F(EntryFieldTest, ARefusedFieldTakesTheFocusBackWhetherLeftByKeyOrClick) {
  const uint64_t beeps = platform::BeepsSounded();
  platform::EntryWidget& price = Emptied(1);
  TypeText(price, "123456");
  SendKey(price, Qt::Key_Tab);
  RunUntilIdle();
  ExpectSelectedForCorrection(price, "123456");
  EXPECT_EQ(window_->selected, 2);
  EXPECT_EQ(platform::BeepsSounded(), beeps + 1);

  SendFocus(Field(2), true);  // a click on the date
  RunUntilIdle();
  ExpectSelectedForCorrection(price, "123456");
  EXPECT_EQ(platform::BeepsSounded(), beeps + 2);
  EXPECT_DOUBLE_EQ(price_, 3.5);

  TypeText(price, "12");  // over the selection
  SendKey(price, Qt::Key_Return);
  RunUntilIdle();
  EXPECT_TRUE(Field(2).hasFocus()) << "a value the picture takes lets the focus go";
  EXPECT_EQ(window_->selected, 3);
  EXPECT_DOUBLE_EQ(price_, 12);
  EXPECT_EQ(events_, (std::vector<std::string>{"1a:2", "1a:2", "1a:2", "1:2"}));
}

TEST_F(EntryFieldTest, TwoRefusedFieldsDoNotPassTheFocusToAndFro) {
  platform::EntryWidget& price = Emptied(1);
  TypeText(price, "123456");
  // The date is edited as well before the runtime hears that the price was left.
  platform::EntryWidget& date = Field(2);
  date.setFocus(Qt::MouseFocusReason);
  Clear(date);
  TypeText(date, "30/2/1995");
  RunUntilIdle();
  ExpectSelectedForCorrection(price, "123456");
  EXPECT_EQ(date.State().text, "30/2/1995");

  // The date's change is still pending: the validation pass stops at it once
  // the price is corrected, and it gets the focus.
  TypeText(price, "7");
  qobject_cast<QAbstractButton*>(window_->FindControl(5)->Widget())->click();
  RunUntilIdle();
  ExpectSelectedForCorrection(date, "30/2/1995");
  EXPECT_EQ(window_->selected, 3);
  EXPECT_DOUBLE_EQ(price_, 7);
  EXPECT_EQ(date_, 0);
  EXPECT_EQ(events_, (std::vector<std::string>{"1a:2", "1:5", "1:1", "1:2"}))
      << "no completed event";
}

TEST_F(EntryFieldTest, TheValidationPassSettlesTheEditsOfTheFieldItAccepts) {
  TypeText(Emptied(2), "5/1/1995");
  qobject_cast<QAbstractButton*>(window_->FindControl(5)->Widget())->click();
  RunUntilIdle();
  EXPECT_EQ(date_, DateToDay(1995, 1, 5));
  EXPECT_EQ(Shown(2), " 5/01/1995") << "shown again through the picture";
  SendFocus(Field(2), false);
  EXPECT_EQ(events_, (std::vector<std::string>{"1:5", "1:1", "1:2", "1:3", "225:0"}))
      << "leaving the accepted field raises nothing more";
}

TEST_F(EntryFieldTest, LeavingRaisesChangedOnlyForAChangedField) {
  SendFocus(Field(1), true);
  SendFocus(Field(1), false);
  EXPECT_TRUE(events_.empty());
}

// A sheet of two tabs, a date (@D6) on the first and a year (@n4) on the
// second. The body selects the count whenever the test posts 0x204.
class SheetFieldTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ControlRecord first = MakeControl(RecordKind::kTab, 0, kPositionNotGiven);
    first.text = "One";
    first.children = {Entry(2, 30, "@D6", Simple(kLong, 4))};
    ControlRecord second = MakeControl(RecordKind::kTab, 0, kPositionNotGiven);
    second.text = "Two";
    second.children = {Entry(3, 30, "@n4", Simple(kLong, 4))};
    ControlRecord sheet = MakeControl(RecordKind::kSheet, 1, {2, 2, 190, 80});
    sheet.children = {first, second};
    thread_ = START(
        [this, sheet] {
          Window window;
          OpenTestWindow(window, WindowKind::kPlain, WindowDefinition({sheet}), {&date_, &year_});
          for (AcceptLoop loop; loop.Next();) {
            if (EVENT() == event::kAlways) SELECT(2);
          }
        },
        0);
    RunUntilIdle();
    Window* window = CurrentWindowOf(thread_);
    ASSERT_NE(window, nullptr);
    tabs_ = qobject_cast<QTabWidget*>(window->FindControl(1)->Widget());
    date_field_ = static_cast<platform::EntryWidget*>(window->FindControl(2)->Widget());
    ASSERT_NE(tabs_, nullptr);
  }

  int32_t thread_ = 0;
  int32_t date_ = 5;  // a day number
  int32_t year_ = 1994;
  QTabWidget* tabs_ = nullptr;
  platform::EntryWidget* date_field_ = nullptr;
};

TEST_F(SheetFieldTest, AFieldOnAnotherTabTurnsTheSheetWhenSelectedOrRefused) {
  tabs_->setCurrentIndex(1);
  RunUntilIdle();
  ASSERT_FALSE(date_field_->isVisible());
  POST(event::kAlways, 0, thread_);
  RunUntilIdle();
  EXPECT_EQ(tabs_->currentIndex(), 0) << "SELECT shows the tab that holds the field";
  EXPECT_TRUE(date_field_->hasFocus());

  const uint64_t beeps = platform::BeepsSounded();
  SendKey(*date_field_, Qt::Key_End);
  SendKey(*date_field_, Qt::Key_Home, Qt::ShiftModifier);
  TypeText(*date_field_, "30/2/1995");
  tabs_->setCurrentIndex(1);
  RunUntilIdle();
  EXPECT_EQ(platform::BeepsSounded(), beeps + 1);
  EXPECT_EQ(tabs_->currentIndex(), 0) << "the refused field's tab comes back";
  EXPECT_TRUE(date_field_->isVisible());
  EXPECT_TRUE(date_field_->hasFocus());
  EXPECT_EQ(date_field_->State().selectionEnd, 9u);
  EXPECT_EQ(date_, 5);
}

}  // namespace
}  // namespace rk
