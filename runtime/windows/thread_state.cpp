#include "runtime/windows/thread_state.h"

#include <array>
#include <vector>

#include "runtime/windows/runtime_state_keepers.h"
#include "runtime/windows/thread_slots.h"

namespace rk {
namespace {

using SavedSet = std::vector<std::shared_ptr<void>>;  // one entry per keeper

std::vector<ThreadStateKeeper>& Keepers() {
  static std::vector<ThreadStateKeeper> keepers = RuntimeStateKeepers();
  return keepers;
}

SavedSet& SavedOf(int slot) {
  static std::array<SavedSet, kThreadSlots> saved;
  SavedSet& set = saved.at(static_cast<size_t>(slot));
  set.resize(Keepers().size());
  return set;
}

}  // namespace

void SaveThreadState(int slot) {
  SavedSet& set = SavedOf(slot);
  for (size_t i = 0; i < Keepers().size(); ++i) set[i] = Keepers()[i].takeLive();
}

void RestoreThreadState(int slot) {
  SavedSet& set = SavedOf(slot);
  for (size_t i = 0; i < Keepers().size(); ++i) {
    if (set[i]) Keepers()[i].putLive(std::move(set[i]));
    set[i].reset();
  }
}

void DiscardThreadState(int slot) {
  for (const ThreadStateKeeper& keeper : Keepers()) keeper.takeLive();
  for (std::shared_ptr<void>& piece : SavedOf(slot)) piece.reset();
}

}  // namespace rk
