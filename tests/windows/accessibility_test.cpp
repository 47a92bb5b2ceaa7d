// Entry fields and control names as a screen reader meets them: through Qt's
// accessibility interfaces, offscreen, on a window built from a definition.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <cstring>

#include "runtime/platform/qt/ansi_text.h"
#include "runtime/platform/qt/entry_widget.h"
#include "runtime/windows/accept_loop.h"
#include "runtime/windows/accessible_names.h"
#include "runtime/windows/definition_flags.h"
#include "runtime/windows/thread_windows.h"
#include "tests/windows/window_fixture.h"

namespace rk {
namespace {

using namespace rk::testing;

DataDescriptor Text(int32_t size) {
  DataDescriptor d;
  d.type = kString;
  d.size = size;
  return d;
}

ControlRecord Entry(int32_t number, int32_t y, int32_t flags) {
  ControlRecord control =
      Bound(MakeControl(RecordKind::kEntry, number, {50, y, 100, 12}), Text(20), "@s20");
  control.flags = flags;
  return control;
}

void SendKey(QWidget& widget, int key, Qt::KeyboardModifiers modifiers = {}) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers);
  QApplication::sendEvent(&widget, &press);
}

// A form: a prompt "&Title:" before a capitalising field, a field with no prompt
// but a status message, a prompt "Tom && Jerry" before a read-only field, a
// button and a check box.
class AccessibilityTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    std::memcpy(title_, "old title           ", 20);
    std::memcpy(notes_, "notes               ", 20);
    std::memcpy(label_, "Tape 7              ", 20);
    ControlRecord unprompted = Entry(2, 20, 0);
    unprompted.status = "Notes on the tape";
    thread_ = START(
        [this, unprompted] {
          Window window;
          OpenTestWindow(
              window, WindowKind::kPlain,
              WindowDefinition(
                  {WithText(MakeControl(RecordKind::kPrompt, 0, {4, 4, 40, 10}), "&Title:"),
                   Entry(1, 4, control_flag::kCapitalise), unprompted,
                   WithText(MakeControl(RecordKind::kPrompt, 0, {4, 36, 40, 10}), "Tom && Jerry"),
                   Entry(3, 36, control_flag::kReadOnly),
                   WithText(MakeControl(RecordKind::kButton, 4, {4, 60, 40, 14}), "&OK"),
                   WithText(MakeControl(RecordKind::kCheck, 5, {50, 60, 60, 14}), "&Loaned out")}),
              {title_, notes_, label_, &loaned_});
          for (AcceptLoop loop; loop.Next();) {
          }
        },
        0);
    RunUntilIdle();
    window_ = CurrentWindowOf(thread_);
    ASSERT_NE(window_, nullptr);
  }

  QWidget& WidgetOf(int number) {
    for (const std::unique_ptr<Control>& control : window_->controls) {
      if (control->Number() == number) return *control->Widget();
    }
    ADD_FAILURE() << "no control " << number;
    return *window_->controls.front()->Widget();
  }
  platform::EntryWidget& Field(int number) {
    return static_cast<platform::EntryWidget&>(WidgetOf(number));
  }
  static QAccessibleInterface& Reader(QWidget& widget) {
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(&widget);
    EXPECT_NE(reader, nullptr);
    return *reader;
  }
  static QString Name(QWidget& widget) { return Reader(widget).text(QAccessible::Name); }

  int32_t thread_ = 0;
  Window* window_ = nullptr;
  char title_[20];
  char notes_[20];
  char label_[20];
  int32_t loaned_ = 0;
};

TEST_F(AccessibilityTest, EveryControlIsNamedByItsPromptOrItsText) {
  EXPECT_EQ(Name(Field(1)), "Title:");
  EXPECT_EQ(Name(Field(2)), "Notes on the tape") << "no prompt: the status message";
  EXPECT_EQ(Name(Field(3)), "Tom & Jerry") << "a prompt names only the field after it";
  EXPECT_EQ(Name(WidgetOf(4)), "OK");
  EXPECT_EQ(Name(WidgetOf(5)), "Loaned out");

  EXPECT_EQ(WithoutShortcutMarks("&File"), "File");
  EXPECT_EQ(WithoutShortcutMarks("A&&B&"), "A&B");
}

TEST_F(AccessibilityTest, AScreenReaderReadsTheFieldsTextCaretAndSelection) {
  platform::EntryWidget& field = Field(1);
  QAccessibleInterface& reader = Reader(field);
  EXPECT_EQ(reader.role(), QAccessible::EditableText);
  EXPECT_TRUE(reader.state().editable);
  EXPECT_FALSE(Reader(Field(3)).state().editable) << "a read-only field says so";
  EXPECT_EQ(reader.text(QAccessible::Value), "old title");
  QAccessibleTextInterface* text = reader.textInterface();
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->characterCount(), 9);
  EXPECT_EQ(text->text(4, 9), "title");

  field.setFocus(Qt::TabFocusReason);
  RunUntilIdle();
  SendKey(field, Qt::Key_End);
  for (int i = 0; i < 5; ++i) SendKey(field, Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_EQ(text->cursorPosition(), 4);
  ASSERT_EQ(text->selectionCount(), 1);
  int start = -1;
  int end = -1;
  text->selection(0, &start, &end);
  EXPECT_EQ(start, 4);
  EXPECT_EQ(end, 9);

  // Characters stand where they are drawn, one after the other.
  QRect first = text->characterRect(0);
  QRect second = text->characterRect(1);
  EXPECT_FALSE(first.isEmpty());
  EXPECT_EQ(second.left(), first.right() + 1);
  EXPECT_EQ(text->offsetAtPoint(second.center()), 1);
}

TEST_F(AccessibilityTest, EditsFromAssistiveToolsAreTypedIntoTheField) {
  platform::EntryWidget& field = Field(1);
  field.setFocus(Qt::TabFocusReason);
  RunUntilIdle();
  QAccessibleInterface& reader = Reader(field);
  QAccessibleEditableTextInterface* editable = reader.editableTextInterface();
  QAccessibleTextInterface* text = reader.textInterface();
  ASSERT_NE(editable, nullptr);

  editable->replaceText(0, 3, "new");
  EXPECT_EQ(field.State().text, "New title") << "capitalised as if typed";
  editable->deleteText(3, 9);
  EXPECT_EQ(field.State().text, "New");
  editable->insertText(3, " tapes");
  EXPECT_EQ(field.State().text, "New Tapes");

  text->setCursorPosition(2);
  EXPECT_EQ(field.State().caret, 2u);
  text->setSelection(0, 0, 3);
  EXPECT_EQ(field.State().selectionStart, 0u);
  EXPECT_EQ(field.State().selectionEnd, 3u);
  text->removeSelection(0);
  EXPECT_EQ(text->selectionCount(), 0);

  platform::EntryWidget& readOnly = Field(3);
  Reader(readOnly).editableTextInterface()->insertText(0, "x");
  EXPECT_EQ(readOnly.State().text, "Tape 7") << "a read-only field takes nothing";
}

}  // namespace
}  // namespace rk
