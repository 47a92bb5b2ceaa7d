// A change of the active thread: the window of the thread that lost it hears
// lose focus and suspend, the window of the thread that got it resume and gain
// focus, and a synchronous delivery holds the system modal while the body runs.
#include <gtest/gtest.h>

#include <QMdiSubWindow>

#include "runtime/platform/qt/window_shell.h"
#include "runtime/platform/qt/window_state_notifier.h"
#include "runtime/windows/accept_loop.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/thread_windows.h"
#include "runtime/windows/window_open.h"
#include "tests/windows/window_fixture.h"

namespace rk {
namespace {

using platform::MessageKind;
using namespace rk::testing;

class ThreadSwitchTest : public WindowTest {
 protected:
  // `window` must outlive the thread: the fixture's members do.
  Procedure Child(std::string name, Window*& window) {
    return [this, name, &window] {
      Window mine;
      window = &mine;
      OpenTestWindow(mine, WindowKind::kMdiChild, WindowDefinition({}));
      for (AcceptLoop loop; loop.Next();) {
        int32_t code = EVENT();
        if (code == event::kLoseFocus || code == event::kGainFocus || code == event::kSuspend ||
            code == event::kResume) {
          log_.push_back(name + " " + Describe(code, FIELD()));
          modalDuringFocusEvents_ = modalDuringFocusEvents_ && SystemIsModal();
        }
      }
      window = nullptr;
    };
  }

  std::vector<std::string> log_;
  bool modalDuringFocusEvents_ = true;
  Window* a_ = nullptr;
  Window* b_ = nullptr;
  Window* frame_ = nullptr;
};

TEST_F(ThreadSwitchTest, TheThreadsThatLoseAndGainTheActiveWindowHearOfIt) {
  START(
      [&] {
        Window frame;
        OpenTestWindow(frame, WindowKind::kApplication, WindowDefinition({}));
        START(Child("a", a_), 0);
        for (AcceptLoop loop; loop.Next();) {
        }
      },
      0);
  RunUntilIdle();
  ASSERT_NE(a_, nullptr);
  log_.clear();
  START(Child("b", b_), 0);
  RunUntilIdle();
  ASSERT_NE(b_, nullptr);
  EXPECT_EQ(ActiveThread(), b_->thread);
  EXPECT_EQ(log_, (std::vector<std::string>{"a 205:0", "a 208:0"}));
  EXPECT_TRUE(a_->suspended);

  log_.clear();
  PostToThread(a_->thread, MessageKind::kStateChanged, a_->Id(), platform::kWindowActivated);
  RunUntilIdle();
  EXPECT_EQ(ActiveThread(), a_->thread);
  ASSERT_EQ(log_.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(log_.begin(), log_.begin() + 2),
            (std::vector<std::string>{"a 209:0", "a 206:0"}));
  EXPECT_EQ(std::vector<std::string>(log_.begin() + 2, log_.end()),
            (std::vector<std::string>{"b 205:0", "b 208:0"}));
  EXPECT_TRUE(modalDuringFocusEvents_);
  EXPECT_EQ(ModalCount(), 0) << "each synchronous delivery gave the modal count back";
}

TEST_F(ThreadSwitchTest, ActivatingAnMdiChildMakesItsThreadTheActiveOne) {
  START(
      [&] {
        Window window;
        frame_ = &window;
        OpenTestWindow(window, WindowKind::kApplication, WindowDefinition({}));
        START(Child("a", a_), 0);
        START(Child("b", b_), 0);
        for (AcceptLoop loop; loop.Next();) {
        }
      },
      0);
  RunUntilIdle();
  ASSERT_TRUE(a_ && b_ && frame_);
  auto& area = *static_cast<platform::FrameShell&>(*frame_->shell).Area();
  area.setActiveSubWindow(static_cast<QMdiSubWindow*>(a_->shell->Outer()));
  RunUntilIdle();
  EXPECT_EQ(ActiveThread(), a_->thread);
  area.setActiveSubWindow(static_cast<QMdiSubWindow*>(b_->shell->Outer()));
  RunUntilIdle();
  EXPECT_EQ(ActiveThread(), b_->thread);
  // The frame itself activated stands for its active child.
  PostToThread(frame_->thread, MessageKind::kStateChanged, frame_->Id(),
               platform::kWindowActivated);
  RunUntilIdle();
  EXPECT_EQ(ActiveThread(), b_->thread);
}

}  // namespace
}  // namespace rk
