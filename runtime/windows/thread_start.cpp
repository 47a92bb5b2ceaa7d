#include "runtime/windows/thread_start.h"

#include <exception>
#include <optional>
#include <vector>

#include "runtime/core/error_state.h"
#include "runtime/core/halt.h"
#include "runtime/core/runtime_error_codes.h"
#include "runtime/platform/qt/fiber.h"
#include "runtime/platform/qt/scheduler.h"
#include "runtime/platform/qt/stack_guards.h"
#include "runtime/windows/file_thread_hooks.h"
#include "runtime/windows/modal_state.h"
#include "runtime/windows/runtime_error_box.h"
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

// What escaped the procedure, if anything. The report waits for its box, so it
// is made after the handler has ended: a fiber must not wait while it handles
// an exception, the C++ runtime keeps those per OS thread, not per fiber.
std::optional<std::string> RunProcedure(const Procedure& procedure) {
  try {
    procedure();
  } catch (const std::exception& escaped) {
    return std::string(escaped.what());
  } catch (...) {
    platform::RethrowFiberUnwind();
    return std::string("an exception of unknown type");
  }
  return std::nullopt;
}

void ThreadBody(int slot) {
  // The first thread keeps the variables' own contents; a started one gets copies.
  if (slot != kFirstThreadSlot) ThreadInstances().BeginThread(slot);
  AcquireRuntime();
  Procedure procedure = SlotAt(slot).procedure;
  if (std::optional<std::string> escaped = RunProcedure(procedure)) {
    RuntimeError(0, "Unhandled exception in " + ThreadLabel(slot) + ": " + *escaped);
  }
  EndThread(slot);
  ReleaseRuntime();
}

// Once, before the first thread runs (the environment file has been read by
// then, so the message text follows its overrides).
void PrepareFailureReports() {
  static const bool prepared = [] {
    InstallRuntimeErrorBox();
    platform::ReportStackOverflows(
        "Runtime error: " + MessageText(runtime_error_code::kStackOverflow) + " in ",
        kRuntimeErrorExitCode);
    return true;
  }();
  (void)prepared;
}

int FirstFreeSlot() {
  for (int slot = 1; slot < kThreadSlots; ++slot) {
    if (SlotAt(slot).fiber == 0) return slot;
  }
  return -1;
}

// Fills the slot and creates its fiber; false when no fiber could be made.
bool Launch(int slot, Procedure procedure, int32_t stackSize, std::string helpFile,
            std::string_view name) {
  PrepareFailureReports();
  platform::FiberId fiber =
      platform::TheScheduler().Spawn([slot] { ThreadBody(slot); }, static_cast<size_t>(stackSize));
  if (fiber == 0) return false;
  SlotAt(slot) =
      ThreadSlot{fiber, std::move(procedure), stackSize, std::move(helpFile), std::string(name)};
  platform::TheScheduler().Label(fiber, ThreadLabel(slot));
  return true;
}

}  // namespace

int32_t ThreadStackSize(int32_t requested) {
  if (requested == 0) return kDefaultThreadStack;
  return requested < kMinimumThreadStack ? kMinimumThreadStack : requested;
}

std::string ThreadLabel(int slot) {
  std::string number = "thread " + std::to_string(slot + 1);
  const std::string& name = SlotAt(slot).name;
  return name.empty() ? number : name + " (" + number + ")";
}

int32_t START(Procedure procedure, int32_t stackSize, std::string_view name) {
  if (SystemIsModal()) return 0;
  ConnectFileLayerToThreads();
  int32_t size = ThreadStackSize(stackSize);
  int slot = FirstFreeSlot();
  if (slot < 0) return 0;
  if (!Launch(slot, std::move(procedure), size, ThreadHelpFile(), name)) return 0;
  return slot + 1;
}

bool StartFirstThread(Procedure main, std::string_view name) {
  if (SlotAt(kFirstThreadSlot).fiber != 0) return false;
  ConnectFileLayerToThreads();
  return Launch(kFirstThreadSlot, std::move(main), kFirstThreadStack, {}, name);
}

bool RunFirstThread(Procedure main, std::string_view name) {
  if (!StartFirstThread(std::move(main), name)) return false;
  platform::TheScheduler().Run(SlotAt(kFirstThreadSlot).fiber);
  return true;
}

void AddThreadEndHook(std::function<void(int32_t)> hook) {
  EndHooks().push_back(std::move(hook));
}

}  // namespace rk
