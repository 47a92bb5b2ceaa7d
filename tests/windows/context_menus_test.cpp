// A right click (or the menu key) on any widget of the runtime's windows and
// dialogs opens no menu of Qt's own and runs no nested event loop: the frame, its
// MDI area and menu bar, an MDI window's title bar, a plain window, every kind of
// control with the widgets inside it (a spin box's edit line, a text control's
// scroll bars, a sheet's tab bar, a list's scroll bar, a drop list's popup), the
// message box, the file and printer dialogs. (Menus take a right click as a click.)
#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPrintDialog>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/core/type_codes.h"
#include "runtime/files/queue.h"
#include "runtime/platform/qt/file_dialog_widget.h"
#include "runtime/platform/qt/message_dialog.h"
#include "runtime/platform/qt/printer_dialog_widget.h"
#include "runtime/windows/accept_loop.h"
#include "runtime/windows/message_box.h"
#include "runtime/windows/standard_dialogs.h"
#include "runtime/windows/thread_windows.h"
#include "tests/support/nested_loop_guard.h"
#include "tests/windows/window_fixture.h"

namespace rk {
namespace {

using namespace rk::testing;

constexpr FieldSpec kRowFields[] = {{"R:NAME", 0, kString, 20}};

ControlRecord Control(RecordKind kind, int32_t number, Position at, std::string text = {}) {
  return WithText(MakeControl(kind, number, at), std::move(text));
}

// One control of every kind; the list's queue is the first variable bound.
StructureRecord EveryKind() {
  ControlRecord list = Control(RecordKind::kList, 1, {4, 4, 100, 40});
  list.format = "80L@s20@";
  list.from = DataDescriptor{25, 0, 0, std::nullopt, {}};
  ControlRecord drop = Bound(Control(RecordKind::kList, 2, {110, 4, 60, 12}), TextDescriptor(10));
  drop.format = "40L@s10@";
  drop.dropCount = 3;
  drop.from = TextDescriptor(7);
  drop.from->constantText = "VHS|8mm";
  ControlRecord option =
      Bound(Control(RecordKind::kOption, 3, {4, 50, 80, 30}, "Speed"), TextDescriptor(4));
  option.children = {Control(RecordKind::kRadio, 4, {8, 60, 30, 10}, "&SP"),
                     Control(RecordKind::kRadio, 5, {40, 60, 30, 10}, "&LP")};
  ControlRecord sheet = Control(RecordKind::kSheet, 6, {180, 4, 100, 80});
  ControlRecord first = Control(RecordKind::kTab, 7, kPositionNotGiven, "One");
  first.children = {
      Bound(Control(RecordKind::kEntry, 8, {190, 30, 60, 12}), LongDescriptor(), "n5")};
  sheet.children = {first, Control(RecordKind::kTab, 9, kPositionNotGiven, "Two")};
  return WindowDefinition({
      list,
      drop,
      option,
      sheet,
      Bound(Control(RecordKind::kCheck, 10, {4, 90, 60, 10}, "&Stereo"), LongDescriptor()),
      Bound(Control(RecordKind::kSpin, 11, {70, 90, 40, 12}), LongDescriptor()),
      Bound(Control(RecordKind::kProgress, 12, {120, 90, 60, 8}), LongDescriptor()),
      Bound(Control(RecordKind::kUseString, 13, {4, 105, 60, 10}), LongDescriptor(), "n5"),
      Bound(Control(RecordKind::kText, 14, {70, 105, 100, 40}), TextDescriptor(200)),
      Control(RecordKind::kString, 15, {4, 120, 60, 10}, "constant"),
      Control(RecordKind::kPrompt, 16, {4, 132, 60, 10}, "&Title:"),
      Control(RecordKind::kButton, 17, {180, 105, 40, 14}, "&Go"),
      Control(RecordKind::kGroup, 18, {180, 125, 60, 30}, "Group"),
      Control(RecordKind::kRegion, 19, {4, 150, 20, 10}),
      Control(RecordKind::kLine, 20, {30, 150, 20, 10}),
      Control(RecordKind::kBox, 21, {60, 150, 20, 10}),
      Control(RecordKind::kImage, 22, {90, 150, 20, 10}),
  });
}

bool AnyMenuShown() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (qobject_cast<QMenu*>(widget) && widget->isVisible()) return true;
  }
  return false;
}

