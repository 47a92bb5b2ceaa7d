#include "app/main_frame.h"

#include "app/procedure_table.h"
#include "app/splash.h"
#include "app/thread_globals.h"
#include "runtime/windows/accept_loop.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/property_codes.h"
#include "runtime/windows/thread_start.h"
#include "runtime/windows/window.h"
#include "runtime/windows/window_open.h"
#include "runtime/windows/window_statements.h"

namespace rk {
namespace {

// Redisplays the frame's controls unless a validation pass is running.
void RefreshFrame(bool& gainedFocus) {
  if (GetPropertyNumber(0, property::kValidating) != 0) return;
  DISPLAY();
  gainedFocus = false;
}

void StartFromMenu(int32_t item) {
  const MenuProcedure* procedure = MenuProcedureOf(item);
  if (!procedure) return;
  START(ProcedureNamed(procedure->name), procedure->stackSize, procedure->name);
}

}  // namespace

void MAIN() {
  int32_t responseOnLeaving = kResponseCancelled;
  GlobalRequest() = 0;
  GlobalResponse() = 0;
  Window frame;
  OpenWindow(frame, WindowKind::kApplication, "REELBASE.qvw$reelb001", "MAIN$APPFRAME");
  SPLASH();
  DISPLAY();
  bool firstOpenSeen = false;
  bool gainedFocus = false;
  for (AcceptLoop loop; loop.Next();) {
    switch (EVENT()) {
      case event::kOpenWindow:
        if (!firstOpenSeen) {
          firstOpenSeen = true;
          RefreshFrame(gainedFocus);
        }
        break;
      case event::kGainFocus:
        gainedFocus = true;
        RefreshFrame(gainedFocus);
        break;
      case event::kAccepted:
        if (FIELD() < 0 && MenuProcedureOf(FIELD())) {
          StartFromMenu(FIELD());
          RefreshFrame(gainedFocus);
        }
        break;
      default:
        break;
    }
  }
  if (frame.IsOpen()) CloseWindow(frame);
  GlobalResponse() = responseOnLeaving != 0 ? responseOnLeaving : kResponseCancelled;
}

}  // namespace rk
