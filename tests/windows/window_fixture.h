// Shared pieces of the window and event-loop tests: small definitions built in
// memory, a recorder of delivered events, and running procedures on threads.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "runtime/platform/qt/platform_timer.h"
#include "runtime/platform/qt/scheduler.h"
#include "runtime/platform/qt/window_shell.h"
#include "runtime/windows/control.h"
#include "runtime/windows/definition_tree.h"
#include "runtime/windows/modal_state.h"
#include "runtime/windows/thread_slots.h"
#include "runtime/windows/thread_start.h"
#include "runtime/windows/window.h"
#include "tests/support/qt_application.h"

namespace rk::testing {

ControlRecord MakeControl(RecordKind kind, int32_t number, Position at);
// A control with its text, or with its bound variable and picture.
ControlRecord WithText(ControlRecord control, std::string text);
ControlRecord Bound(ControlRecord control, DataDescriptor use, std::string picture = {});
DataDescriptor TextDescriptor(int32_t size);
DataDescriptor LongDescriptor();

// A window labelled "TEST$WINDOW" with the given controls; dialog units.
StructureRecord WindowDefinition(std::vector<ControlRecord> controls, int32_t timer = 0);

// Binds the variables in binding order and opens the window; the test fails on an error.
void OpenTestWindow(Window& window, WindowKind kind, StructureRecord definition,
                    std::vector<void*> variables = {});

// One delivered event as "code:control", codes in hex ("203:0", "1:4").
std::string Describe(int32_t code, int32_t control);

// Runs the threads until nothing is left to do. Threads that keep waking one
// another fail the test instead of hanging the whole run.
inline void RunUntilIdle() {
  constexpr int kRoundsBeforeGivingUp = 10000;
  if (!platform::TheScheduler().RunUntilIdle(kRoundsBeforeGivingUp)) {
    ADD_FAILURE() << "the runtime threads never went idle";
  }
}

// Posts a platform message to a thread's fiber.
void PostToThread(int32_t thread, platform::MessageKind kind, uintptr_t target = 0,
                  int64_t param = 0);

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  // Ends every thread still running (kQuit leaves their loops) and checks that
  // nothing was left behind.
  void TearDown() override;
};

}  // namespace rk::testing
