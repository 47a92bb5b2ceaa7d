#include "runtime/windows/thread_windows.h"

#include <array>
#include <cassert>

#include "runtime/windows/thread_slots.h"

namespace rk {
namespace {

std::array<ThreadWindows, kThreadSlots>& Table() {
  static std::array<ThreadWindows, kThreadSlots> table;
  return table;
}

Window*& Frame() {
  static Window* frame = nullptr;
  return frame;
}

}  // namespace

ThreadWindows& WindowsOfThread(int32_t thread) {
  assert(thread >= 1 && thread <= kThreadSlots);
  return Table()[thread - 1];
}

Window* CurrentWindowOf(int32_t thread) {
  if (thread < 1 || thread > kThreadSlots) return nullptr;
  const std::vector<Window*>& open = Table()[thread - 1].open;
  return open.empty() ? nullptr : open.back();
}

Window* CurrentWindow() {
  return CurrentWindowOf(RunningThreadNumber());
}

Window* TheFrame() {
  return Frame();
}

void SetTheFrame(Window* frame) {
  Frame() = frame;
}

}  // namespace rk
