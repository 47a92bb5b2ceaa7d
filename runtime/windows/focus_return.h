// A control that refused what the person entered takes the focus back, so the
// text is corrected where it stands: leaving it by Tab, Enter or a click, and the
// validation pass stopping at it, both end here.
//
// Focus moved away by such a return does not count as leaving. The control that
// loses the focus this way is not accepted at that moment: were it refusing too,
// it would take the focus back in turn, and two refusing fields would pass the
// focus to and fro for ever. Its change stays pending until the person leaves it
// or the validation pass reaches it.
#pragma once

namespace rk {

class Control;

// Makes `control` the selected control of its window and, unless the person has
// gone on to another window meanwhile, gives it the focus.
void ReturnFocusAfterRefusal(Control& control);

// Whether a refused control is taking the focus back right now: a focus loss
// seen meanwhile is not the person leaving a field.
bool FocusBeingReturned();

}  // namespace rk
