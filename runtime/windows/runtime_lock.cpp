#include "runtime/windows/runtime_lock.h"

#include <cassert>

#include "runtime/platform/qt/scheduler.h"
#include "runtime/windows/thread_instances.h"
#include "runtime/windows/thread_slots.h"
#include "runtime/windows/thread_state.h"

namespace rk {
namespace {

int servedSlot = -1;
bool lockHeld = false;

void Serve(int slot) {
  if (slot != servedSlot) {
    if (servedSlot >= 0) SaveThreadState(servedSlot);
    RestoreThreadState(slot);
    servedSlot = slot;
  }
  ThreadInstances().SwitchTo(slot);
}

}  // namespace

void AcquireRuntime() {
  // Fibers cannot run at the same time, so a held lock here means a thread
  // resumed without having released it: a fault of the caller, not a wait.
  assert(!lockHeld && "the runtime lock is taken twice");
  lockHeld = true;
  int slot = SlotOfFiber(platform::TheScheduler().Current());
  if (slot >= 0) Serve(slot);
}

void ReleaseRuntime() {
  lockHeld = false;
}

bool RuntimeLockHeld() {
  return lockHeld;
}

int32_t ServedThread() {
  return servedSlot + 1;
}

platform::PlatformMessage WaitForNextMessage() {
  ReleaseRuntime();
  platform::PlatformMessage message = platform::TheScheduler().WaitMessage();
  AcquireRuntime();
  return message;
}

std::optional<platform::PlatformMessage> WaitForNextMessage(std::chrono::milliseconds timeout) {
  ReleaseRuntime();
  std::optional<platform::PlatformMessage> message = platform::TheScheduler().WaitMessage(timeout);
  AcquireRuntime();
  return message;
}

platform::PlatformMessage WaitForMessageWhere(
    std::function<bool(const platform::PlatformMessage&)> wanted) {
  ReleaseRuntime();
  platform::PlatformMessage message = platform::TheScheduler().WaitMessageWhere(std::move(wanted));
  AcquireRuntime();
  return message;
}

platform::PlatformMessage WaitForMessageKeepingLock(
    std::function<bool(const platform::PlatformMessage&)> wanted) {
  return platform::TheScheduler().WaitMessageAlone(std::move(wanted));
}

void PauseThread(std::chrono::milliseconds duration) {
  ReleaseRuntime();
  platform::TheScheduler().Pause(duration);
  AcquireRuntime();
}

void ForgetServedThread() {
  if (servedSlot >= 0) DiscardThreadState(servedSlot);
  servedSlot = -1;
}

}  // namespace rk
