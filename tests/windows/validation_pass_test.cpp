// The validation pass started by SELECT(0): accepted events for the active
// input controls in creation order, then completed; a refused entry stops it.
#include <gtest/gtest.h>

#include <cstring>

#include "runtime/windows/accept_loop.h"
#include "runtime/windows/definition_flags.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_post.h"
#include "runtime/windows/property_codes.h"
#include "runtime/windows/window_open.h"
#include "runtime/windows/window_statements.h"
#include "tests/windows/window_fixture.h"

namespace rk {
namespace {

using namespace rk::testing;

// 1 required name entry, 2 a number entry, 3 a button, 4 a disabled entry.
StructureRecord FormDefinition() {
  ControlRecord name = MakeControl(RecordKind::kEntry, 1, {4, 4, 80, 12});
  name.use = TextDescriptor(10);
  name.picture = "s10";
  name.flags = control_flag::kRequired;
  ControlRecord number = MakeControl(RecordKind::kEntry, 2, {4, 20, 40, 12});
  number.use = LongDescriptor();
  number.picture = "n5";
  ControlRecord ok = MakeControl(RecordKind::kButton, 3, {4, 36, 40, 14});
  ok.text = "OK";
  ControlRecord off = MakeControl(RecordKind::kEntry, 4, {50, 20, 40, 12});
  off.use = LongDescriptor();
  off.flags = control_flag::kDisable;
  return WindowDefinition({name, number, ok, off});
}

class ValidationPassTest : public WindowTest {
 protected:
  // Runs the form; on the open event the body calls `start`, and every event
  // after that is logged; `onEvent` may act on each.
  void Run(std::function<void()> onEvent = [] {}) {
    START(
        [this, onEvent] {
          Window window;
          OpenTestWindow(window, WindowKind::kPlain, FormDefinition(), {name_, &number_, &off_});
          for (AcceptLoop loop; loop.Next();) {
            if (EVENT() == event::kOpenWindow) {
              SELECT(0);
              validatingAfterSelect_ = GetPropertyNumber(0, property::kValidating);
              continue;
            }
            // The platform may give the first field the focus when the window shows.
            if (EVENT() == event::kSelected && FIELD() == 1) continue;
            log_.push_back(Describe(EVENT(), FIELD()));
            onEvent();
            if (EVENT() == event::kCompleted) POST(event::kCloseWindow);
          }
        },
        0);
    RunUntilIdle();
  }

  char name_[10];
  int32_t number_ = 42;
  int32_t off_ = 0;
  int32_t validatingAfterSelect_ = 0;
  std::vector<std::string> log_;
};

TEST_F(ValidationPassTest, EveryActiveInputControlIsAcceptedThenCompletedArrives) {
  std::memcpy(name_, "MAXELL    ", 10);
  number_ = 0;
  off_ = 7;  // disabled: not accepted, so left alone
  Run();
  EXPECT_EQ(validatingAfterSelect_, 1);
  EXPECT_EQ(log_, (std::vector<std::string>{"1:1", "1:2", "225:0", "201:0"}));
  EXPECT_EQ(std::string(name_, 10), "MAXELL    ");
  EXPECT_EQ(number_, 0);
  EXPECT_EQ(off_, 7);
}

TEST_F(ValidationPassTest, CompletedFollowsWhatTheLastBodyPosted) {
  std::memcpy(name_, "AGFA      ", 10);
  Run([] {
    if (EVENT() == event::kAccepted && FIELD() == 2) POST(event::kNewSelection, 3);
  });
  EXPECT_EQ(log_, (std::vector<std::string>{"1:1", "1:2", "2:3", "225:0", "201:0"}));
}

TEST_F(ValidationPassTest, ABlankRequiredEntryStopsThePassWithoutCompleted) {
  std::memset(name_, ' ', sizeof name_);
  Run();
  EXPECT_TRUE(log_.empty());
  EXPECT_EQ(UsedSlots(), 1) << "the form stays open";
}

TEST_F(ValidationPassTest, OnlyTheCurrentControlCanBeSelectedWhileThePassRuns) {
  std::memcpy(name_, "TDK       ", 10);
  Run([] {
    if (EVENT() != event::kAccepted) return;
    if (FIELD() == 1) SELECT(3);  // another control: ignored, the pass goes on
    if (FIELD() == 2) {
      SELECT(2);  // the current control: the pass ends here
      EXPECT_EQ(GetPropertyNumber(0, property::kValidating), 0);
    }
  });
  EXPECT_EQ(log_, (std::vector<std::string>{"1:1", "1:2", "101:2"}));
}

TEST_F(ValidationPassTest, ClearingThePendingPassStopsIt) {
  std::memcpy(name_, "BASF      ", 10);
  Run([] {
    if (EVENT() == event::kAccepted && FIELD() == 1) SetProperty(0, property::kValidating, 0);
  });
  EXPECT_EQ(log_, (std::vector<std::string>{"1:1"}));
}

}  // namespace
}  // namespace rk
