// The modal wait of a runtime thread: while a dialog or popup menu it opened is
// showing, the thread gives up the runtime lock and waits for the dialog's
// result message; its other messages stay queued for its own loop.
#pragma once

#include <cstdint>

#include "runtime/platform/qt/platform_message.h"

namespace rk {

// The result that the dialog identified by `tag` posted.
int64_t WaitForDialogResult(uintptr_t tag);
// As WaitForDialogResult, but the thread keeps the runtime lock while it waits:
// no other runtime thread runs until the dialog answers.
int64_t WaitForDialogResultKeepingLock(uintptr_t tag);
// The whole result message, for dialogs that send data with their result.
platform::PlatformMessage WaitForDialogMessage(uintptr_t tag);

}  // namespace rk
