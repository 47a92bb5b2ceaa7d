#include "app/about.h"

#include "app/thread_globals.h"
#include "runtime/windows/accept_loop.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_post.h"
#include "runtime/windows/window.h"
#include "runtime/windows/window_open.h"

namespace rk {
namespace {

constexpr int32_t kCloseButton = 4;

}  // namespace

void ABOUT() {
  GlobalRequest() = 0;
  GlobalResponse() = 0;
  Window window;
  OpenWindow(window, WindowKind::kPlain, "REELBASE.qvw$reelb037", "ABOUT$WINDOW");
  for (AcceptLoop loop; loop.Next();) {
    if (EVENT() == event::kAccepted && FIELD() == kCloseButton) POST(event::kCloseWindow);
  }
  CloseWindow(window);
  GlobalResponse() = kResponseCompleted;
}

}  // namespace rk
