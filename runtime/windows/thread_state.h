// Per-thread runtime state: the value stack, the decimal stack and the table of
// bound names are one live set that belongs to the served thread. When another
// thread is served, each piece is moved out into the outgoing thread's slot and
// the incoming thread's saved piece is moved back in; a thread that has never
// run finds nothing saved and starts with the piece empty.
//
// The keepers are listed once (runtime_state_keepers.h); the table does not know
// the types.
#pragma once

#include <functional>
#include <memory>

namespace rk {

struct ThreadStateKeeper {
  // Moves the live state out and leaves it empty (as a new thread must find it).
  std::function<std::shared_ptr<void>()> takeLive;
  // Moves a saved state in; the live state is empty when this is called.
  std::function<void(std::shared_ptr<void>)> putLive;
};

// Moves every live piece into the slot's saved set.
void SaveThreadState(int slot);
// Moves the slot's saved pieces (those it has) back in and clears the slot.
void RestoreThreadState(int slot);
// Empties the live pieces and the slot's saved set: the thread has ended.
void DiscardThreadState(int slot);

}  // namespace rk
