#include "runtime/windows/file_thread_hooks.h"

#include <span>
#include <thread>
#include <vector>

#include "runtime/core/halt.h"
#include "runtime/files/file_statements.h"
#include "runtime/files/open_files_registry.h"
#include "runtime/files/runtime_threads.h"
#include "runtime/platform/qt/scheduler.h"
#include "runtime/windows/runtime_lock.h"
#include "runtime/windows/thread_instances.h"
#include "runtime/windows/thread_slots.h"

namespace rk {

namespace {

// A runtime thread gives the others their turn while it waits for a lock; code
// running outside every runtime thread (start-up, tests) simply sleeps.
void PauseForLockRetry(std::chrono::milliseconds duration) {
  if (platform::TheScheduler().Current() != 0) {
    PauseThread(duration);
  } else {
    std::this_thread::sleep_for(duration);
  }
}

// While the exit procedure closes another thread's file, the file layer sees
// that thread's number.
int32_t actingThread = 0;

int32_t ActingThreadNumber() {
  return actingThread;
}

// Puts the thread's instances in place and makes the file layer see it; false
// when the thread has none left.
bool ActAs(int32_t thread) {
  int slot = thread - 1;
  if (slot < 0 || slot >= kThreadSlots || !ThreadInstances().Begun(slot)) return false;
  ThreadInstances().SwitchTo(slot);
  actingThread = thread;
  SetThreadNumberSource(&ActingThreadNumber);
  return true;
}

// The exit procedure closes every thread's files from wherever the program
// ends.
bool closingEveryFile = false;

bool OnTheServedThread() {
  if (closingEveryFile || UsedSlots() == 0) return true;
  platform::FiberId current = platform::TheScheduler().Current();
  return RuntimeLockHeld() && current != 0 && SlotOfFiber(current) == ServedThread() - 1;
}

}  // namespace

void ConnectFileLayerToThreads() {
  SetThreadNumberSource(&RunningThreadNumber);
  SetPerThreadFileRegistrar(&RegisterPerThreadFileInstances);
  SetPerThreadFileForgetter(&ForgetPerThreadFileInstances);
  SetRetryPause(&PauseForLockRetry);
  SetRuntimeEntryCheck(&OnTheServedThread);
  static const bool registered = [] {
    RegisterExitProcedure(&CloseEveryThreadsFiles);
    return true;
  }();
  (void)registered;
}

void CloseEveryThreadsFiles() {
  closingEveryFile = true;
  int inPlace = ThreadInstances().InPlace();
  std::vector<OpenFileEntry> open = OpenFiles();  // closing changes the registry
  for (auto entry = open.rbegin(); entry != open.rend(); ++entry) {
    if (entry->thread > 0 && !ActAs(entry->thread)) continue;
    CLOSE(*entry->file);
    SetThreadNumberSource(&RunningThreadNumber);
  }
  if (inPlace >= 0 && ThreadInstances().Begun(inPlace)) ThreadInstances().SwitchTo(inPlace);
  closingEveryFile = false;
}

void RegisterPerThreadFileInstances(FileDescriptor& file) {
  InstanceRegistry& registry = ThreadInstances();
  registry.Register(&file, sizeof file, 0);
  if (file.record && file.recordLength > 0) {
    registry.Register(file.record, file.recordLength, kInstanceDescriptor,
                      std::span<const uint8_t>(file.fieldList, file.fieldListLength));
  }
  for (int k = 0; file.keys && k < file.keyCount; ++k) {
    if (file.keys[k]) registry.Register(file.keys[k], sizeof(KeyDescriptor), 0);
  }
  for (int m = 0; file.memos && m < file.memoCount; ++m) {
    MemoDescriptor* memo = file.memos[m];
    if (!memo) continue;
    registry.Register(memo, sizeof(MemoDescriptor), 0);
    if (memo->buffer && memo->size > 0) {
      registry.Register(memo->buffer, memo->size, kInstanceZeroFilled);
    }
  }
}

void ForgetPerThreadFileInstances(FileDescriptor& file) {
  InstanceRegistry& registry = ThreadInstances();
  for (int m = 0; file.memos && m < file.memoCount; ++m) {
    if (MemoDescriptor* memo = file.memos[m]) {
      registry.Unregister(memo->buffer);
      registry.Unregister(memo);
    }
  }
  for (int k = 0; file.keys && k < file.keyCount; ++k) registry.Unregister(file.keys[k]);
  registry.Unregister(file.record);
  registry.Unregister(&file);
}

}  // namespace rk
