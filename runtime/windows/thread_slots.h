// The thread table: 64 slots, one per runtime thread. Slot 0 is the program's
// first thread, started procedures take slots 1 to 63. Procedures see thread
// numbers, slot + 1; thread number 0 means no thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "runtime/platform/qt/platform_message.h"

namespace rk {

inline constexpr int kThreadSlots = 64;

using Procedure = std::function<void()>;

struct ThreadSlot {
  platform::FiberId fiber = 0;  // 0: the slot is free
  Procedure procedure;
  int32_t stackSize = 0;  // the size the stack-size rule gave; the fiber reserves more
  std::string helpFile;   // inherited from the starting thread
  std::string name;       // the procedure's name when the starter gave it, for reports
};

// Slot 0 to 63; any other number is a programming error.
ThreadSlot& SlotAt(int slot);
// The slot of the given fiber, -1 when none holds it.
int SlotOfFiber(platform::FiberId fiber);
// The thread number of the runtime thread that is running now; 0 outside of any.
int32_t RunningThreadNumber();
// The number of slots in use, the first thread's included.
int UsedSlots();

// The number of the thread owning the active window (0 for none).
int32_t ActiveThread();
void SetActiveThread(int32_t threadNumber);

// The running thread's help file name; empty outside of a thread.
std::string ThreadHelpFile();
void SetThreadHelpFile(std::string name);

}  // namespace rk
