#include "runtime/windows/thread_start.h"

#include <vector>

#include "runtime/platform/qt/scheduler.h"
#include "runtime/windows/file_thread_hooks.h"
#include "runtime/windows/modal_state.h"
#include "runtime/windows/runtime_lock.h"
#include "runtime/windows/thread_instances.h"

namespace rk {
namespace {

constexpr int kFirstThreadSlot = 0;
constexpr int32_t kFirstThreadStack = 1 << 20;

std::vector<std::function<void(int32_t)>>& EndHooks() {
  static std::vector<std::function<void(int32_t)>> hooks;
  return hooks;
}

void EndThread(int slot) {
  int32_t threadNumber = slot + 1;
  for (auto hook = EndHooks().rbegin(); hook != EndHooks().rend(); ++hook) (*hook)(threadNumber);
  ForgetServedThread();
  if (ActiveThread() == threadNumber) SetActiveThread(0);
  ThreadInstances().EndThread(slot);
  SlotAt(slot) = ThreadSlot{};
}

void ThreadBody(int slot) {
  // The first thread keeps the variables' own contents; a started one gets copies.
  if (slot != kFirstThreadSlot) ThreadInstances().BeginThread(slot);
  AcquireRuntime();
  Procedure procedure = SlotAt(slot).procedure;
  procedure();
  EndThread(slot);
  ReleaseRuntime();
}

int FirstFreeSlot() {
  for (int slot = 1; slot < kThreadSlots; ++slot) {
    if (SlotAt(slot).fiber == 0) return slot;
  }
  return -1;
}

// Fills the slot and creates its fiber; false when no fiber could be made.
bool Launch(int slot, Procedure procedure, int32_t stackSize, std::string helpFile) {
  platform::FiberId fiber =
      platform::TheScheduler().Spawn([slot] { ThreadBody(slot); }, static_cast<size_t>(stackSize));
  if (fiber == 0) return false;
  SlotAt(slot) = ThreadSlot{fiber, std::move(procedure), stackSize, std::move(helpFile)};
  return true;
}

}  // namespace

int32_t ThreadStackSize(int32_t requested) {
  if (requested == 0) return kDefaultThreadStack;
  return requested < kMinimumThreadStack ? kMinimumThreadStack : requested;
}

int32_t START(Procedure procedure, int32_t stackSize) {
  if (SystemIsModal()) return 0;
  ConnectFileLayerToThreads();
  int32_t size = ThreadStackSize(stackSize);
  int slot = FirstFreeSlot();
  if (slot < 0) return 0;
  if (!Launch(slot, std::move(procedure), size, ThreadHelpFile())) return 0;
  return slot + 1;
}

bool StartFirstThread(Procedure main) {
  if (SlotAt(kFirstThreadSlot).fiber != 0) return false;
  ConnectFileLayerToThreads();
  return Launch(kFirstThreadSlot, std::move(main), kFirstThreadStack, {});
}

bool RunFirstThread(Procedure main) {
  if (!StartFirstThread(std::move(main))) return false;
  platform::TheScheduler().Run(SlotAt(kFirstThreadSlot).fiber);
  return true;
}

void AddThreadEndHook(std::function<void(int32_t)> hook) {
  EndHooks().push_back(std::move(hook));
}

}  // namespace rk
