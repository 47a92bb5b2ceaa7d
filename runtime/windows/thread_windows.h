// The window side of the thread table: per runtime thread, its open windows
// (the newest is the thread's current window), the ACCEPT loops it is running,
// and the active thread it saw last; process-wide, the frame.
#pragma once

#include <cstdint>
#include <vector>

namespace rk {

class Window;

// One running ACCEPT loop: its window, and the serial number of the loop object
// that runs it (every loop entered gets a new one, so a loop entered again at
// the same place never finds an earlier loop's entry).
struct RunningLoop {
  uint32_t window = 0;
  uint64_t serial = 0;
};

struct ThreadWindows {
  std::vector<Window*> open;       // in opening order
  std::vector<RunningLoop> loops;  // innermost last
  int32_t seenActiveThread = 0;
  int32_t dialogs = 0;  // dialogs the thread is waiting in (see thread_input.h)
};

// Thread number 1 to 64; any other number is a programming error.
ThreadWindows& WindowsOfThread(int32_t thread);
// The thread's newest open window, nullptr when it has none.
Window* CurrentWindowOf(int32_t thread);
// The running thread's current window.
Window* CurrentWindow();

// The application frame while one is open.
Window* TheFrame();
void SetTheFrame(Window* frame);

}  // namespace rk
