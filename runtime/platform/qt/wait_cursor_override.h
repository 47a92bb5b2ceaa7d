// The wait cursor on the screen: Qt's application override cursor, shown over
// every window of the program while it is set. The runtime decides when it is
// set (runtime/windows/wait_cursor.h); this only sets and removes it.
#pragma once

namespace rk::platform {

// Puts the wait cursor on top of Qt's override cursors.
void SetWaitCursorOverride();
// Removes the override cursor that SetWaitCursorOverride put on top.
void RemoveWaitCursorOverride();

}  // namespace rk::platform
