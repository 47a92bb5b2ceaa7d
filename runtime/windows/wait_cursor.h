// SETCURSOR: the wait cursor while a thread works through something long, such as
// a browse refilling its page. While any runtime thread holds it, every window
// of the program shows it.
//
// A thread's holds nest: SETCURSOR() gives back only the thread's latest
// SETCURSOR(kWaitCursor), so a routine that shows the wait cursor inside another
// leaves it on for the rest of the outer work. A thread that ends while it still
// holds the wait cursor gives its holds back.
#pragma once

namespace rk {

struct WaitCursorShape {};
inline constexpr WaitCursorShape kWaitCursor{};

// Shows the wait cursor. When the cursor changes, the thread lets the display
// show it before it goes on (a display pass: no input is taken and no other
// thread runs meanwhile), so the wait cursor is on the screen during the work.
void SETCURSOR(WaitCursorShape);
// Gives back the running thread's latest hold; nothing when it holds none.
void SETCURSOR();

// SETCURSOR(kWaitCursor) for the life of the object.
class WaitCursor {
 public:
  WaitCursor() { SETCURSOR(kWaitCursor); }
  ~WaitCursor() { SETCURSOR(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace rk
