// SETCURSOR and WaitCursor: the wait cursor during a thread's work, nested holds,
// threads that end holding it, and the display pass that puts it on the screen
// before the work goes on.
#include "runtime/windows/wait_cursor.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>
#include <optional>
#include <string>
#include <vector>

#include "runtime/platform/qt/scheduler.h"
#include "runtime/windows/runtime_lock.h"
#include "runtime/windows/thread_start.h"
#include "tests/support/qt_application.h"

namespace rk {
namespace {

using platform::MessageKind;
using Shape = std::optional<Qt::CursorShape>;

// The override cursor on top, none when the windows show their own cursors.
Shape Override() {
  QCursor* cursor = QGuiApplication::overrideCursor();
  return cursor ? Shape(cursor->shape()) : std::nullopt;
}

void RunUntilIdle() {
  platform::TheScheduler().RunUntilIdle();
}

void PostTo(int32_t threadNumber, MessageKind kind) {
  platform::TheScheduler().Post(SlotAt(threadNumber - 1).fiber, {kind, 0, 0, nullptr});
}

void WaitForQuit() {
  while (WaitForNextMessage().kind != MessageKind::kQuit) {
  }
}

class WaitCursorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rk::testing::EnsureQtApplication();
    ASSERT_EQ(UsedSlots(), 0) << "a previous test left threads behind";
    ASSERT_EQ(Override(), std::nullopt);
  }
  void TearDown() override {
    for (int slot = 0; slot < kThreadSlots; ++slot) {
      if (SlotAt(slot).fiber != 0) PostTo(slot + 1, MessageKind::kQuit);
    }
    RunUntilIdle();
    EXPECT_EQ(Override(), std::nullopt);
    while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
  }
};

TEST_F(WaitCursorTest, ShownDuringTheWorkAndRemovedAfter) {
  std::vector<Shape> seen;
  START(
      [&] {
        SETCURSOR(kWaitCursor);
        seen.push_back(Override());
        SETCURSOR();
        seen.push_back(Override());
      },
      0);
  RunUntilIdle();
  EXPECT_EQ(seen, (std::vector<Shape>{Qt::WaitCursor, std::nullopt}));
}

TEST_F(WaitCursorTest, NestedHoldsGiveBackOnlyTheirOwn) {
  // An override cursor that is not the runtime's stays below the wait cursor and
  // survives a SETCURSOR() without a hold.
  QGuiApplication::setOverrideCursor(QCursor(Qt::CrossCursor));
  std::vector<Shape> seen;
  START(
      [&] {
        {
          WaitCursor outer;
          {
            WaitCursor inner;
            seen.push_back(Override());
          }
          seen.push_back(Override());
        }
        seen.push_back(Override());
        SETCURSOR();
        seen.push_back(Override());
      },
      0);
  RunUntilIdle();
  EXPECT_EQ(seen,
            (std::vector<Shape>{Qt::WaitCursor, Qt::WaitCursor, Qt::CrossCursor, Qt::CrossCursor}));
  QGuiApplication::restoreOverrideCursor();
}

TEST_F(WaitCursorTest, AThreadThatEndsHoldingItGivesItBack) {
  int32_t holder = START(
      [] {
        SETCURSOR(kWaitCursor);
        WaitForQuit();
      },
      0);
  START(
      [] {
        SETCURSOR(kWaitCursor);
        SETCURSOR(kWaitCursor);
      },
      0);
  RunUntilIdle();
  EXPECT_EQ(UsedSlots(), 1);
  EXPECT_EQ(Override(), Qt::WaitCursor) << "the first thread still holds it";

  PostTo(holder, MessageKind::kQuit);
  RunUntilIdle();
  EXPECT_EQ(UsedSlots(), 0);
  EXPECT_EQ(Override(), std::nullopt);
}

TEST_F(WaitCursorTest, TheDisplayCatchesUpBeforeTheWorkAndNoOtherThreadRuns) {
  std::vector<std::string> log;
  int32_t worker = START(
      [&] {
        WaitForNextMessage();
        QMetaObject::invokeMethod(
            qApp,
            [&] { log.push_back(Override() == Qt::WaitCursor ? "display, waiting" : "display"); },
            Qt::QueuedConnection);
        SETCURSOR(kWaitCursor);
        log.push_back("work");
        SETCURSOR();
      },
      0);
  int32_t other = START(
      [&] {
        WaitForNextMessage();
        log.push_back("other thread");
      },
      0);
  RunUntilIdle();
  // Both are ready in the same pass; the worker runs first.
  PostTo(worker, MessageKind::kCommand);
  PostTo(other, MessageKind::kCommand);
  RunUntilIdle();
  EXPECT_EQ(log, (std::vector<std::string>{"display, waiting", "work", "other thread"}));
}

}  // namespace
}  // namespace rk
