// Creates a window's controls from its definition: the sibling chain in order,
// a container's children (a sheet's tabs, a tab's controls, an option's radios)
// right after the container. Every control lands in the window's list in
// creation order, which is also the tab order.
#pragma once

namespace rk {

class Window;

// The window's shell must exist; its client receives the widgets.
void BuildControls(Window& window);

}  // namespace rk
