// Closing a frame: its MDI children are asked to close down one at a time, and
// a child's refusal abandons the frame's close.
#include <gtest/gtest.h>

#include "runtime/windows/accept_loop.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/thread_windows.h"
#include "runtime/windows/window_open.h"
#include "tests/windows/window_fixture.h"

namespace rk {
namespace {

using platform::MessageKind;
using namespace rk::testing;

class CloseProtocolTest : public WindowTest {
 protected:
  // A procedure with an MDI window that logs its close-down and, when told to,
  // refuses it.
  Procedure Child(std::string name, bool refuse = false) {
    return [this, name, refuse] {
      Window window;
      OpenTestWindow(window, WindowKind::kMdiChild, WindowDefinition({}));
      for (AcceptLoop loop; loop.Next();) {
        if (EVENT() != event::kCloseDown) continue;
        log_.push_back(name + " close-down");
        if (refuse) RefuseEvent();
      }
      log_.push_back(name + " closed");
    };
  }

  // Starts the frame's procedure, which starts the children.
  void StartFrame(std::vector<Procedure> children) {
    frameThread_ = START(
        [this, children] {
          Window frame;
          frame_ = &frame;
          OpenTestWindow(frame, WindowKind::kApplication, WindowDefinition({}));
          for (const Procedure& child : children) START(child, 0);
          for (AcceptLoop loop; loop.Next();) {
            if (EVENT() == event::kCloseWindow) log_.push_back("frame close");
          }
          log_.push_back("frame closed");
          frame_ = nullptr;
        },
        0);
    RunUntilIdle();
    ASSERT_NE(frame_, nullptr);
  }

  void CloseFrame() {
    PostToThread(frameThread_, MessageKind::kCloseRequest, frame_->Id());
    RunUntilIdle();
  }

  std::vector<std::string> log_;
  Window* frame_ = nullptr;
  int32_t frameThread_ = 0;
};

TEST_F(CloseProtocolTest, ChildrenCloseDownOneAfterTheOtherThenTheFrame) {
  StartFrame({Child("a"), Child("b")});
  ASSERT_EQ(frame_->children.size(), 2u);
  CloseFrame();
  EXPECT_EQ(log_, (std::vector<std::string>{"frame close", "a close-down", "a closed",
                                            "b close-down", "b closed", "frame closed"}));
  EXPECT_EQ(UsedSlots(), 0);
}

TEST_F(CloseProtocolTest, ARefusingChildAbandonsTheClose) {
  StartFrame({Child("a", true), Child("b")});
  CloseFrame();
  EXPECT_EQ(log_, (std::vector<std::string>{"frame close", "a close-down"}));
  ASSERT_NE(frame_, nullptr);
  EXPECT_TRUE(frame_->IsOpen());
  EXPECT_EQ(frame_->closeState, CloseState::kNone);
  EXPECT_EQ(frame_->children.size(), 2u);
  // The frame can still open MDI windows once its close was abandoned.
  EXPECT_EQ(UsedSlots(), 3);
}

TEST_F(CloseProtocolTest, AFrameWithoutChildrenClosesAtOnce) {
  StartFrame({});
  CloseFrame();
  EXPECT_EQ(log_, (std::vector<std::string>{"frame close", "frame closed"}));
}

}  // namespace
}  // namespace rk
