// MDI children as a person sees them: as large as their definition says, with
// a list made before a sheet shown above the sheet, and a child without a
// position of its own placed over the child opened before it.
#include <gtest/gtest.h>

#include <QMdiSubWindow>
#include <QStyle>

#include "runtime/platform/qt/window_shell.h"
#include "runtime/windows/accept_loop.h"
#include "runtime/windows/control.h"
#include "runtime/windows/thread_windows.h"
#include "runtime/windows/window_open.h"
#include "tests/windows/window_fixture.h"

namespace rk {
namespace {

using namespace rk::testing;

// A list, then a sheet around it with one tab, as the browses are defined.
StructureRecord ListOnSheet() {
  ControlRecord list = MakeControl(RecordKind::kList, 1, {10, 22, 150, 80});
  list.format = "80L|M~NAME~@s20@";
  ControlRecord sheet = MakeControl(RecordKind::kSheet, 2, {4, 4, 190, 110});
  sheet.children.push_back(MakeControl(RecordKind::kTab, 0, kPositionNotGiven));
  return WindowDefinition({list, sheet});
}

class MdiChildLayoutTest : public WindowTest {
 protected:
  void StartFrame() {
    START(
        [this] {
          Window frame;
          StructureRecord definition = WindowDefinition({});
          definition.at = {kNotGiven, kNotGiven, 600, 400};
          OpenTestWindow(frame, WindowKind::kApplication, definition);
          frameOpen_ = true;
          for (AcceptLoop loop; loop.Next();) {
          }
          frameOpen_ = false;
        },
        0);
    RunUntilIdle();
    ASSERT_TRUE(frameOpen_);
  }
  // Opens a child on a thread of its own and returns the thread.
  int32_t OpenChild() {
    int32_t thread = START(
        [] {
          Window window;
          OpenTestWindow(window, WindowKind::kMdiChild, ListOnSheet());
          for (AcceptLoop loop; loop.Next();) {
          }
        },
        0);
    RunUntilIdle();
    return thread;
  }
  static QMdiSubWindow* SubWindowOf(int32_t thread) {
    Window* window = CurrentWindowOf(thread);
    return window ? qobject_cast<QMdiSubWindow*>(window->shell->Outer()) : nullptr;
  }

  bool frameOpen_ = false;
};

TEST_F(MdiChildLayoutTest, AChildIsAsLargeAsItsDefinitionAndItsListShowsAboveTheSheet) {
  StartFrame();
  int32_t thread = OpenChild();
  QMdiSubWindow* sub = SubWindowOf(thread);
  ASSERT_NE(sub, nullptr);
  ASSERT_TRUE(sub->isVisible());
  Window* window = CurrentWindowOf(thread);
  QWidget* client = window->shell->Client();
  EXPECT_EQ(client->size(), client->sizeHint());
  EXPECT_GT(client->height(), 100) << "the child did not shrink to its title bar";
  EXPECT_GE(sub->height(), client->height());

  QWidget* list = window->FindControl(1)->Widget();
  QWidget* hit = client->childAt(list->geometry().center());
  ASSERT_NE(hit, nullptr);
  EXPECT_TRUE(hit == list || list->isAncestorOf(hit)) << "the sheet covers the list";
}

TEST_F(MdiChildLayoutTest, AChildWithoutAPositionCascadesFromTheChildBeforeIt) {
  StartFrame();
  QMdiSubWindow* first = SubWindowOf(OpenChild());
  QMdiSubWindow* second = SubWindowOf(OpenChild());
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  int step = second->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, second);
  EXPECT_EQ(first->pos(), QPoint(0, 0));
  EXPECT_EQ(second->pos(), first->pos() + QPoint(step, step));
}

}  // namespace
}  // namespace rk
