#include "runtime/windows/window_thread_end.h"

#include "runtime/windows/thread_start.h"
#include "runtime/windows/thread_windows.h"
#include "runtime/windows/window.h"
#include "runtime/windows/window_open.h"

namespace rk {
namespace {

void CloseWindowsOfThread(int32_t thread) {
  ThreadWindows& table = WindowsOfThread(thread);
  while (!table.open.empty()) CloseWindow(*table.open.back());
  table.loops.clear();
  table.seenActiveThread = 0;
}

}  // namespace

void InstallWindowThreadEndHook() {
  static const bool installed = [] {
    AddThreadEndHook(CloseWindowsOfThread);
    return true;
  }();
  (void)installed;
}

}  // namespace rk
