// The frame's answer to the desktop session asking to end: while the frame is
// open the program refuses, and says so in a box captioned with the program's file
// name. Where the desktop offers no session management nothing is ever asked.
#pragma once

#include <QWidget>

namespace rk::platform {

inline constexpr char kShutdownRefusalText[] =
    "Application still active.\n\nQuit the application before quitting Windows.";

// Refuses every shutdown request for as long as `frame` exists.
void RefuseShutdownWhile(QWidget& frame);

// Opens the refusal box (application-modal, exclamation icon) without waiting;
// it deletes itself when closed. Returned for tests.
QWidget* ShowShutdownRefusal(QWidget* owner);

// The caption of the box: the file name of the running program.
QString ProgramFileName();

}  // namespace rk::platform