// Right-clicks the widget and each widget inside it, near the top middle (inside
// an MDI window's title bar). Returns one line per widget that ran a nested loop
// or left a menu open.
std::vector<std::string> RightClickEverything(QWidget& top) {
  std::vector<std::string> faults;
  QList<QWidget*> widgets = top.findChildren<QWidget*>();
  widgets.prepend(&top);
  for (QWidget* widget : widgets) {
    if (qobject_cast<QMenu*>(widget)) continue;  // menus are only ever opened by us
    QPoint at(widget->width() / 2, std::min(8, widget->height() / 2));
    for (auto reason : {QContextMenuEvent::Mouse, QContextMenuEvent::Keyboard}) {
      QContextMenuEvent event(reason, at, widget->mapToGlobal(at));
      std::string name = widget->metaObject()->className();
      if (RunsNestedLoop([&] { QApplication::sendEvent(widget, &event); })) {
        faults.push_back(name + ": nested loop");
      }
      if (AnyMenuShown()) {
        faults.push_back(name + ": menu shown");
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
      }
    }
  }
  return faults;
}

template <typename Dialog>
Dialog* ShownDialog() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* dialog = dynamic_cast<Dialog*>(widget);
    if (dialog && dialog->isVisible()) return dialog;
  }
  return nullptr;
}

class ContextMenusTest : public WindowTest {
 protected:
  std::vector<void*> Variables() {
    std::vector<void*> variables = {&rows_.queue()};
    for (auto& buffer : buffers_) variables.push_back(buffer);
    return variables;
  }
  void AddRows(int count) {
    for (int i = 0; i < count; ++i) {
      std::memset(rows_.buffer(), 'A' + i, 20);
      ADD(rows_.queue());
    }
  }

  DeclaredQueue rows_{kRowFields, 20};
  char buffers_[12][256] = {};
};

TEST_F(ContextMenusTest, FrameMdiWindowAndEveryControlOpenNoMenu) {
  AddRows(30);  // enough for the list's scroll bar
  Window* frame = nullptr;
  Window* child = nullptr;
  START(
      [&] {
        Window window;
        OpenTestWindow(window, WindowKind::kApplication, WindowDefinition({}));
        frame = &window;
        START(
            [&] {
              Window mine;
              OpenTestWindow(mine, WindowKind::kMdiChild, EveryKind(), Variables());
              child = &mine;
              for (AcceptLoop loop; loop.Next();) {
              }
            },
            0);
        for (AcceptLoop loop; loop.Next();) {
        }
      },
      0);
  RunUntilIdle();
  ASSERT_NE(frame, nullptr);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(RightClickEverything(*frame->shell->Outer()), std::vector<std::string>{});
}

TEST_F(ContextMenusTest, APlainWindowOpensNoMenu) {
  Window* plain = nullptr;
  START(
      [&] {
        Window window;
        OpenTestWindow(window, WindowKind::kPlain, EveryKind(), Variables());
        plain = &window;
        for (AcceptLoop loop; loop.Next();) {
        }
      },
      0);
  RunUntilIdle();
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(RightClickEverything(*plain->shell->Outer()), std::vector<std::string>{});
}

TEST_F(ContextMenusTest, DialogsAndThePopupMenuOpenNoMenu) {
  std::string fileName = "TAPES.TXT";
  START([] { MESSAGE("A question|on two lines", "Asking", {}, 0x06); }, 0);
  START([&] { FILEDIALOG("Pick a file", fileName); }, 0);
  START([] { PRINTERDIALOG("Print"); }, 0);
  RunUntilIdle();
  auto* message = ShownDialog<platform::MessageDialog>();
  auto* files = ShownDialog<platform::FileDialogWidget>();
  auto* printer = ShownDialog<platform::PrinterDialogWidget>();
  ASSERT_NE(message, nullptr);
  ASSERT_NE(files, nullptr);
  ASSERT_NE(printer, nullptr);
  EXPECT_EQ(RightClickEverything(*message), std::vector<std::string>{});
  EXPECT_EQ(RightClickEverything(*files), std::vector<std::string>{});
  EXPECT_EQ(RightClickEverything(*printer), std::vector<std::string>{});
  message->reject();
  files->reject();
  printer->reject();
  RunUntilIdle();
}

}  // namespace
}  // namespace rk
