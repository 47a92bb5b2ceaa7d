// The ACCEPT loop: event order, posting, closing from the body, refusing,
// timers and the events of a window's own platform window.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <algorithm>
#include <chrono>
#include <thread>

#include "runtime/windows/accept_loop.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_post.h"
#include "runtime/windows/property_codes.h"
#include "runtime/windows/thread_windows.h"
#include "runtime/windows/window_messages.h"
#include "runtime/windows/window_open.h"
#include "runtime/windows/window_statements.h"
#include "tests/windows/window_fixture.h"

namespace rk {
namespace {

using platform::MessageKind;
using namespace rk::testing;

StructureRecord TwoButtons(int32_t timer = 0) {
  return WindowDefinition({MakeControl(RecordKind::kButton, 1, {4, 4, 40, 14}),
                           MakeControl(RecordKind::kButton, 2, {50, 4, 40, 14})},
                          timer);
}

class AcceptLoopTest : public WindowTest {};

TEST_F(AcceptLoopTest, PostedEventsArriveInOrderAfterTheOpenEvent) {
  std::vector<std::string> seen;
  bool after = false;
  START(
      [&] {
        Window window;
        OpenTestWindow(window, WindowKind::kPlain, TwoButtons());
        for (AcceptLoop loop; loop.Next();) {
          seen.push_back(Describe(EVENT(), FIELD()));
          if (EVENT() == event::kOpenWindow) {
            POST(event::kAccepted, 2);
            POST(event::kNewSelection, 1);
            POST(event::kAccepted, 9);  // no such control: dropped
            POST(event::kCloseWindow);
            POST(event::kAccepted, 1);  // still in the message queue when the close is due
          }
        }
        after = !window.IsOpen();
      },
      0);
  RunUntilIdle();
  EXPECT_EQ(seen, (std::vector<std::string>{"203:0", "1:2", "2:1", "201:0"}));
  EXPECT_TRUE(after) << "the loop ends with the window closed";
}

TEST_F(AcceptLoopTest, CloseFromTheBodyEndsTheLoopOnlyAfterTheBody) {
  std::vector<std::string> log;
  START(
      [&] {
        Window window;
        OpenTestWindow(window, WindowKind::kPlain, TwoButtons());
        for (AcceptLoop loop; loop.Next();) {
          log.push_back(Describe(EVENT(), FIELD()));
          if (EVENT() == event::kOpenWindow) {
            POST(event::kCloseWindow);
            log.push_back("body goes on");
          }
        }
        log.push_back("after loop");
      },
      0);
  RunUntilIdle();
  EXPECT_EQ(log, (std::vector<std::string>{"203:0", "body goes on", "201:0", "after loop"}));
}

TEST_F(AcceptLoopTest, ARefusedCloseKeepsTheWindowOpen) {
  int closes = 0;
  int32_t thread = START(
      [&] {
        Window window;
        OpenTestWindow(window, WindowKind::kPlain, TwoButtons());
        for (AcceptLoop loop; loop.Next();) {
          if (EVENT() == event::kCloseWindow && ++closes == 1) RefuseEvent();
        }
      },
      0);
  RunUntilIdle();
  Window* window = CurrentWindowOf(thread);
  ASSERT_NE(window, nullptr);
  // The close box: the platform close request becomes the close event.
  ASSERT_TRUE(window->shell->Outer()->close() == false);
  RunUntilIdle();
  EXPECT_EQ(closes, 1);
  EXPECT_NE(CurrentWindowOf(thread), nullptr) << "refused";
  PostToThread(thread, MessageKind::kCloseRequest, window->Id());
  RunUntilIdle();
  EXPECT_EQ(closes, 2);
  EXPECT_EQ(UsedSlots(), 0) << "the procedure returned after the second close";
}

TEST_F(AcceptLoopTest, ClosingTheWindowInsideTheBodyEndsTheLoop) {
  int events = 0;
  bool returned = false;
  START(
      [&] {
        Window window;
        OpenTestWindow(window, WindowKind::kPlain, TwoButtons());
        POST(event::kAccepted, 1);
        for (AcceptLoop loop; loop.Next();) {
          ++events;
          CloseWindow(window);
        }
        returned = true;
      },
      0);
  RunUntilIdle();
  EXPECT_EQ(events, 1);
  EXPECT_TRUE(returned);
}

TEST_F(AcceptLoopTest, ANestedLoopOnTheSameThreadKeepsEachWindowsEvents) {
  std::vector<std::string> log;
  START(
      [&] {
        Window outer;
        OpenTestWindow(outer, WindowKind::kPlain, TwoButtons());
        for (AcceptLoop loop; loop.Next();) {
          log.push_back("outer " + Describe(EVENT(), FIELD()));
          if (EVENT() == event::kOpenWindow) {
            POST(event::kAccepted, 1);
            Window inner;
            OpenTestWindow(inner, WindowKind::kPlain, TwoButtons());
            for (AcceptLoop loop; loop.Next();) {
              log.push_back("inner " + Describe(EVENT(), FIELD()));
              if (EVENT() == event::kOpenWindow) POST(event::kAccepted, 2);
              if (EVENT() == event::kAccepted) break;  // left with break, closed below
            }
            CloseWindow(inner);
          } else if (EVENT() == event::kAccepted) {
            POST(event::kCloseWindow);
          }
        }
      },
      0);
  RunUntilIdle();
  EXPECT_EQ(log, (std::vector<std::string>{"outer 203:0", "inner 203:0", "inner 1:2", "outer 1:1",
                                           "outer 201:0"}));
  EXPECT_EQ(UsedSlots(), 0);
}

TEST_F(AcceptLoopTest, ButtonPressesBecomeAcceptedEvents) {
  std::vector<std::string> seen;
  int32_t thread = START(
      [&] {
        Window window;
        OpenTestWindow(window, WindowKind::kPlain, TwoButtons());
        for (AcceptLoop loop; loop.Next();) seen.push_back(Describe(EVENT(), FIELD()));
      },
      0);
  RunUntilIdle();
  Window* window = CurrentWindowOf(thread);
  ASSERT_NE(window, nullptr);
  auto* button = qobject_cast<QAbstractButton*>(window->FindControl(2)->Widget());
  ASSERT_NE(button, nullptr);
  button->click();
  RunUntilIdle();
  EXPECT_EQ(seen.back(), "1:2");
}

TEST_F(AcceptLoopTest, ATimerNeverQueuesASecondTimerEvent) {
  int timers = 0;
  Window* outer = nullptr;
  Window* inner = nullptr;
  int32_t thread = START(
      [&] {
        Window window;
        outer = &window;
        OpenTestWindow(window, WindowKind::kPlain, TwoButtons(1));
        window.timer->Stop();  // expiries are driven by hand below
        for (AcceptLoop loop; loop.Next();) {
          if (EVENT() == event::kTimer) ++timers;
          if (EVENT() != event::kOpenWindow) continue;
          // While another loop of the thread runs, the timer's expiries queue up.
          Window busy;
          inner = &busy;
          OpenTestWindow(busy, WindowKind::kPlain, TwoButtons());
          for (AcceptLoop loop; loop.Next();) {
          }
          inner = nullptr;
        }
      },
      0);
  RunUntilIdle();
  ASSERT_NE(inner, nullptr);
  for (int i = 0; i < 3; ++i) PostToThread(thread, MessageKind::kTimer, outer->Id());
  RunUntilIdle();
  EXPECT_EQ(std::count_if(outer->queue.begin(), outer->queue.end(),
                          [](const EventRecord& r) { return r.code == event::kTimer; }),
            1);
  PostToThread(thread, MessageKind::kCloseRequest, inner->Id());
  RunUntilIdle();
  EXPECT_EQ(timers, 1);
  PostToThread(thread, MessageKind::kTimer, outer->Id());
  RunUntilIdle();
  EXPECT_EQ(timers, 2) << "delivering the timer event clears the pending flag";
}

TEST_F(AcceptLoopTest, ARunningTimerDeliversTimerEvents) {
  int timers = 0;
  START(
      [&] {
        Window window;
        OpenTestWindow(window, WindowKind::kPlain, TwoButtons(1));
        for (AcceptLoop loop; loop.Next();) {
          if (EVENT() == event::kTimer && ++timers == 3) POST(event::kCloseWindow);
        }
      },
      0);
  for (int spin = 0; spin < 2000 && UsedSlots() > 0; ++spin) {
    RunUntilIdle();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(timers, 3);
}

TEST_F(AcceptLoopTest, StateChangesBecomeWindowEvents) {
  std::vector<int32_t> codes;
  bool refuse = true;
  Window* opened = nullptr;
  int32_t thread = START(
      [&] {
        Window window;
        opened = &window;
        StructureRecord definition = TwoButtons();
        definition.flags = kAnnounceSystemCommands;
        OpenTestWindow(window, WindowKind::kPlain, definition);
        for (AcceptLoop loop; loop.Next();) {
          codes.push_back(EVENT());
          if (EVENT() == event::kSystemCommand && refuse) RefuseEvent();
        }
      },
      0);
  RunUntilIdle();
  ASSERT_NE(opened, nullptr);
  codes.clear();
  PostToThread(thread, MessageKind::kSystemCommand, opened->Id(), kCommandMaximize);
  RunUntilIdle();
  EXPECT_EQ(codes, std::vector<int32_t>{event::kSystemCommand}) << "refused: no change";
  EXPECT_FALSE(opened->shell->Outer()->isMaximized());
  codes.clear();
  refuse = false;
  PostToThread(thread, MessageKind::kSystemCommand, opened->Id(), kCommandMaximize);
  RunUntilIdle();
  ASSERT_FALSE(codes.empty());
  EXPECT_EQ(codes.front(), event::kSystemCommand);
  EXPECT_TRUE(opened->shell->Outer()->isMaximized());
  EXPECT_NE(std::find(codes.begin(), codes.end(), event::kMaximized), codes.end());
  EXPECT_EQ(opened->attributes & 0xC000, 0x4000);
}

TEST_F(AcceptLoopTest, AlertKeysRaiseTheAlertEventOfTheControlThatListsThem) {
  std::vector<std::string> seen;
  int32_t key = 0;
  Window* opened = nullptr;
  int32_t thread = START(
      [&] {
        Window window;
        opened = &window;
        OpenTestWindow(window, WindowKind::kPlain, TwoButtons());
        for (AcceptLoop loop; loop.Next();) {
          if (EVENT() == event::kOpenWindow) SetProperty(2, property::kAlertKeys, 0x2D, 255);
          if (EVENT() == event::kAlertKey) key = KEYCODE();
          seen.push_back(Describe(EVENT(), FIELD()));
        }
      },
      0);
  RunUntilIdle();
  uintptr_t first = opened->FindControl(1)->Id();
  PostToThread(thread, MessageKind::kKey, first, 0x2E);  // not listed anywhere
  PostToThread(thread, MessageKind::kKey, first, 0x2D);
  RunUntilIdle();
  EXPECT_EQ(seen.back(), "f:2");
  EXPECT_EQ(key, 0x2D);
}

// What the body of a loop that has been left would still read.
struct LeftLoop {
  int32_t event = -1;
  int32_t field = -1;
  int32_t keyCode = -1;
  bool insideAccept = true;
};

TEST_F(AcceptLoopTest, LeavingTheLoopWithBreakEndsItAtOnce) {
  LeftLoop left;
  Window* opened = nullptr;
  int32_t thread = START(
      [&] {
        Window window;
        opened = &window;
        OpenTestWindow(window, WindowKind::kPlain, TwoButtons());
        for (AcceptLoop loop; loop.Next();) {
          if (EVENT() == event::kOpenWindow) SetProperty(2, property::kAlertKeys, 0x2D, 255);
          if (EVENT() == event::kAlertKey) break;
        }
        left = {EVENT(), FIELD(), KEYCODE(), window.insideAccept};
        CloseWindow(window);
      },
      0);
  RunUntilIdle();
  PostToThread(thread, MessageKind::kKey, opened->FindControl(1)->Id(), 0x2D);
  RunUntilIdle();
  EXPECT_EQ(left.event, 0) << "EVENT reads no finished loop";
  EXPECT_EQ(left.field, 0);
  EXPECT_EQ(left.keyCode, 0);
  EXPECT_FALSE(left.insideAccept) << "a frame would still ask it to close down";
  EXPECT_EQ(UsedSlots(), 0);
}

// Opens a window of its own, runs its loop until its first accepted event and
// leaves it by returning from inside; logs every event it sees.
void ReturnOnFirstPress(std::vector<std::string>& log, const std::string& who) {
  Window window;
  OpenTestWindow(window, WindowKind::kPlain, TwoButtons());
  for (AcceptLoop loop; loop.Next();) {
    log.push_back(who + " " + Describe(EVENT(), FIELD()));
    if (EVENT() == event::kOpenWindow) POST(event::kAccepted, 1);
    if (EVENT() == event::kAccepted) return;
  }
  log.push_back(who + " loop ended without a press");
}

// Calls itself once more after its first loop has been left.
void CallAgainAfterTheLoop(std::vector<std::string>& log, int depth) {
  {
    Window window;
    OpenTestWindow(window, WindowKind::kPlain, TwoButtons());
    for (AcceptLoop loop; loop.Next();) {
      log.push_back("depth " + std::to_string(depth) + " " + Describe(EVENT(), FIELD()));
      if (EVENT() == event::kOpenWindow) POST(event::kAccepted, 2);
      if (EVENT() == event::kAccepted) break;
    }
  }
  if (depth == 0) CallAgainAfterTheLoop(log, 1);
}

TEST_F(AcceptLoopTest, ALoopEnteredAgainIsANewLoop) {
  std::vector<std::string> log;
  START(
      [&] {
        Window outer;
        OpenTestWindow(outer, WindowKind::kPlain, TwoButtons());
        for (AcceptLoop loop; loop.Next();) {
          if (EVENT() != event::kOpenWindow) continue;
          // Called twice from one event: the same place at the same depth.
          ReturnOnFirstPress(log, "first");
          ReturnOnFirstPress(log, "second");
          log.push_back("outer still reads " + Describe(EVENT(), FIELD()));
          CallAgainAfterTheLoop(log, 0);
          POST(event::kCloseWindow);
        }
      },
      0);
  RunUntilIdle();
  EXPECT_EQ(log, (std::vector<std::string>{"first 203:0", "first 1:1", "second 203:0", "second 1:1",
                                           "outer still reads 203:0", "depth 0 203:0",
                                           "depth 0 1:2", "depth 1 203:0", "depth 1 1:2"}));
  EXPECT_EQ(UsedSlots(), 0);
}

TEST_F(AcceptLoopTest, AcceptWithoutAWindowIsRuntimeError537) {
  EXPECT_EXIT({ AcceptLoop loop; }, ::testing::ExitedWithCode(2), "ACCEPT loop requires a window");
}

}  // namespace
}  // namespace rk
