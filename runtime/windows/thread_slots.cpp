#include "runtime/windows/thread_slots.h"

#include <array>
#include <cassert>

#include "runtime/platform/qt/scheduler.h"

namespace rk {
namespace {

std::array<ThreadSlot, kThreadSlots> slots;
int32_t activeThread = 0;

}  // namespace

ThreadSlot& SlotAt(int slot) {
  assert(slot >= 0 && slot < kThreadSlots);
  return slots[static_cast<size_t>(slot)];
}

int SlotOfFiber(platform::FiberId fiber) {
  if (fiber == 0) return -1;
  for (int slot = 0; slot < kThreadSlots; ++slot) {
    if (slots[static_cast<size_t>(slot)].fiber == fiber) return slot;
  }
  return -1;
}

int32_t RunningThreadNumber() {
  return SlotOfFiber(platform::TheScheduler().Current()) + 1;
}

int UsedSlots() {
  int used = 0;
  for (const ThreadSlot& slot : slots) used += slot.fiber != 0;
  return used;
}

int32_t ActiveThread() {
  return activeThread;
}

void SetActiveThread(int32_t threadNumber) {
  activeThread = threadNumber;
}

std::string ThreadHelpFile() {
  int slot = RunningThreadNumber() - 1;
  return slot < 0 ? std::string() : SlotAt(slot).helpFile;
}

void SetThreadHelpFile(std::string name) {
  int slot = RunningThreadNumber() - 1;
  if (slot >= 0) SlotAt(slot).helpFile = std::move(name);
}

}  // namespace rk
