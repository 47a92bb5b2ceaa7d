#include "runtime/windows/wait_cursor.h"

#include <cstdint>
#include <map>

#include "runtime/platform/qt/scheduler.h"
#include "runtime/platform/qt/wait_cursor_override.h"
#include "runtime/windows/thread_slots.h"
#include "runtime/windows/thread_start.h"

namespace rk {
namespace {

// Holds per thread number; the wait cursor is on the screen while any is held.
std::map<int32_t, int>& Holds() {
  static std::map<int32_t, int> holds;
  return holds;
}

void DropHolds(int32_t threadNumber) {
  auto found = Holds().find(threadNumber);
  if (found == Holds().end()) return;
  Holds().erase(found);
  if (Holds().empty()) platform::RemoveWaitCursorOverride();
}

void InstallThreadEndHook() {
  static const bool installed = [] {
    AddThreadEndHook(DropHolds);
    return true;
  }();
  (void)installed;
}

}  // namespace

void SETCURSOR(WaitCursorShape) {
  InstallThreadEndHook();
  bool changes = Holds().empty();
  ++Holds()[RunningThreadNumber()];
  if (!changes) return;
  platform::SetWaitCursorOverride();
  platform::Scheduler& scheduler = platform::TheScheduler();
  if (scheduler.Current() != 0) scheduler.AwaitDisplayPass();
}

void SETCURSOR() {
  auto found = Holds().find(RunningThreadNumber());
  if (found == Holds().end()) return;
  if (--found->second == 0) DropHolds(found->first);
}

}  // namespace rk
