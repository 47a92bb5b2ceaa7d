// The process-wide modal count: while a plain window is open, or while an event
// is delivered synchronously, the system is modal and refuses new threads and new
// frame or MDI windows.
#pragma once

#include <cstdint>

namespace rk {

int32_t ModalCount();
bool SystemIsModal();
void EnterModal();
// Never drops below zero: an unmatched leave is ignored.
void LeaveModal();

}  // namespace rk
