// Controls as a screen reader meets them: through Qt's accessibility
// interfaces, offscreen, on a window built from a definition.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
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

}  // namespace
}  // namespace rk
