// Drives the running program from outside its runtime threads, as a person
// would: lets it run until it settles, chooses from the frame's menu, presses
// buttons, types into the list of a thread's window. Everything here runs on the
// GUI thread between scheduler passes and never inside a procedure.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>

#include "runtime/platform/qt/list_widget.h"

class QPushButton;
class QWidget;

namespace rk::drive {

// Lets Qt and the runtime threads run until the condition holds; false when it
// still does not after `milliseconds`.
bool RunUntil(const std::function<bool()>& condition, int milliseconds = 5000);
// Lets the program run for a while, whatever happens.
void Settle(int milliseconds);
// One pass of the scheduler: every thread that can go on does.
void RunOnce();

// Starts MAIN on the first thread and continues past its start window.
bool StartPastStartWindow();
bool ChooseMenu(int32_t item);

// A visible top-level window (not the frame) with that title.
QWidget* VisibleWindowTitled(const QString& title);
// A visible button with that text in any top-level window, or in `window`.
QPushButton* ButtonNamed(const QString& text, QWidget* window = nullptr);

// Answers the print dialog a procedure is waiting in: "OK" prints where the
// dialog's printer says (a chosen output file stays chosen), anything else
// cancels. False when no print dialog is open.
bool AnswerPrintDialog(bool ok);

// The list box (control 1) of the thread's current window; null for none.
platform::ListWidget* ListOf(int32_t thread);
void SendKey(QWidget& widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
             const QString& text = {});

}  // namespace rk::drive
